#pragma once

#include <QPixmap>
#include <QSvgRenderer>
#include <QWidget>
#include <memory>

namespace tamapick {

// A picture drawn from a vector source, rendered once for the screen's device pixel ratio and
// kept: unscaled at 100 %, and sharp rather than stretched at 125 %, 150 %, 200 % or more.
// The rendering is shared through Qt's pixmap cache (the six balloons use one). The source is
// parsed only when a rendering is missing from the cache, and let go once it has been rendered.
class SvgPicture {
public:
    explicit SvgPicture(const QString& resource);
    ~SvgPicture();

    bool isValid() { return size().isValid() && !size().isEmpty(); }
    // The picture's own size in device-independent pixels.
    QSize size();
    QPixmap pixmap(qreal devicePixelRatio);

private:
    QSvgRenderer& source();

    QString resource_;
    QSize size_;
    std::unique_ptr<QSvgRenderer> renderer_;
};

// A picture control: shows its picture unscaled from its top-left corner, its box exactly the
// picture's size. It takes no focus and ignores the mouse. A QObject of its own, so that the
// window's pictures can be looked up by their type (Qt 6.8 refuses findChild without it).
class PictureBox : public QWidget {
    Q_OBJECT

public:
    PictureBox(const QString& resource, QWidget* parent);

    SvgPicture& picture() { return picture_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    SvgPicture picture_;
};

}  // namespace tamapick
