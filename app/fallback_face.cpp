#include "app/fallback_face.h"

#include <QFontDatabase>
#include <QResource>

namespace tamapick {

QString fallbackJapaneseFace() {
    static const QString family = [] {
        QString registered;
        // The regular face for the hint line, remarks, buttons and credit line, the bold one for
        // the headline: emboldened regular strokes run together in kanji at 21 px.
        for (const char* path :
             {":/fonts/TamapickFallbackGothic-Regular.otf", ":/fonts/TamapickFallbackGothic-Bold.otf"}) {
            // The faces are stored uncompressed, so this is the program's own bytes, not a copy.
            const QByteArray face = QResource(QString::fromLatin1(path)).uncompressedData();
            const int id = QFontDatabase::addApplicationFontFromData(face);
            if (id >= 0 && registered.isEmpty()) registered = QFontDatabase::applicationFontFamilies(id).value(0);
        }
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
        // From Qt 6.8 the face can also be the fallback for Japanese wherever Qt itself draws text
        // in a font we do not choose (the title bar it decorates on Wayland). Before that, our
        // own fonts name it after the desktop's face (window_fonts.cpp).
        if (!registered.isEmpty()) {
            for (const QChar::Script script : {QChar::Script_Hiragana, QChar::Script_Katakana, QChar::Script_Han})
                QFontDatabase::addApplicationFallbackFontFamily(script, registered);
        }
#endif
        return registered;
    }();
    return family;
}

}  // namespace tamapick
