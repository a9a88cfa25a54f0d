#pragma once

#include <string>

namespace quenderlink {

// What the user is told after records went into a site list file: appended to
// it, or saved as a new one.
std::string RecordsAppendedText(int count, const std::string& path);
std::string RecordsSavedText(int count, const std::string& path);

}  // namespace quenderlink
