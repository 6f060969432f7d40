// Every text the window can show, gathered as the program writes it, for the font tests.
#pragma once

#include <QFont>
#include <QGlyphRun>
#include <QList>
#include <QString>
#include <QTextLayout>
#include <utility>
#include <vector>

#include "draws/tamapick_form.h"
#include "effects/remarks.h"
#include "fake_runtime.h"

namespace tamapick::testing {

// Every headline, hint line and remark the program writes, with the label it goes to: the four
// draws run on the simulated runtime (a few milliseconds), plus every row of both remark tables.
inline std::vector<std::pair<const char*, QString>> everyWrittenHeadlineAndRemark() {
    FakeRuntime fake;
    TamapickForm form(fake);
    form.Form_Load();
    form.miniroto_Click(0);
    form.roto6_Click();
    form.Numbers3_Click();
    form.Numbers4_Click();
    std::vector<std::pair<const char*, QString>> texts;
    for (const auto& write : fake.writes()) {
        if (write.label == Label::Label7 || write.label == Label::Label8) {
            texts.emplace_back(write.label == Label::Label7 ? "Label7" : "Label8", QString::fromStdString(write.text));
        }
    }
    for (const RemarkTable& table : {kClosingRemarks, kInterimRemarks}) {
        for (const char* remark : {table.forZero, table.forOne, table.forTwo, table.otherwise}) {
            texts.emplace_back("Label7", QString::fromUtf8(remark));
        }
    }
    return texts;
}

// The glyph runs Qt lays out for `text` in `font`, as a label draws it: what the screen shows,
// whatever family the font names.
inline QList<QGlyphRun> glyphRunsOf(const QString& text, const QFont& font) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    return layout.glyphRuns();
}

}  // namespace tamapick::testing
