#include "app/window_design.h"

#include <QString>
#include <array>

#include "draws/draws.h"

namespace tamapick {

namespace {

using enum tamapick::Label;
using enum ControlKind;
using enum LabelStyle;

using namespace tamapick::draws;

constexpr ControlWiring shows(tamapick::Label label) { return {label, std::nullopt}; }
constexpr ControlWiring clicks(ClickHandler handler) { return {std::nullopt, handler}; }

constexpr const char* kBalloon = ":/pictures/balloon.svg";
// The credit line: one line, never read or changed by the program.
constexpr const char* kCredit = "2003 ほしだま by くま組 kuma@example.org";

// clang-format off
constexpr std::array kControls = std::to_array<ControlDesign>({
//   name        index        kind        left  top   width height tab          style       content                         wiring
    {"Numbers4", kNotInArray, PushButton, 4440, 3120, 1095,  375, 8,           None,       "Numbers4",                     clicks(Numbers4_Click)},
    {"Numbers3", kNotInArray, PushButton, 3120, 3120, 1095,  375, 7,           None,       "Numbers3",                     clicks(Numbers3_Click)},
    {"roto6",    kNotInArray, PushButton, 1920, 3120, 1095,  375, 6,           None,       "ロト6",                        clicks(roto6_Click)},
    {"miniroto", 0,           PushButton,  720, 3120, 1095,  375, 0,           None,       "ミニロト",                     clicks(miniroto_Click)},
    {"Label9",   kNotInArray, Label,       960, 3840, 4335,  255, 12,          Credit,     kCredit,                        {}},
    {"Image7",   kNotInArray, Picture,    5280, 1560,  570,  690, kNoTabIndex, None,       ":/pictures/bear_red.svg",      {}},
    {"Image6",   kNotInArray, Picture,    4320, 1560,  585,  675, kNoTabIndex, None,       ":/pictures/bear_white.svg",    {}},
    {"Image5",   kNotInArray, Picture,    3360, 1560,  570,  705, kNoTabIndex, None,       ":/pictures/bear_green.svg",    {}},
    {"Image4",   kNotInArray, Picture,    2400, 1560,  570,  690, kNoTabIndex, None,       ":/pictures/bear_blue.svg",     {}},
    {"Image3",   kNotInArray, Picture,    1440, 1560,  585,  675, kNoTabIndex, None,       ":/pictures/bear_yellow.svg",   {}},
    {"Image2",   kNotInArray, Picture,     480, 1560,  570,  675, kNoTabIndex, None,       ":/pictures/bear_magenta.svg",  {}},
    {"Label8",   kNotInArray, Label,      1200,  120, 3855,  495, 11,          Headline,   "",                             shows(Label8)},
    {"Label7",   kNotInArray, Label,      1920, 2520, 2535,  495, 10,          RemarkLine, "",                             shows(Label7)},
    {"Label6",   kNotInArray, Label,      5280,  960,  540,  420, 9,           Number,     "",                             shows(Label6)},
    {"Label5",   kNotInArray, Label,      4320,  960,  540,  420, 5,           Number,     "",                             shows(Label5)},
    {"Label4",   kNotInArray, Label,      3360,  960,  540,  420, 4,           Number,     "",                             shows(Label4)},
    {"Label3",   kNotInArray, Label,      2400,  960,  540,  420, 3,           Number,     "",                             shows(Label3)},
    {"Label2",   kNotInArray, Label,      1440,  960,  540,  420, 2,           Number,     "",                             shows(Label2)},
    {"Label1",   kNotInArray, Label,       480,  960,  540,  420, 1,           Number,     "",                             shows(Label1)},
    {"Image1",   0,           Picture,     240,  720, 1005,  855, kNoTabIndex, None,       kBalloon,                       {}},
    {"Image1",   5,           Picture,    5040,  720, 1005,  855, kNoTabIndex, None,       kBalloon,                       {}},
    {"Image1",   4,           Picture,    4080,  720, 1005,  855, kNoTabIndex, None,       kBalloon,                       {}},
    {"Image1",   3,           Picture,    3120,  720, 1005,  855, kNoTabIndex, None,       kBalloon,                       {}},
    {"Image1",   2,           Picture,    2160,  720, 1005,  855, kNoTabIndex, None,       kBalloon,                       {}},
    {"Image1",   1,           Picture,    1200,  720, 1005,  855, kNoTabIndex, None,       kBalloon,                       {}},
});
// clang-format on

}  // namespace

QString ControlDesign::objectName() const {
    const QString base = QString::fromLatin1(name);
    return index == kNotInArray ? base : QStringLiteral("%1_%2").arg(base).arg(index);
}

std::span<const ControlDesign> windowControls() { return kControls; }

}  // namespace tamapick
