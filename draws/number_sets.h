#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "primitives/primitives.h"

namespace tamapick {

// Draws a whole set of numbers in order, each with RandomBetween, and draws the whole set
// again while it breaks its lottery's rule: so every ordered set that keeps the rule is
// equally likely.
template <std::size_t Count, typename Rule>
std::array<std::int16_t, Count> drawSetUntil(Runtime& runtime, std::int16_t lowerbound, std::int16_t upperbound,
                                             Rule keepsRule) {
    std::array<std::int16_t, Count> numbers{};
    do {
        for (auto& number : numbers) {
            number = RandomBetween(runtime, lowerbound, upperbound);
        }
    } while (!keepsRule(numbers));
    return numbers;
}

// Loto 6 and Mini Loto: no two numbers of the set are equal.
template <std::size_t Count>
bool allDifferent(const std::array<std::int16_t, Count>& numbers) {
    for (std::size_t i = 0; i < Count; ++i) {
        for (std::size_t j = i + 1; j < Count; ++j) {
            if (numbers[i] == numbers[j]) return false;
        }
    }
    return true;
}

// Numbers 3 and Numbers 4: repeats are fine, but not every digit the same.
template <std::size_t Count>
bool notAllEqual(const std::array<std::int16_t, Count>& digits) {
    for (std::size_t i = 1; i < Count; ++i) {
        if (digits[i] != digits[0]) return true;
    }
    return false;
}

template <std::size_t Count>
std::array<std::int16_t, Count> drawDifferentNumbers(Runtime& runtime, std::int16_t lowerbound,
                                                     std::int16_t upperbound) {
    return drawSetUntil<Count>(runtime, lowerbound, upperbound, allDifferent<Count>);
}

template <std::size_t Count>
std::array<std::int16_t, Count> drawDigitsNotAllEqual(Runtime& runtime, std::int16_t lowerbound,
                                                      std::int16_t upperbound) {
    return drawSetUntil<Count>(runtime, lowerbound, upperbound, notAllEqual<Count>);
}

}  // namespace tamapick
