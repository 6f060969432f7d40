// The real window and the Qt runtime, offscreen: a few draws in real time, and the close at any
// point of every draw.
#include <QLabel>
#include <QPushButton>
#include <QtTest>
#include <atomic>
#include <chrono>
#include <random>
#include <thread>

#include "app/main_window.h"
#include "caption_checks.h"
#include "lotteries.h"
#include "primitives/primitives.h"
#include "window_fixture.h"

using namespace tamapick;
using namespace tamapick::testing;
using Clock = std::chrono::steady_clock;

namespace {

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

}  // namespace

class QtDrawsTest : public QObject {
    Q_OBJECT

private:
    WindowFixture window_;

    std::string caption(int label) { return window_.caption(label); }
    QPushButton* button(const char* name) { return window_.button(name); }

private slots:
    void init() { QVERIFY(window_.open()); }
    void cleanup() { window_.reset(); }

    // The real pause: never short, and an event posted while it waits is handled inside it.
    void aRealPauseNeverReturnsEarlyAndHandlesEventsWhileItWaits() {
        for (int run = 0; run < 5; ++run) {
            bool handled = false;
            QTimer::singleShot(30, window_.get(), [&] { handled = true; });
            const auto start = Clock::now();
            PauseSeconds(window_->runtime(), 0.1);
            QVERIFY(secondsSince(start) >= 0.1);
            QVERIFY(handled);
        }
    }

    // The pause's last few milliseconds are slept out precisely, not waited on the event queue.
    // A click arriving then (posted here from another thread, as the windowing system's socket
    // would wake the loop) must still be handled before the pause returns, or the draw writes its
    // next number before the nested draw runs.
    void anEventPostedInThePausesLastMillisecondsIsHandledBeforeItReturns() {
        QObject receiver;
        for (const double before : {0.010, 0.005, 0.002, 0.001}) {
            // A poster thread that the machine ran too late proves nothing either way, so each
            // offset is tried until three posts landed before the pause's end.
            int postedInTime = 0;
            for (int run = 0; run < 20 && postedInTime < 3; ++run) {
                std::atomic<bool> posted{false};
                bool handledInside = false;
                bool returned = false;
                const auto deadline = Clock::now() + std::chrono::milliseconds(20);
                std::thread poster([&] {
                    const auto postAt = deadline - std::chrono::duration<double>(before);
                    while (Clock::now() < postAt) std::this_thread::yield();
                    QMetaObject::invokeMethod(
                        &receiver, [&] { handledInside = !returned; }, Qt::QueuedConnection);
                    posted = Clock::now() < deadline;
                });
                PauseSeconds(window_->runtime(), 0.020);
                returned = true;
                poster.join();
                QCoreApplication::processEvents();
                if (!posted) continue;
                ++postedInTime;
                QVERIFY2(handledInside, qPrintable(QStringLiteral("posted %1 ms before the end").arg(before * 1000)));
            }
            if (postedInTime == 0) QSKIP("the machine never ran the poster thread before the pause's end");
        }
    }

    // A loaded machine may run the pause again only after its end, though an event woke it in
    // time; that event is still handled inside the pause. A timer's slot posts the event while
    // the pause waits and then holds the thread past the pause's end, as such a machine would.
    void anEventThatWokeThePauseIsHandledInsideItWhenTheMachineResumesItLate() {
        QObject receiver;
        bool firedInside = false;
        bool handledInside = false;
        bool returned = false;
        const auto end = Clock::now() + std::chrono::milliseconds(50);
        QTimer::singleShot(10, Qt::PreciseTimer, &receiver, [&] {
            firedInside = !returned;
            QMetaObject::invokeMethod(
                &receiver, [&] { handledInside = !returned; }, Qt::QueuedConnection);
            std::this_thread::sleep_until(end + std::chrono::milliseconds(5));
        });
        PauseSeconds(window_->runtime(), 0.050);
        returned = true;
        QCoreApplication::processEvents();
        if (!firedInside) QSKIP("the timer fired only after the pause had ended");
        QVERIFY(handledInside);
    }

