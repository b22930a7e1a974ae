#pragma once
// The brush sizes the eraser-size and pen-size menus offer, in their menu order. The
// largest eraser entry reads "50×" but has always stamped 32 pixels.

#include <array>

namespace vestrel::tools {

inline constexpr std::array<int, 4> kEraserSizes{1, 5, 10, 32};
inline constexpr std::array<int, 4> kPenSizes{2, 4, 6, 8};

}  // namespace vestrel::tools
