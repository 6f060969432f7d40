// The window at the display's scale (ctest runs this under QT_SCALE_FACTOR 1, 1.25, 1.5, 2 and 3):
// no seam around any picture, and above 100 % the pictures are drawn afresh at the display's
// resolution, not stretched from their 100 % bitmaps, and the layout keeps its proportions.
#include <QPainter>
#include <QSvgRenderer>
#include <QtTest>
#include <cmath>

#include "app/main_window.h"
#include "app/window_design.h"
#include "window_fixture.h"

using namespace tamapick;
using namespace tamapick::testing;

namespace {

// How far apart two images of the same size are: the mean difference over every colour channel
// of every pixel, 0 for identical images and 255 for black against white.
double meanDifference(const QImage& a, const QImage& b) {
    const QImage left = a.convertToFormat(QImage::Format_RGB32);
    const QImage right = b.convertToFormat(QImage::Format_RGB32);
    double total = 0;
    for (int y = 0; y < left.height(); ++y) {
        for (int x = 0; x < left.width(); ++x) {
            const QRgb p = left.pixel(x, y);
            const QRgb q = right.pixel(x, y);
            total += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    }
    return total / (3.0 * left.width() * left.height());
}

// The picture drawn straight into device pixels at the given scale, on its own.
QImage renderedAt(const QString& resource, qreal scale) {
    QSvgRenderer renderer(resource);
    const QSizeF size = QSizeF(renderer.defaultSize()) * scale;
    QImage image(qCeil(size.width()), qCeil(size.height()), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(QPointF(0, 0), size));
    return image;
}

// What a blurry display would show: the 100 % picture stretched to the scale.
QImage stretchedTo(const QString& resource, qreal scale) {
    const QImage original = renderedAt(resource, 1.0);
    return original.scaled(qCeil(original.width() * scale), qCeil(original.height() * scale), Qt::IgnoreAspectRatio,
                           Qt::SmoothTransformation);
}

}  // namespace

class ArtworkHiDpiTest : public QObject {
    Q_OBJECT

private:
    WindowFixture window_;
    qreal scale_ = 1;
    QImage grab_;
    QImage background_;

private slots:
    void initTestCase() {
        QVERIFY(window_.open());
        scale_ = window_->devicePixelRatioF();
        grab_ = window_->grab().toImage();
        background_ = renderedAt(QString::fromLatin1(kBackgroundPicture), scale_);
    }
    void cleanupTestCase() { window_.reset(); }

    // Catches a window that is not scaled, or scaled out of proportion.
    void theWindowFillsItsScaledSizeInDevicePixels() {
        QCOMPARE(grab_.size(), QSize(qRound(421 * scale_), qRound(279 * scale_)));
        if (qFuzzyCompare(scale_, 2.0)) {
            QCOMPARE(grab_.size(), QSize(842, 558));
        }
    }

    // Catches a seam around a bear or balloon: every device pixel its one-pixel margin touches must
    // be the background's sky behind it, exactly where each device pixel is whole, and within one
    // step of each colour where the picture's edge falls inside a device pixel (at 125 % and 150 %)
    // and that pixel must blend with the sky painted behind it.
    void noSeamShowsAroundAnyPicture_data() {
        QTest::addColumn<QRect>("box");
        for (const ControlDesign& design : windowControls()) {
            if (design.kind == ControlKind::Picture) {
                QTest::newRow(qPrintable(design.objectName())) << design.pixelGeometry();
            }
        }
    }
    void noSeamShowsAroundAnyPicture() {
        QFETCH(QRect, box);
        const int tolerance = qFuzzyCompare(scale_, std::round(scale_)) ? 0 : 1;
        const auto low = [this](int logical) { return qFloor(logical * scale_); };
        const auto high = [this](int logical) { return qCeil(logical * scale_); };
        const int right = box.left() + box.width();
        const int bottom = box.top() + box.height();
        const QRect outer(QPoint(low(box.left()), low(box.top())), QPoint(high(right) - 1, high(bottom) - 1));
        const QRect inner(QPoint(high(box.left() + 1), high(box.top() + 1)),
                          QPoint(low(right - 1) - 1, low(bottom - 1) - 1));
        for (int y = outer.top(); y <= outer.bottom(); ++y) {
            for (int x = outer.left(); x <= outer.right(); ++x) {
                const QRgb shown = grab_.pixel(x, y);
                const QRgb sky = background_.pixel(x, y);
                const bool isSky = std::abs(qRed(shown) - qRed(sky)) <= tolerance &&
                                   std::abs(qGreen(shown) - qGreen(sky)) <= tolerance &&
                                   std::abs(qBlue(shown) - qBlue(sky)) <= tolerance;
                if (!inner.contains(x, y) && !isSky) {
                    QFAIL(qPrintable(QStringLiteral("device pixel (%1, %2) is %3, the sky behind it %4")
                                         .arg(x)
                                         .arg(y)
                                         .arg(QColor(shown).name(), QColor(sky).name())));
                }
            }
        }
    }

    // Catches pictures stretched from their 100 % bitmaps, and pictures out of place: each
    // region of the window grab must match the picture drawn directly at the display's scale,
    // and must be told apart from the stretched copy (so the comparison can fail).
    void everyPictureIsDrawnAtFullResolution_data() {
        QTest::addColumn<QString>("resource");
        QTest::addColumn<QRect>("region");     // in the picture's own pixels, at 100 %
        QTest::addColumn<QPoint>("position");  // of the picture's corner in the window, at 100 %
        for (const ControlDesign& design : windowControls()) {
            if (design.kind == ControlKind::Picture) {
                const QRect box = design.pixelGeometry();
                QTest::newRow(qPrintable(design.objectName()))
                    << QString::fromUtf8(design.content) << QRect(QPoint(0, 0), box.size()) << box.topLeft();
            }
        }
        const QString background = QString::fromLatin1(kBackgroundPicture);
        QTest::newRow("background: first flower") << background << QRect(12, 236, 28, 40) << QPoint(0, 0);
    }
    void everyPictureIsDrawnAtFullResolution() {
        if (scale_ <= 1) QSKIP("at 100 % a stretched picture is the picture itself");
        QFETCH(QString, resource);
        QFETCH(QRect, region);
        QFETCH(QPoint, position);
        // Whole device pixels only: at 125 % a picture's last row and column are shared with
        // its neighbour.
        const QRect inPicture(qCeil(region.left() * scale_), qCeil(region.top() * scale_),
                              qFloor(region.width() * scale_) - 1, qFloor(region.height() * scale_) - 1);
        const QPoint corner = QPointF(QPointF(position) * scale_).toPoint();
        const QImage shown = grab_.copy(inPicture.translated(corner));
        const double fromDirect = meanDifference(shown, renderedAt(resource, scale_).copy(inPicture));
        const double fromStretched = meanDifference(shown, stretchedTo(resource, scale_).copy(inPicture));
        QVERIFY2(fromDirect < 0.5, qPrintable(QString::number(fromDirect)));
        QVERIFY2(fromStretched > 4 * fromDirect + 0.5, qPrintable(QString::number(fromStretched)));
    }
};

QTEST_MAIN(ArtworkHiDpiTest)
#include "test_artwork_hidpi.moc"
