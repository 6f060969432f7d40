// The Japanese face the program carries, on a system with no Japanese font: CTest runs this with
// fontconfig limited to the DejaVu folder, as on a minimal install or a container.
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QRawFont>
#include <QResource>
#include <QtTest>

#include "app/main_window.h"
#include "app/window_design.h"
#include "window_texts.h"

using namespace tamapick;
using namespace tamapick::testing;

class FallbackFaceTest : public QObject {
    Q_OBJECT

private slots:
    // Without the carried face every kana and kanji here is an empty box.
    void everyTextDrawsRealGlyphsWithNoJapaneseFontInstalled() {
        QVERIFY2(QFontDatabase::families(QFontDatabase::Japanese).isEmpty(),
                 "a Japanese font is installed: run with FONTCONFIG_FILE naming a Latin-only folder");
        MainWindow window;
        QCOMPARE(firstTextWithoutRealGlyphs(window), QString());
    }

    // The headline is bold in a face of its own, not regular strokes smeared by the renderer.
    void theHeadlineUsesTheCarriedBoldFace() {
        MainWindow window;
        const QFont headline = window.findChild<QLabel*>(QStringLiteral("Label8"))->font();
        QCOMPARE(QFontInfo(headline).family(), QStringLiteral("Tamapick Fallback Gothic"));
        QCOMPARE(QFontInfo(headline).styleName(), QStringLiteral("Bold"));
    }

    // The face holds only the characters it was made for: a new text with a new character must
    // fail here, not show a box on a system without Japanese fonts.
    void theCarriedFaceHoldsEveryCharacterTheWindowCanShow() {
        MainWindow window;
        std::vector<ShownText> texts = everyShownText(window);
        texts.push_back({QString::fromUtf8(kWindowTitle), window.font()});  // Qt draws it on Wayland
        for (const char* path :
             {":/fonts/TamapickFallbackGothic-Regular.otf", ":/fonts/TamapickFallbackGothic-Bold.otf"}) {
            const QRawFont face(QResource(QString::fromLatin1(path)).uncompressedData(), 16);
            QVERIFY2(face.isValid(), path);
            for (const auto& shown : texts) {
                for (const char32_t character : shown.text.toStdU32String()) {
                    QVERIFY2(
                        face.supportsCharacter(character),
                        qPrintable(QStringLiteral("%1 lacks \"%2\" of \"%3\": add the text to "
                                                  "assets/fonts/fallback_characters.txt and run "
                                                  "scripts/make-fallback-face.py")
                                       .arg(QString::fromLatin1(path), QString::fromUcs4(&character, 1), shown.text)));
                }
            }
        }
    }
};

QTEST_MAIN(FallbackFaceTest)
#include "test_fallback_face.moc"
