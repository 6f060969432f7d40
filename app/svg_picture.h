#pragma once

#include <QPixmap>
#include <QSvgRenderer>
#include <QWidget>
#include <memory>

namespace tamapick {

// A picture drawn from a vector source, rendered once for each size and device pixel ratio
// asked for and kept: unscaled at 100 %, and sharp rather than stretched at 125 %, 150 %, 200 %
// or more. The renderings are shared through Qt's pixmap cache (the six balloons use one). The
// source is parsed only when a rendering is missing from the cache, and let go once it has been
// rendered.
class SvgPicture {
public:
    explicit SvgPicture(const QString& resource);
    ~SvgPicture();

    bool isValid() { return size().isValid() && !size().isEmpty(); }
    // The picture's own size in device-independent pixels.
    QSize size();
    // At its own size, as the window shows it.
    QPixmap pixmap(qreal devicePixelRatio) { return pixmap(QSize(), devicePixelRatio); }
    // Drawn to fill `logicalSize`, as an icon is at each size the desktop asks for; an invalid
    // size stands for the picture's own, which is looked up only if the cache has no rendering.
    QPixmap pixmap(QSize logicalSize, qreal devicePixelRatio);

private:
    QSvgRenderer& source();

    QString resource_;
    QSize size_;
    std::unique_ptr<QSvgRenderer> renderer_;
};

// A picture control: shows its picture unscaled from its top-left corner, its box exactly the
// picture's size. It takes no focus and ignores the mouse. A QObject of its own, so that the
// tests can find the window's pictures by their type (Qt 6.8 refuses a look-up by a type that
// has no meta-object of its own).
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
