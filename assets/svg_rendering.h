#pragma once

#include <QImage>
#include <QSizeF>

class QSvgRenderer;

namespace tamapick {

// The vector picture drawn, antialiased, into a transparent image of `logicalSize` at
// `devicePixelRatio`: sharp at any scale rather than stretched from a 100 % bitmap. Every
// picture the program shows and every icon it ships is drawn here.
QImage renderSvg(QSvgRenderer& source, QSizeF logicalSize, qreal devicePixelRatio = 1.0);

}  // namespace tamapick
