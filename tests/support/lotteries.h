// The four lotteries as a user meets them, written out once for every test and benchmark: which
// button starts each draw, the headline it shows, how long it runs, what it proposes; and the six
// reels' steps. These are the design's numbers typed in by hand, not read from the program's own
// tables, so a slip in those tables shows up as a difference. The screen-reader test
// (test_accessibility_atspi.py) and the scripts that watch a real draw (scripts/lottery-facts.sh)
// read the table below too: keep each row on one line.
#pragma once

#include <QMetaType>
#include <string>

#include "draws/draws.h"
#include "draws/tamapick_form.h"

namespace tamapick::testing {

// In the order of the buttons along the window, left to right.
enum class Lottery { MiniLoto, Loto6, Numbers3, Numbers4 };
inline constexpr Lottery kLotteries[] = {Lottery::MiniLoto, Lottery::Loto6, Lottery::Numbers3, Lottery::Numbers4};

struct LotteryFacts {
    const char* name;      // for test rows
    const char* button;    // the button's object name
    const char* caption;   // the button's caption, which is also its accessible name
    const char* headline;  // what the draw puts into Label8
    double nominalSeconds;
    int numbers;  // labels holding the result, from Label1
    int lowest;
    int highest;
    bool distinct;  // else digits, not all equal
};

inline const LotteryFacts& factsOf(Lottery lottery) {
    // clang-format off
    static constexpr LotteryFacts kFacts[] = {
        {"Mini Loto", "miniroto_0", "ミニロト", "ミニロトの予想です!", 9.06, 5, 1, 31, true},
        {"Loto 6", "roto6", "ロト6", "ロト6の予想です", 10.76, 6, 1, 43, true},
        {"Numbers 3", "Numbers3", "Numbers3", "Numbers3の予想だよ", 2.46, 3, 0, 9, false},
        {"Numbers 4", "Numbers4", "Numbers4", "Numbers4の予想です", 4.56, 4, 0, 9, false},
    };
    // clang-format on
    return kFacts[static_cast<int>(lottery)];
}

inline bool isHeadline(const std::string& text) {
    for (Lottery lottery : kLotteries) {
        if (text == factsOf(lottery).headline) return true;
    }
    return false;
}

// The click on the lottery's button, as the window delivers it (miniroto as array member 0).
inline void click(TamapickForm& form, Lottery lottery) {
    static constexpr ClickHandler kHandlers[] = {draws::miniroto_Click, draws::roto6_Click, draws::Numbers3_Click,
                                                 draws::Numbers4_Click};
    form.click(kHandlers[static_cast<int>(lottery)]);
}

// Steps and pause per reel, kurukuru to kurukuru6.
inline constexpr int kReelSteps[] = {31, 21, 11, 7, 4, 6};
inline constexpr double kReelPause[] = {0.01, 0.05, 0.1, 0.3, 0.5, 0.7};

}  // namespace tamapick::testing

Q_DECLARE_METATYPE(tamapick::testing::Lottery)
