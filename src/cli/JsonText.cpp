#include "cli/JsonText.h"

#include "core/Utf8Text.h"

namespace quenderlink::cli {

std::string JsonText(std::string_view text) { return Utf8FromRecordText(text); }

}  // namespace quenderlink::cli
