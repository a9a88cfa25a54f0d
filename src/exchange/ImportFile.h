#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quenderlink {

// The longest line taken from an import file, in characters; the rest of a longer line is dropped.
inline constexpr std::size_t kImportLineLimit = 1022;
// Larger files are refused: 65,000 sites of the longest lines fit well below this.
inline constexpr std::uintmax_t kLargestImportFile = 64u << 20;

// How an import file's bytes were read.
enum class ImportEncoding { Utf8, Windows1252 };

// "UTF-8" or "Windows-1252".
std::string_view ImportEncodingName(ImportEncoding encoding);

struct ImportFileLine {
  int number = 0;  // counted from 1
  std::string text;  // UTF-8
  bool cut = false;  // the line was longer than kImportLineLimit
};

// An import file's lines, or why it was refused.
struct ImportFileText {
  std::vector<ImportFileLine> lines;
  std::string error;
  bool opened = false;  // it could be opened: a refusal is about what it holds
  ImportEncoding encoding = ImportEncoding::Utf8;

  bool ok() const { return error.empty(); }
};

// Reads a comma-separated text file as spreadsheet programs write it: LF, CR LF
// or CR line ends, an optional UTF-8 byte-order mark; UTF-8 when all of it is,
// else Windows-1252 (what they save as "CSV" on Windows), its lines converted
// to UTF-8. What is not a regular file, is too large or holds NUL bytes is
// refused with the reason, so that no row is made from a binary file.
ImportFileText ReadImportFile(const std::filesystem::path& path);

// The first three lines as the sample box shows them: "%s\r\n%s\r\n%s".
std::string ImportSampleText(const ImportFileText& file);

}  // namespace quenderlink
