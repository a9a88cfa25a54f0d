#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace quenderlink {

// The longest line taken from an import file; the rest of a longer line is dropped.
inline constexpr std::size_t kImportLineLimit = 1022;
// Larger files are refused: 65,000 sites of the longest lines fit well below this.
inline constexpr std::uintmax_t kLargestImportFile = 64u << 20;

struct ImportFileLine {
  int number = 0;  // counted from 1
  std::string text;
  bool cut = false;  // the line was longer than kImportLineLimit
};

// An import file's lines, or why it was refused.
struct ImportFileText {
  std::vector<ImportFileLine> lines;
  std::string error;
  bool opened = false;  // it could be opened: a refusal is about what it holds

  bool ok() const { return error.empty(); }
};

// Reads a comma-separated text file as spreadsheet programs write it: LF, CR LF
// or CR line ends, an optional UTF-8 byte-order mark. What is not a regular
// file, is too large, holds NUL bytes or is not UTF-8 text is refused with the
// reason, so that no row is made from a binary file.
ImportFileText ReadImportFile(const std::filesystem::path& path);

// The first three lines as the sample box shows them: "%s\r\n%s\r\n%s".
std::string ImportSampleText(const ImportFileText& file);

}  // namespace quenderlink
