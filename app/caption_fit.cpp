#include "app/caption_fit.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <algorithm>
#include <cmath>
#include <vector>

#include "app/window_controls.h"

namespace tamapick {

namespace {

constexpr int kSmallestPixels = 6;

bool allFit(const QFont& font, std::span<const CaptionSpace> captions) {
    const QFontMetricsF metrics(font);
    return std::all_of(captions.begin(), captions.end(),
                       [&](const CaptionSpace& c) { return captionFits(metrics, c); });
}

// How much smaller the font must be: the tightest ratio of space to need. Starting the search
// near it spares loading a face at every size in between.
qreal shrinkFactor(const QFont& font, std::span<const CaptionSpace> captions) {
    const QFontMetricsF metrics(font);
    qreal factor = 1;
    for (const CaptionSpace& caption : captions) {
        const qreal advance = metrics.horizontalAdvance(caption.text);
        if (advance > 0) factor = std::min(factor, caption.line.width() / advance);
        factor = std::min(factor, caption.line.height() / metrics.height());
    }
    return factor;
}

}  // namespace

bool captionFits(const QFontMetricsF& metrics, const CaptionSpace& caption) {
    if (caption.text.isEmpty()) return true;
    const qreal advance = metrics.horizontalAdvance(caption.text);
    if (advance > caption.line.width() || metrics.height() > caption.line.height()) return false;
    const qreal left =
        (caption.alignment & Qt::AlignLeft) ? caption.line.left() : caption.line.center().x() - advance / 2;
    const qreal top =
        (caption.alignment & Qt::AlignTop) ? caption.line.top() : caption.line.center().y() - metrics.height() / 2;
    const QRectF ink = metrics.tightBoundingRect(caption.text).translated(left, top + metrics.ascent());
    return caption.ink.contains(ink);
}

CaptionSpace captionSpaceOf(const QPushButton& button) {
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    if (button.autoDefault()) option.features |= QStyleOptionButton::AutoDefaultButton;
    if (button.isDefault()) option.features |= QStyleOptionButton::DefaultButton;
    const QStyle* style = button.style();
    const QRect contents = style->subElementRect(QStyle::SE_PushButtonContents, &option, &button);
    // The style asks for this margin around a caption when it sizes a button for it.
    const qreal margin = style->pixelMetric(QStyle::PM_ButtonMargin, &option, &button) / 2.0;
    const QRectF space = QRectF(contents).adjusted(margin, margin, -margin, -margin);
    return {button.text(), space, Qt::AlignCenter, space};
}

CaptionSpace captionSpaceOf(const QLabel& label) {
    const QRectF box = label.contentsRect();
    // The line starts at the left and top edges (a left- and top-aligned label), where a glyph
    // may touch the box; it is cut where it runs out, on the right and at the bottom, so those
    // edges must stay clear of ink.
    return {label.text(), box, label.alignment(), box.adjusted(0, 0, -1, -1)};
}

QFont largestFittingFont(const QFont& font, std::span<const CaptionSpace> captions) {
    if (allFit(font, captions)) return font;
    const int desktopPixels = QFontInfo(font).pixelSize();
    // Text does not shrink quite in proportion (hinting rounds the advances), so the search
    // starts a pixel above the proportional guess.
    const int guess = int(std::floor(desktopPixels * shrinkFactor(font, captions))) + 1;
    QFont smaller = font;
    int pixels = std::max(kSmallestPixels, std::min(desktopPixels - 1, guess));
    for (; pixels > kSmallestPixels; --pixels) {
        smaller.setPixelSize(pixels);
        if (allFit(smaller, captions)) return smaller;
    }
    smaller.setPixelSize(kSmallestPixels);
    return smaller;
}

void fitCaptionsToTheirBoxes(const WindowControls& controls, const QFont& font) {
    const std::vector<QPushButton*> buttons = controls.buttons();
    std::vector<CaptionSpace> buttonCaptions;
    // The space a style leaves depends on the font only through the style, so it is measured
    // with the desktop's font in place.
    for (QPushButton* button : buttons) {
        button->setFont(font);
        buttonCaptions.push_back(captionSpaceOf(*button));
    }
    // One size for the row of buttons, so they read as a set.
    const QFont buttonFont = largestFittingFont(font, buttonCaptions);
    for (QPushButton* button : buttons) button->setFont(buttonFont);
    if (QLabel* credit = controls.creditLine()) {
        const CaptionSpace line = captionSpaceOf(*credit);
        credit->setFont(largestFittingFont(font, std::span(&line, 1)));
    }
}

}  // namespace tamapick
