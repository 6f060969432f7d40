// The pictures at 100 %: each as drawn alone, and together in the real window. (That no seam shows
// around a picture, at 100 % and at HiDPI scales: test_artwork_hidpi.)
#include <QFile>
#include <QLabel>
#include <QtTest>

#include "app/main_window.h"
#include "app/svg_picture.h"
#include "app/window_design.h"
#include "window_fixture.h"

using namespace tamapick;
using namespace tamapick::testing;

namespace {

constexpr QRgb kSky = 0xFF8ECDF0;
constexpr QRgb kHills = 0xFF91CACC;
constexpr QRgb kPetals = 0xFFB7B8CB;
constexpr QRgb kStems = 0xFF78C0B9;
constexpr QRgb kFur = 0xFF9A6400;
constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kIconSky = 0xFF8CCFF7;
constexpr QRgb kIconFur = 0xFF9C6100;

QImage renderedAlone(const QString& resource) {
    SvgPicture picture(resource);
    return picture.pixmap(1.0).toImage();
}

// Colours as "#aarrggbb", so a failure names the colours it compared.
QString colourName(QRgb colour) { return QColor::fromRgba(colour).name(QColor::HexArgb); }

// The pixels of `box`, or only its one-pixel edge.
QList<QPoint> pixelsOf(const QRect& box, bool edgeOnly) {
    QList<QPoint> pixels;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            if (!edgeOnly || x == box.left() || x == box.right() || y == box.top() || y == box.bottom()) {
                pixels.append(QPoint(x, y));
            }
        }
    }
    return pixels;
}

// The first of `pixels` whose colour in `image` differs from `expected`, described for the
// failure message; empty when they all match.
template <typename Expected>
QString firstMismatch(const QImage& image, const QList<QPoint>& pixels, Expected expected) {
    for (const QPoint& p : pixels) {
        if (image.pixel(p) != expected(p)) {
            return QStringLiteral("(%1, %2) is %3, expected %4")
                .arg(p.x())
                .arg(p.y())
                .arg(colourName(image.pixel(p)), colourName(expected(p)));
        }
    }
    return {};
}

QRgb sky(QPoint) { return kSky; }
QRgb white(QPoint) { return kWhite; }

}  // namespace

class ArtworkTest : public QObject {
    Q_OBJECT

private:
    WindowFixture window_;
    QImage grab_;
    QImage background_;

private slots:
    void initTestCase() {
        QVERIFY(window_.open());
        QCOMPARE(window_->devicePixelRatioF(), 1.0);
        grab_ = window_->grab().toImage();
        background_ = renderedAlone(QString::fromLatin1(kBackgroundPicture));
    }
    void cleanupTestCase() { window_.reset(); }

    // Catches a picture left out of the resources, a broken file, or artwork drawn at the wrong
    // size (which the window would then stretch or cut).
    void everyPictureLoadsFromTheResourcesAtItsExactSize_data() {
        QTest::addColumn<QString>("resource");
        QTest::addColumn<QSize>("size");
        QTest::newRow("background") << QStringLiteral(":/pictures/background.svg") << QSize(425, 283);
        QTest::newRow("balloon") << QStringLiteral(":/pictures/balloon.svg") << QSize(67, 57);
        QTest::newRow("bear, magenta hat") << QStringLiteral(":/pictures/bear_magenta.svg") << QSize(38, 45);
        QTest::newRow("bear, yellow hat") << QStringLiteral(":/pictures/bear_yellow.svg") << QSize(39, 45);
        QTest::newRow("bear, blue hat") << QStringLiteral(":/pictures/bear_blue.svg") << QSize(38, 46);
        QTest::newRow("bear, green hat") << QStringLiteral(":/pictures/bear_green.svg") << QSize(38, 47);
        QTest::newRow("bear, white hat") << QStringLiteral(":/pictures/bear_white.svg") << QSize(39, 45);
        QTest::newRow("bear, red hat") << QStringLiteral(":/pictures/bear_red.svg") << QSize(38, 46);
        QTest::newRow("window icon") << QStringLiteral(":/pictures/icon.svg") << QSize(32, 32);
    }
    void everyPictureLoadsFromTheResourcesAtItsExactSize() {
        QFETCH(QString, resource);
        QFETCH(QSize, size);
        QVERIFY(QFile::exists(resource));
        SvgPicture picture(resource);
        QVERIFY(picture.isValid());
        QCOMPARE(picture.size(), size);
        const QPixmap& pixmap = picture.pixmap(1.0);
        QCOMPARE(pixmap.size(), size);
        QCOMPARE(pixmap.devicePixelRatio(), 1.0);
    }

    // Catches a picture control whose box differs from its picture: the picture would be cut off
    // or leave a strip of the control's own background.
    void everyPictureControlIsExactlyTheSizeOfItsPicture() {
        for (const ControlDesign& design : windowControls()) {
            if (design.kind != ControlKind::Picture) {
                continue;
            }
            auto* box = window_->findChild<PictureBox*>(design.objectName());
            QVERIFY2(box != nullptr, qPrintable(design.objectName()));
            QVERIFY2(box->size() == box->picture().size(), qPrintable(design.objectName()));
        }
    }

