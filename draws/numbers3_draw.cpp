#include "draws/draws.h"
#include "draws/number_sets.h"
#include "effects/reels.h"
#include "effects/remarks.h"

namespace tamapick::draws {

void Numbers3_Click(Runtime& runtime) {
    runtime.setCaption(Label::Label8, "Numbers3の予想だよ");
    runtime.setCaption(Label::Label7, "抽選は毎週,月,水,金");
    runtime.setCaption(Label::Label4, "");
    runtime.setCaption(Label::Label5, "");
    runtime.setCaption(Label::Label6, "");
    const std::int16_t upperbound = 9;
    const std::int16_t lowerbound = 0;
    const std::int16_t max = 3;

    kurukuru(runtime, upperbound, lowerbound, max);
    const auto digits = drawDigitsNotAllEqual<3>(runtime, lowerbound, upperbound);
    ShowNumber(runtime, Label::Label1, digits[0]);

    kurukuru2(runtime, upperbound, lowerbound, max);
    ShowNumber(runtime, Label::Label2, digits[1]);

    kurukuru3(runtime, upperbound, lowerbound, max);
    capcap2(runtime);
    ShowNumber(runtime, Label::Label3, digits[2]);
    capcap(runtime);
}

}  // namespace tamapick::draws
