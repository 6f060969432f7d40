// The window as the desktop it runs on presents it. CTest runs this once per desktop setting (a
// large or small user-interface font through GTK or qt6ct, a dark scheme, a Japanese locale, a
// larger font DPI or scale factor, on X11 and on Wayland); run_on_desktop.sh makes the desktop,
// and the row's environment says what the desktop claims to be (TAMAPICK_DESKTOP_*). The test
// first proves the claim on what is drawn, then reads the window back from the window system
// and checks what a user sees: every caption whole in its box, text that reads on the picture,
// number boxes that blend with the balloons. Without claims it checks the desktop it finds,
// as under Wine at 150 % with a large message font.
#include <QFontDatabase>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyleHints>
#include <QStyleOptionButton>
#include <QtTest>
#include <cmath>
#include <optional>
#include <utility>

#include "app/desktop_colours.h"
#include "app/window_design.h"
#include "window_fixture.h"

using namespace tamapick;
using namespace tamapick::testing;

namespace {

QString claim(const char* name) { return qEnvironmentVariable(name); }

// The window as the window system shows it, in device pixels, once two reads agree (the last
// paint has landed). Where the window system offers clients no read-back (Wayland), the
// window's own rendering stands in, and `source` says so.
QImage readBack(QWidget& window, QString* source = nullptr) {
    QImage previous;
    for (int attempt = 0; attempt < 50; ++attempt) {
        window.repaint();
        QCoreApplication::processEvents();
        QImage shown;
        if (QScreen* screen = window.screen()) shown = screen->grabWindow(window.winId()).toImage();
        if (source) *source = QStringLiteral("the platform's copy of the window on screen");
        if (shown.isNull()) {
            shown = window.grab().toImage();
            if (source) *source = QStringLiteral("the window's own rendering (no read-back from this window system)");
        }
        shown = shown.convertToFormat(QImage::Format_RGB32);
        if (shown == previous) return shown;
        previous = shown;
        QTest::qWait(20);
    }
    return previous;
}

// A control's box in the device pixels of a read-back.
QRect deviceBox(const QWidget& control, qreal scale) {
    const QRect box = control.geometry();
    return QRect(QPoint(qFloor(box.left() * scale), qFloor(box.top() * scale)),
                 QPoint(qCeil((box.left() + box.width()) * scale) - 1, qCeil((box.top() + box.height()) * scale) - 1));
}

// The device pixels of `box` that differ between the two read-backs: a caption's ink.
QList<QPoint> differences(const QImage& with, const QImage& without, const QRect& box) {
    QList<QPoint> ink;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            if (with.pixel(x, y) != without.pixel(x, y)) ink.append(QPoint(x, y));
    return ink;
}

QRect boundsOf(const QList<QPoint>& points) {
    QRect bounds;
    for (const QPoint& p : points) bounds |= QRect(p, QSize(1, 1));
    return bounds;
}

struct Reading {
    qsizetype inkPixels;
    QColor text;
    double contrast;  // to the lightest or darkest thing behind the ink, whichever is worse
};

// The text's colour is its most saturated ink pixel, the one furthest from what lies behind it
// (antialiased edges blend into the picture); its contrast is taken against every pixel the ink
// covers, so a remark across both hills and sky counts the worse of the two.
Reading readText(const QImage& with, const QImage& without, const QList<QPoint>& ink) {
    QRgb text = 0;
    int furthest = -1;
    for (const QPoint& p : ink) {
        const QRgb a = with.pixel(p), b = without.pixel(p);
        const int distance =
            std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
        if (distance > furthest) furthest = distance, text = a;
    }
    double worst = 21;
    for (const QPoint& p : ink) worst = std::min(worst, contrastRatio(QColor(text), QColor(without.pixel(p))));
    return {ink.size(), QColor(text), worst};
}

}  // namespace

class DesktopLookTest : public QObject {
    Q_OBJECT

private:
    WindowFixture window_;
    qreal scale_ = 1;
    QImage shown_;
    QString source_;

