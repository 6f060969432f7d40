#include "runtime/qt_runtime.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QLabel>
#include <QTimer>
#include <chrono>
#include <thread>

#if defined(__linux__)
#include <sys/prctl.h>

#include <cerrno>
#include <ctime>
#endif

namespace tamapick {

namespace {

using Clock = std::chrono::steady_clock;

// Qt's timers count whole milliseconds and may fire up to one late. The wake-up timer is
// therefore set to fire a little before the deadline, and the last stretch (under
// kPreciseTail) is slept on the monotonic clock, which is good to some tens of microseconds.
// A Loto 6 draw has 80 pauses, so a millisecond late on each would add up to a visible 0.8 s.
constexpr double kPreciseTail = 0.003;

// Sleeps until `deadline` on the monotonic clock (steady_clock's own clock on Linux), with the
// kernel's timer slack (50 us by default) cut to a microsecond for just this sleep, so the pause
// ends right on time.
void sleepPreciselyUntil(Clock::time_point deadline) {
#if defined(__linux__)
    const auto sinceEpoch = std::chrono::duration_cast<std::chrono::nanoseconds>(deadline.time_since_epoch());
    timespec until{};
    until.tv_sec = static_cast<time_t>(sinceEpoch.count() / 1000000000);
    until.tv_nsec = static_cast<long>(sinceEpoch.count() % 1000000000);
    const int usualSlack = prctl(PR_GET_TIMERSLACK, 0, 0, 0, 0);
    prctl(PR_SET_TIMERSLACK, 1000UL, 0, 0, 0);
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
    }
    if (usualSlack > 0) prctl(PR_SET_TIMERSLACK, static_cast<unsigned long>(usualSlack), 0, 0, 0);
#else
    std::this_thread::sleep_until(deadline);
#endif
}

std::size_t slot(Label label) { return static_cast<std::size_t>(labelNumber(label)); }

}  // namespace

QtRuntime::QtRuntime() = default;

void QtRuntime::attachLabel(Label label, QLabel* widget) { labels_.at(slot(label)) = widget; }

void QtRuntime::setCaption(Label label, std::string_view utf8) {
    if (QLabel* widget = labels_.at(slot(label))) {
        widget->setText(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
    }
}

void QtRuntime::seedRandomFromClock() { random_.reseed(RandomSource::seedFromClock()); }

float QtRuntime::nextRandom() { return random_.next(); }

double QtRuntime::now() const { return std::chrono::duration<double>(Clock::now().time_since_epoch()).count(); }

void QtRuntime::processPendingEvents(double deadline) {
    const double remaining = deadline - now();
    // Only worth a timer if it would wait at least a whole millisecond before the precise tail.
    if (remaining >= kPreciseTail + 0.001) {
        // Block until an event arrives or the wake-up timer fires: no polling.
        QTimer wake;
        wake.setTimerType(Qt::PreciseTimer);
        wake.setSingleShot(true);
        const auto wakeIn = std::chrono::milliseconds(static_cast<long long>((remaining - kPreciseTail) * 1000.0));
        wake.start(wakeIn);
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        return;
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (remaining > 0 && !closing_) {
        sleepPreciselyUntil(
            Clock::time_point(std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(deadline))));
    }
}

void QtRuntime::soundBeep() {
    ++beeps_;
    QApplication::beep();
}

}  // namespace tamapick
