// Small helpers the draw tests share for reading captions.
#pragma once

#include <charconv>
#include <set>
#include <string>

#include "effects/remarks.h"

namespace tamapick::testing {

// True when `text` is the plain decimal text of a number from lo to hi ("7", never "07").
inline bool isNumberIn(const std::string& text, int lo, int hi) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && value >= lo && value <= hi &&
           std::to_string(value) == text;
}

inline int numberOf(const std::string& text) { return std::stoi(text); }

inline std::set<std::string> textsOf(const RemarkTable& table) {
    return {table.forZero, table.forOne, table.forTwo, table.otherwise};
}

inline bool isClosingRemark(const std::string& text) { return textsOf(kClosingRemarks).count(text) == 1; }
inline bool isInterimRemark(const std::string& text) { return textsOf(kInterimRemarks).count(text) == 1; }

}  // namespace tamapick::testing
