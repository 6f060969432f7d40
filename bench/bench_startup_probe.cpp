// Starts either the tamapick window or a bare reference window of the same size, and prints,
// at its first paint, the monotonic time in nanoseconds and the peak resident memory in KiB.
#include <QApplication>
#include <QPaintEvent>
#include <QTimer>
#include <cstdio>
#include <ctime>
#include <memory>
#include <sys/resource.h>

#include "app/main_window.h"

namespace {

class FirstPaintProbe : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            timespec now{};
            clock_gettime(CLOCK_MONOTONIC, &now);
            paintedAtNs_ = static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
            // Let the paint finish, then report and leave.
            QTimer::singleShot(0, [this] {
                rusage usage{};
                getrusage(RUSAGE_SELF, &usage);
                std::printf("%lld %ld\n", paintedAtNs_, usage.ru_maxrss);
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
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
    FirstPaintProbe probe;
    window->installEventFilter(&probe);
    window->show();
    return QApplication::exec();
}
