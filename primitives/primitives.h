#pragma once

#include <cstdint>

#include "runtime/runtime.h"

namespace tamapick {

// Thrown out of a pause once the window has closed, and caught where the click handler was
// entered: the draw stops where it stands and writes nothing more. It never crosses the event
// loop, because every handler entry catches it.
struct WindowClosed {};

// A random whole number from lowerbound to upperbound inclusive, from exactly one value of
// the random source.
std::int16_t RandomBetween(Runtime& runtime, std::int16_t lowerbound, std::int16_t upperbound);

// Waits at least `seconds` while the window stays live: pending events, clicks included, are
// dispatched while it waits, so a click may run a whole draw inside the pause. It blocks
// between events instead of polling and measures on the monotonic clock, so it neither burns
// a core nor goes wrong when the time of day passes midnight or the wall clock is set.
// Throws WindowClosed once the window is closing.
void PauseSeconds(Runtime& runtime, double seconds);

// The label's caption becomes the plain decimal text of n: "7", "31", "0", "-5".
void ShowNumber(Runtime& runtime, Label label, std::int16_t n);

}  // namespace tamapick
