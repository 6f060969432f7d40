#include "window_texts.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGlyphRun>
#include <QLabel>
#include <QPushButton>
#include <QRawFont>
#include <QTextLayout>

#include "app/main_window.h"
#include "draws/draws.h"
#include "draws/tamapick_form.h"
#include "effects/remarks.h"
#include "fake_runtime.h"

namespace tamapick::testing {

namespace {

const QString kCarriedFamily = QStringLiteral("Tamapick Fallback Gothic");

// The glyph runs Qt lays out for `text` in `font`, as a label draws it.
QList<QGlyphRun> glyphRunsOf(const QString& text, const QFont& font) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    return layout.glyphRuns();
}

}  // namespace

std::vector<ShownText> everyShownText(MainWindow& window) {
    auto label = [&window](const char* name) { return window.findChild<QLabel*>(QString::fromLatin1(name)); };
    std::vector<ShownText> texts{{label("Label9")->text(), label("Label9")->font()}};
    for (const QPushButton* button : window.findChildren<QPushButton*>())
        texts.push_back({button->text(), button->font()});

    FakeRuntime fake;
    TamapickForm form(fake);
    form.Form_Load();
    for (const ClickHandler handler : {ClickHandler(draws::miniroto_Click), ClickHandler(draws::roto6_Click),
                                       ClickHandler(draws::Numbers3_Click), ClickHandler(draws::Numbers4_Click)})
        form.click(handler);
    for (const auto& write : fake.writes()) {
        if (write.label == Label::Label7 || write.label == Label::Label8)
            texts.push_back({QString::fromStdString(write.text),
                             label(write.label == Label::Label7 ? "Label7" : "Label8")->font()});
    }
    for (const RemarkTable& table : {kClosingRemarks, kInterimRemarks}) {
        for (const char* remark : {table.forZero, table.forOne, table.forTwo, table.otherwise})
            texts.push_back({QString::fromUtf8(remark), label("Label7")->font()});
    }
    texts.push_back({QStringLiteral("0123456789"), label("Label1")->font()});
    return texts;
}

QString firstTextWithoutRealGlyphs(MainWindow& window) {
    QStringList installedJapanese = QFontDatabase::families(QFontDatabase::Japanese);
    installedJapanese.removeAll(kCarriedFamily);
    const QString uiFamily = QFontInfo(QApplication::font()).family();
    for (const auto& [text, font] : everyShownText(window)) {
        qsizetype glyphs = 0;
        for (const QGlyphRun& run : glyphRunsOf(text, font)) {
            const QString family = run.rawFont().familyName();
            const QString where = text + QStringLiteral(" in ") + family;
            for (const quint32 glyph : run.glyphIndexes()) {
                if (glyph == 0) return QStringLiteral("a missing glyph: ") + where;
            }
            if (!installedJapanese.isEmpty() && family == kCarriedFamily)
                return QStringLiteral("the carried face, though a Japanese one is installed: ") + where;
            if (font == window.font() && text.startsWith(QStringLiteral("Numbers")) && family != uiFamily)
                return QStringLiteral("a Latin caption outside the desktop's face (%1): ").arg(uiFamily) + where;
            glyphs += run.glyphIndexes().size();
        }
        if (glyphs != text.size()) return QStringLiteral("%1 glyphs for: ").arg(glyphs) + text;
    }
    return {};
}

}  // namespace tamapick::testing
