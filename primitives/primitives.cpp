#include "primitives/primitives.h"

#include <cmath>
#include <string>

namespace tamapick {

std::int16_t RandomBetween(Runtime& runtime, std::int16_t lowerbound, std::int16_t upperbound) {
    const float r = runtime.nextRandom();
    const int span = upperbound - lowerbound + 1;
    // Two roundings in single precision, the product and then the sum, and then the floor (never
    // rounding to nearest): r = 0 gives lowerbound and the largest r below 1 gives upperbound.
    // Computed in double precision, or fused into one multiply-add (the build turns contraction
    // off), some values of r would give the number below.
    const float product = static_cast<float>(span) * r;
    const float scaled = product + static_cast<float>(lowerbound);
    return static_cast<std::int16_t>(std::floor(scaled));
}

void PauseSeconds(Runtime& runtime, double seconds) {
    const double deadline = runtime.now() + seconds;
    for (;;) {
        if (runtime.closing()) {
            throw WindowClosed{};
        }
        if (runtime.now() >= deadline) {
            return;
        }
        runtime.processPendingEvents(deadline);
    }
}

void ShowNumber(Runtime& runtime, Label label, std::int16_t n) { runtime.setCaption(label, std::to_string(n)); }

}  // namespace tamapick