    QWidget* control(const QString& name) const { return window_.control(name); }

    // The window read back without `name`'s caption, then with it again.
    QImage withoutCaption(const QString& name) {
        QWidget* widget = control(name);
        const QString text = widget->property("text").toString();
        widget->setProperty("text", QString());
        const QImage without = readBack(*window_.get());
        widget->setProperty("text", text);
        return without;
    }

    // Proves that the desktop this row claims is the one the window got, on what is drawn:
    // a setting that silently did not apply fails the row rather than passing it.
    void proveTheClaimedDesktop() {
        const QString platform = claim("TAMAPICK_DESKTOP_PLATFORM");
        if (!platform.isEmpty()) QCOMPARE(QGuiApplication::platformName(), platform);
        const QString style = claim("TAMAPICK_DESKTOP_STYLE");
        if (!style.isEmpty()) QCOMPARE(QApplication::style()->name(), style);
        const QString dpi = claim("TAMAPICK_DESKTOP_FONT_DPI");
        // Qt 6 turns a font DPI above 96 into a scale factor: text, controls and pictures all
        // grow by it, so the font DPI shows as logical dots per inch times the scale.
        if (!dpi.isEmpty())
            QCOMPARE(qRound(QGuiApplication::primaryScreen()->logicalDotsPerInch() * scale_), dpi.toInt());
        const QString scale = claim("TAMAPICK_DESKTOP_SCALE");
        if (!scale.isEmpty()) {
            QCOMPARE(scale_, scale.toDouble());
            QCOMPARE(shown_.size(), QSize(qRound(421 * scale_), qRound(279 * scale_)));
        }
        if (claim("TAMAPICK_DESKTOP_LANGUAGE") == QLatin1String("ja")) {
            QCOMPARE(QLocale::system().language(), QLocale::Japanese);
            // The locale reached fontconfig: it resolves the desktop's generic family to a
            // Japanese face, which is what would put the buttons in the fixed-pitch one.
            const QString resolved = QFontInfo(QFont(QApplication::font().family())).family();
            qInfo("measured: the locale resolves %s to %s", qPrintable(QApplication::font().family()),
                  qPrintable(resolved));
            QVERIFY2(QFontDatabase::families(QFontDatabase::Japanese).contains(resolved),
                     "fontconfig did not get the Japanese locale");
        }
        const QString font = claim("TAMAPICK_DESKTOP_FONT");  // "Family points"
        if (!font.isEmpty() && !QTest::currentTestFailed())
            proveTheFontIsDrawn(font.section(QLatin1Char(' '), 0, -2), font.section(QLatin1Char(' '), -1).toDouble());
        const QString scheme = claim("TAMAPICK_DESKTOP_SCHEME");
        if (!scheme.isEmpty()) {
            // The buttons are the desktop's own controls: their face is drawn in its scheme.
            const QRect button = deviceBox(*control(QStringLiteral("roto6")), scale_);
            const QColor face(withoutCaption(QStringLiteral("roto6")).pixel(button.center()));
            qInfo("measured: a button's face is drawn %s", qPrintable(face.name()));
            QCOMPARE(face.lightness() < 128 ? QStringLiteral("dark") : QStringLiteral("light"), scheme);
        }
    }

    // The desktop's font, drawn by a plain label in a window of its own, must come out as wide as
    // the claimed face at the claimed size: proof that the setting reached what is drawn.
    void proveTheFontIsDrawn(const QString& family, double points) {
        QLabel probe(QStringLiteral("Numbers3"));
        probe.setContentsMargins(8, 8, 8, 8);
        probe.move(500, 0);
        probe.show();
        QVERIFY(QTest::qWaitForWindowExposed(&probe));
        const QImage drawn = readBack(probe);
        const QRgb background = drawn.pixel(0, 0);
        QRect ink;
        for (int y = 0; y < drawn.height(); ++y)
            for (int x = 0; x < drawn.width(); ++x)
                if (drawn.pixel(x, y) != background) ink |= QRect(x, y, 1, 1);
        QFont claimed(family);
        claimed.setPixelSize(qRound(points * QGuiApplication::primaryScreen()->logicalDotsPerInch() / 72));
        const qreal expected =
            QFontMetricsF(claimed).tightBoundingRect(probe.text()).width() * probe.devicePixelRatioF();
        qInfo("measured: the desktop's font %s %g pt draws \"Numbers3\" %d device px wide (%s, %.0f expected)",
              qPrintable(family), points, ink.width(), qPrintable(QFontInfo(probe.font()).family()), expected);
        QVERIFY2(std::abs(ink.width() - expected) <= std::max(2.0, expected * 0.04),
                 "the desktop's font did not apply");
    }

