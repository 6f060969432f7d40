// The precise sleeper: what it learns from wake-ups, and that a sleep never ends early.
#include <QtTest>

#include "runtime/precise_sleep.h"

using namespace tamapick;
using namespace std::chrono_literals;

class PreciseSleepTest : public QObject {
    Q_OBJECT

private slots:
    // Waking early by the learnt latency must never let a pause end before its deadline.
    void aSleepNeverEndsBeforeItsDeadline() {
        PreciseSleeper sleeper;
        for (int i = 0; i < 40; ++i) {
            const auto deadline = PreciseSleeper::Clock::now() + 1ms;
            sleeper.sleepUntil(deadline);
            QVERIFY(PreciseSleeper::Clock::now() >= deadline);
        }
        // A deadline already past returns at once.
        sleeper.sleepUntil(PreciseSleeper::Clock::now() - 1ms);
    }

    // A steady latency is learnt, so the sleep asks to be woken that much early.
    void aSteadyLatencyIsLearnt() {
        PreciseSleeper sleeper;
        for (int i = 0; i < 100; ++i) sleeper.observeWakeUp(120us);
        QVERIFY(sleeper.lead() > 115us && sleeper.lead() <= 120us);
        for (int i = 0; i < 100; ++i) sleeper.observeWakeUp(10us);
        QVERIFY(sleeper.lead() >= 10us && sleeper.lead() < 15us);
    }

    // The lead is also how long the sleeper may wait on the clock, so stalls must not inflate it
    // and early wake-ups must not push it below nothing.
    void theLeadStaysWithinItsBounds() {
        PreciseSleeper sleeper;
        const auto before = sleeper.lead();
        for (int i = 0; i < 100; ++i) sleeper.observeWakeUp(5ms);
        QCOMPARE(sleeper.lead(), before);
        for (int i = 0; i < 100; ++i) sleeper.observeWakeUp(PreciseSleeper::kMaxLead);
        QVERIFY(sleeper.lead() <= PreciseSleeper::kMaxLead);
        for (int i = 0; i < 200; ++i) sleeper.observeWakeUp(-40us);
        QVERIFY(sleeper.lead() >= 0ns && sleeper.lead() < 1us);
    }
};

QTEST_APPLESS_MAIN(PreciseSleepTest)
#include "test_precise_sleep.moc"
