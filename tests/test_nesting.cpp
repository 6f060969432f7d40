// Clicks during a draw run the clicked draw nested inside the waiting pause; the close ends
// everything at once. All on the simulated clock, so each scenario replays exactly.
#include <QtTest>
#include <random>

#include "caption_checks.h"
#include "draws/draws.h"
#include "draws/tamapick_form.h"
#include "fake_runtime.h"
#include "lotteries.h"

using namespace tamapick;
using namespace tamapick::testing;

namespace {

using Captions = PerLabel<std::string>;

Captions captionsOf(const FakeRuntime& fake) {
    Captions captions;
    for (int label = 1; label <= labelNumber(kLastLabel); ++label) {
        captions[static_cast<Label>(label)] = fake.caption(static_cast<Label>(label));
    }
    return captions;
}

const std::string& at(const Captions& captions, int label) { return captions[static_cast<Label>(label)]; }

// The write made by the interrupted draw once the nested one has returned, or nullptr.
const FakeRuntime::CaptionWrite* writeAt(const FakeRuntime& fake, std::size_t index) {
    return index < fake.writes().size() ? &fake.writes()[index] : nullptr;
}

}  // namespace

class NestingTest : public QObject {
    Q_OBJECT

private slots:
    // Mini Loto's fourth reel ends at 5.26 s and its 0.8 s pause runs to 6.06 s; a Loto 6 click at
    // 5.5 s runs a whole Loto 6 draw (to 16.26 s). Then the Mini Loto draw shows an interim
    // remark and its fourth number, runs its fifth reel and ends with its fifth number: Label1-3
    // keep the Loto 6 numbers and Label8 the Loto 6 headline.
    void aLoto6ClickDuringTheMiniLotoPauseRunsInsideIt() {
        FakeRuntime fake;
        TamapickForm form(fake, &fake);
        Captions afterLoto6;
        std::size_t writesBeforeResuming = 0;
        double loto6EndedAt = 0;
        fake.scriptEvent(5.5, [&] {
            form.click(draws::roto6_Click);
            afterLoto6 = captionsOf(fake);
            writesBeforeResuming = fake.writes().size();
            loto6EndedAt = fake.now();
        });
        form.click(draws::miniroto_Click);

        QCOMPARE(loto6EndedAt, 5.5 + factsOf(Lottery::Loto6).nominalSeconds);
        QCOMPARE(form.deepestNesting(), 2);
        QVERIFY(std::abs(fake.now() - (16.26 + 2.0 + 1.0)) < 1e-9);
        QCOMPARE(at(afterLoto6, 8), std::string("ロト6の予想です"));
        QVERIFY(isNumberIn(at(afterLoto6, 6), 1, 43));
        const auto* resumed = writeAt(fake, writesBeforeResuming);
        QVERIFY(resumed != nullptr && resumed->label == Label::Label7 && isInterimRemark(resumed->text));
        QVERIFY(writeAt(fake, writesBeforeResuming + 1)->label == Label::Label4);

        const Captions end = captionsOf(fake);
        for (int label = 1; label <= 3; ++label) QCOMPARE(at(end, label), at(afterLoto6, label));
        QCOMPARE(at(end, 8), std::string("ロト6の予想です"));
        QVERIFY(isNumberIn(at(end, 4), 1, 31) && isNumberIn(at(end, 5), 1, 31));
        QVERIFY(at(end, 4) != at(end, 5));
        QCOMPARE(at(end, 6), std::string());
        QVERIFY(isClosingRemark(at(end, 7)));
        QCOMPARE(fake.beeps(), 2);
        QCOMPARE(form.drawsRunning(), 0);
        // Each draw reports its own end with the captions standing then: the nested Loto 6
        // draw its result, the Mini Loto draw the mixture it leaves.
        QCOMPARE(fake.drawEnds().size(), std::size_t{2});
        QCOMPARE(fake.drawEnds()[0].writesBefore, writesBeforeResuming);
        for (int label = 1; label <= labelNumber(kLastLabel); ++label) {
            QCOMPARE(at(fake.drawEnds()[0].captions, label), at(afterLoto6, label));
            QCOMPARE(at(fake.drawEnds()[1].captions, label), at(end, label));
        }
    }

