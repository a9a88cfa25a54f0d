#include "core/BusyCheck.h"

#include "core/ErrorMessages.h"

namespace quenderlink {

bool RefuseWhenBusy(const OperationState& operations, UserPrompts& prompts) {
  if (!operations.Busy()) return false;
  prompts.ShowError(ErrorId::kOperationInProgress, kOperationInProgressText, false);
  return true;
}

}  // namespace quenderlink
