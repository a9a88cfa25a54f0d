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

ConfirmCaptions CaptionsFor(ConfirmMode mode);

}  // namespace quenderlink
