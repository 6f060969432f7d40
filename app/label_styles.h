#pragma once

class QLabel;
class QFont;

namespace tamapick {

// How a label looks: each style has a row of the style table (label_styles.cpp) with its font,
// colours, background and alignment. The design table gives every label its style.
enum class LabelStyle { None, Headline, RemarkLine, Number, Credit };

// Gives a label the font, colours, alignment and background of its style.
void applyLabelStyle(QLabel& label, LabelStyle style);

// Gives a label the colours of its style again, after the desktop's palette or scheme changed.
void applyLabelColours(QLabel& label, LabelStyle style);

// The font of a style: the designed face where installed, else the closest installed one.
QFont labelFont(LabelStyle style);

}  // namespace tamapick
