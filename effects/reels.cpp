#include "effects/reels.h"

#include <array>

#include "primitives/primitives.h"

namespace tamapick {

int lastLabelInUse(std::int16_t max) {
    if (max == 3) return 3;
    if (max == 4) return 4;
    if (max == 5) return 5;
    return kNumberLabelCount;
}

VariantValue spinReel(Runtime& runtime, const ReelRow& row, const std::int16_t& upperbound,
                      const std::int16_t& lowerbound, const std::int16_t& max) {
    for (int counter = 0; counter <= row.counterLimit; ++counter) {
        // All of the reel's own values are drawn at every step, even those about to be dropped,
        // so the numbers a draw takes afterwards depend on how many values the reels used.
        std::array<std::int16_t, kNumberLabelCount> values{};
        for (int label = row.position; label <= kNumberLabelCount; ++label) {
            values.at(static_cast<std::size_t>(label - row.position)) = RandomBetween(runtime, lowerbound, upperbound);
        }
        const int last = lastLabelInUse(max);
        for (int label = row.position; label <= kNumberLabelCount; ++label) {
            if (label <= last) {
                ShowNumber(runtime, numberLabel(label), values.at(static_cast<std::size_t>(label - row.position)));
            } else {
                runtime.setCaption(numberLabel(label), "");
            }
        }
        PauseSeconds(runtime, row.pauseSeconds);
    }
    return {};
}

VariantValue kurukuru(Runtime& runtime, const std::int16_t& upperbound, const std::int16_t& lowerbound,
                      const std::int16_t& max) {
    return spinReel(runtime, kReelRows[0], upperbound, lowerbound, max);
}

VariantValue kurukuru2(Runtime& runtime, const std::int16_t& upperbound, const std::int16_t& lowerbound,
                       const std::int16_t& max) {
    return spinReel(runtime, kReelRows[1], upperbound, lowerbound, max);
}

VariantValue kurukuru3(Runtime& runtime, const std::int16_t& upperbound, const std::int16_t& lowerbound,
                       const std::int16_t& max) {
    return spinReel(runtime, kReelRows[2], upperbound, lowerbound, max);
}

VariantValue kurukuru4(Runtime& runtime, const std::int16_t& upperbound, const std::int16_t& lowerbound,
                       const std::int16_t& max) {
    return spinReel(runtime, kReelRows[3], upperbound, lowerbound, max);
}

VariantValue kurukuru5(Runtime& runtime, const std::int16_t& upperbound, const std::int16_t& lowerbound,
                       const std::int16_t& max) {
    return spinReel(runtime, kReelRows[4], upperbound, lowerbound, max);
}

VariantValue kurukuru6(Runtime& runtime, const std::int16_t& upperbound, const std::int16_t& lowerbound,
                       const std::int16_t& max) {
    return spinReel(runtime, kReelRows[5], upperbound, lowerbound, max);
}

}  // namespace tamapick
