#pragma once

#include <QColor>

namespace tamapick {

// The colours of the labels that sit on the artwork. The design takes them from the desktop
// (window text and window background for the number boxes, menu text for the remark line), on
// a desktop whose colours were dark text on white. The picture does not follow the desktop's
// scheme, so a desktop colour is used only where it keeps that look: a box that blends with the
// white balloon, text that reads at 4.5:1 or better on what lies behind it. Anything else, and
// every colour of a dark scheme, falls back to the colours of the light desktop the design was
// drawn on.
struct ArtworkColours {
    QColor numberText;
    QColor numberBox;
    QColor remarkText;
};

// The colours for the desktop's current palette and scheme.
ArtworkColours artworkColours();

// The contrast ratio of two colours as the web's accessibility guidelines define it, from 1
// (the same luminance) to 21 (black on white).
double contrastRatio(const QColor& a, const QColor& b);

// What the remark line and the number boxes sit on, from the artwork.
inline constexpr QRgb kBalloonWhite = 0xFFFFFF;
inline constexpr QRgb kSkyBlue = 0x8ECDF0;
inline constexpr QRgb kHillGreen = 0x91CACC;

}  // namespace tamapick
