#include "draws/primitives.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace tamapick {

std::int16_t RandomBetween(Runtime& runtime, std::int16_t lowerbound, std::int16_t upperbound) {
    const float r = runtime.nextRandom();
    const int span = upperbound - lowerbound + 1;
    // Single precision, then the floor (never rounding to nearest): r = 0 gives lowerbound and
    // the largest r below 1 gives upperbound. For wide spans the float product could round up
    // to upperbound + 1, so the result is held inside the bounds; for the bounds the program
    // uses (up to 1..43) that never happens and the clamp changes nothing.
    const float scaled = static_cast<float>(span) * r + static_cast<float>(lowerbound);
    const auto drawn = static_cast<int>(std::floor(scaled));
    return static_cast<std::int16_t>(std::clamp<int>(drawn, lowerbound, upperbound));
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
