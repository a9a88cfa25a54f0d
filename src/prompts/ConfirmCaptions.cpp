#include "prompts/ConfirmCaptions.h"

namespace quenderlink {

ConfirmCaptions CaptionsFor(ConfirmMode mode) {
  switch (mode) {
    case ConfirmMode::AbortUpload: return {"Confirm!  Abort Upload", "No!  Continue Upload"};
    case ConfirmMode::Delete: return {"Confirm! Delete It!", "DO NOT Delete!"};
    case ConfirmMode::Terminate: return {"Confirm! Terminate!", "No! Stay Connected."};
    case ConfirmMode::Upload: return {"Confirm! Upload Pgm!", "No! Cancel"};
  }
  return {};
}

}  // namespace quenderlink
