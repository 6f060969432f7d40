#include "app/window_icon.h"

#include <QIconEngine>
#include <QPainter>

#include "app/svg_picture.h"

namespace tamapick {

namespace {

class VectorIconEngine final : public QIconEngine {
public:
    explicit VectorIconEngine(QString resource) : resource_(std::move(resource)), picture_(resource_) {}

    // The sizes title bars, task bars and window switchers ask for.
    QList<QSize> availableSizes(QIcon::Mode /*mode*/, QIcon::State /*state*/) override {
        return {QSize(16, 16), QSize(24, 24), QSize(32, 32), QSize(48, 48), QSize(64, 64)};
    }

    // A window icon has one look: the disabled, active and selected modes draw it unchanged.
    QPixmap pixmap(const QSize& size, QIcon::Mode /*mode*/, QIcon::State /*state*/) override {
        return picture_.pixmap(size, 1.0);
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode /*mode*/, QIcon::State /*state*/) override {
        const qreal ratio = painter->device() != nullptr ? painter->device()->devicePixelRatioF() : 1.0;
        painter->drawPixmap(rect, picture_.pixmap(rect.size(), ratio));
    }

    QIconEngine* clone() const override { return new VectorIconEngine(resource_); }
    QString key() const override { return QStringLiteral("tamapick-vector"); }

private:
    QString resource_;
    SvgPicture picture_;
};

}  // namespace

QIcon windowIconFromSource(const QString& resource) { return QIcon(new VectorIconEngine(resource)); }

}  // namespace tamapick
