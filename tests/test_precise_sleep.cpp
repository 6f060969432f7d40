// The precise sleeper: what it learns from wake-ups, that a sleep never ends early and that a
// short one is not stretched to the system timer's tick.
#include <QtTest>

#include <algorithm>
#include <vector>

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

    // A short pause keeps near its length instead of running on to the system timer's next tick
    // (15.6 ms on Windows unless a finer timer is asked for). The median of a few pauses is
    // taken, so that a busy machine stalling one of them does not count.
    void aShortPauseIsNotRoundedUpToTheSystemTick() {
        PreciseSleeper sleeper;
        std::vector<PreciseSleeper::Clock::duration> lengths;
        for (int i = 0; i < 21; ++i) {
            const auto start = PreciseSleeper::Clock::now();
            sleeper.sleepUntil(start + 2ms);
            lengths.push_back(PreciseSleeper::Clock::now() - start);
        }
        std::nth_element(lengths.begin(), lengths.begin() + 10, lengths.end());
        QVERIFY2(lengths[10] < 10ms, qPrintable(QString("median %1 us").arg(lengths[10] / 1us)));
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
