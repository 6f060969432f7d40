// Every text the window can show, as it lays it out, for the font tests.
#pragma once

#include <QFont>
#include <QString>
#include <vector>

namespace tamapick {
class MainWindow;
}

namespace tamapick::testing {

struct ShownText {
    QString text;
    QFont font;
};

// The credit line, the button captions, every headline, hint line and remark the program writes
// (the four draws run on the simulated runtime, plus every row of both remark tables) in the label
// it goes to, and the digits in the number labels' font.
std::vector<ShownText> everyShownText(MainWindow& window);

// The first of those texts that does not come out as real glyphs in the face Qt draws it with,
// described; empty when all do. A missing glyph is an empty box on screen. Latin button captions
// must stay in the desktop's own face, and where a Japanese face is installed the few glyphs the
// program carries (for systems without one) must not be used.
QString firstTextWithoutRealGlyphs(MainWindow& window);

}  // namespace tamapick::testing
