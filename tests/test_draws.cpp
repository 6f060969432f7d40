// The four draws on the simulated runtime: their course, timing, final captions and rules.
#include <QtTest>
#include <functional>

#include "caption_checks.h"
#include "draw_script.h"
#include "draws/draws.h"
#include "draws/tamapick_form.h"
#include "fake_runtime.h"
#include "lotteries.h"

using namespace tamapick;
using namespace tamapick::testing;

namespace {

DrawScript scriptOf(Lottery lottery) {
    switch (lottery) {
        case Lottery::Loto6:
            return loto6Script();
        case Lottery::MiniLoto:
            return miniLotoScript();
        case Lottery::Numbers3:
            return numbers3Script();
        case Lottery::Numbers4:
            break;
    }
    return numbers4Script();
}

std::vector<int> resultOf(const FakeRuntime& fake, int count) {
    std::vector<int> numbers;
    for (int label = 1; label <= count; ++label) {
        numbers.push_back(numberOf(fake.caption(numberLabel(label))));
    }
    return numbers;
}

}  // namespace

class DrawsTest : public QObject {
    Q_OBJECT

private:
    static void addLotteryRows() {
        QTest::addColumn<Lottery>("lottery");
        for (Lottery lottery : kLotteries) QTest::newRow(factsOf(lottery).name) << lottery;
    }

private slots:
    void eachDrawFollowsItsStepListToTheMoment_data() { addLotteryRows(); }
    // Every caption write in order, with its simulated time: catches a reel out of place, a
    // remark before or after the wrong number, a missing or extra pause, a beep before the
    // closing remark, and a duration other than the nominal one.
    void eachDrawFollowsItsStepListToTheMoment() {
        QFETCH(Lottery, lottery);
        const LotteryFacts& facts = factsOf(lottery);
        FakeRuntime fake;
        fake.setClockTick(0.0005);  // a pause a millisecond short would shorten the draw
        TamapickForm form(fake, &fake);
        click(form, lottery);
        const std::string error = checkDraw(fake, scriptOf(lottery));
        QVERIFY2(error.empty(), error.c_str());
        QVERIFY(std::abs(fake.now() - facts.nominalSeconds) < 1e-9);
        // The draw is reported begun before its first caption and ended once, after the closing
        // remark and its beep: the window announces the result then, not earlier.
        QCOMPARE(fake.drawStarts().size(), std::size_t{1});
        QCOMPARE(fake.drawStarts()[0].writesBefore, std::size_t{0});
        QCOMPARE(fake.drawEnds().size(), std::size_t{1});
        QCOMPARE(fake.drawEnds()[0].writesBefore, fake.writes().size());
        QCOMPARE(fake.drawEnds()[0].beepsBefore, 1);
    }

    void eachDrawLeavesAllEightLabelsAsItsEndState_data() { addLotteryRows(); }
    // Starts from the captions a full Loto 6 draw leaves, so leftovers in Label4-Label6 show up.
    void eachDrawLeavesAllEightLabelsAsItsEndState() {
        QFETCH(Lottery, lottery);
        const LotteryFacts& facts = factsOf(lottery);
        FakeRuntime fake;
        TamapickForm form(fake);
        form.Form_Load();
        QCOMPARE(fake.seedings(), 1);
        form.click(draws::roto6_Click);
        click(form, lottery);
        QCOMPARE(fake.caption(Label::Label8), std::string(facts.headline));
        QVERIFY(isClosingRemark(fake.caption(Label::Label7)));
        for (int label = 1; label <= 6; ++label) {
            const std::string& caption = fake.caption(numberLabel(label));
            if (label <= facts.numbers) {
                QVERIFY2(isNumberIn(caption, facts.lowest, facts.highest), caption.c_str());
            } else {
                QCOMPARE(caption, std::string());
            }
        }
        QCOMPARE(fake.beeps(), 2);
    }

