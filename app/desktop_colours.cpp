#include "app/desktop_colours.h"

#include <QApplication>
#include <QPalette>
#include <QStyleHints>
#include <algorithm>
#include <cmath>

namespace tamapick {

namespace {

// Body text needs 4.5:1 to read for most people with low vision.
constexpr double kLegibleContrast = 4.5;
// A box this close to the balloon's white shows at most as a faint edge (Breeze's #FCFCFC is
// 1.03:1; Adwaita's #FFFFFF and Windows' white are 1:1).
constexpr double kBlendsWithTheBalloon = 1.1;

// The colours of the light desktop the design was drawn on.
constexpr QRgb kDesignText = 0x000000;
constexpr QRgb kDesignBox = 0xFFFFFF;

double relativeLuminance(const QColor& colour) {
    const auto linear = [](double channel) {
        return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) + 0.0722 * linear(colour.blueF());
}

// A dark scheme as the running Qt knows it: from Qt 6.5 the desktop tells it; before that only
// the palette does, by light text on a dark window.
bool schemeIsDark() {
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    const Qt::ColorScheme scheme = QGuiApplication::styleHints()->colorScheme();
    if (scheme != Qt::ColorScheme::Unknown) return scheme == Qt::ColorScheme::Dark;
#endif
    const QPalette palette = QApplication::palette();
    return palette.color(QPalette::Window).lightness() < palette.color(QPalette::WindowText).lightness();
}

// The worse of the text's contrasts to the two colours the remark line lies over: its line
// crosses a valley between the hills, where the sky shows.
double contrastOnTheHills(const QColor& text) {
    return std::min(contrastRatio(text, QColor(kHillGreen)), contrastRatio(text, QColor(kSkyBlue)));
}

}  // namespace

double contrastRatio(const QColor& a, const QColor& b) {
    const double first = relativeLuminance(a);
    const double second = relativeLuminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

ArtworkColours artworkColours() {
    const ArtworkColours design{QColor(kDesignText), QColor(kDesignBox), QColor(kDesignText)};
    if (schemeIsDark()) return design;

    // A light scheme keeps what still reads on the picture. So does a high-contrast one: black
    // on white keeps its colours; white or yellow on black is a dark scheme, whose colours would
    // vanish on the light artwork (its buttons still show the desktop's own).
    const QPalette palette = QApplication::palette();
    const QColor windowBackground = palette.color(QPalette::Base);
    const QColor windowText = palette.color(QPalette::Text);
    // Qt keeps no menu-text role of its own: it is the text colour of the menu palette.
    const QColor menuText = QApplication::palette("QMenu").color(QPalette::WindowText);

    ArtworkColours colours = design;
    if (contrastRatio(windowBackground, QColor(kBalloonWhite)) <= kBlendsWithTheBalloon) {
        colours.numberBox = windowBackground;
    }
    if (contrastRatio(windowText, colours.numberBox) >= kLegibleContrast) colours.numberText = windowText;
    if (contrastOnTheHills(menuText) >= kLegibleContrast) colours.remarkText = menuText;
    return colours;
}

}  // namespace tamapick
