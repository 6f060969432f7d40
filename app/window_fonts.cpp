#include "app/window_fonts.h"

#include <QApplication>
#include <QFontDatabase>
#include <QStringList>

#include "app/fallback_face.h"
#include "app/latin_face.h"

namespace tamapick {

namespace {

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

}  // namespace

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

QString boldFixedPitchFace() {
    static const QString face = [] {
        const QString listed = firstInstalledFace({QStringLiteral("Terminal"), QStringLiteral("DejaVu Sans Mono"),
                                                   QStringLiteral("Liberation Mono"), QStringLiteral("IPAGothic")});
        return listed.isEmpty() ? QFontDatabase::systemFont(QFontDatabase::FixedFont).family() : listed;
    }();
    return face;
}

QFont fontOf(const QString& face, int pixelSize, bool bold) {
    QFont font;
    useFace(font, face);
    useTheFacesOwnHinting(font);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
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

}  // namespace tamapick
