#include "effects/remarks.h"

#include "primitives/primitives.h"

namespace tamapick {

const char* remarkFor(const RemarkTable& table, std::int16_t drawn) {
    if (drawn == 0) return table.forZero;
    if (drawn == 1) return table.forOne;
    if (drawn == 2) return table.forTwo;
    return table.otherwise;
}

VariantValue capcap(Runtime& runtime) {
    const std::int16_t drawn = RandomBetween(runtime, 0, 5);
    runtime.setCaption(Label::Label7, remarkFor(kClosingRemarks, drawn));
    runtime.soundBeep();  // only once the remark is up
    return drawn;
}

VariantValue capcap2(Runtime& runtime) {
    const std::int16_t drawn = RandomBetween(runtime, 0, 5);
    runtime.setCaption(Label::Label7, remarkFor(kInterimRemarks, drawn));
    return drawn;
}

}  // namespace tamapick
