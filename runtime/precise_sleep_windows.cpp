#include "runtime/precise_sleep_windows.h"

#include <windows.h>
// windows.h first: the multimedia timer header needs its types.
#include <mmsystem.h>

#include <thread>

// Windows 10 1803's flag; MinGW-w64's headers of Debian 12 do not name it yet.
#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace tamapick {

namespace {

// One timer per thread, made on its first sleep and closed when the thread ends. Systems before
// Windows 10 1803 refuse the flag, and the timer is then unavailable.
class HighResolutionTimer {
public:
    HighResolutionTimer()
        : handle_(CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS)) {}
    ~HighResolutionTimer() {
        if (handle_ != nullptr) CloseHandle(handle_);
    }
    HighResolutionTimer(const HighResolutionTimer&) = delete;
    HighResolutionTimer& operator=(const HighResolutionTimer&) = delete;

    // False when there is no such timer or it could not be set.
    bool sleepFor(std::chrono::nanoseconds duration) {
        if (handle_ == nullptr) return false;
        // A negative due time is relative, in units of 100 ns; round up so the sleep is never short.
        LARGE_INTEGER dueTime{};
        dueTime.QuadPart = -((duration.count() + 99) / 100);
        if (!SetWaitableTimer(handle_, &dueTime, 0, nullptr, nullptr, FALSE)) return false;
        return WaitForSingleObject(handle_, INFINITE) == WAIT_OBJECT_0;
    }

private:
    HANDLE handle_;
};

}  // namespace

void sleepOnWindowsTimer(PreciseSleeper::Clock::time_point wakeAt) {
    thread_local HighResolutionTimer timer;
    const auto left = wakeAt - PreciseSleeper::Clock::now();
    if (left <= std::chrono::nanoseconds::zero()) return;
    if (timer.sleepFor(left)) return;

    timeBeginPeriod(1);
    std::this_thread::sleep_until(wakeAt);
    timeEndPeriod(1);
}

}  // namespace tamapick
