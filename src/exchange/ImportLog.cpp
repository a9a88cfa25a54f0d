#include "exchange/ImportLog.h"

#include "core/Utf8Text.h"

namespace quenderlink {

void AppendToImportLog(std::string& log, std::string_view text) {
  if (log.size() > kImportLogLimit) {
    // The log is UTF-8: the drop ends where a character starts.
    std::size_t drop = kImportLogDrop;
    while (drop < log.size() && IsUtf8Continuation(log[drop])) ++drop;
    log.erase(0, drop);
  }
  log += text;
}

}  // namespace quenderlink
