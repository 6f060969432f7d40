// Build-time tool: draws the window icon's vector source into the bitmap icons that platforms
// want as files, so every icon comes from the one picture.
//   make_icons <icon.svg> <out.ico> <png-dir> <side>...
// writes <png-dir>/tamapick-<side>.png for each side, the bitmaps of the hicolor icon theme.
#include <QFile>
#include <QList>
#include <cstdio>
#include <cstdlib>

#include "assets/icon_files.h"

namespace {

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: make_icons <icon.svg> <out.ico> <png-dir> <side>...\n");
        return 2;
    }
    const QString source = QString::fromLocal8Bit(argv[1]);
    QList<QImage> images;
    for (const int side : tamapick::kIconFileSizes) {
        images.append(tamapick::renderIcon(source, side));
        if (images.back().isNull()) {
            std::fprintf(stderr, "make_icons: cannot draw %s\n", argv[1]);
            return 1;
        }
    }
    if (!writeFile(QString::fromLocal8Bit(argv[2]), tamapick::icoFile(images))) {
        std::fprintf(stderr, "make_icons: cannot write %s\n", argv[2]);
        return 1;
    }
    const QString pngDir = QString::fromLocal8Bit(argv[3]);
    for (int i = 4; i < argc; ++i) {
        const int side = std::atoi(argv[i]);
        const QString png = QStringLiteral("%1/tamapick-%2.png").arg(pngDir).arg(side);
        if (side <= 0 || !tamapick::renderIcon(source, side).save(png, "PNG")) {
            std::fprintf(stderr, "make_icons: cannot write %s\n", qPrintable(png));
            return 1;
        }
    }
    return 0;
}
