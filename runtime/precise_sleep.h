#pragma once

#include <chrono>

namespace tamapick {

// Sleeps until a point on the monotonic clock and returns as close after it as the machine
// allows, without keeping a core busy.
//
// A timed sleep wakes some tens of microseconds late (the kernel's timer, and on a virtual
// machine the hypervisor's); on a 0.01 s reel step that is one per cent, and a draw has dozens of
// steps. The sleeper learns how late it has been woken, asks to be woken that much early, and
// waits out the few microseconds left on the clock.
class PreciseSleeper {
public:
    using Clock = std::chrono::steady_clock;

    // The longest the sleeper will ever wait on the clock instead of sleeping: a wake-up later than
    // this is a stall (another process, the hypervisor), not the timer, and is not learnt from.
    static constexpr std::chrono::microseconds kMaxLead{250};

    void sleepUntil(Clock::time_point deadline);

    // How early the next sleep will ask to be woken.
    std::chrono::nanoseconds lead() const { return lead_; }
    // Learns from one wake-up that came `late` after the time asked for (negative when early).
    void observeWakeUp(std::chrono::nanoseconds late);

private:
    // A typical wake-up latency to start from; the first few sleeps correct it.
    std::chrono::nanoseconds lead_{std::chrono::microseconds(60)};
};

}  // namespace tamapick
