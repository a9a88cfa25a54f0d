#pragma once

#include <QColor>

#include "core/RuntimeParams.h"

namespace quenderlink {

// Settings keep colours as 0x00BBGGRR: red in the lowest byte.
inline QColor ColorFromRef(ColorRef color) {
  return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                static_cast<int>((color >> 16) & 0xFF));
}

}  // namespace quenderlink
