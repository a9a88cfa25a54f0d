#include "exchange/ImportFile.h"

#include <algorithm>

#include "core/Printf.h"
#include "core/RecordText.h"
#include "core/RegularFile.h"
#include "core/Utf8Text.h"

namespace quenderlink {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The line of the first NUL byte, which no text file holds; 0 when there is none.
int LineOfNul(std::string_view text) {
  const std::size_t nul = text.find('\0');
  if (nul == std::string_view::npos) return 0;
  return 1 + static_cast<int>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(nul), '\n'));
}

// Cut to the limit without splitting a character (a Windows-1252 character is one byte).
std::string_view CutLine(std::string_view line, ImportEncoding encoding) {
  std::size_t end = kImportLineLimit;
  if (encoding == ImportEncoding::Utf8)
    while (end > 0 && IsUtf8Continuation(line[end])) --end;
  return line.substr(0, end);
}

std::string LineText(std::string_view line, ImportEncoding encoding) {
  return encoding == ImportEncoding::Utf8 ? std::string(line) : Utf8FromWindows1252(line);
}

std::vector<ImportFileLine> SplitLines(std::string_view text, ImportEncoding encoding) {
  std::vector<ImportFileLine> lines;
  int number = 0;
  while (!text.empty()) {
    const std::size_t end = text.find_first_of("\r\n");
    const std::string_view line = text.substr(0, end);
    ImportFileLine& taken = lines.emplace_back();
    taken.number = ++number;
    taken.cut = line.size() > kImportLineLimit;
    taken.text = LineText(taken.cut ? CutLine(line, encoding) : line, encoding);
    if (end == std::string_view::npos) break;
    // CR LF is one line end.
    const std::size_t next = text.compare(end, 2, "\r\n") == 0 ? end + 2 : end + 1;
    text.remove_prefix(next);
  }
  return lines;
}

}  // namespace

std::string_view ImportEncodingName(ImportEncoding encoding) {
  switch (encoding) {
    case ImportEncoding::Utf8: return "UTF-8";
    case ImportEncoding::Windows1252: return "Windows-1252";
  }
  return {};
}

ImportFileText ReadImportFile(const std::filesystem::path& path) {
  ImportFileText file;
  const RegularFileBytes read = ReadRegularFile(path, kLargestImportFile);
  switch (read.failure) {
    case RegularFileBytes::Failure::None: break;
    case RegularFileBytes::Failure::CannotOpen:
    case RegularFileBytes::Failure::NotRegular: file.error = "It is not a file that can be read."; return file;
    case RegularFileBytes::Failure::TooLarge:
      file.opened = true;
      file.error = Printf("It is larger than %ju MB.", kLargestImportFile >> 20);
      return file;
    case RegularFileBytes::Failure::CannotRead:
      file.opened = true;
      file.error = "It could not be read.";
      return file;
  }
  file.opened = true;
  if (const int line = LineOfNul(read.bytes); line != 0) {
    file.error = Printf("It is not a text file: line %d holds a NUL byte.", line);
    return file;
  }
  std::string_view body = read.bytes;
  if (body.starts_with(kByteOrderMark)) body.remove_prefix(kByteOrderMark.size());
  file.encoding = IsValidUtf8(body) ? ImportEncoding::Utf8 : ImportEncoding::Windows1252;
  file.lines = SplitLines(body, file.encoding);
  return file;
}

std::string ImportSampleText(const ImportFileText& file) {
  std::string sample;
  for (std::size_t i = 0; i < file.lines.size() && i < 3; ++i) {
    if (i != 0) sample += "\r\n";
    sample += file.lines[i].text;
  }
  return sample;
}

}  // namespace quenderlink