    // Where a control draws its caption, in device pixels: a label's box, or the part of a
    // button inside its frame, which the style clips the caption to.
    QRect textBox(const QWidget& widget) const {
        const auto* button = qobject_cast<const QPushButton*>(&widget);
        if (button == nullptr) return deviceBox(widget, scale_);
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        if (button->autoDefault()) option.features |= QStyleOptionButton::AutoDefaultButton;
        QWidget inside;
        inside.setGeometry(
            button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button).translated(button->pos()));
        return deviceBox(inside, scale_);
    }

    // The caption's ink, the difference between the window with and without it, must not reach
    // the outermost pixels of where it is drawn, where it would be cut.
    void checkTheCaptionIsWhole(const QString& name) {
        QWidget* widget = control(name);
        const QRect box = textBox(*widget);
        const QList<QPoint> ink = differences(readBack(*window_.get()), withoutCaption(name), box);
        const QFontInfo font(widget->font());
        qInfo("measured: %s \"%s\" in %s %d px (%.2f pt), ink %d..%d x %d..%d of box %d..%d x %d..%d", qPrintable(name),
              qPrintable(widget->property("text").toString()), qPrintable(font.family()), font.pixelSize(),
              font.pointSizeF(), boundsOf(ink).left(), boundsOf(ink).right(), boundsOf(ink).top(),
              boundsOf(ink).bottom(), box.left(), box.right(), box.top(), box.bottom());
        QVERIFY2(!ink.isEmpty(), "the caption drew nothing");
        // A label's text starts at the edges it is aligned to, where a glyph may touch the box (the
        // headline's kana reach its top); it is cut where it runs out, which is checked. A
        // button's caption is centred: all four edges count.
        const auto* label = qobject_cast<QLabel*>(widget);
        const Qt::Alignment start = label ? label->alignment() : Qt::Alignment();
        for (const QPoint& p : ink) {
            const bool onEdge = (p.x() == box.left() && !(start & Qt::AlignLeft)) || p.x() == box.right() ||
                                (p.y() == box.top() && !(start & Qt::AlignTop)) || p.y() == box.bottom();
            QVERIFY2(!onEdge,
                     qPrintable(QStringLiteral("ink at (%1, %2) on the edge of the box").arg(p.x()).arg(p.y())));
        }
    }

    // How `text` (or the caption already there) reads in the control `name`.
    Reading readCaption(const QString& name, const QString& text = {}) {
        QWidget* widget = control(name);
        const QString before = widget->property("text").toString();
        const auto restore = qScopeGuard([&] { widget->setProperty("text", before); });
        if (!text.isEmpty()) widget->setProperty("text", text);
        const QImage with = readBack(*window_.get());
        const QImage without = withoutCaption(name);
        const Reading reading = readText(with, without, differences(with, without, deviceBox(*widget, scale_)));
        qInfo("measured: %s text %s, contrast %.2f:1", qPrintable(name), qPrintable(reading.text.name()),
              reading.contrast);
        return reading;
    }

