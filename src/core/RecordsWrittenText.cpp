#include "core/RecordsWrittenText.h"

#include "core/Printf.h"

namespace quenderlink {

std::string RecordsAppendedText(int count, const std::string& path) {
  return Printf("\r\nTotal of %d records were appended to\r\n%s", count, path.c_str());
}

std::string RecordsSavedText(int count, const std::string& path) {
  return Printf("\r\nTotal of %d records were saved to\r\n%s", count, path.c_str());
}

}  // namespace quenderlink
