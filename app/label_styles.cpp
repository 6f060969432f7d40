#include "app/label_styles.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QPalette>

#include "app/fallback_face.h"

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

void setTransparent(QLabel& label, const QColor& text) {
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, text);
    label.setPalette(palette);
    label.setAutoFillBackground(false);
    label.setAttribute(Qt::WA_TranslucentBackground);
}

}  // namespace

QFont labelFont(LabelStyle style) {
    switch (style) {
        case LabelStyle::Headline:
            return fontOf(japaneseProportionalFace(), kHeadlinePixels, true);
        case LabelStyle::RemarkLine:
            return fontOf(japaneseProportionalFace(), kRemarkPixels, false);
        case LabelStyle::Number: {
            QFont font = fontOf(boldFixedPitchFace(), kNumberPixels, true);
            font.setStyleHint(QFont::TypeWriter);
            return font;
        }
        case LabelStyle::Credit:
        case LabelStyle::None:
            break;
    }
    return windowDefaultFont();
}

QFont windowDefaultFont() {
    // The toolkit's user-interface font draws the Latin parts of the buttons and the credit line.
    // Most desktops outside Japan have a Latin-only face there (DejaVu Sans, Noto Sans,
    // Cantarell, Segoe UI), so the kana and kanji must come from another face glyph by glyph:
    // font merging stays on, and the labels' Japanese face is named as the first fallback so the
    // captions match the headline rather than whatever fontconfig ranks first. The user-interface
    // face is named as Qt resolves it: a generic name such as "Sans Serif" is not an installed
    // family, and Qt would pass over it to the Japanese face for the Latin letters too.
    QFont font = QApplication::font();
    const QString japanese = japaneseProportionalFace();
    if (!japanese.isEmpty()) {
        font.setFamilies({QFontInfo(font).family(), japanese});
    }
    useTheFacesOwnHinting(font);
    return font;
}

void applyLabelStyle(QLabel& label, LabelStyle style) {
    // Labels keep their designed box: long captions wrap inside it and are clipped at its edges.
    label.setWordWrap(true);
    if (style != LabelStyle::Credit && style != LabelStyle::None) {
        label.setFont(labelFont(style));  // the credit line keeps the window's default font
    }
    label.setTextFormat(Qt::PlainText);
    switch (style) {
        case LabelStyle::Headline:
            label.setAlignment(Qt::AlignHCenter | Qt::AlignTop);
            setTransparent(label, QColor(0x80, 0x80, 0xFF));
            break;
        case LabelStyle::RemarkLine:
            label.setAlignment(Qt::AlignHCenter | Qt::AlignTop);
            setTransparent(label, QApplication::palette("QMenu").color(QPalette::WindowText));
            break;
        case LabelStyle::Number: {
            // The only opaque labels: a box in the window-background colour inside the balloon.
            label.setAlignment(Qt::AlignHCenter | Qt::AlignTop);
            QPalette palette = label.palette();
            const QPalette system = QApplication::palette();
            palette.setColor(QPalette::Window, system.color(QPalette::Base));
            palette.setColor(QPalette::WindowText, system.color(QPalette::Text));
            label.setPalette(palette);
            label.setAutoFillBackground(true);
            break;
        }
        case LabelStyle::Credit:
        case LabelStyle::None:
            label.setAlignment(Qt::AlignLeft | Qt::AlignTop);
            setTransparent(label, Qt::white);
            break;
    }
}

}  // namespace tamapick
