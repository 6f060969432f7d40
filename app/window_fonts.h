#pragma once

#include <QFont>
#include <QString>

namespace tamapick {

// Which installed faces the window's texts are drawn in. Each face is looked up once and kept.

// The designed Japanese proportional face (headline, remark line), else the closest installed
// one; at worst the face the program carries (fallback_face.h).
QString japaneseProportionalFace();

// The designed bitmap face of the numbers, else a bold-capable fixed-pitch face.
QString boldFixedPitchFace();

// `face` at a size in pixels, drawn with the face's own hinting.
QFont fontOf(const QString& face, int pixelSize, bool bold);

// The window's default font (buttons, credit line): the toolkit's user-interface font, with the
// labels' Japanese face for the kana and kanji it lacks.
QFont windowDefaultFont();

}  // namespace tamapick
