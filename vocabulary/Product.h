#pragma once
// The projector's maker and model, as the window's title shows them.

#include <string_view>

namespace projector {

inline constexpr std::string_view kMaker = "ORVA";
inline constexpr std::string_view kModel = "KR60P";

}  // namespace projector
