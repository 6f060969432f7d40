#pragma once

#include <QPixmap>
#include <QSvgRenderer>
#include <QWidget>

namespace tamapick {

// A picture drawn from a vector source, rendered once for the screen's device pixel ratio and
// kept: unscaled at 100 %, and sharp rather than stretched at 125 %, 150 %, 200 % or more.
class SvgPicture {
public:
    explicit SvgPicture(const QString& resource);

    bool isValid() const { return renderer_.isValid(); }
    // The picture's own size in device-independent pixels.
    QSize size() const { return renderer_.defaultSize(); }
    const QPixmap& pixmap(qreal devicePixelRatio);

private:
    QSvgRenderer renderer_;
    QPixmap cache_;
};

// A picture control: shows its picture unscaled from its top-left corner, its box exactly the
// picture's size. It takes no focus and ignores the mouse.
class PictureBox : public QWidget {
public:
    PictureBox(const QString& resource, QWidget* parent);

    SvgPicture& picture() { return picture_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    SvgPicture picture_;
};

}  // namespace tamapick
