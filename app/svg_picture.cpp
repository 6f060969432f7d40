#include "app/svg_picture.h"

#include <QPainter>
#include <QPixmapCache>

#include "assets/svg_rendering.h"

namespace tamapick {

SvgPicture::SvgPicture(const QString& resource) : resource_(resource) {}

SvgPicture::~SvgPicture() = default;

QSvgRenderer& SvgPicture::source() {
    if (!renderer_) {
        renderer_ = std::make_unique<QSvgRenderer>(resource_);
        if (renderer_->isValid()) size_ = renderer_->defaultSize();
    }
    return *renderer_;
}

QSize SvgPicture::size() {
    if (!size_.isValid()) source();
    return size_;
}

QPixmap SvgPicture::pixmap(QSize logicalSize, qreal devicePixelRatio) {
    const QString key = QStringLiteral("tamapick:%1@%2x%3@%4")
                            .arg(resource_)
                            .arg(logicalSize.width())
                            .arg(logicalSize.height())
                            .arg(devicePixelRatio);
    QPixmap rendered;
    if (QPixmapCache::find(key, &rendered)) return rendered;

    QSvgRenderer& renderer = source();
    rendered = QPixmap::fromImage(renderSvg(renderer, logicalSize.isValid() ? logicalSize : size_, devicePixelRatio));
    renderer_.reset();
    QPixmapCache::insert(key, rendered);
    return rendered;
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
