#include "runtime/qt_runtime.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QLabel>
#include <QTimer>
#include <chrono>

namespace tamapick {

namespace {

using Clock = PreciseSleeper::Clock;

// Qt's timers count whole milliseconds and may fire up to one late. The wake-up timer is
// therefore set to fire a little before the deadline, and the last stretch (under
// kPreciseTail) is left to the precise sleeper. A Loto 6 draw has 80 pauses, so a millisecond
// late on each would add up to a visible 0.8 s.
constexpr double kPreciseTail = 0.003;
// The least time left for which a pause waits on the event loop with a wake-up timer: the timer
// must wait at least a whole millisecond before the precise tail.
constexpr double kShortestTimedWait = kPreciseTail + 0.001;

}  // namespace

QtRuntime::QtRuntime()
    : beep_(QCoreApplication::applicationName().toStdString(), QGuiApplication::desktopFileName().toStdString(),
            [] { QApplication::beep(); }) {}

void QtRuntime::markClosing() {
    closing_ = true;
    beep_.silence();
}

void QtRuntime::attachLabel(Label label, QLabel* widget) { labels_[label] = widget; }

void QtRuntime::setCaption(Label label, std::string_view utf8) {
    if (QLabel* widget = labels_[label]) {
        widget->setText(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
    }
}

void QtRuntime::seedRandomFromClock() { random_.reseed(RandomSource::seedFromClock()); }

float QtRuntime::nextRandom() { return random_.next(); }

double QtRuntime::now() const { return std::chrono::duration<double>(Clock::now().time_since_epoch()).count(); }

void QtRuntime::processPendingEvents(double deadline) {
    const double remaining = deadline - now();
    if (remaining >= kShortestTimedWait) {
        // Block until an event arrives or the wake-up timer fires: no polling.
        QTimer wake;
        wake.setTimerType(Qt::PreciseTimer);
        wake.setSingleShot(true);
        const auto wakeIn = std::chrono::milliseconds(static_cast<long long>((remaining - kPreciseTail) * 1000.0));
        wake.start(wakeIn);
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    // What woke the wait is handled here, before the pause can end. Windows' event loop returns
    // from a wake-up having only noted that events were posted (a click, a queued call), and
    // delivers them at the start of the next pass; an event posted while a handler ran inside
    // the wait also waits for the next pass on every platform. When the machine runs this
    // thread again only after the deadline, that pass must still come before the draw's next
    // write.
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (closing_ || deadline - now() >= kShortestTimedWait) return;
    sleeper_.sleepUntil(
        Clock::time_point(std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(deadline))));
    // A click that arrived while the sleeper waited out the last few milliseconds is still
    // inside the pause: it runs now, before the draw's next write, not after it. This pass
    // starts at or after the deadline, so it takes everything that arrived before it.
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtRuntime::soundBeep() {
    ++beeps_;
    beep_.play();
}

}  // namespace tamapick