    // Catches a gradient, a cloud or a hill poking up into the sky: the bears and balloons stand
    // on the sky with margins of one flat colour, so anything else there shows as a box edge.
    void theSkyIsOneFlatColourDownToTheHills() {
        QCOMPARE(firstMismatch(background_, pixelsOf(QRect(0, 0, 425, 152), false), sky), QString());
    }

    // Catches wrong colours or shapes drawn in the wrong place: a point well inside each shape
    // has the shape's exact colour.
    void keyColoursSitInsideTheirShapes_data() {
        QTest::addColumn<QString>("resource");
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<QRgb>("colour");
        const QString background = QString::fromLatin1(kBackgroundPicture);
        QTest::newRow("hills below the first peak") << background << QPoint(20, 180) << kHills;
        QTest::newRow("hills in the middle") << background << QPoint(200, 230) << kHills;
        QTest::newRow("hills at the right edge") << background << QPoint(410, 200) << kHills;
        for (const int x : {24, 83, 143, 200, 263, 324, 388}) {
            const QByteArray flower = "flower at x " + QByteArray::number(x);
            QTest::newRow(flower + ": top petal") << background << QPoint(x, 243) << kPetals;
            QTest::newRow(flower + ": left petal") << background << QPoint(x - 7, 247) << kPetals;
            QTest::newRow(flower + ": bottom petal") << background << QPoint(x + 1, 258) << kPetals;
            QTest::newRow(flower + ": stem") << background << QPoint(x, 272) << kStems;
        }
        for (const char* hat : {"magenta", "yellow", "blue", "green", "white", "red"}) {
            const QString bear = QStringLiteral(":/pictures/bear_%1.svg").arg(QLatin1String(hat));
            const QByteArray row = QByteArray("bear, ") + hat + " hat: fur ";
            QTest::newRow(row + "left of the eyes") << bear << QPoint(8, 31) << kFur;
            QTest::newRow(row + "right of the eyes") << bear << QPoint(29, 31) << kFur;
            QTest::newRow(row + "on the forehead") << bear << QPoint(19, 24) << kFur;
        }
        const QString balloon = QStringLiteral(":/pictures/balloon.svg");
        QTest::newRow("balloon: tail") << balloon << QPoint(32, 50) << kWhite;
        const QString icon = QString::fromLatin1(kWindowIcon);
        QTest::newRow("icon: fur") << icon << QPoint(6, 21) << kIconFur;
        QTest::newRow("icon: sky, top left") << icon << QPoint(0, 0) << kIconSky;
        QTest::newRow("icon: sky, top right") << icon << QPoint(31, 0) << kIconSky;
    }
    void keyColoursSitInsideTheirShapes() {
        QFETCH(QString, resource);
        QFETCH(QPoint, point);
        QFETCH(QRgb, colour);
        QCOMPARE(colourName(renderedAlone(resource).pixel(point)), colourName(colour));
    }

    // Catches a balloon too small for its number box, or a box slipped out of the balloon: the
    // balloon's white must surround each box, and the empty box blends into it.
    void eachNumberBoxSitsInTheWhiteOfItsBalloon_data() {
        QTest::addColumn<QString>("label");
        for (const char* name : {"Label1", "Label2", "Label3", "Label4", "Label5", "Label6"}) {
            QTest::newRow(name) << QString::fromLatin1(name);
        }
    }
    void eachNumberBoxSitsInTheWhiteOfItsBalloon() {
        QFETCH(QString, label);
        const auto* numberBox = window_->findChild<QLabel*>(label);
        const QRect box = numberBox->geometry();
        QCOMPARE(firstMismatch(grab_, pixelsOf(box.adjusted(-1, -1, 1, 1), true), white), QString());
        // The empty box shows its window-background colour, white here as on a usual desktop.
        const QRgb boxColour = numberBox->palette().color(QPalette::Window).rgba();
        QCOMPARE(colourName(boxColour), colourName(kWhite));
        QCOMPARE(firstMismatch(grab_, pixelsOf(box, false), [boxColour](QPoint) { return boxColour; }), QString());
    }

    // Catches an icon that fails to load (a missing image plugin leaves a blank title bar).
    void theWindowIconIsTheBearInTheGreenHat() {
        const QImage icon = window_->windowIcon().pixmap(QSize(32, 32)).toImage();
        QCOMPARE(icon.size(), QSize(32, 32));
        QCOMPARE(colourName(icon.pixel(6, 21)), colourName(kIconFur));
        QCOMPARE(colourName(icon.pixel(0, 0)), colourName(kIconSky));
        // An X11 window carries the icon at each size the icon offers, from 16 to 64 pixels.
        const QList<QSize> offered = window_->windowIcon().availableSizes();
        for (const int side : {16, 32, 48, 64}) QVERIFY(offered.contains(QSize(side, side)));
    }
};

QTEST_MAIN(ArtworkTest)
#include "test_artwork.moc"
