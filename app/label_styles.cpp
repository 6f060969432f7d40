#include "app/label_styles.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLabel>
#include <QPalette>

#include "app/desktop_colours.h"
#include "app/fallback_face.h"
#include "app/latin_face.h"

namespace tamapick {

namespace {

// Sizes are the designed point sizes at 96 dots per inch, given in pixels so the text keeps
// its place among the pictures whatever dots per inch the screen reports.
constexpr int kHeadlinePixels = 21;  // 15.75 pt
constexpr int kRemarkPixels = 13;    // 9.75 pt
constexpr int kNumberPixels = 16;    // 12 pt

// The first face of `wanted` that is installed. A face that is not installed is passed over
// here rather than left for Qt to look up: every miss sends it through fontconfig's alias
// matching, a sort of all fonts, which took a third of start-up.
QString firstInstalledFace(const QStringList& wanted) {
    static const QStringList installed = QFontDatabase::families();
    for (const QString& face : wanted) {
        if (installed.contains(face, Qt::CaseInsensitive)) return face;
    }
    return {};
}

// The designed Japanese face, under both of its names; Debian's IPA fonts add no alias for it,
// so its look-alike is asked for by name. Windows outside Japan lacks the designed face but may
// carry Japanese user-interface faces, which come next. Where none of them is installed, any
// Japanese proportional face will do.
QString japaneseProportionalFace() {
    static const QString face = [] {
        const QString designed = firstInstalledFace({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                                                     QStringLiteral("IPAPGothic"), QStringLiteral("Yu Gothic UI"),
                                                     QStringLiteral("Meiryo UI"), QStringLiteral("MS UI Gothic")});
        if (!designed.isEmpty()) return designed;
        // Only searched for here, since asking every family for its writing systems costs
        // start-up time and memory.
        const QStringList japanese = QFontDatabase::families(QFontDatabase::Japanese);
        for (const QString& family : japanese) {
            if (!QFontDatabase::isFixedPitch(family)) return family;
        }
        // An installed fixed-pitch face still has every kanji; the one we carry has only ours.
        return japanese.isEmpty() ? fallbackJapaneseFace() : japanese.first();
    }();
    return face;
}

// The designed bitmap face, else a bold-capable fixed-pitch face.
QString boldFixedPitchFace() {
    static const QString face = [] {
        const QString listed = firstInstalledFace({QStringLiteral("Terminal"), QStringLiteral("DejaVu Sans Mono"),
                                                   QStringLiteral("Liberation Mono"), QStringLiteral("IPAGothic")});
        return listed.isEmpty() ? QFontDatabase::systemFont(QFontDatabase::FixedFont).family() : listed;
    }();
    return face;
}

// One face per font, not a list. Given a list, Qt asks fontconfig for the fallbacks of the
// chosen face as soon as the font is used (a fifth of start-up); given one face, only when a
// character is missing from it, which never happens for the program's own texts.
void useFace(QFont& font, const QString& face) {
    if (!face.isEmpty()) font.setFamily(face);
}

// The faces' own hinting, as the desktop this window comes from draws them: crisp stems at
// these small pixel sizes. It also spares FreeType's auto-hinter, which reads much of a large
// Japanese font to learn its shapes (1.4 MiB of the IPA font's pages).
void useTheFacesOwnHinting(QFont& font) { font.setHintingPreference(QFont::PreferFullHinting); }

QFont fontOf(const QString& face, int pixelSize, bool bold) {
    QFont font;
    useFace(font, face);
    useTheFacesOwnHinting(font);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

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

QFont windowDefaultFont() {
    // The toolkit's user-interface font draws the Latin parts of the buttons and the credit line.
    // Most desktops outside Japan have a Latin-only face there (DejaVu Sans, Noto Sans,
    // Cantarell, Segoe UI), so the kana and kanji must come from another face glyph by glyph:
    // font merging stays on, and the labels' Japanese face is named as the first fallback so the
    // captions match the headline rather than whatever fontconfig ranks first. The user-interface
    // face is named as an English desktop resolves it, in every locale: a generic name such as
    // "Sans Serif" is not an installed family, and Qt would pass over it to the Japanese face for
    // the Latin letters too.
    QFont font = QApplication::font();
    QStringList faces{latinFaceOf(font)};
    const QString japanese = japaneseProportionalFace();
    if (!japanese.isEmpty()) faces.append(japanese);
    font.setFamilies(faces);
    useTheFacesOwnHinting(font);
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
