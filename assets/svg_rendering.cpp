#include "assets/svg_rendering.h"

#include <QPainter>
#include <QSvgRenderer>
#include <cmath>

namespace tamapick {

QImage renderSvg(QSvgRenderer& source, QSizeF logicalSize, qreal devicePixelRatio) {
    QImage image(static_cast<int>(std::ceil(logicalSize.width() * devicePixelRatio)),
                 static_cast<int>(std::ceil(logicalSize.height() * devicePixelRatio)),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    source.render(&painter, QRectF(QPointF(0, 0), logicalSize));
    return image;
}

}  // namespace tamapick
