// The real window under stress, offscreen: a close at random points of every draw, nested or
// not, and (the slow test) a burst of clicks posted during a real draw.
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QtTest>
#include <chrono>
#include <random>

#include "app/main_window.h"
#include "caption_checks.h"

using namespace tamapick;
using namespace tamapick::testing;
using Clock = std::chrono::steady_clock;

namespace {

struct DrawButton {
    const char* name;
    double nominalSeconds;
};
constexpr DrawButton kButtons[] = {{"miniroto_0", 9.06}, {"roto6", 10.76}, {"Numbers3", 2.46}, {"Numbers4", 4.56}};

}  // namespace

class HardeningTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<MainWindow> window_;

    QPushButton* button(const char* name) { return window_->findChild<QPushButton*>(QString::fromLatin1(name)); }
    QStringList captions() {
        QStringList all;
        for (int label = 1; label <= 8; ++label) {
            all << window_->findChild<QLabel*>(QStringLiteral("Label%1").arg(label))->text();
        }
        return all;
    }

private slots:
    void init() {
        window_ = std::make_unique<MainWindow>();
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }
    void cleanup() { window_.reset(); }

    void aCloseAtAnyPointOfADrawEndsTheProgramAtOnce_data() {
        QTest::addColumn<int>("draw");
        QTest::addColumn<int>("nestedDraw");
        QTest::addColumn<double>("closeAt");
        // Fixed seed: the same instants on every run, spread over each draw's whole length.
        std::mt19937 rng(2003);
        for (int draw = 0; draw < 4; ++draw) {
            std::uniform_real_distribution<double> instant(0.05, kButtons[draw].nominalSeconds - 0.05);
            const double at = instant(rng);
            QTest::addRow("%s closed at %.2f s", kButtons[draw].name, at) << draw << -1 << at;
        }
        QTest::newRow("Numbers3 nested in Loto 6, closed inside both") << 1 << 2 << 1.2;
    }
    // No caption changes and no beep after the close; the event loop ends within half a second
    // with status 0 and the window stays hidden.
    void aCloseAtAnyPointOfADrawEndsTheProgramAtOnce() {
        QFETCH(int, draw);
        QFETCH(int, nestedDraw);
        QFETCH(double, closeAt);
        QStringList atClose;
        int beepsAtClose = -1;
        Clock::time_point closedAt;
        QTimer::singleShot(0, window_.get(), [&] { QTest::mouseClick(button(kButtons[draw].name), Qt::LeftButton); });
        if (nestedDraw >= 0) {
            QTimer::singleShot(500, window_.get(),
                               [&] { QTest::mouseClick(button(kButtons[nestedDraw].name), Qt::LeftButton); });
        }
        QTimer::singleShot(static_cast<int>(closeAt * 1000), window_.get(), [&] {
            QVERIFY(window_->form().drawsRunning() >= 1);
            window_->close();
            atClose = captions();
            beepsAtClose = window_->runtime().beepsSounded();
            closedAt = Clock::now();
        });
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(std::chrono::duration<double>(Clock::now() - closedAt).count() < 0.5);
        QCOMPARE(captions(), atClose);
        QCOMPARE(window_->runtime().beepsSounded(), beepsAtClose);
        QCOMPARE(window_->form().drawsRunning(), 0);
        QVERIFY(!window_->isVisible());
    }

    // The slow test (about 52 s): 20 clicks on Numbers3 posted during a real Numbers 3 draw. Every
    // one runs its whole draw, nested in the pause that is waiting when it is delivered, so the
    // real time is the sum of the 21 draws. Afterwards the program is alive and idle, every
    // draw has beeped once, and the labels show a Numbers 3 end state.
    void aBurstOfPostedClicksRunsEveryDrawToItsEnd() {
        QPushButton* numbers3 = button("Numbers3");
        const QPointF centre(numbers3->width() / 2.0, numbers3->height() / 2.0);
        const QPointF global = numbers3->mapToGlobal(centre);
        QTimer::singleShot(100, window_.get(), [&] {
            for (int i = 0; i < 20; ++i) {
                QCoreApplication::postEvent(numbers3, new QMouseEvent(QEvent::MouseButtonPress, centre, global,
                                                                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
                QCoreApplication::postEvent(numbers3, new QMouseEvent(QEvent::MouseButtonRelease, centre, global,
                                                                      Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
            }
        });
        QTest::mouseClick(numbers3, Qt::LeftButton);  // returns when the first draw, and all in it, ends
        QTRY_COMPARE_WITH_TIMEOUT(window_->runtime().beepsSounded(), 21, 10000);
        QCOMPARE(window_->form().drawsRunning(), 0);
        QVERIFY(window_->form().deepestNesting() >= 2);
        QVERIFY(window_->form().deepestNesting() <= TamapickForm::kMaxNestedDraws);
        const QStringList end = captions();
        for (int label = 0; label < 3; ++label) QVERIFY(isNumberIn(end[label].toStdString(), 0, 9));
        for (int label = 3; label < 6; ++label) QVERIFY(end[label].isEmpty());
        QVERIFY(isClosingRemark(end[6].toStdString()));
        QCOMPARE(end[7], QStringLiteral("Numbers3の予想だよ"));
        QVERIFY(window_->isVisible());
    }
};

QTEST_MAIN(HardeningTest)
#include "test_hardening_qt.moc"
