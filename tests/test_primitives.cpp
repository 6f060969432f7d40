// RandomBetween, ShowNumber and PauseSeconds on the simulated runtime.
#include <QtTest>
#include <cmath>
#include <limits>
#include <map>

#include "fake_runtime.h"
#include "primitives/primitives.h"

using namespace tamapick;

namespace {

constexpr float kLargestBelowOne = 0x1.fffffep-1F;

// Chi-square critical values at a significance of 0.001 for the degrees of freedom in use.
double chiSquareCritical(int degreesOfFreedom) {
    static const std::map<int, double> table{{5, 20.515}, {9, 27.877}, {30, 59.703}, {42, 76.084}};
    return table.at(degreesOfFreedom);
}

}  // namespace

class PrimitivesTest : public QObject {
    Q_OBJECT

private slots:
    void randomBetweenMapsTheEndsOfTheSourceToTheBounds_data() {
        QTest::addColumn<int>("lower");
        QTest::addColumn<int>("upper");
        QTest::newRow("mini loto 1..31") << 1 << 31;
        QTest::newRow("loto 6 1..43") << 1 << 43;
        QTest::newRow("digits 0..9") << 0 << 9;
        QTest::newRow("remarks 0..5") << 0 << 5;
        // Equal bounds at 0: higher up, one plus the largest r below 1 rounds to 2 in single
        // precision (7 .. 7 would give 8 there), a pair no caller uses.
        QTest::newRow("equal bounds") << 0 << 0;
        QTest::newRow("negative range") << -5 << -2;
    }
    // Catches rounding to nearest instead of the floor, and an upperbound + 1 at r near 1.
    void randomBetweenMapsTheEndsOfTheSourceToTheBounds() {
        QFETCH(int, lower);
        QFETCH(int, upper);
        FakeRuntime fake;
        fake.scriptRandom({0.0F, kLargestBelowOne, 0.5F});
        const auto lo = static_cast<std::int16_t>(lower);
        const auto up = static_cast<std::int16_t>(upper);
        QCOMPARE(RandomBetween(fake, lo, up), lo);
        QCOMPARE(RandomBetween(fake, lo, up), up);
        const int middle = RandomBetween(fake, lo, up);
        QVERIFY(middle >= lower && middle <= upper);
        QCOMPARE(fake.randomDraws(), 3);  // exactly one value of the source per call
    }

    // Exact values where the rounding shows: 43 r lies just below 1, and single precision rounds
    // the product up to 1; 0.7F lies just below 0.7 and 10 r rounds up to 7. Computed in double
    // precision, or fused into one multiply-add, these give 1 and 6.
    void randomBetweenRoundsTheProductAndTheSumInSinglePrecision() {
        FakeRuntime fake;
        fake.scriptRandom({0x1.7d05f2p-6F, 0.7F});
        QCOMPARE(RandomBetween(fake, 1, 43), std::int16_t{2});
        QCOMPARE(RandomBetween(fake, 0, 9), std::int16_t{7});
    }

    void randomBetweenIsEvenOverTheBoundsInUse_data() {
        QTest::addColumn<int>("lower");
        QTest::addColumn<int>("upper");
        QTest::newRow("1..31") << 1 << 31;
        QTest::newRow("1..43") << 1 << 43;
        QTest::newRow("0..9") << 0 << 9;
        QTest::newRow("0..5") << 0 << 5;
    }
    // Every value appears, no other does, and the counts pass chi-square at 0.001 (fixed seed).
    void randomBetweenIsEvenOverTheBoundsInUse() {
        QFETCH(int, lower);
        QFETCH(int, upper);
        FakeRuntime fake;
        fake.seedGenerator(4242);
        const int values = upper - lower + 1;
        const int perValue = 2000;
        std::map<int, int> counts;
        for (int i = 0; i < values * perValue; ++i) {
            ++counts[RandomBetween(fake, static_cast<std::int16_t>(lower), static_cast<std::int16_t>(upper))];
        }
        QCOMPARE(static_cast<int>(counts.size()), values);
        QCOMPARE(counts.begin()->first, lower);
        QCOMPARE(counts.rbegin()->first, upper);
        double chiSquare = 0;
        for (const auto& [value, count] : counts) {
            chiSquare += std::pow(count - perValue, 2) / perValue;
        }
        QVERIFY2(chiSquare < chiSquareCritical(values - 1), qPrintable(QString::number(chiSquare)));
        QCOMPARE(fake.randomDraws(), values * perValue);
    }

