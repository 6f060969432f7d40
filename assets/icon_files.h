#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

namespace tamapick {

// The sizes the Windows icon file carries: the small and large shell icons at 100 % and 150 %,
// and the 256 px tile that Explorer scales down for its big views.
inline constexpr int kIconFileSizes[] = {16, 24, 32, 48, 256};

// The vector icon drawn into a square, opaque image of the given side.
QImage renderIcon(const QString& svgPath, int side);

// A Windows .ico file holding the images in the order given. Images up to 255 px are stored as
// 32-bit bitmaps (every resource compiler and Windows version reads them); a 256 px image is
// stored as PNG, as Windows expects for that size.
QByteArray icoFile(const QList<QImage>& images);

}  // namespace tamapick