    // Loto 6's third reel spins from 1.36 s; a Mini Loto click at 2.0 s lands in the pause of
    // its seventh step (1.96-2.06 s). The whole Mini Loto draw runs (to 11.06 s), then the
    // third reel's last four steps and the rest of the Loto 6 draw: Label1 and Label2 keep the
    // Mini Loto numbers and Label8 its headline.
    void aMiniLotoClickDuringTheThirdLoto6ReelRunsInsideIt() {
        FakeRuntime fake;
        TamapickForm form(fake);
        Captions afterMiniLoto;
        std::size_t writesBeforeResuming = 0;
        fake.scriptEvent(2.0, [&] {
            form.click(draws::miniroto_Click);
            afterMiniLoto = captionsOf(fake);
            writesBeforeResuming = fake.writes().size();
        });
        form.click(draws::roto6_Click);

        QVERIFY(std::abs(fake.now() - (11.06 + 0.4 + 2.1 + 2.0 + 4.2)) < 1e-9);
        const Captions end = captionsOf(fake);
        QCOMPARE(at(afterMiniLoto, 8), std::string("ミニロトの予想です!"));
        QCOMPARE(at(end, 1), at(afterMiniLoto, 1));
        QCOMPARE(at(end, 2), at(afterMiniLoto, 2));
        QCOMPARE(at(end, 8), std::string("ミニロトの予想です!"));
        for (int label = 3; label <= 6; ++label) QVERIFY(isNumberIn(at(end, label), 1, 43));
        const std::set<std::string> loto6Tail{at(end, 3), at(end, 4), at(end, 5), at(end, 6)};
        QCOMPARE(loto6Tail.size(), std::size_t{4});
        // The resumed reel writes its own labels again at its next step.
        const auto* resumed = writeAt(fake, writesBeforeResuming);
        QVERIFY(resumed != nullptr && resumed->label == Label::Label3);
        QVERIFY(isClosingRemark(at(end, 7)));
        QCOMPARE(fake.beeps(), 2);
    }

    // A Loto 6 click during the first reel of a Numbers 3 draw fills Label1-Label6; the next
    // step of the interrupted reel writes digits into Label1-Label3 and empties Label4-Label6.
    void aLoto6ClickDuringTheFirstNumbers3ReelIsOverwrittenByTheReel() {
        FakeRuntime fake;
        TamapickForm form(fake);
        Captions afterLoto6;
        fake.scriptEvent(0.105, [&] {
            form.click(draws::roto6_Click);
            afterLoto6 = captionsOf(fake);
        });
        form.click(draws::Numbers3_Click);

        for (int label = 1; label <= 6; ++label) QVERIFY(isNumberIn(at(afterLoto6, label), 1, 43));
        const double loto6End = 0.105 + factsOf(Lottery::Loto6).nominalSeconds;
        std::vector<const FakeRuntime::CaptionWrite*> nextStep;
        for (const auto& write : fake.writes()) {
            if (write.time > loto6End && nextStep.size() < 6) nextStep.push_back(&write);
        }
        QCOMPARE(nextStep.size(), std::size_t{6});
        for (int i = 0; i < 6; ++i) {
            QCOMPARE(labelNumber(nextStep[static_cast<std::size_t>(i)]->label), i + 1);
            const std::string& text = nextStep[static_cast<std::size_t>(i)]->text;
            QVERIFY(i < 3 ? isNumberIn(text, 0, 9) : text.empty());
        }
        const Captions end = captionsOf(fake);
        for (int label = 1; label <= 3; ++label) QVERIFY(isNumberIn(at(end, label), 0, 9));
        for (int label = 4; label <= 6; ++label) QCOMPARE(at(end, label), std::string());
        QCOMPARE(at(end, 8), std::string("ロト6の予想です"));  // Numbers 3 never writes it again
        // The interrupted pause ended with the nested draw; the reel's remaining 20 steps follow.
        QVERIFY(std::abs(fake.now() - (loto6End + 0.2 + 1.05 + 1.1)) < 1e-9);
    }

    // The same button clicked inside its own draw: the nested reel has its own counter, so the
    // outer one still runs its full course afterwards.
    void aDrawNestedInItselfKeepsItsOwnCounter() {
        FakeRuntime fake;
        TamapickForm form(fake);
        fake.scriptEvent(1.0, [&] { form.click(draws::Numbers3_Click); });
        form.click(draws::Numbers3_Click);
        // 1.0 s falls in the pause of the second reel's step 13 (0.96 to 1.01 s); the nested
        // draw runs to 3.46 s, then the outer reel runs its steps 14 to 20 and the third reel.
        QVERIFY(std::abs(fake.now() - (3.46 + 7 * 0.05 + 1.1)) < 1e-9);
        QCOMPARE(fake.beeps(), 2);
    }

    // The bound the README promises, and the stack budget is sized for: a click while 32 draws run
    // is ignored (no caption, no beep, no draw reported), and one while 31 run is not. Catches a
    // bound moved either way. Numbers 3 clicks 1 ms apart each land in the first reel's 10 ms
    // pause of the draw before, so the nesting grows by one a click.
    void aClickWhileThirtyTwoDrawsRunIsIgnored() {
        FakeRuntime fake;
        TamapickForm form(fake, &fake);
        for (int i = 0; i < 34; ++i) fake.scriptEvent(0.001 * i, [&form] { form.click(draws::Numbers3_Click); });
        int runningAtTheLastClicks = -1;
        fake.scriptEvent(0.0335, [&] { runningAtTheLastClicks = form.drawsRunning(); });
        fake.runEvents();
        QCOMPARE(runningAtTheLastClicks, 32);
        QCOMPARE(form.deepestNesting(), 32);
        QCOMPARE(form.droppedClicks(), 2);
        QCOMPARE(static_cast<int>(fake.drawStarts().size()), 32);
        QCOMPARE(fake.beeps(), 32);
    }

