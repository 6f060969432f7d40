// The six reels on the simulated runtime: steps, values, captions, untouched labels, timing.
#include <QtTest>

#include "caption_checks.h"
#include "effects/reels.h"
#include "fake_runtime.h"
#include "lotteries.h"

using namespace tamapick;
using namespace tamapick::testing;

namespace {

using ReelRoutine = VariantValue (*)(Runtime&, const std::int16_t&, const std::int16_t&, const std::int16_t&);
constexpr ReelRoutine kRoutines[] = {kurukuru, kurukuru2, kurukuru3, kurukuru4, kurukuru5, kurukuru6};

}  // namespace

class ReelsTest : public QObject {
    Q_OBJECT

private slots:
    void everyReelWritesItsOwnLabelsAtEveryStep_data() {
        QTest::addColumn<int>("reel");
        QTest::addColumn<int>("max");
        QTest::addColumn<int>("lastInUse");
        for (int reel = 1; reel <= 6; ++reel) {
            for (const auto& [max, last] : {std::pair{3, 3}, {4, 4}, {5, 5}, {6, 6}, {0, 6}, {2, 6}, {7, 6}}) {
                QTest::addRow("kurukuru%d max %d", reel, max) << reel << max << last;
            }
        }
    }
    // Catches a wrong step count (30 instead of 31, the fifth and sixth swapped), values drawn
    // only for the labels in use, captions in the wrong order or beyond the last label in use,
    // writes to labels before the position, a pause skipped on the last step.
    void everyReelWritesItsOwnLabelsAtEveryStep() {
        QFETCH(int, reel);
        QFETCH(int, max);
        QFETCH(int, lastInUse);
        FakeRuntime fake;
        for (int label = 1; label <= 6; ++label) {
            fake.setCaption(numberLabel(label), "kept");
        }
        fake.clearLog();
        // The first step's values are 1, 2, 3 ... in the order they are taken.
        std::vector<float> firstStep;
        for (int value = 1; value <= 7 - reel; ++value) firstStep.push_back((static_cast<float>(value) - 0.5F) / 43.0F);
        fake.scriptRandom(firstStep);
        const std::int16_t upper = 43;
        const std::int16_t lower = 1;
        const auto maxValue = static_cast<std::int16_t>(max);
        kRoutines[reel - 1](fake, upper, lower, maxValue);

        const int steps = kReelSteps[reel - 1];
        const double pause = kReelPause[reel - 1];
        const int ownLabels = 7 - reel;
        QCOMPARE(fake.randomDraws(), steps * ownLabels);
        QCOMPARE(static_cast<int>(fake.writes().size()), steps * ownLabels);
        QVERIFY(fake.now() >= steps * pause - 1e-9);
        QVERIFY(fake.now() < steps * pause + 1e-6);
        for (int step = 0; step < steps; ++step) {
            for (int offset = 0; offset < ownLabels; ++offset) {
                const auto& write = fake.writes()[static_cast<std::size_t>(step * ownLabels + offset)];
                const int label = reel + offset;
                QCOMPARE(labelNumber(write.label), label);
                QVERIFY(write.time >= step * pause - 1e-9);  // each step only after the last one's pause
                if (label <= lastInUse) {
                    QVERIFY2(isNumberIn(write.text, 1, 43), write.text.c_str());
                    if (step == 0) QCOMPARE(write.text, std::to_string(offset + 1));
                } else {
                    QCOMPARE(write.text, std::string());
                }
            }
        }
        for (int label = 1; label < reel; ++label) {
            QCOMPARE(fake.caption(numberLabel(label)), std::string("kept"));
        }
    }

    // After a Loto 6 draw, the first step of a Numbers 3 reel clears the fourth to sixth numbers
    // at once, and every digit is one character.
    void aDigitReelClearsTheLabelsBeyondItsLastAtTheFirstStep() {
        FakeRuntime fake;
        for (int label = 1; label <= 6; ++label) {
            fake.setCaption(numberLabel(label), "42");
        }
        fake.clearLog();
        const std::int16_t upper = 9;
        const std::int16_t lower = 0;
        const std::int16_t max = 3;
        std::vector<std::string> afterTheFirstStep;
        fake.scriptEvent(0.005, [&] {
            for (int label = 1; label <= 6; ++label) afterTheFirstStep.push_back(fake.caption(numberLabel(label)));
        });
        kurukuru(fake, upper, lower, max);
        QCOMPARE(fake.pumps(), 31 + 1);  // one wait per step, plus the scripted look
        QCOMPARE(afterTheFirstStep.size(), std::size_t{6});
        for (int label = 1; label <= 3; ++label) QVERIFY(isNumberIn(afterTheFirstStep[label - 1], 0, 9));
        for (int label = 4; label <= 6; ++label) QCOMPARE(afterTheFirstStep[label - 1], std::string());
    }

    // The values of a step are independent: duplicates within a step occur, and every value of
    // the range shows up in every label the reel uses.
    void reelValuesCoverTheRangeInEveryLabel() {
        FakeRuntime fake;
        fake.seedGenerator(77);
        const std::int16_t upper = 31;
        const std::int16_t lower = 1;
        const std::int16_t max = 5;
        std::map<int, std::set<int>> seen;
        bool duplicateInAStep = false;
        for (int run = 0; run < 40; ++run) {
            fake.clearLog();
            kurukuru(fake, upper, lower, max);
            const auto& writes = fake.writes();
            for (std::size_t step = 0; step < writes.size(); step += 6) {
                std::set<std::string> inStep;
                for (std::size_t i = step; i < step + 5; ++i) {
                    seen[labelNumber(writes[i].label)].insert(numberOf(writes[i].text));
                    duplicateInAStep |= !inStep.insert(writes[i].text).second;
                }
            }
        }
        for (int label = 1; label <= 5; ++label) {
            QCOMPARE(static_cast<int>(seen[label].size()), 31);
        }
        QVERIFY(duplicateInAStep);
    }
};

QTEST_APPLESS_MAIN(ReelsTest)
#include "test_reels.moc"
