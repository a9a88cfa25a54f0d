#include "exchange/ImportLog.h"

namespace quenderlink {

void AppendToImportLog(std::string& log, std::string_view text) {
  if (log.size() > kImportLogLimit) log.erase(0, kImportLogDrop);
  log += text;
}

}  // namespace quenderlink
