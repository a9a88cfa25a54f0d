#include "cli/JsonText.h"

#include "core/RecordText.h"

namespace quenderlink::cli {

std::string JsonText(std::string_view text) { return Utf8FromRecordText(text); }

}  // namespace quenderlink::cli
