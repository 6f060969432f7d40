// The bitmap icons drawn at build time from the window icon's vector source: the Windows .ico
// (read back with Qt's own reader, an independent parser of the format) and the theme's PNGs.
#include <QImageReader>
#include <QtTest>

#include "assets/icon_files.h"

using namespace tamapick;

namespace {

// The images of an icon file as a reader sees them.
QList<QImage> imagesIn(const QString& path) {
    QImageReader reader(path, "ico");
    QList<QImage> images;
    for (int i = 0; i < reader.imageCount(); ++i) {
        reader.jumpToImage(i);
        images.append(reader.read().convertToFormat(QImage::Format_ARGB32));
    }
    return images;
}

QImage sourceAt(int side) {
    return renderIcon(QStringLiteral(ICON_SOURCE), side).convertToFormat(QImage::Format_ARGB32);
}

bool fullyOpaque(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) != 255) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace

class ArtworkIconsTest : public QObject {
    Q_OBJECT

private slots:
    // Catches a malformed file (wrong sizes in the directory, rows upside down, red and blue
    // swapped, a mask that makes pixels see-through): every image reads back as the source
    // drawn at that size, fully opaque like the sky-filled square it is.
    void theIconFileHoldsTheIconAtEverySize_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("side");
        int index = 0;
        for (const int side : kIconFileSizes) {
            QTest::newRow(qPrintable(QStringLiteral("%1 x %1").arg(side))) << index++ << side;
        }
    }
    void theIconFileHoldsTheIconAtEverySize() {
        QFETCH(int, index);
        QFETCH(int, side);
        const QList<QImage> images = imagesIn(QStringLiteral(ICO_FILE));
        QCOMPARE(images.size(), qsizetype(std::size(kIconFileSizes)));
        const QImage& image = images[index];
        QCOMPARE(image.size(), QSize(side, side));
        QVERIFY(fullyOpaque(image));
        QVERIFY(image == sourceAt(side));
    }

    // The 32 px image is the one every Windows version shows; check its colours outright, so a
    // wrong source drawn consistently everywhere is caught too.
    void theThirtyTwoPixelIconShowsSkyAndFur() {
        const QList<QImage> images = imagesIn(QStringLiteral(ICO_FILE));
        const auto found = std::find_if(images.begin(), images.end(), [](const QImage& i) { return i.width() == 32; });
        QVERIFY(found != images.end());
        QCOMPARE(QColor(found->pixel(0, 0)), QColor(0x8C, 0xCF, 0xF7));
        QCOMPARE(QColor(found->pixel(6, 21)), QColor(0x9C, 0x61, 0x00));
    }

    // Catches a theme bitmap of the wrong size (the desktop would show it in the wrong folder's
    // place, blurred) or drawn from anything but the one source.
    void theThemeIconsAreTheSourceAtEachSize_data() {
        QTest::addColumn<int>("side");
        for (const int side : {THEME_PNG_SIZES}) {
            QTest::newRow(qPrintable(QStringLiteral("%1 x %1").arg(side))) << side;
        }
    }
    void theThemeIconsAreTheSourceAtEachSize() {
        QFETCH(int, side);
        const QImage png(QStringLiteral(THEME_PNG_DIR "/tamapick-%1.png").arg(side));
        QCOMPARE(png.size(), QSize(side, side));
        QVERIFY(png.convertToFormat(QImage::Format_ARGB32) == sourceAt(side));
    }
};

QTEST_MAIN(ArtworkIconsTest)
#include "test_artwork_icons.moc"
