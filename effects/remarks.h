#pragma once

#include "effects/variant_value.h"
#include "runtime/runtime.h"

namespace tamapick {

// A remark table: drawn values 0, 1 and 2 have a text each; 3, 4 and 5 share the last one.
struct RemarkTable {
    const char* forZero;
    const char* forOne;
    const char* forTwo;
    const char* otherwise;
};

// The closing remark; "こんなん出ました!" comes up four times in six.
inline constexpr RemarkTable kClosingRemarks{"こんなん出ました!", "当たりますように!", "こんなのでました",
                                             "こんなん出ました!"};
// The interim remark; "なにがでるかな???" comes up three times in six. Its two wishes differ from
// the closing one: kana with one mark, and kanji with three.
inline constexpr RemarkTable kInterimRemarks{"あたりますように!", "もうしばらくお待ちください", "当たりますように!!!",
                                             "なにがでるかな???"};

const char* remarkFor(const RemarkTable& table, std::int16_t drawn);

// The closing remark into Label7, then one beep. Returns the drawn value, 0 to 5.
VariantValue capcap(Runtime& runtime);
// An interim remark into Label7, without a sound. Returns the drawn value, 0 to 5.
VariantValue capcap2(Runtime& runtime);

}  // namespace tamapick
