#pragma once

#include <cstdint>

namespace quenderlink {

// The spreadsheet palette indexes the site workbook's formats are given in.
enum class PaletteIndex : std::uint8_t { Black = 8, White = 9, Red = 10, Navy = 18, Plum = 28 };

// The colour an index means in a spreadsheet's default palette, as 0xRRGGBB.
std::uint32_t PaletteRgb(PaletteIndex index);

}  // namespace quenderlink
