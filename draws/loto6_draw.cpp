#include "draws/draws.h"
#include "draws/number_sets.h"
#include "effects/reels.h"
#include "effects/remarks.h"

namespace tamapick::draws {

void roto6_Click(Runtime& runtime) {
    runtime.setCaption(Label::Label8, "ロト6の予想です");
    runtime.setCaption(Label::Label7, "抽選は毎週木曜日");
    const std::int16_t upperbound = 43;
    const std::int16_t lowerbound = 1;
    const std::int16_t max = 6;

    kurukuru(runtime, upperbound, lowerbound, max);
    const auto numbers = drawDifferentNumbers<6>(runtime, lowerbound, upperbound);
    ShowNumber(runtime, Label::Label1, numbers[0]);

    kurukuru2(runtime, upperbound, lowerbound, max);
    capcap2(runtime);
    ShowNumber(runtime, Label::Label2, numbers[1]);

    kurukuru3(runtime, upperbound, lowerbound, max);
    ShowNumber(runtime, Label::Label3, numbers[2]);

    kurukuru4(runtime, upperbound, lowerbound, max);
    ShowNumber(runtime, Label::Label4, numbers[3]);
    capcap2(runtime);

    kurukuru5(runtime, upperbound, lowerbound, max);
    ShowNumber(runtime, Label::Label5, numbers[4]);

    kurukuru6(runtime, upperbound, lowerbound, max);
    ShowNumber(runtime, Label::Label6, numbers[5]);
    capcap(runtime);
}

}  // namespace tamapick::draws
