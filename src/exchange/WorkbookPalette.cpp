#include "exchange/WorkbookPalette.h"

namespace quenderlink {

std::uint32_t PaletteRgb(PaletteIndex index) {
  switch (index) {
    case PaletteIndex::Black: return 0x000000;
    case PaletteIndex::White: return 0xFFFFFF;
    case PaletteIndex::Red: return 0xFF0000;
    case PaletteIndex::Navy: return 0x000080;
    case PaletteIndex::Plum: return 0x660066;
  }
  return 0x000000;
}

}  // namespace quenderlink
