#include "runtime/random_source.h"

#include <chrono>

namespace tamapick {

RandomSource::RandomSource(std::uint64_t seed) { reseed(seed); }

void RandomSource::reseed(std::uint64_t seed) {
    state_ = 0;
    nextBits();
    state_ += seed;
    nextBits();
}

std::uint32_t RandomSource::nextBits() {
    const std::uint64_t old = state_;
    state_ = old * 6364136223846793005ULL + kIncrement;
    const auto xorshifted = static_cast<std::uint32_t>(((old >> 18U) ^ old) >> 27U);
    const auto rotation = static_cast<std::uint32_t>(old >> 59U);
    return (xorshifted >> rotation) | (xorshifted << ((32U - rotation) & 31U));
}

float RandomSource::next() {
    // The top 24 bits fill a float's mantissa exactly.
    return static_cast<float>(nextBits() >> 8U) * 0x1.0p-24F;
}

std::uint64_t RandomSource::seedFromClock() {
    const auto wall = std::chrono::system_clock::now().time_since_epoch();
    const auto mono = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(wall).count()) ^
           (static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(mono).count()) << 21U);
}

}  // namespace tamapick
