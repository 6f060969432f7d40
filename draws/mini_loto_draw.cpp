#include "draws/draws.h"
#include "draws/number_sets.h"
#include "effects/reels.h"
#include "effects/remarks.h"

namespace tamapick::draws {

void miniroto_Click(Runtime& runtime, std::int16_t /*index: the only member is 0*/) {
    runtime.setCaption(Label::Label8, "ミニロトの予想です!");
    runtime.setCaption(Label::Label6, "");
    runtime.setCaption(Label::Label7, "チャンスは毎週チューズディ!");
    const std::int16_t upperbound = 31;
    const std::int16_t lowerbound = 1;
    const std::int16_t max = 5;

    kurukuru(runtime, upperbound, lowerbound, max);
    const auto numbers = drawDifferentNumbers<5>(runtime, lowerbound, upperbound);
    PauseSeconds(runtime, 0.1);
    ShowNumber(runtime, Label::Label1, numbers[0]);

    kurukuru2(runtime, upperbound, lowerbound, max);
    PauseSeconds(runtime, 0.1);
    ShowNumber(runtime, Label::Label2, numbers[1]);

    kurukuru3(runtime, upperbound, lowerbound, max);
    PauseSeconds(runtime, 0.5);
    capcap2(runtime);
    ShowNumber(runtime, Label::Label3, numbers[2]);

    kurukuru4(runtime, upperbound, lowerbound, max);
    PauseSeconds(runtime, 0.8);
    capcap2(runtime);
    ShowNumber(runtime, Label::Label4, numbers[3]);

    kurukuru5(runtime, upperbound, lowerbound, max);
    PauseSeconds(runtime, 1);
    ShowNumber(runtime, Label::Label5, numbers[4]);
    capcap(runtime);
}

}  // namespace tamapick::draws