    void showNumberWritesPlainDecimalText_data() {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("caption");
        QTest::newRow("zero") << 0 << "0";
        QTest::newRow("one digit, no padding or blank") << 5 << "5";
        QTest::newRow("mini loto top") << 31 << "31";
        QTest::newRow("loto 6 top") << 43 << "43";
        QTest::newRow("negative") << -12 << "-12";
    }
    void showNumberWritesPlainDecimalText() {
        QFETCH(int, number);
        QFETCH(QString, caption);
        FakeRuntime fake;
        ShowNumber(fake, Label::Label3, static_cast<std::int16_t>(number));
        QCOMPARE(QString::fromStdString(fake.caption(Label::Label3)), caption);
        QCOMPARE(fake.writes().size(), std::size_t{1});
    }

    void pauseNeverReturnsEarly_data() {
        QTest::addColumn<double>("seconds");
        QTest::addColumn<double>("startAt");
        QTest::newRow("reel step 0.01") << 0.01 << 0.0;
        QTest::newRow("0.1 after an odd start") << 0.1 << 0.7;
        QTest::newRow("0.3 late in a long run") << 0.3 << 12345.678;
        QTest::newRow("integer 1") << 1.0 << 3.3;
        QTest::newRow("zero") << 0.0 << 1.0;
    }
    // Also catches a busy wait: with nothing to dispatch, one blocking wait covers the pause.
    void pauseNeverReturnsEarly() {
        QFETCH(double, seconds);
        QFETCH(double, startAt);
        FakeRuntime fake;
        double elapsed = -1;
        fake.scriptEvent(startAt, [&] {
            const double start = fake.now();
            PauseSeconds(fake, seconds);
            elapsed = fake.now() - start;
        });
        fake.runEvents();
        // The simulated clock counts double seconds, so start + seconds may round by an ulp.
        QVERIFY(elapsed >= seconds - 1e-12);
        QVERIFY(elapsed < seconds + 1e-9);
        QVERIFY(fake.pumps() <= 2);
    }

    // A click due while the pause still has time runs inside it, and a handler that pauses
    // itself nests: the outer pause lasts its own time, measured from its own start.
    void clicksDueInsideAPauseRunBeforeItReturnsAndNest() {
        FakeRuntime fake;
        std::vector<std::string> trace;
        fake.scriptEvent(0.25, [&] {
            trace.push_back("inner starts");
            PauseSeconds(fake, 0.5);
            trace.push_back("inner ends");
        });
        fake.scriptEvent(0.3, [&] { trace.push_back("second click"); });
        fake.scriptEvent(2.0, [&] { trace.push_back("after the pause"); });
        PauseSeconds(fake, 1.0);
        trace.push_back("outer ends");
        QCOMPARE(fake.now(), 1.0);
        fake.runEvents();
        const std::vector<std::string> expected{"inner starts", "second click", "inner ends", "outer ends",
                                                "after the pause"};
        QCOMPARE(trace, expected);
    }

    void aNestedPauseThatOutlastsTheOuterOneDelaysItsReturn() {
        FakeRuntime fake;
        fake.scriptEvent(0.05, [&] { PauseSeconds(fake, 3.0); });
        PauseSeconds(fake, 0.1);
        QCOMPARE(fake.now(), 3.05);
    }

    void aCloseDuringAPauseEndsItAtOnce() {
        FakeRuntime fake;
        fake.scriptClose(0.2);
        QVERIFY_THROWS_EXCEPTION(WindowClosed, PauseSeconds(fake, 5.0));
        QCOMPARE(fake.now(), 0.2);
        QVERIFY_THROWS_EXCEPTION(WindowClosed, PauseSeconds(fake, 0.0));
    }
};

QTEST_APPLESS_MAIN(PrimitivesTest)
#include "test_primitives.moc"
