// How much stack one nested draw takes: clicks on Numbers3 arrive every 50 ms, each inside the
// pause of the draw before it, and the address of a local at each click's delivery shows how
// far the stack has grown. A close at the deepest point unwinds them all.
#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "app/main_window.h"
#include "window_fixture.h"

namespace {

constexpr int kBurst = 24;

class StackProbe : public QObject {
public:
    StackProbe(tamapick::MainWindow& window, QObject* button) : window_(window), button_(button) {}
    std::vector<std::uintptr_t> addresses;
    int deepest = 0;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == button_ && event->type() == QEvent::MouseButtonRelease) {
            volatile char marker = 0;
            addresses.push_back(reinterpret_cast<std::uintptr_t>(&marker));
            deepest = std::max(deepest, window_.form().drawsRunning() + 1);
        }
        return false;
    }

private:
    tamapick::MainWindow& window_;
    QObject* button_;
};

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    tamapick::testing::WindowFixture window;
    if (!window.open()) return 1;
    QPushButton* button = window.button("Numbers3");
    StackProbe probe(*window.get(), button);
    button->installEventFilter(&probe);
    for (int i = 0; i < kBurst; ++i) {
        QTimer::singleShot(50 * (i + 1), window.get(), [button] { QTest::mouseClick(button, Qt::LeftButton); });
    }
    QTimer::singleShot(50 * (kBurst + 2), window.get(), [&window] { window->close(); });
    QApplication::exec();
    if (probe.addresses.size() < 2 || probe.deepest < 2) {
        std::printf("the clicks did not nest\n");
        return 1;
    }
    const double perLevel = static_cast<double>(probe.addresses.front() - probe.addresses.back()) /
                            static_cast<double>(probe.addresses.size() - 1);
    std::printf("nested draws: %d deep; stack per nested draw: %.0f bytes; at the bound of %d: %.0f KiB\n",
                probe.deepest, perLevel, tamapick::TamapickForm::kMaxNestedDraws,
                perLevel * tamapick::TamapickForm::kMaxNestedDraws / 1024.0);
    return 0;
}
