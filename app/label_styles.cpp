#include "app/label_styles.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLabel>
#include <QPalette>

namespace tamapick {

namespace {

// Sizes are the designed point sizes at 96 dots per inch, given in pixels so the text keeps
// its place among the pictures whatever dots per inch the screen reports.
constexpr int kHeadlinePixels = 21;  // 15.75 pt
constexpr int kRemarkPixels = 13;    // 9.75 pt
constexpr int kNumberPixels = 16;    // 12 pt

// The faces among `wanted` that are installed, in the order given. A face that is not
// installed is left out rather than left for Qt to look up: every miss sends it through
// fontconfig's alias matching, a sort of all fonts, which took a third of start-up.
QStringList installedFaces(const QStringList& wanted) {
    static const QStringList installed = QFontDatabase::families();
    QStringList faces;
    for (const QString& face : wanted) {
        if (installed.contains(face, Qt::CaseInsensitive)) faces << face;
    }
    return faces;
}

// The designed Japanese face first, under both of its names; Debian's IPA fonts add no alias
// for it, so its look-alike is asked for by name. Where none of them is installed, any Japanese
// proportional face will do.
QStringList japaneseProportionalFaces() {
    static const QStringList faces = [] {
        QStringList found = installedFaces(
            {QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic")});
        if (!found.isEmpty()) return found;
        // Only searched for here, since asking every family for its writing systems costs
        // start-up time and memory.
        for (const QString& family : QFontDatabase::families(QFontDatabase::Japanese)) {
            if (!QFontDatabase::isFixedPitch(family)) return QStringList{family};
        }
        return found;
    }();
    return faces;
}

// The designed bitmap face first, then bold-capable fixed-pitch faces.
QStringList boldFixedPitchFaces() {
    static const QStringList faces = [] {
        QStringList found = installedFaces({QStringLiteral("Terminal"), QStringLiteral("DejaVu Sans Mono"),
                                            QStringLiteral("Liberation Mono"), QStringLiteral("IPAGothic")});
        found << QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
        return found;
    }();
    return faces;
}

// The faces' own hinting, as the desktop this window comes from draws them: crisp stems at
// these small pixel sizes. It also spares FreeType's auto-hinter, which reads much of a large
// Japanese font to learn its shapes (1.4 MiB of the IPA font's pages).
void useTheFacesOwnHinting(QFont& font) { font.setHintingPreference(QFont::PreferFullHinting); }

QFont fontOf(const QStringList& faces, int pixelSize, bool bold) {
    QFont font;
    font.setFamilies(faces);
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
            return fontOf(japaneseProportionalFaces(), kHeadlinePixels, true);
        case LabelStyle::RemarkLine:
            return fontOf(japaneseProportionalFaces(), kRemarkPixels, false);
        case LabelStyle::Number: {
            QFont font = fontOf(boldFixedPitchFaces(), kNumberPixels, true);
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
    // The toolkit's user-interface font, with the same Japanese face as the labels behind it
    // for the button captions: one Japanese font file to load instead of two.
    QFont font = QApplication::font();
    QStringList faces{font.family()};
    faces << japaneseProportionalFaces();
    font.setFamilies(faces);
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
