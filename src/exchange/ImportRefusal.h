#pragma once

#include <optional>
#include <string>

#include "core/ErrorMessages.h"
#include "exchange/ImportFile.h"
#include "exchange/ImportLine.h"

namespace quenderlink {

struct ImportRefusal {
  ErrorId id;
  std::string text;
};

// Why an import of the file read from `path` cannot start, the first reason in
// the order the user is told them; none when it can.
std::optional<ImportRefusal> RefusalOfImport(const std::string& path, const ImportFileText& file,
                                             const ImportColumns& columns);

}  // namespace quenderlink