private slots:
    void initTestCase() {
        QVERIFY(window_.open());
        scale_ = window_->devicePixelRatioF();
        shown_ = readBack(*window_.get(), &source_);
        qInfo("measured: read back from %s on %s at scale %g, %g dpi", qPrintable(source_),
              qPrintable(QGuiApplication::platformName()), scale_,
              QGuiApplication::primaryScreen()->logicalDotsPerInch());
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
        const int scheme = int(QGuiApplication::styleHints()->colorScheme());
        qInfo("measured: the desktop reports colour scheme %s", scheme == 2   ? "dark"
                                                                : scheme == 1 ? "light"
                                                                              : "unknown");
#endif
        proveTheClaimedDesktop();
        if (QTest::currentTestFailed()) return;
    }
    void cleanupTestCase() { window_.reset(); }

    // Catches a caption cut by its box (a larger desktop font, a higher font DPI): its ink, the
    // difference between the window with and without it, reaches the box's outermost pixels.
    void noCaptionsInkTouchesTheEdgeOfItsBox_data() {
        QTest::addColumn<QString>("name");
        for (const char* name : {"miniroto_0", "roto6", "Numbers3", "Numbers4", "Label9", "Label8", "Label7"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void noCaptionsInkTouchesTheEdgeOfItsBox() {
        QFETCH(QString, name);
        checkTheCaptionIsWhole(name);
    }
    // Catches the Latin letters of the buttons and the credit line drawn in a fixed-pitch face
    // (Japanese locales put IPAGothic there): in the desktop's proportional face a row of i is
    // far narrower than a row of m, in a fixed-pitch one nearly as wide. The credit line shows
    // the buttons' face with room for both rows.
    void theLatinLettersAreInAProportionalFace() {
        const QString credit = QStringLiteral("Label9");
        QWidget* widget = control(credit);
        const QString before = widget->property("text").toString();
        const auto restore = qScopeGuard([&] { widget->setProperty("text", before); });
        const auto inkWidth = [&](const QString& text) {
            widget->setProperty("text", text);
            return boundsOf(differences(readBack(*window_.get()), withoutCaption(credit), deviceBox(*widget, scale_)))
                .width();
        };
        const int narrow = inkWidth(QStringLiteral("iiiiiiiiii"));
        const int wide = inkWidth(QStringLiteral("mmmmmmmmmm"));
        qInfo("measured: ten i %d px, ten m %d px wide in %s", narrow, wide,
              qPrintable(QFontInfo(widget->font()).family()));
        QVERIFY2(narrow < wide * 0.6, "the Latin letters are drawn in a fixed-pitch face");
    }

    // Catches text that a dark scheme made unreadable on the light picture: the remark line and
    // the numbers must read at 4.5:1. The headline, credit line and buttons are measured and
    // reported: their colours are the design's own or the desktop's own controls.
    void everyTextReadsOnWhatLiesBehindIt_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("mustRead");
        QTest::newRow("remark line") << QStringLiteral("Label7") << QStringLiteral("抽選は毎週木曜日") << true;
        for (int number = 1; number <= 6; ++number)
            QTest::newRow(qPrintable(QStringLiteral("number %1").arg(number)))
                << QStringLiteral("Label%1").arg(number) << QStringLiteral("43") << true;
        QTest::newRow("headline") << QStringLiteral("Label8") << QString() << false;
        QTest::newRow("credit line") << QStringLiteral("Label9") << QString() << false;
        QTest::newRow("button") << QStringLiteral("Numbers3") << QString() << false;
    }
    void everyTextReadsOnWhatLiesBehindIt() {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(bool, mustRead);
        const Reading reading = readCaption(name, text);
        QVERIFY2(reading.inkPixels > 0, "the text drew nothing");
        if (mustRead) QVERIFY2(reading.contrast >= 4.5, qPrintable(QString::number(reading.contrast)));
    }

    // Catches number boxes that show as dark or grey boxes inside the white balloons: an empty
    // number label must blend with the balloon around it.
    void theNumberBoxesBlendWithTheirBalloons() {
        for (int number = 1; number <= 6; ++number) {
            const QRect box = deviceBox(*control(QStringLiteral("Label%1").arg(number)), scale_);
            const QColor balloon(shown_.pixel(box.left() - qCeil(3 * scale_), box.center().y()));
            QCOMPARE(balloon, QColor(kBalloonWhite));  // the read-back is where the balloon is
            double worst = 1;
            for (const QPoint& p : {box.topLeft(), box.center(), box.bottomRight() - QPoint(1, 1)})
                worst = std::max(worst, contrastRatio(QColor(shown_.pixel(p)), balloon));
            qInfo("measured: Label%d box %s against the balloon %s: %.2f:1", number,
                  qPrintable(QColor(shown_.pixel(box.center())).name()), qPrintable(balloon.name()), worst);
            QVERIFY2(worst <= 1.1, qPrintable(QString::number(worst)));
        }
    }

    // Catches a window that keeps what it started with when the desktop changes while it runs:
    // another desktop font must change the credit line, a larger one must still leave every
    // caption whole, a legible menu-text colour must reach the remark line, and the artwork's
    // text must stay legible when the desktop turns dark.
    void aDesktopChangeWhileRunningIsFollowed() {
        const QFont desktopFont = QApplication::font();
        const QPalette desktopPalette = QApplication::palette();
        const auto restore = qScopeGuard([&] {
            QApplication::setFont(desktopFont);
            QApplication::setPalette(desktopPalette);
        });
        // The ink widths of the credit line and a button: a face whose line is far taller than
        // its letters (Wine's fallback, a maths face) keeps the credit line at its smallest
        // size whatever the desktop's font, so either may be the one that shows the change.
        const auto inkWidth = [this](const QString& name) {
            return boundsOf(
                       differences(readBack(*window_.get()), withoutCaption(name), deviceBox(*control(name), scale_)))
                .width();
        };
        const auto inkWidths = [&] {
            return std::pair{inkWidth(QStringLiteral("Label9")), inkWidth(QStringLiteral("Numbers3"))};
        };
        const auto before = inkWidths();
        // A change of the desktop reaches the window as events; they are handled before a
        // caption is taken away to measure it.
        const auto change = [this](auto&& apply) {
            apply();
            readBack(*window_.get());
        };
        const auto scaled = [&](qreal factor) {
            QFont font = desktopFont;
            if (font.pointSizeF() > 0)
                font.setPointSizeF(font.pointSizeF() * factor);
            else
                font.setPixelSize(qRound(font.pixelSize() * factor));
            return font;
        };
        // 7 pt: smaller than every row's credit line, larger than the 6 pt desktop's.
        change([&] {
            QFont small = desktopFont;
            small.setPointSizeF(7);
            QApplication::setFont(small);
        });
        QVERIFY2(inkWidths() != before, "the desktop's new font was not taken");
        change([&] { QApplication::setFont(scaled(2)); });
        for (const char* name : {"miniroto_0", "roto6", "Numbers3", "Numbers4", "Label9"})
            checkTheCaptionIsWhole(QString::fromLatin1(name));

        // Without a palette of their own for menus, menus take the window text colour.
        QPalette light(QColor(0xEFEFEF));
        light.setColor(QPalette::WindowText, QColor(0x000080));
        change([&] { QApplication::setPalette(light); });
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
        // A desktop that says it is dark is not believed light on a palette's word.
        if (QGuiApplication::styleHints()->colorScheme() != Qt::ColorScheme::Dark)
#endif
            QCOMPARE(readCaption(QStringLiteral("Label7")).text, QColor(0x000080));
        QPalette dark(QColor(0x323232));  // Qt derives light text on a dark window from it
        dark.setColor(QPalette::Base, QColor(0x242424));
        change([&] { QApplication::setPalette(dark); });
        QVERIFY(readCaption(QStringLiteral("Label7")).contrast >= 4.5);
        QVERIFY(readCaption(QStringLiteral("Label1"), QStringLiteral("43")).contrast >= 4.5);
        const QRect box = deviceBox(*control(QStringLiteral("Label1")), scale_);
        QVERIFY(contrastRatio(QColor(readBack(*window_.get()).pixel(box.center())), QColor(kBalloonWhite)) <= 1.1);
    }
};

QTEST_MAIN(DesktopLookTest)
#include "test_desktop_look.moc"
