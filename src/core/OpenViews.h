#pragma once

#include <array>
#include <cstddef>

#include "core/ViewWindow.h"

namespace quenderlink {

// The windows of the open views, told when the main window closes. A view that
// finds every slot taken still opens, but is not told.
class OpenViews {
 public:
  static constexpr std::size_t kSlots = 30;

  // Puts the view in the first free slot; false when all are taken.
  [[nodiscard]] bool Register(ViewWindow* view);
  void Deregister(const ViewWindow* view);
  std::size_t Count() const;
  // Tells every registered view that the main window closes and frees its slot.
  void NotifyMainWindowClosing();

 private:
  std::array<ViewWindow*, kSlots> slots_{};
};

}  // namespace quenderlink
