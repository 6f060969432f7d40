#include "assets/icon_files.h"

#include <QBuffer>
#include <QSvgRenderer>

#include "assets/svg_rendering.h"

namespace tamapick {

namespace {

void appendU8(QByteArray& out, int value) { out.append(static_cast<char>(value & 0xFF)); }

void appendU16(QByteArray& out, quint32 value) {
    appendU8(out, static_cast<int>(value));
    appendU8(out, static_cast<int>(value >> 8));
}

void appendU32(QByteArray& out, quint32 value) {
    appendU16(out, value & 0xFFFF);
    appendU16(out, value >> 16);
}

QByteArray pngData(const QImage& image) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

// An icon image in the bitmap form: an information header whose height counts the colour rows
// and the mask rows together, the colour rows bottom-up as blue, green, red, alpha, then the
// 1-bit mask (set where the image is see-through), each mask row padded to 32 bits.
QByteArray bitmapData(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int width = image.width();
    const int height = image.height();
    const int maskRowBytes = ((width + 31) / 32) * 4;
    const quint32 colourBytes = static_cast<quint32>(width * height * 4);
    const quint32 maskBytes = static_cast<quint32>(maskRowBytes * height);

    QByteArray out;
    appendU32(out, 40);  // size of the information header
    appendU32(out, static_cast<quint32>(width));
    appendU32(out, static_cast<quint32>(height * 2));
    appendU16(out, 1);   // planes
    appendU16(out, 32);  // bits per pixel
    appendU32(out, 0);   // no compression
    appendU32(out, colourBytes + maskBytes);
    appendU32(out, 0);  // pixels per metre, x and y: unused for icons
    appendU32(out, 0);
    appendU32(out, 0);  // no palette
    appendU32(out, 0);

    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const QRgb pixel = image.pixel(x, y);
            appendU8(out, qBlue(pixel));
            appendU8(out, qGreen(pixel));
            appendU8(out, qRed(pixel));
            appendU8(out, qAlpha(pixel));
        }
    }
    for (int y = height - 1; y >= 0; --y) {
        QByteArray row(maskRowBytes, '\0');
        for (int x = 0; x < width; ++x) {
            if (qAlpha(image.pixel(x, y)) == 0) {
                row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
            }
        }
        out.append(row);
    }
    return out;
}

}  // namespace

QImage renderIcon(const QString& svgPath, int side) {
    QSvgRenderer renderer(svgPath);
    return renderer.isValid() ? renderSvg(renderer, QSizeF(side, side)) : QImage();
}

QByteArray icoFile(const QList<QImage>& images) {
    QList<QByteArray> payloads;
    for (const QImage& image : images) {
        payloads.append(image.width() >= 256 || image.height() >= 256 ? pngData(image) : bitmapData(image));
    }

    constexpr quint32 kHeaderBytes = 6;
    constexpr quint32 kEntryBytes = 16;
    QByteArray out;
    appendU16(out, 0);  // reserved
    appendU16(out, 1);  // an icon, not a cursor
    appendU16(out, static_cast<quint32>(images.size()));
    quint32 offset = kHeaderBytes + kEntryBytes * static_cast<quint32>(images.size());
    for (qsizetype i = 0; i < images.size(); ++i) {
        // A side of 256 is written as 0: the field is one byte.
        appendU8(out, images[i].width() >= 256 ? 0 : images[i].width());
        appendU8(out, images[i].height() >= 256 ? 0 : images[i].height());
        appendU8(out, 0);    // no palette
        appendU8(out, 0);    // reserved
        appendU16(out, 1);   // planes
        appendU16(out, 32);  // bits per pixel
        appendU32(out, static_cast<quint32>(payloads[i].size()));
        appendU32(out, offset);
        offset += static_cast<quint32>(payloads[i].size());
    }
    for (const QByteArray& payload : payloads) {
        out.append(payload);
    }
    return out;
}

}  // namespace tamapick
