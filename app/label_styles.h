#pragma once

#include "app/window_design.h"

class QLabel;
class QFont;

namespace tamapick {

// Gives a label the font, colours, alignment and background of its style.
void applyLabelStyle(QLabel& label, LabelStyle style);

// Gives a label the colours of its style again, after the desktop's palette or scheme changed.
void applyLabelColours(QLabel& label, LabelStyle style);

// The font of a style: the designed face where installed, else the closest installed one.
QFont labelFont(LabelStyle style);

// The window's default font (buttons, credit line): the toolkit's user-interface font, with the
// labels' Japanese face for the kana and kanji it lacks.
QFont windowDefaultFont();

}  // namespace tamapick
