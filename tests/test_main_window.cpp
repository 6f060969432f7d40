// The real window on the offscreen platform: layout, stacking, focus, captions, fonts.
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>
#include <map>

#include "app/desktop_colours.h"
#include "app/main_window.h"
#include "lotteries.h"
#include "window_fixture.h"
#include "window_texts.h"

using namespace tamapick;
using namespace tamapick::testing;

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    WindowFixture window_;

    QLabel* label(const char* name) { return window_->findChild<QLabel*>(QString::fromLatin1(name)); }
    QWidget* control(const QString& name) { return window_.control(name); }

private slots:
    void init() { QVERIFY(window_.open()); }
    void cleanup() { window_.reset(); }

    void theWindowHasItsTitleAndAFixedClientArea() {
        QCOMPARE(window_->objectName(), QStringLiteral("tamapick"));
        QCOMPARE(window_->windowTitle(), QStringLiteral("ほしだま★"));
        QCOMPARE(window_->size(), QSize(421, 279));
        QCOMPARE(window_->minimumSize(), window_->maximumSize());
        QVERIFY(!window_->windowIcon().isNull());
    }

    // Catches a mistyped row or a twips/pixels slip: every control sits where the design's control
    // table puts it, in pixels at 96 dots per inch, and nothing else is on the window.
    void everyControlHasItsDesignedGeometry() {
        const std::map<QString, QRect> designed{
            {"Numbers4", {296, 208, 73, 25}},  {"Numbers3", {208, 208, 73, 25}}, {"roto6", {128, 208, 73, 25}},
            {"miniroto_0", {48, 208, 73, 25}}, {"Label9", {64, 256, 289, 17}},   {"Image7", {352, 104, 38, 46}},
            {"Image6", {288, 104, 39, 45}},    {"Image5", {224, 104, 38, 47}},   {"Image4", {160, 104, 38, 46}},
            {"Image3", {96, 104, 39, 45}},     {"Image2", {32, 104, 38, 45}},    {"Label8", {80, 8, 257, 33}},
            {"Label7", {128, 168, 169, 33}},   {"Label6", {352, 64, 36, 28}},    {"Label5", {288, 64, 36, 28}},
            {"Label4", {224, 64, 36, 28}},     {"Label3", {160, 64, 36, 28}},    {"Label2", {96, 64, 36, 28}},
            {"Label1", {32, 64, 36, 28}},      {"Image1_0", {16, 48, 67, 57}},   {"Image1_5", {336, 48, 67, 57}},
            {"Image1_4", {272, 48, 67, 57}},   {"Image1_3", {208, 48, 67, 57}},  {"Image1_2", {144, 48, 67, 57}},
            {"Image1_1", {80, 48, 67, 57}},
        };
        std::map<QString, QRect> shown;
        for (QWidget* widget : window_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (widget->isVisible()) shown[widget->objectName()] = widget->geometry();
        }
        for (const auto& [name, geometry] : designed) {
            QVERIFY2(shown.count(name) == 1, qPrintable(name));
            QCOMPARE(shown.at(name), geometry);
        }
        QCOMPARE(shown.size(), designed.size());
    }

    // Catches a script that clicks or reads a spot the window no longer has: every box in the
    // layout file that the scripts share lies exactly where the window shows that control.
    void theScriptsLayoutFileMatchesTheWindow() {
        QFile file(QStringLiteral(WINDOW_LAYOUT_FILE));
        QVERIFY2(file.open(QIODevice::ReadOnly | QIODevice::Text), WINDOW_LAYOUT_FILE);
        const QRegularExpression line(QStringLiteral(R"re(^(\w+)_(box|size)="([0-9 ]+)"$)re"));
        int boxes = 0;
        for (const QString& text : QString::fromUtf8(file.readAll()).split(u'\n')) {
            const QRegularExpressionMatch match = line.match(text);
            if (!match.hasMatch()) continue;
            QList<int> numbers;
            for (const QString& number : match.captured(3).split(u' ', Qt::SkipEmptyParts)) numbers << number.toInt();
            if (match.captured(2) == QLatin1String("size")) {
                QCOMPARE(QSize(numbers.value(0), numbers.value(1)), window_->size());
                continue;
            }
            const QString name = match.captured(1);
            QWidget* widget = control(name) ? control(name) : control(name + QStringLiteral("_0"));
            QVERIFY2(widget, qPrintable(name));
            QCOMPARE(QRect(numbers.value(0), numbers.value(1), numbers.value(2), numbers.value(3)), widget->geometry());
            ++boxes;
        }
        QCOMPARE(boxes, 13);  // the four buttons and the nine labels
    }

    // Catches a row wired to the wrong label: each label shows what the runtime writes to the
    // label of its name. (Each button starting its own lottery's draw: test_draws_qt.)
    void eachLabelShowsTheCaptionsWrittenToItsName() {
        // (Built with append rather than "#" + ...: MinGW's GCC 12 warns falsely on that form.)
        const auto mark = [](int number) { return std::string(1, '#').append(std::to_string(number)); };
        for (int number = 1; number <= labelNumber(kLastLabel); ++number) {
            window_->runtime().setCaption(static_cast<Label>(number), mark(number));
        }
        for (int number = 1; number <= labelNumber(kLastLabel); ++number) {
            QCOMPARE(window_.caption(number), mark(number));
        }
    }

    // A number written to a label must never be hidden by its balloon.
    void eachNumberLabelIsInFrontOfItsBalloon() {
        for (int k = 0; k < 6; ++k) {
            QWidget* numberLabel = control(QStringLiteral("Label%1").arg(k + 1));
            QWidget* balloon = control(QStringLiteral("Image1_%1").arg(k));
            QVERIFY(balloon->geometry().contains(numberLabel->geometry()));
            for (const QPoint& corner : {numberLabel->geometry().topLeft(), numberLabel->geometry().bottomRight(),
                                         numberLabel->geometry().center()}) {
                QCOMPARE(window_->childAt(corner), numberLabel);
            }
        }
        // The buttons lie above every label and picture.
        QCOMPARE(window_->childAt(QPoint(100, 215)), control(QStringLiteral("miniroto_0")));
    }

    void focusStartsOnMiniLotoAndTabsThroughTheButtonsInOrder() {
        QWidget* expected[] = {control(QStringLiteral("roto6")), control(QStringLiteral("Numbers3")),
                               control(QStringLiteral("Numbers4")), control(QStringLiteral("miniroto_0"))};
        QCOMPARE(QApplication::focusWidget(), control(QStringLiteral("miniroto_0")));
        for (QWidget* next : expected) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), control(QStringLiteral("Numbers4")));
    }

    void theLoadedWindowShowsItsOpeningCaptions() {
        QCOMPARE(label("Label8")->text(), QStringLiteral("ほしだま"));
        QCOMPARE(label("Label7")->text(), QStringLiteral("by pomuchi"));
        for (const char* name : {"Label1", "Label2", "Label3", "Label4", "Label5", "Label6"}) {
            QVERIFY(label(name)->text().isEmpty());
        }
        const QString credit = label("Label9")->text();
        QVERIFY(credit.contains(QStringLiteral("2003")));
        QVERIFY(credit.contains(QStringLiteral("ほしだま")));
        QVERIFY(!credit.contains(QLatin1Char('\n')));
        // One line: it must not wrap inside its 289 px box.
        QVERIFY2(QFontMetrics(label("Label9")->font()).horizontalAdvance(credit) <= label("Label9")->width(),
                 qPrintable(QString::number(QFontMetrics(label("Label9")->font()).horizontalAdvance(credit))));
        for (Lottery lottery : kLotteries) {
            QCOMPARE(window_.button(factsOf(lottery).button)->text(), QString::fromUtf8(factsOf(lottery).caption));
        }
    }

    // Without a Japanese face the headline and remarks would show as empty boxes.
    void theJapaneseLabelsResolveToAFaceThatHasJapanese() {
        const QStringList japanese = QFontDatabase::families(QFontDatabase::Japanese);
        for (const char* name : {"Label7", "Label8"}) {
            const QString family = QFontInfo(label(name)->font()).family();
            QVERIFY2(japanese.contains(family), qPrintable(family));
            QVERIFY(QFontMetrics(label(name)->font()).inFontUcs4(U'予'));
        }
        QVERIFY(label("Label8")->font().bold());
        QCOMPARE(label("Label8")->font().pixelSize(), 21);
        QCOMPARE(label("Label7")->font().pixelSize(), 13);
        const QFontInfo numbers(label("Label1")->font());
        QVERIFY(numbers.fixedPitch());
        QVERIFY(numbers.bold());
    }

    // Every text the window can show must come out as real glyphs in the face Qt actually draws
    // it with, whatever the desktop's user-interface font is: a Latin-only one (DejaVu Sans, Noto
    // Sans, Segoe UI outside Japan) has no kana, and captions drawn from it alone are empty boxes.
    void everyTextDrawsRealGlyphs_data() {
        QTest::addColumn<QString>("uiFace");
        QTest::newRow("the desktop's default font") << QString();
        QTest::newRow("a Latin-only user-interface font") << QStringLiteral("DejaVu Sans");
    }
    void everyTextDrawsRealGlyphs() {
        QFETCH(QString, uiFace);
        const QFont desktopFont = QApplication::font();
        if (!uiFace.isEmpty()) {
            if (!QFontDatabase::hasFamily(uiFace)) QSKIP("DejaVu Sans is not installed (fonts-dejavu-core)");
            QApplication::setFont(QFont(uiFace, 9));
        }
        const auto restore = qScopeGuard([&] { QApplication::setFont(desktopFont); });
        window_.build();
        QCOMPARE(firstTextWithoutRealGlyphs(*window_.get()), QString());
    }
    void onlyTheNumberLabelsAreOpaque() {
        for (const char* name : {"Label1", "Label2", "Label3", "Label4", "Label5", "Label6"}) {
            QVERIFY(label(name)->autoFillBackground());
            QCOMPARE(label(name)->palette().color(QPalette::Window), QApplication::palette().color(QPalette::Base));
        }
        for (const char* name : {"Label7", "Label8", "Label9"}) {
            QVERIFY(!label(name)->autoFillBackground());
        }
        QCOMPARE(label("Label8")->palette().color(QPalette::WindowText), QColor(0x80, 0x80, 0xFF));
        QCOMPARE(label("Label9")->palette().color(QPalette::WindowText), QColor(Qt::white));
        QCOMPARE(label("Label9")->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
        QCOMPARE(label("Label7")->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        QVERIFY(label("Label7")->wordWrap());
    }

    // Catches the artwork's text taking desktop colours that do not read on the light picture,
    // or a legible desktop's colours being thrown away: each colour is the desktop's where it
    // keeps the design's look, else the light desktop's (black text, white box).
    void theArtworkTakesTheDesktopsColoursWhereTheyRead_data() {
        QTest::addColumn<QRgb>("window");
        QTest::addColumn<QRgb>("text");
        QTest::addColumn<QRgb>("base");
        QTest::addColumn<QRgb>("numberText");
        QTest::addColumn<QRgb>("numberBox");
        QTest::addColumn<QRgb>("remarkText");
        QTest::newRow("Breeze, light") << 0xEFF0F1u << 0x232629u << 0xFCFCFCu << 0x232629u << 0xFCFCFCu << 0x232629u;
        QTest::newRow("high contrast, black on white")
            << 0xFFFFFFu << 0x000000u << 0xFFFFFFu << 0x000000u << 0xFFFFFFu << 0x000000u;
        QTest::newRow("high contrast, yellow on black")
            << 0x000000u << 0xFFFF00u << 0x000000u << 0x000000u << 0xFFFFFFu << 0x000000u;
        QTest::newRow("Adwaita, dark") << 0x353535u << 0xEEEEECu << 0x2D2D2Du << 0x000000u << 0xFFFFFFu << 0x000000u;
        QTest::newRow("light, pale text, grey boxes")
            << 0xF0F0F0u << 0x9A9A9Au << 0xE0E0E0u << 0x000000u << 0xFFFFFFu << 0x000000u;
    }
    void theArtworkTakesTheDesktopsColoursWhereTheyRead() {
        QFETCH(QRgb, window);
        QFETCH(QRgb, text);
        QFETCH(QRgb, base);
        const QPalette desktop = QApplication::palette();
        const auto restore = qScopeGuard([&] { QApplication::setPalette(desktop); });
        QPalette palette{QColor(window), QColor(window)};
        palette.setColor(QPalette::WindowText, QColor(text));
        palette.setColor(QPalette::Text, QColor(text));
        palette.setColor(QPalette::Base, QColor(base));
        QApplication::setPalette(palette);
        const ArtworkColours colours = artworkColours();
        QTEST(colours.numberText.rgb() & 0xFFFFFF, "numberText");
        QTEST(colours.numberBox.rgb() & 0xFFFFFF, "numberBox");
        QTEST(colours.remarkText.rgb() & 0xFFFFFF, "remarkText");
    }

    // Closing an idle window ends the event loop with status 0.
    void closingTheIdleWindowQuitsWithStatusZero() {
        QTimer::singleShot(0, window_.get(), [this] { window_->close(); });
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(window_->runtime().closing());
        QVERIFY(!window_->isVisible());
    }
};

QTEST_MAIN(MainWindowTest)
#include "test_main_window.moc"
