// The rule that sizes the captions of the buttons and the credit line (app/caption_fit.h), on the
// fonts installed here: when a caption fits its space, and which size is chosen when it does not.
// The desktop rows prove the whole window on drawn pixels; these pin the rule down a pixel at a
// time.
#include <QApplication>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QLabel>
#include <QtTest>
#include <algorithm>

#include "app/caption_fit.h"
#include "app/main_window.h"
#include "app/window_design.h"
#include "app/window_fonts.h"

using namespace tamapick;

namespace {

// A caption of kana and Latin letters, as the buttons' are.
const QString kButtonCaption = QStringLiteral("ミニロト Numbers3");

// The credit line's row of the design table.
const ControlDesign& creditRow() {
    const auto rows = windowControls();
    return *std::find_if(rows.begin(), rows.end(),
                         [](const ControlDesign& row) { return row.style == LabelStyle::Credit; });
}

QFont atPixels(int pixels) {
    QFont font = windowDefaultFont();
    font.setPixelSize(pixels);
    return font;
}

// A space exactly as wide as `text`'s advance in `font` and as high as its line, plus `wider` and
// `higher` pixels; the ink may go anywhere on the window.
CaptionSpace spaceFor(const QString& text, const QFont& font, Qt::Alignment alignment, qreal wider = 0,
                      qreal higher = 0) {
    const QFontMetricsF metrics(font);
    const QRectF line(10, 20, metrics.horizontalAdvance(text) + wider, metrics.height() + higher);
    return {text, line, alignment, QRectF(-1000, -1000, 3000, 3000)};
}

}  // namespace

class CaptionFitTest : public QObject {
    Q_OBJECT

private slots:
    // Catches an off-by-one in the measure, which would shrink a caption that fits or keep one
    // whose last letter is cut off: a caption exactly as wide and as high as its space fits; one
    // pixel over, in either direction, does not. Likewise for ink that leaves its bounds.
    void aCaptionAtTheEdgeFitsAndOnePixelOverDoesNot_data() {
        QTest::addColumn<int>("alignment");
        QTest::addColumn<qreal>("wider");
        QTest::addColumn<qreal>("higher");
        QTest::addColumn<bool>("inkCut");
        QTest::addColumn<bool>("fits");
        for (const auto& [name, alignment] :
             {std::pair("label", int(Qt::AlignLeft | Qt::AlignTop)), std::pair("button", int(Qt::AlignCenter))}) {
            QTest::addRow("%s, exactly its size", name) << alignment << 0.0 << 0.0 << false << true;
            QTest::addRow("%s, a pixel too narrow", name) << alignment << -1.0 << 0.0 << false << false;
            QTest::addRow("%s, a pixel too low", name) << alignment << 0.0 << -1.0 << false << false;
            QTest::addRow("%s, room to spare but the ink cut", name) << alignment << 20.0 << 4.0 << true << false;
        }
    }
    void aCaptionAtTheEdgeFitsAndOnePixelOverDoesNot() {
        QFETCH(int, alignment);
        QFETCH(qreal, wider);
        QFETCH(qreal, higher);
        QFETCH(bool, inkCut);
        for (int pixels : {9, 12, 17}) {
            const QFont font = atPixels(pixels);
            CaptionSpace space = spaceFor(kButtonCaption, font, Qt::Alignment(alignment), wider, higher);
            // Bounds that end halfway along the line: the second half of the caption is cut.
            if (inkCut) space.ink = space.line.adjusted(-20, -20, -space.line.width() / 2, 20);
            QTEST(captionFits(QFontMetricsF(font), space), "fits");
        }
    }

    // Catches a search that stops a size short (the proportional guess is a pixel low after
    // hinting) or one too large, and a desktop font replaced although it fits: the size chosen is
    // the largest at which the caption fits, and a font that fits is kept as the desktop gave it.
    void theLargestSizeThatFitsIsChosen() {
        for (int fitting : {6, 7, 9, 11, 13, 16, 20}) {
            const CaptionSpace space = spaceFor(kButtonCaption, atPixels(fitting), Qt::AlignCenter);
            for (int desktop : {fitting + 1, fitting + 3, 2 * fitting, 48}) {
                const QFont chosen = largestFittingFont(atPixels(desktop), std::span(&space, 1));
                const QString row = QStringLiteral("%1 px on the desktop, %2 px fit").arg(desktop).arg(fitting);
                QVERIFY2(captionFits(QFontMetricsF(chosen), space), qPrintable(row));
                QVERIFY2(!captionFits(QFontMetricsF(atPixels(QFontInfo(chosen).pixelSize() + 1)), space),
                         qPrintable(row));
            }
        }
        QFont desktop = windowDefaultFont();
        desktop.setPointSize(9);
        const CaptionSpace roomy = spaceFor(kButtonCaption, desktop, Qt::AlignCenter, 10, 4);
        QCOMPARE(largestFittingFont(desktop, std::span(&roomy, 1)), desktop);
        // Where nothing fits, the smallest size tried.
        const CaptionSpace tiny{kButtonCaption, QRectF(0, 0, 5, 5), Qt::AlignCenter, QRectF(0, 0, 5, 5)};
        QCOMPARE(largestFittingFont(desktop, std::span(&tiny, 1)).pixelSize(), 6);
    }

    // Catches a credit line that wraps to a second line, whose lower half its 17 px box cuts off:
    // at any desktop font size the window gives it a size at which it lies on one line, whole.
    void theCreditLineStaysOneLineAtAnyDesktopSize() {
        const QFont desktop = QApplication::font();
        const auto restore = qScopeGuard([&] { QApplication::setFont(desktop); });
        for (int points : {6, 9, 11, 16, 24, 36}) {
            QFont font = desktop;
            font.setPointSize(points);
            QApplication::setFont(font);
            MainWindow window;
            const auto* credit = window.findChild<QLabel*>(QString::fromLatin1(creditRow().name));
            QVERIFY(credit != nullptr);
            QCOMPARE(credit->text(), QString::fromUtf8(creditRow().content));
            // Laid out as the label draws it, wrapped at its box's width, and on a line without end.
            const QFontMetrics metrics(credit->font());
            const QRect box = credit->contentsRect();
            const auto flags = int(credit->alignment());
            const QRect wrapped = metrics.boundingRect(box, flags | Qt::TextWordWrap, credit->text());
            const QRect oneLine = metrics.boundingRect(QRect(0, 0, 10000, box.height()), flags, credit->text());
            const QString row = QStringLiteral("%1 pt: %2 px high, one line %3")
                                    .arg(points)
                                    .arg(wrapped.height())
                                    .arg(oneLine.height());
            QVERIFY2(wrapped.height() == oneLine.height(), qPrintable(row));
            QVERIFY2(box.contains(wrapped), qPrintable(row));
        }
    }
};

QTEST_MAIN(CaptionFitTest)
#include "test_caption_fit.moc"
