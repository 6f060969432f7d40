#include "draws/draws.h"
#include "draws/number_sets.h"
#include "effects/reels.h"
#include "effects/remarks.h"

namespace tamapick::draws {

void Numbers4_Click(Runtime& runtime) {
    runtime.setCaption(Label::Label8, "Numbers4の予想です");
    runtime.setCaption(Label::Label7, "抽選は毎週月・水・金");
    // Label4 is not emptied here: the first reel writes it.
    runtime.setCaption(Label::Label5, "");
    runtime.setCaption(Label::Label6, "");
    const std::int16_t upperbound = 9;
    const std::int16_t lowerbound = 0;
    const std::int16_t max = 4;

    kurukuru(runtime, upperbound, lowerbound, max);
    const auto digits = drawDigitsNotAllEqual<4>(runtime, lowerbound, upperbound);
    ShowNumber(runtime, Label::Label1, digits[0]);

    kurukuru2(runtime, upperbound, lowerbound, max);
    ShowNumber(runtime, Label::Label2, digits[1]);

    kurukuru3(runtime, upperbound, lowerbound, max);
    capcap2(runtime);
    ShowNumber(runtime, Label::Label3, digits[2]);

    kurukuru4(runtime, upperbound, lowerbound, max);  // the interim remark stays up meanwhile
    ShowNumber(runtime, Label::Label4, digits[3]);
    capcap(runtime);
}

}  // namespace tamapick::draws
