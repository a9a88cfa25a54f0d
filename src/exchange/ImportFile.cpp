#include "exchange/ImportFile.h"

#include <string_view>

#include "core/Printf.h"
#include "core/RegularFile.h"
#include "core/Utf8Text.h"

namespace quenderlink {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Where the first character that is not text sits: a NUL or a byte that is not UTF-8.
std::string NotTextReason(std::string_view text) {
  int line = 1;
  for (std::size_t at = 0; at < text.size();) {
    if (text[at] == '\0') return Printf("line %d holds a NUL byte", line);
    const std::size_t length = Utf8CharacterLength(text.substr(at));
    if (length == 0) return Printf("line %d is not UTF-8 text", line);
    if (text[at] == '\n') ++line;
    at += length;
  }
  return {};
}

// Cut to the limit without splitting a character.
std::string CutLine(std::string_view line) {
  std::size_t end = kImportLineLimit;
  while (end > 0 && IsUtf8Continuation(line[end])) --end;
  return std::string(line.substr(0, end));
}

std::vector<ImportFileLine> SplitLines(std::string_view text) {
  std::vector<ImportFileLine> lines;
  int number = 0;
  while (!text.empty()) {
    const std::size_t end = text.find_first_of("\r\n");
    const std::string_view line = text.substr(0, end);
    ImportFileLine& taken = lines.emplace_back();
    taken.number = ++number;
    taken.cut = line.size() > kImportLineLimit;
    taken.text = taken.cut ? CutLine(line) : std::string(line);
    if (end == std::string_view::npos) break;
    // CR LF is one line end.
    const std::size_t next = text.compare(end, 2, "\r\n") == 0 ? end + 2 : end + 1;
    text.remove_prefix(next);
  }
  return lines;
}

}  // namespace

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
  if (const std::string reason = NotTextReason(read.bytes); !reason.empty()) {
    file.error = "It is not a text file: " + reason + ".";
    return file;
  }
  std::string_view body = read.bytes;
  if (body.starts_with(kByteOrderMark)) body.remove_prefix(kByteOrderMark.size());
  file.lines = SplitLines(body);
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
