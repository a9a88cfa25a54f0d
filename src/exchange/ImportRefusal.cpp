#include "exchange/ImportRefusal.h"

#include "core/Printf.h"

namespace quenderlink {

std::optional<ImportRefusal> RefusalOfImport(const std::string& path, const ImportFileText& file,
                                             const ImportColumns& columns) {
  if (path.size() < 2) return ImportRefusal{ErrorId::kNoImportFile, "You forgot to select a file to import from!"};
  if (!file.opened)
    return ImportRefusal{ErrorId::kImportFileUnreadable,
                         Printf("Failed to locate the import file!\r\n\r\n%s", path.c_str())};
  if (columns.ip == 0)
    return ImportRefusal{ErrorId::kNoAddressColumn, "You must select a data-column for IP address!"};
  if (!file.ok())
    return ImportRefusal{ErrorId::kImportFileUnreadable,
                         Printf("Failed to read the import file!\r\n\r\n%s\r\n\r\n%s", path.c_str(), file.error.c_str())};
  return std::nullopt;
}

}  // namespace quenderlink