    // A mouse click on Numbers3 runs the whole real draw before the click returns.
    void clickingNumbers3RunsTheRealDrawToItsEnd() {
        QTest::mouseClick(button("Numbers3"), Qt::LeftButton);
        QCOMPARE(caption(8), std::string(factsOf(Lottery::Numbers3).headline));
        for (int label = 1; label <= 3; ++label) QVERIFY(isNumberIn(caption(label), 0, 9));
        for (int label = 4; label <= 6; ++label) QCOMPARE(caption(label), std::string());
        QVERIFY(isClosingRemark(caption(7)));
        QCOMPARE(window_->form().drawsRunning(), 0);
    }

    void spaceOrEnterOnTheFocusedMiniLotoButtonStartsItsDraw_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("Space") << int(Qt::Key_Space);
        QTest::newRow("Enter") << int(Qt::Key_Return);
    }
    // The focus starts on miniroto, so a key press there starts the Mini Loto draw; the close
    // then ends it at once.
    void spaceOrEnterOnTheFocusedMiniLotoButtonStartsItsDraw() {
        QFETCH(int, key);
        QCOMPARE(QApplication::focusWidget(), button("miniroto_0"));
        QTimer::singleShot(300, window_.get(), [this] { window_->close(); });
        const auto start = Clock::now();
        QTest::keyClick(button("miniroto_0"), static_cast<Qt::Key>(key));
        QVERIFY(secondsSince(start) < 2.0);
        QCOMPARE(caption(8), std::string(factsOf(Lottery::MiniLoto).headline));
        QCOMPARE(caption(7), std::string("チャンスは毎週チューズディ!"));
    }

    void eachButtonsDrawEndsAtOnceWhenTheWindowClosesAtAnyPoint_data() {
        QTest::addColumn<Lottery>("lottery");
        QTest::addColumn<int>("nestedDraw");  // a Lottery clicked 0.5 s in, or -1
        QTest::addColumn<double>("closeAt");
        // Fixed seed: the same instants on every run, spread over each draw's whole length.
        std::mt19937 rng(2003);
        for (Lottery lottery : kLotteries) {
            const LotteryFacts& facts = factsOf(lottery);
            std::uniform_real_distribution<double> instant(0.05, facts.nominalSeconds - 0.05);
            const double at = instant(rng);
            QTest::addRow("%s closed at %.2f s", facts.button, at) << lottery << -1 << at;
        }
        QTest::newRow("Numbers3 nested in Loto 6, closed inside both")
            << Lottery::Loto6 << static_cast<int>(Lottery::Numbers3) << 1.2;
    }
    // Each button starts its own lottery's draw (its headline is up when the window closes), and
    // the close ends it, nested or not, wherever it stands: no caption changes and no beep after
    // it, the event loop ends within half a second with status 0 and the window stays hidden.
    void eachButtonsDrawEndsAtOnceWhenTheWindowClosesAtAnyPoint() {
        QFETCH(Lottery, lottery);
        QFETCH(int, nestedDraw);
        QFETCH(double, closeAt);
        QStringList atClose;
        int beepsAtClose = -1;
        int drawsAtClose = -1;
        Clock::time_point closedAt;
        QTimer::singleShot(0, window_.get(),
                           [&] { QTest::mouseClick(button(factsOf(lottery).button), Qt::LeftButton); });
        if (nestedDraw >= 0) {
            const char* nested = factsOf(static_cast<Lottery>(nestedDraw)).button;
            QTimer::singleShot(500, window_.get(), [&, nested] { QTest::mouseClick(button(nested), Qt::LeftButton); });
        }
        QTimer::singleShot(static_cast<int>(closeAt * 1000), window_.get(), [&] {
            drawsAtClose = window_->form().drawsRunning();
            window_->close();
            atClose = window_.captions();
            beepsAtClose = window_->runtime().beepsSounded();
            closedAt = Clock::now();
        });
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(secondsSince(closedAt) < 0.5);
        QCOMPARE(drawsAtClose, nestedDraw >= 0 ? 2 : 1);
        const Lottery shown = nestedDraw >= 0 ? static_cast<Lottery>(nestedDraw) : lottery;
        QCOMPARE(atClose[7], QString::fromUtf8(factsOf(shown).headline));
        QCOMPARE(window_.captions(), atClose);
        QCOMPARE(window_->runtime().beepsSounded(), beepsAtClose);
        QCOMPARE(window_->form().drawsRunning(), 0);
        QVERIFY(!window_->isVisible());
    }
};

QTEST_MAIN(QtDrawsTest)
#include "test_draws_qt.moc"
