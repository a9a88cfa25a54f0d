#pragma once

#include <string>

namespace quenderlink {

// An entry of a menu or pop-up menu; an entry without text is a separator.
struct PopupItem {
  int id = 0;
  std::string text;
  bool enabled = true;
};

}  // namespace quenderlink
