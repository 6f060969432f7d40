#include "app/svg_picture.h"

#include <QPainter>
#include <cmath>

namespace tamapick {

SvgPicture::SvgPicture(const QString& resource) : renderer_(resource) {}

const QPixmap& SvgPicture::pixmap(qreal devicePixelRatio) {
    if (cache_.isNull() || !qFuzzyCompare(cache_.devicePixelRatio(), devicePixelRatio)) {
        const QSize logical = size();
        const QSize device(static_cast<int>(std::ceil(logical.width() * devicePixelRatio)),
                           static_cast<int>(std::ceil(logical.height() * devicePixelRatio)));
        QPixmap rendered(device);
        rendered.setDevicePixelRatio(devicePixelRatio);
        rendered.fill(Qt::transparent);
        QPainter painter(&rendered);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer_.render(&painter, QRectF(QPointF(0, 0), QSizeF(logical)));
        painter.end();
        cache_ = rendered;
    }
    return cache_;
}

PictureBox::PictureBox(const QString& resource, QWidget* parent) : QWidget(parent), picture_(resource) {
    // Not marked opaque: at 125 % or 150 % a picture's last column or row covers only part of a
    // device pixel, and that pixel must blend with the sky painted behind it. An opaque widget
    // makes Qt skip painting what lies behind, and the edge would show as a dark seam.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void PictureBox::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture_.pixmap(devicePixelRatioF()));
}

}  // namespace tamapick
