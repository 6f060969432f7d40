#pragma once

#include <cstdint>

namespace tamapick {

// The process's pseudo-random generator: PCG32 (O'Neill), small, fast and statistically
// sound for a program that only ever needs a few thousand values a minute.
class RandomSource {
public:
    explicit RandomSource(std::uint64_t seed = 0x853c49e6748fea9bULL);

    void reseed(std::uint64_t seed);

    // 0 <= r < 1 in steps of 2^-24: every value is an exact float, so the result can never
    // round up to 1.
    float next();

    // A seed from the current time, different for two runs started at different instants.
    static std::uint64_t seedFromClock();

private:
    std::uint32_t nextBits();

    std::uint64_t state_ = 0;
    static constexpr std::uint64_t kIncrement = 1442695040888963407ULL;
};

}  // namespace tamapick
