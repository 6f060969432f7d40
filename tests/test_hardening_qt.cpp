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
#include "lotteries.h"
#include "window_fixture.h"

using namespace tamapick;
using namespace tamapick::testing;
using Clock = std::chrono::steady_clock;

class HardeningTest : public QObject {
    Q_OBJECT

private:
    WindowFixture window_;

    QPushButton* button(Lottery lottery) { return window_.button(factsOf(lottery).button); }
    QStringList captions() { return window_.captions(); }

private slots:
    void init() { QVERIFY(window_.open()); }
    void cleanup() { window_.reset(); }

    void aCloseAtAnyPointOfADrawEndsTheProgramAtOnce_data() {
        QTest::addColumn<int>("draw");
        QTest::addColumn<int>("nestedDraw");
        QTest::addColumn<double>("closeAt");
        // Fixed seed: the same instants on every run, spread over each draw's whole length.
        std::mt19937 rng(2003);
        for (int draw = 0; draw < 4; ++draw) {
            const LotteryFacts& facts = factsOf(kLotteries[draw]);
            std::uniform_real_distribution<double> instant(0.05, facts.nominalSeconds - 0.05);
            const double at = instant(rng);
            QTest::addRow("%s closed at %.2f s", facts.button, at) << draw << -1 << at;
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
        int drawsAtClose = -1;
        Clock::time_point closedAt;
        QTimer::singleShot(0, window_.get(), [&] { QTest::mouseClick(button(kLotteries[draw]), Qt::LeftButton); });
        if (nestedDraw >= 0) {
            QTimer::singleShot(500, window_.get(),
                               [&] { QTest::mouseClick(button(kLotteries[nestedDraw]), Qt::LeftButton); });
        }
        QTimer::singleShot(static_cast<int>(closeAt * 1000), window_.get(), [&] {
            drawsAtClose = window_->form().drawsRunning();
            window_->close();
            atClose = captions();
            beepsAtClose = window_->runtime().beepsSounded();
            closedAt = Clock::now();
        });
        QCOMPARE(QApplication::exec(), 0);
        QCOMPARE(drawsAtClose, nestedDraw >= 0 ? 2 : 1);
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
        QPushButton* numbers3 = button(Lottery::Numbers3);
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
        QVERIFY(window_->form().deepestNesting() <= 32);
        const QStringList end = captions();
        for (int label = 0; label < 3; ++label) QVERIFY(isNumberIn(end[label].toStdString(), 0, 9));
        for (int label = 3; label < 6; ++label) QVERIFY(end[label].isEmpty());
        QVERIFY(isClosingRemark(end[6].toStdString()));
        QCOMPARE(end[7], QString::fromUtf8(factsOf(Lottery::Numbers3).headline));
        QVERIFY(window_->isVisible());
    }
};

QTEST_MAIN(HardeningTest)
#include "test_hardening_qt.moc"
