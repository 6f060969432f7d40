#include "runtime/precise_sleep.h"

#include <algorithm>
#include <thread>

#if defined(__linux__)
#include <sys/prctl.h>

#include <cerrno>
#include <ctime>
#elif defined(_WIN32)
#include "runtime/precise_sleep_windows.h"
#endif

namespace tamapick {

namespace {

// Sleeps until `wakeAt` on the monotonic clock (steady_clock's own clock on Linux), with the
// kernel's timer slack (50 us by default) cut to a microsecond for just this sleep. Windows has
// its own timer for this.
void sleepOnMonotonicClock(PreciseSleeper::Clock::time_point wakeAt) {
#if defined(__linux__)
    const auto sinceEpoch = std::chrono::duration_cast<std::chrono::nanoseconds>(wakeAt.time_since_epoch());
    timespec until{};
    until.tv_sec = static_cast<time_t>(sinceEpoch.count() / 1000000000);
    until.tv_nsec = static_cast<long>(sinceEpoch.count() % 1000000000);
    const int usualSlack = prctl(PR_GET_TIMERSLACK, 0, 0, 0, 0);
    prctl(PR_SET_TIMERSLACK, 1000UL, 0, 0, 0);
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
    }
    if (usualSlack > 0) prctl(PR_SET_TIMERSLACK, static_cast<unsigned long>(usualSlack), 0, 0, 0);
#elif defined(_WIN32)
    sleepOnWindowsTimer(wakeAt);
#else
    std::this_thread::sleep_until(wakeAt);
#endif
}

}  // namespace

void PreciseSleeper::sleepUntil(Clock::time_point deadline) {
    const auto wakeAt = deadline - lead_;
    if (Clock::now() < wakeAt) {
        sleepOnMonotonicClock(wakeAt);
        observeWakeUp(Clock::now() - wakeAt);
    }
    // What is left is at most the learnt latency's error, a few microseconds as a rule and never
    // more than kMaxLead: short enough to wait out on the clock.
    while (Clock::now() < deadline) {
        std::this_thread::yield();
    }
}

void PreciseSleeper::observeWakeUp(std::chrono::nanoseconds late) {
    if (late > kMaxLead) return;  // a stall, not the timer's latency
    // Aim at the latency itself, learnt slowly so that one odd wake-up moves the aim little:
    // about half the wake-ups then land a little before the deadline and half a little after.
    // Both ends stay within [0, kMaxLead], so the lead does too.
    lead_ += (std::max(late, std::chrono::nanoseconds{}) - lead_) / 8;
}

}  // namespace tamapick
