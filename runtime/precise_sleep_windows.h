#pragma once

#include "runtime/precise_sleep.h"

namespace tamapick {

// Sleeps until `wakeAt` on a Windows timer that is not rounded up to the system tick.
//
// A plain sleep on Windows ends on the next tick of the system timer, every 15.6 ms unless some
// program has asked for a finer one: a 10 ms reel step would take 15.6 ms. Windows 10 1803 and
// later offer a high-resolution waitable timer that keeps to a fraction of a millisecond; on
// older systems the timer's resolution is raised to 1 ms for the length of this sleep only,
// since a raised resolution costs the whole machine power while it lasts.
void sleepOnWindowsTimer(PreciseSleeper::Clock::time_point wakeAt);

}  // namespace tamapick
