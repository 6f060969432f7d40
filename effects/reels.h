#pragma once

#include <cstdint>

#include "effects/variant_value.h"
#include "runtime/runtime.h"

namespace tamapick {

// One reel: before a number settles, the labels from the reel's position on flicker through
// random values. Every member shares one routine and differs only in its row.
struct ReelRow {
    int position;         // the first label it spins: 1 is Label1
    int counterLimit;     // the counter runs from 0 up to this limit, so limit + 1 steps
    double pauseSeconds;  // after every step, the last included
};

// The six reels; the limits do not fall evenly (the fifth runs 4 steps, the sixth 6).
inline constexpr ReelRow kReelRows[] = {
    {1, 30, 0.01}, {2, 20, 0.05}, {3, 10, 0.1}, {4, 6, 0.3}, {5, 3, 0.5}, {6, 5, 0.7},
};

// The last number label a lottery uses: Label3, Label4 or Label5 for max 3, 4 or 5, and Label6
// for any other max (6 itself, but also 0, 1, 2 or 7 and above).
int lastLabelInUse(std::int16_t max);

// Spins `row`: at each step draws one value for every label from its position to Label6, in
// label order, whatever max is; shows the values up to the last label in use and empties the
// labels beyond it; then pauses. It never writes the labels before its position.
VariantValue spinReel(Runtime& runtime, const ReelRow& row, const std::int16_t& upperbound,
                      const std::int16_t& lowerbound, const std::int16_t& max);

// The six reels by name: kurukuru spins Label1-Label6, kurukuru2 Label2-Label6, and so on.
// The bounds belong to the calling draw and are only read.
VariantValue kurukuru(Runtime& runtime, const std::int16_t& upperbound, const std::int16_t& lowerbound,
                      const std::int16_t& max);
VariantValue kurukuru2(Runtime& runtime, const std::int16_t& upperbound, const std::int16_t& lowerbound,
                       const std::int16_t& max);
VariantValue kurukuru3(Runtime& runtime, const std::int16_t& upperbound, const std::int16_t& lowerbound,
                       const std::int16_t& max);
VariantValue kurukuru4(Runtime& runtime, const std::int16_t& upperbound, const std::int16_t& lowerbound,
                       const std::int16_t& max);
VariantValue kurukuru5(Runtime& runtime, const std::int16_t& upperbound, const std::int16_t& lowerbound,
                       const std::int16_t& max);
VariantValue kurukuru6(Runtime& runtime, const std::int16_t& upperbound, const std::int16_t& lowerbound,
                       const std::int16_t& max);

}  // namespace tamapick
