// Starts either the tamapick window or a bare reference window of the same size, and prints,
// at its first paint, the monotonic time in nanoseconds and the peak resident memory in KiB.
// "tamapick-settled" presses Numbers3 at once and reports the memory a second and a half later
// instead, inside the draw, once the program has loaded the sound library and connected to the
// sound server (or found none) for its beep.
// Usage: bench_startup_probe tamapick|tamapick-settled|bare [copy-of-smaps]
#include <sys/resource.h>
#include <QApplication>
#include <QFile>
#include <QPaintEvent>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <ctime>
#include <memory>

#include "app/main_window.h"

namespace {

class FirstPaintProbe : public QObject {
public:
    // With a file name, the memory map is copied there too, to see where the memory went.
    FirstPaintProbe(QString mapsCopy, int reportAfterMs)
        : mapsCopy_(std::move(mapsCopy)), reportAfterMs_(reportAfterMs) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            timespec now{};
            clock_gettime(CLOCK_MONOTONIC, &now);
            paintedAtNs_ = static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
            // Let the paint finish, then report and leave.
            QTimer::singleShot(reportAfterMs_, [this] {
                rusage usage{};
                getrusage(RUSAGE_SELF, &usage);
                std::printf("%lld %ld\n", paintedAtNs_, usage.ru_maxrss);
                if (!mapsCopy_.isEmpty()) copyMemoryMap();
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void copyMemoryMap() const {
        QFile maps(QStringLiteral("/proc/self/smaps"));
        QFile copy(mapsCopy_);
        if (maps.open(QIODevice::ReadOnly) && copy.open(QIODevice::WriteOnly)) copy.write(maps.readAll());
    }

    QString mapsCopy_;
    int reportAfterMs_;
    bool seen_ = false;
    long long paintedAtNs_ = 0;
};

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const bool bare = argc > 1 && std::string_view(argv[1]) == "bare";
    std::unique_ptr<QWidget> window;
    if (bare) {
        window = std::make_unique<QWidget>();
        window->setFixedSize(421, 279);
    } else {
        window = std::make_unique<tamapick::MainWindow>();
    }
    const bool settled = argc > 1 && std::string_view(argv[1]) == "tamapick-settled";
    FirstPaintProbe probe(argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString(), settled ? 1500 : 0);
    window->installEventFilter(&probe);
    window->show();
    if (settled) {
        QTimer::singleShot(0, window.get(),
                           [&window] { window->findChild<QPushButton*>(QStringLiteral("Numbers3"))->click(); });
    }
    return QApplication::exec();
}
