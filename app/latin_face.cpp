#include "app/latin_face.h"

#include <QFontInfo>

#ifdef TAMAPICK_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>

#include <memory>
#endif

namespace tamapick {

namespace {

#ifdef TAMAPICK_HAVE_FONTCONFIG
using Pattern = std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)>;

// The family fontconfig matches to `family` for English text; empty where it matches none.
QString familyForEnglish(const QString& family) {
    const Pattern pattern(FcPatternCreate(), FcPatternDestroy);
    if (!pattern) return {};
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.toUtf8().constData()));
    FcPatternAddString(pattern.get(), FC_LANG, reinterpret_cast<const FcChar8*>("en"));
    FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    const Pattern match(FcFontMatch(nullptr, pattern.get(), &result), FcPatternDestroy);
    FcChar8* matched = nullptr;
    if (!match || FcPatternGetString(match.get(), FC_FAMILY, 0, &matched) != FcResultMatch) return {};
    return QString::fromUtf8(reinterpret_cast<const char*>(matched));
}
#endif

}  // namespace

QString latinFaceOf(const QFont& font) {
#ifdef TAMAPICK_HAVE_FONTCONFIG
    // Asked of every family, not only the generic names: Qt lists "Sans Serif" among its
    // families too, so it cannot tell them apart. An installed family matches itself.
    const QString english = familyForEnglish(font.family());
    if (!english.isEmpty()) return english;
#endif
    return QFontInfo(font).family();
}

}  // namespace tamapick