    void drawnNumbersKeepTheLotteryRule_data() { addLotteryRows(); }
    // Over 2,000 draws at a fixed seed: Loto 6 and Mini Loto never repeat a number, the
    // Numbers draws never show all digits equal but do show repeats; each label takes every
    // value of the range, evenly (chi-square at 0.001), and the first number is not always the
    // smallest (the numbers are shown in the order drawn).
    void drawnNumbersKeepTheLotteryRule() {
        QFETCH(Lottery, lottery);
        const LotteryFacts& facts = factsOf(lottery);
        const int lo = facts.lowest;
        const int values = facts.highest - lo + 1;
        FakeRuntime fake;
        fake.seedGenerator(2003);
        TamapickForm form(fake);
        const int draws = 2000;
        std::vector<std::vector<int>> counts(static_cast<std::size_t>(facts.numbers),
                                             std::vector<int>(static_cast<std::size_t>(values)));
        int withRepeats = 0;
        int firstNotSmallest = 0;
        for (int d = 0; d < draws; ++d) {
            click(form, lottery);
            fake.clearLog();
            const std::vector<int> shown = resultOf(fake, facts.numbers);
            const std::set<int> unique(shown.begin(), shown.end());
            if (facts.distinct) {
                QCOMPARE(unique.size(), shown.size());
            } else {
                QVERIFY(unique.size() > 1);
                withRepeats += unique.size() < shown.size() ? 1 : 0;
            }
            firstNotSmallest += shown[0] != *unique.begin() ? 1 : 0;
            for (std::size_t label = 0; label < shown.size(); ++label) {
                ++counts[label][static_cast<std::size_t>(shown[label] - lo)];
            }
        }
        if (!facts.distinct) QVERIFY(withRepeats > 0);
        QVERIFY(firstNotSmallest > 0);
        // Chi-square critical values at 0.001 by degrees of freedom.
        const std::map<int, double> critical{{9, 27.877}, {30, 59.703}, {42, 76.084}};
        for (const auto& perLabel : counts) {
            const double expected = static_cast<double>(draws) / values;
            double chiSquare = 0;
            for (int count : perLabel) {
                QVERIFY(count > 0);
                chiSquare += std::pow(count - expected, 2) / expected;
            }
            QVERIFY2(chiSquare < critical.at(values - 1), qPrintable(QString::number(chiSquare)));
        }
    }

    void eachDrawTakesItsWholeSetRightAfterTheFirstReel_data() { addLotteryRows(); }
    // The first reel's 186 values would themselves make a valid set (1 2 3 4 5 6, or the digits
    // 0 1 2 3), and the set scripted after them is another one: a draw that takes its set before
    // the first reel shows other numbers. A Numbers 3 click inside the Mini Loto draw's first
    // 0.1 s pause takes values of its own, so a Mini Loto set taken after that pause differs too.
    // Numbers 4's set has three equal digits, which the rule allows.
    void eachDrawTakesItsWholeSetRightAfterTheFirstReel() {
        QFETCH(Lottery, lottery);
        const LotteryFacts& facts = factsOf(lottery);
        const int lo = facts.lowest;
        const auto source = [&](int value) {
            return (static_cast<float>(value - lo) + 0.5F) / static_cast<float>(facts.highest - lo + 1);
        };
        const std::map<Lottery, std::vector<int>> sets{{Lottery::Loto6, {11, 12, 13, 14, 15, 16}},
                                                       {Lottery::MiniLoto, {11, 12, 13, 14, 15}},
                                                       {Lottery::Numbers3, {7, 7, 2}},
                                                       {Lottery::Numbers4, {7, 7, 7, 2}}};
        std::vector<float> values;
        for (int i = 0; i < 31 * 6; ++i) values.push_back(source(lo + i % 6));
        for (int value : sets.at(lottery)) values.push_back(source(value));
        FakeRuntime fake;
        fake.scriptRandom(values);
        TamapickForm form(fake);
        if (lottery == Lottery::MiniLoto) fake.scriptEvent(0.35, [&] { form.click(draws::Numbers3_Click); });
        click(form, lottery);
        QCOMPARE(resultOf(fake, facts.numbers), sets.at(lottery));
    }

    // A set that breaks the rule is drawn again whole: 5, 5, 5 and then 8, 5, 5 shows 8 5 5,
    // where drawing only the last digit again would show 5 5 8.
    void aSetThatBreaksTheRuleIsDrawnAgainWhole() {
        FakeRuntime fake;
        std::vector<float> values(31 * 6, 0.0F);  // the first reel's values
        for (float r : {0.55F, 0.55F, 0.55F, 0.85F, 0.55F, 0.55F}) values.push_back(r);
        fake.scriptRandom(values);
        TamapickForm form(fake);
        form.click(draws::Numbers3_Click);
        QCOMPARE(resultOf(fake, 3), (std::vector<int>{8, 5, 5}));
    }
};

QTEST_APPLESS_MAIN(DrawsTest)
#include "test_draws.moc"
