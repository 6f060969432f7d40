#include "app/label_styles.h"

#include <QFont>
#include <QLabel>
#include <QPalette>

#include "app/desktop_colours.h"
#include "app/window_fonts.h"

namespace tamapick {

namespace {

// Sizes are the designed point sizes at 96 dots per inch, given in pixels so the text keeps
// its place among the pictures whatever dots per inch the screen reports.
constexpr int kHeadlinePixels = 21;  // 15.75 pt
constexpr int kRemarkPixels = 13;    // 9.75 pt
constexpr int kNumberPixels = 16;    // 12 pt

// Where a style's text colour comes from: a colour of its own, or one of the desktop's.
enum class TextColour { Own, SystemWindowText, SystemMenuText };

// How each label style looks, one row a style.
struct StyleLook {
    LabelStyle style;
    // The face, or nullptr for the window's default font (the credit line's).
    QString (*face)();
    int pixelSize;
    bool bold;
    bool fixedPitch;
    TextColour textColour;
    QRgb ownColour;  // for TextColour::Own
    // Opaque labels fill their box with the desktop's window-background colour; the others
    // show only their text over the background picture.
    bool opaque;
    Qt::Alignment alignment;
};

// clang-format off
constexpr StyleLook kLooks[] = {
//   style                   face                       pixels           bold   fixed  text colour                    own       opaque alignment
    {LabelStyle::Headline,   japaneseProportionalFace,  kHeadlinePixels, true,  false, TextColour::Own,               0x8080FF, false, Qt::AlignHCenter | Qt::AlignTop},
    // The remark line's colour is the desktop's menu-text colour because the window's design
    // names that system colour for it, not a colour of its own; so it follows the desktop's
    // theme where it stays legible on the hills (desktop_colours.h).
    {LabelStyle::RemarkLine, japaneseProportionalFace,  kRemarkPixels,   false, false, TextColour::SystemMenuText,    0,        false, Qt::AlignHCenter | Qt::AlignTop},
    // The only opaque labels: a box in the window-background colour inside the balloon.
    {LabelStyle::Number,     boldFixedPitchFace,        kNumberPixels,   true,  true,  TextColour::SystemWindowText,  0,        true,  Qt::AlignHCenter | Qt::AlignTop},
    {LabelStyle::Credit,     nullptr,                   0,               false, false, TextColour::Own,               0xFFFFFF, false, Qt::AlignLeft | Qt::AlignTop},
    {LabelStyle::None,       nullptr,                   0,               false, false, TextColour::Own,               0xFFFFFF, false, Qt::AlignLeft | Qt::AlignTop},
};
// clang-format on

const StyleLook& lookOf(LabelStyle style) {
    for (const StyleLook& look : kLooks) {
        if (look.style == style) return look;
    }
    return kLooks[std::size(kLooks) - 1];
}

QColor textColourOf(const StyleLook& look, const ArtworkColours& desktop) {
    switch (look.textColour) {
        case TextColour::SystemWindowText:
            return desktop.numberText;
        case TextColour::SystemMenuText:
            return desktop.remarkText;
        case TextColour::Own:
            break;
    }
    return QColor(look.ownColour);
}

}  // namespace

QFont labelFont(LabelStyle style) {
    const StyleLook& look = lookOf(style);
    if (look.face == nullptr) return windowDefaultFont();
    QFont font = fontOf(look.face(), look.pixelSize, look.bold);
    if (look.fixedPitch) font.setStyleHint(QFont::TypeWriter);
    return font;
}

void applyLabelStyle(QLabel& label, LabelStyle style) {
    const StyleLook& look = lookOf(style);
    // Labels keep their designed box: long captions wrap inside it and are clipped at its edges.
    label.setWordWrap(true);
    if (look.face != nullptr) label.setFont(labelFont(style));  // else the window's default font
    label.setTextFormat(Qt::PlainText);
    label.setAlignment(look.alignment);
    applyLabelColours(label, style);
    label.setAutoFillBackground(look.opaque);
    if (!look.opaque) label.setAttribute(Qt::WA_TranslucentBackground);
}

void applyLabelColours(QLabel& label, LabelStyle style) {
    const StyleLook& look = lookOf(style);
    const ArtworkColours desktop = artworkColours();
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, textColourOf(look, desktop));
    if (look.opaque) palette.setColor(QPalette::Window, desktop.numberBox);
    label.setPalette(palette);
}

}  // namespace tamapick
