#include "app/window_icon.h"

#include <QIconEngine>
#include <QPainter>
#include <QPixmapCache>
#include <QSvgRenderer>
#include <memory>

namespace tamapick {

namespace {

class VectorIconEngine final : public QIconEngine {
public:
    explicit VectorIconEngine(QString resource) : resource_(std::move(resource)) {}

    // The sizes title bars, task bars and window switchers ask for.
    QList<QSize> availableSizes(QIcon::Mode /*mode*/, QIcon::State /*state*/) override {
        return {QSize(16, 16), QSize(24, 24), QSize(32, 32), QSize(48, 48), QSize(64, 64)};
    }

    // A window icon has one look: the disabled, active and selected modes draw it unchanged.
    QPixmap pixmap(const QSize& size, QIcon::Mode /*mode*/, QIcon::State /*state*/) override {
        const QString key = QStringLiteral("tamapick:%1@%2x%3").arg(resource_).arg(size.width()).arg(size.height());
        QPixmap rendered;
        if (QPixmapCache::find(key, &rendered)) return rendered;
        rendered = QPixmap(size);
        rendered.fill(Qt::transparent);
        QPainter painter(&rendered);
        painter.setRenderHint(QPainter::Antialiasing);
        source().render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
        painter.end();
        QPixmapCache::insert(key, rendered);
        return rendered;
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        const qreal ratio = painter->device() != nullptr ? painter->device()->devicePixelRatioF() : 1.0;
        QPixmap device = pixmap(rect.size() * ratio, mode, state);
        device.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect, device);
    }

    QIconEngine* clone() const override { return new VectorIconEngine(*this); }
    QString key() const override { return QStringLiteral("tamapick-vector"); }

private:
    // Parsed at the first size asked for and kept, small as it is, for the sizes that follow:
    // an X11 window asks for all of them at once.
    QSvgRenderer& source() {
        if (!source_) source_ = std::make_shared<QSvgRenderer>(resource_);
        return *source_;
    }

    QString resource_;
    std::shared_ptr<QSvgRenderer> source_;
};

}  // namespace

QIcon windowIconFromSource(const QString& resource) { return QIcon(new VectorIconEngine(resource)); }

}  // namespace tamapick
