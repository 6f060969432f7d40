#pragma once

#include <QFont>
#include <QRectF>
#include <QString>
#include <span>

class QFontMetricsF;
class QLabel;
class QPushButton;

namespace tamapick {

class WindowControls;

// Where a caption is drawn: the space its line may take (a button's text space, a label's box),
// how it is aligned there, and the part of the space its ink must stay inside.
struct CaptionSpace {
    QString text;
    QRectF line;
    Qt::Alignment alignment;
    QRectF ink;
};

// Whether the caption fits its space at these metrics: its line, as wide as its advance and as
// high as the font's line, within the line's space, and its ink, placed as a left- or
// top-aligned label or a centred button places it, within the ink bounds. An empty caption
// always fits.
bool captionFits(const QFontMetricsF& metrics, const CaptionSpace& caption);

// `font` where every caption fits its space, else the same face at the largest pixel size at
// which they all do (the smallest tried, 6 px, if none does).
QFont largestFittingFont(const QFont& font, std::span<const CaptionSpace> captions);

// The space a button leaves for its caption: what its style draws the text in, less the margin
// the style keeps around the text, so the ink never meets the button's frame.
CaptionSpace captionSpaceOf(const QPushButton& button);

// The space of a one-line label: its box, with the ink clear of the edges that would cut it.
CaptionSpace captionSpaceOf(const QLabel& label);

// Gives the four buttons one font, and the credit line one, each the desktop's `font` or the
// largest size of it their captions fit in. The window and its controls keep their sizes.
void fitCaptionsToTheirBoxes(const WindowControls& controls, const QFont& font);

}  // namespace tamapick
