#include "prompts/ConfirmCaptions.h"

namespace quenderlink {

ConfirmCaptions CaptionsFor(bool upload, bool deleting, bool terminate) {
  ConfirmCaptions captions{"Confirm!  Abort Upload", "No!  Continue Upload"};
  if (deleting) captions = {"Confirm! Delete It!", "DO NOT Delete!"};
  if (terminate) captions = {"Confirm! Terminate!", "No! Stay Connected."};
  if (upload) captions = {"Confirm! Upload Pgm!", "No! Cancel"};
  return captions;
}

ConfirmCaptions CaptionsFor(ConfirmMode mode) {
  return CaptionsFor(mode == ConfirmMode::Upload, mode == ConfirmMode::Delete, mode == ConfirmMode::Terminate);
}

}  // namespace quenderlink
