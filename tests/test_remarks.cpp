// The interim and closing remarks: their tables, the beep, and how often each text comes up.
#include <QtTest>

#include "caption_checks.h"
#include "effects/remarks.h"
#include "fake_runtime.h"

using namespace tamapick;
using namespace tamapick::testing;

namespace {

// The r that makes RandomBetween(0, 5) draw `value`.
float sourceValueFor(int value) { return (static_cast<float>(value) + 0.5F) / 6.0F; }

}  // namespace

class RemarksTest : public QObject {
    Q_OBJECT

private slots:
    void eachDrawnValuePicksItsText_data() {
        QTest::addColumn<bool>("closing");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("text");
        const QStringList closing{"こんなん出ました!", "当たりますように!", "こんなのでました",
                                  "こんなん出ました!", "こんなん出ました!", "こんなん出ました!"};
        const QStringList interim{"あたりますように!", "もうしばらくお待ちください", "当たりますように!!!",
                                  "なにがでるかな???", "なにがでるかな???",          "なにがでるかな???"};
        for (int value = 0; value <= 5; ++value) {
            QTest::addRow("capcap %d", value) << true << value << closing[value];
            QTest::addRow("capcap2 %d", value) << false << value << interim[value];
        }
    }
    // Catches a wrong or full-width mark, a swapped row, a beep from the interim remark, and a
    // beep that sounds before the remark is up.
    void eachDrawnValuePicksItsText() {
        QFETCH(bool, closing);
        QFETCH(int, value);
        QFETCH(QString, text);
        FakeRuntime fake;
        fake.scriptRandom({sourceValueFor(value)});
        const VariantValue drawn = closing ? capcap(fake) : capcap2(fake);
        QCOMPARE(drawn, VariantValue(static_cast<std::int16_t>(value)));
        QCOMPARE(fake.writes().size(), std::size_t{1});
        QCOMPARE(fake.writes()[0].label, Label::Label7);
        QCOMPARE(QString::fromStdString(fake.writes()[0].text), text);
        QCOMPARE(fake.randomDraws(), 1);
        if (closing) {
            QCOMPARE(fake.beeps(), 1);
            QCOMPARE(fake.beepLog()[0].writesBefore, std::size_t{1});
        } else {
            QCOMPARE(fake.beeps(), 0);
        }
    }

    void theThreeWishesAreDistinct() {
        const std::set<std::string> wishes{kClosingRemarks.forOne, kInterimRemarks.forZero, kInterimRemarks.forTwo};
        QCOMPARE(wishes.size(), std::size_t{3});
    }

    void remarkTextsComeUpAtTheirShare_data() {
        QTest::addColumn<bool>("closing");
        QTest::newRow("closing: 4/6, 1/6, 1/6") << true;
        QTest::newRow("interim: 1/6, 1/6, 1/6, 3/6") << false;
    }
    // Chi-square over 60,000 calls at a fixed seed, significance 0.001.
    void remarkTextsComeUpAtTheirShare() {
        QFETCH(bool, closing);
        const RemarkTable& table = closing ? kClosingRemarks : kInterimRemarks;
        std::map<std::string, double> expectedShare;
        for (int value = 0; value <= 5; ++value) {
            expectedShare[remarkFor(table, static_cast<std::int16_t>(value))] += 1.0 / 6.0;
        }
        FakeRuntime fake;
        fake.seedGenerator(99);
        const int calls = 60000;
        std::map<std::string, int> counts;
        for (int i = 0; i < calls; ++i) {
            closing ? capcap(fake) : capcap2(fake);
            ++counts[fake.caption(Label::Label7)];
            fake.clearLog();
        }
        QCOMPARE(counts.size(), expectedShare.size());
        double chiSquare = 0;
        for (const auto& [text, share] : expectedShare) {
            const double expected = share * calls;
            chiSquare += std::pow(counts[text] - expected, 2) / expected;
        }
        // Critical values at 0.001: 13.816 for 2 degrees of freedom, 16.266 for 3.
        const double critical = expectedShare.size() == 3 ? 13.816 : 16.266;
        QVERIFY2(chiSquare < critical, qPrintable(QString::number(chiSquare)));
        if (closing) {
            QVERIFY(std::abs(counts["こんなん出ました!"] / double(calls) - 4.0 / 6.0) < 0.01);
        } else {
            QVERIFY(std::abs(counts["なにがでるかな???"] / double(calls) - 0.5) < 0.01);
        }
    }
};

QTEST_APPLESS_MAIN(RemarksTest)
#include "test_remarks.moc"