    void aStormOfClicksStaysWithinTheNestingBound_data() {
        QTest::addColumn<int>("clicks");
        QTest::addColumn<double>("within");
        QTest::newRow("300 clicks over 10 minutes") << 300 << 600.0;
        QTest::newRow("200 clicks in 2 seconds: past the bound") << 200 << 2.0;
        QTest::newRow("10,000 clicks over 8 hours") << 10000 << 8 * 3600.0;
    }
    // Random buttons at random instants: nothing breaks, the nesting never passes its bound,
    // every accepted draw ends with its beep, and the window ends in a state a draw leaves.
    void aStormOfClicksStaysWithinTheNestingBound() {
        QFETCH(int, clicks);
        QFETCH(double, within);
        FakeRuntime fake;
        fake.seedGenerator(31);
        fake.keepLog(false);
        TamapickForm form(fake);
        std::mt19937 rng(17);
        std::uniform_real_distribution<double> when(0.0, within);
        std::uniform_int_distribution<int> which(0, 3);
        for (int i = 0; i < clicks; ++i) {
            const int button = which(rng);
            fake.scriptEvent(when(rng), [&form, button] { click(form, kLotteries[button]); });
        }
        fake.runEvents();
        qInfo("deepest %d, dropped %d, beeps %d, simulated %.0f s, random draws %d", form.deepestNesting(),
              form.droppedClicks(), fake.beeps(), fake.now(), fake.randomDraws());
        QVERIFY(form.deepestNesting() <= 32);
        QCOMPARE(form.drawsRunning(), 0);
        QCOMPARE(fake.beeps(), clicks - form.droppedClicks());
        if (within < 10) {
            QCOMPARE(form.deepestNesting(), 32);
            QVERIFY(form.droppedClicks() > 0);
        }
        const Captions end = captionsOf(fake);
        QVERIFY(isHeadline(at(end, 8)));
        QVERIFY(isClosingRemark(at(end, 7)));  // the outermost draw always ends with its remark
        for (int label = 1; label <= 6; ++label) {
            QVERIFY(at(end, label).empty() || isNumberIn(at(end, label), 0, 43));
        }
    }

    void aCloseEndsEveryDrawAtOnce_data() {
        QTest::addColumn<int>("button");
        QTest::addColumn<double>("closeAt");
        QTest::addColumn<double>("nestedClickAt");
        const double closes[] = {0.005, 0.5, 1.37, 3.0, 6.0, 9.05, 10.7};
        for (int button = 0; button < 4; ++button) {
            const char* name = factsOf(kLotteries[button]).name;
            for (double close : closes) {
                QTest::addRow("%s closed at %.3f s", name, close) << button << close << -1.0;
            }
            QTest::addRow("%s closed inside a nested draw", name) << button << 2.0 << 1.0;
        }
    }
    // Once the window closes, no caption is written and no beep sounds; the draws unwind with
    // no further simulated time passing, and later clicks run nothing.
    void aCloseEndsEveryDrawAtOnce() {
        QFETCH(int, button);
        QFETCH(double, closeAt);
        QFETCH(double, nestedClickAt);
        FakeRuntime fake;
        TamapickForm form(fake, &fake);
        if (nestedClickAt >= 0) fake.scriptEvent(nestedClickAt, [&] { form.click(draws::roto6_Click); });
        fake.scriptClose(closeAt);
        fake.scriptEvent(closeAt + 0.001, [&] { form.click(draws::miniroto_Click); });
        fake.scriptEvent(0.0, [&] { click(form, kLotteries[button]); });
        fake.runEvents();

        QCOMPARE(fake.writesAfterClose(), 0);
        QCOMPARE(fake.beepsAfterClose(), 0);
        QVERIFY(fake.now() <= closeAt + 0.001);
        QCOMPARE(form.drawsRunning(), 0);
        for (const auto& write : fake.writes()) QVERIFY(write.time <= closeAt);
        // Only a draw that ran to its closing remark reports an end; the ones the close cut
        // short have no result to announce.
        QCOMPARE(static_cast<int>(fake.drawEnds().size()), fake.beeps());
        for (const auto& drawEnd : fake.drawEnds()) QVERIFY(drawEnd.time <= closeAt);
    }
};

QTEST_APPLESS_MAIN(NestingTest)
#include "test_nesting.moc"
