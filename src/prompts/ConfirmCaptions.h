#pragma once

#include <string>

#include "core/UserPrompts.h"

namespace quenderlink {

// Drawn above every confirmation's message.
inline constexpr char kConfirmHeading[] = "Please Confirm";

// The two button captions say exactly what each choice will do.
struct ConfirmCaptions {
  std::string confirm, cancel;
};

// With no flag set the question is whether to abort an upload; when several
// flags are set, upload wins over terminate, and terminate over delete.
ConfirmCaptions CaptionsFor(bool upload, bool deleting, bool terminate);
ConfirmCaptions CaptionsFor(ConfirmMode mode);

}  // namespace quenderlink
