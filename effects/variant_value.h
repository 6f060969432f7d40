#pragma once

#include <cstdint>
#include <optional>

namespace tamapick {

// The window routines' result type: empty, or holding a 16-bit integer. The reels always
// return it empty; the remarks return the value they drew. Every caller ignores it.
using VariantValue = std::optional<std::int16_t>;

}  // namespace tamapick
