#include "core/OpenViews.h"

#include <algorithm>

namespace quenderlink {

bool OpenViews::Register(ViewWindow* view) {
  const auto free = std::find(slots_.begin(), slots_.end(), nullptr);
  if (free == slots_.end()) return false;
  *free = view;
  return true;
}

void OpenViews::Deregister(const ViewWindow* view) {
  for (ViewWindow*& slot : slots_) {
    if (slot == view) slot = nullptr;
  }
}

std::size_t OpenViews::Count() const {
  return static_cast<std::size_t>(std::count_if(slots_.begin(), slots_.end(), [](ViewWindow* v) { return v; }));
}

void OpenViews::NotifyMainWindowClosing() {
  for (ViewWindow*& slot : slots_) {
    // Freed first: a view that deregisters itself while it is told finds nothing to free.
    ViewWindow* const view = slot;
    slot = nullptr;
    if (view) view->OnMainWindowClosing();
  }
}

}  // namespace quenderlink
