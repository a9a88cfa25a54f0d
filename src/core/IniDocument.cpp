#include "core/IniDocument.h"

#include <SimpleIni.h>

#include <algorithm>
#include <string_view>
#include <system_error>

#include "core/DecimalText.h"
#include "core/RegularFile.h"

namespace quenderlink {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The file as the parser should see it. Blanks and byte-order marks are dropped
// from the start of every line: the parser skips the blanks itself and a mark
// at the start of the file, but reads one anywhere else into a key's name,
// which it no longer reads back once a rewrite puts that key first. A section
// line that lost its closing bracket becomes a comment: the parser would skip
// it but take the lines after it into the section's name, and that name
// changes with every rewrite.
std::string Tidied(std::string_view text) {
  std::string tidied;
  tidied.reserve(text.size());
  while (!text.empty()) {
    const std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
    std::string_view line = text.substr(0, end);
    for (bool dropped = true; dropped;) {
      dropped = line.starts_with(' ') || line.starts_with('\t') || line.starts_with(kByteOrderMark);
      if (dropped) line.remove_prefix(line.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 1);
    }
    const bool unclosedSection = line.starts_with('[') && line.find(']') == std::string_view::npos;
    if (unclosedSection) tidied += ';';
    tidied.append(unclosedSection ? line.substr(1) : line);
    const std::size_t next = std::min(end + 1, text.size());
    tidied.append(text.substr(end, next - end));
    text.remove_prefix(next);
  }
  return tidied;
}

}  // namespace

struct IniDocument::Impl {
  CSimpleIniA ini;
};

IniDocument::IniDocument() : impl_(std::make_unique<Impl>()) { impl_->ini.SetSpaces(false); }

IniDocument::~IniDocument() = default;
IniDocument::IniDocument(IniDocument&&) noexcept = default;
IniDocument& IniDocument::operator=(IniDocument&&) noexcept = default;

IniDocument::LoadResult IniDocument::Load(const std::filesystem::path& file) {
  impl_->ini.Reset();
  std::error_code error;
  if (!std::filesystem::exists(file, error)) return error ? LoadResult::Unreadable : LoadResult::Missing;
  const RegularFileBytes contents = ReadRegularFile(file, kLargestIniFile);
  if (!contents.ok() || impl_->ini.LoadData(Tidied(contents.bytes)) < 0) {
    impl_->ini.Reset();
    return LoadResult::Unreadable;
  }
  return LoadResult::Loaded;
}

std::optional<std::string> IniDocument::Value(std::string_view section, std::string_view key) const {
  const char* value = impl_->ini.GetValue(std::string(section).c_str(), std::string(key).c_str());
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

std::string IniDocument::ReadString(std::string_view section, std::string_view key,
                                    std::string_view fallback) const {
  return Value(section, key).value_or(std::string(fallback));
}

std::uint32_t IniDocument::ReadInt(std::string_view section, std::string_view key,
                                   std::uint32_t fallback) const {
  const std::optional<std::string> value = Value(section, key);
  if (!value || value->empty()) return fallback;
  return LeadingDecimal(*value);
}

void IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
  impl_->ini.SetValue(std::string(section).c_str(), std::string(key).c_str(), std::string(value).c_str());
}

std::vector<IniEntry> IniDocument::Entries() const {
  CSimpleIniA::TNamesDepend sections;
  impl_->ini.GetAllSections(sections);
  sections.sort(CSimpleIniA::Entry::LoadOrder());
  std::vector<IniEntry> entries;
  for (const CSimpleIniA::Entry& section : sections) {
    CSimpleIniA::TNamesDepend keys;
    impl_->ini.GetAllKeys(section.pItem, keys);
    keys.sort(CSimpleIniA::Entry::LoadOrder());
    for (const CSimpleIniA::Entry& key : keys) {
      entries.push_back({section.pItem, key.pItem, impl_->ini.GetValue(section.pItem, key.pItem, "")});
    }
  }
  return entries;
}

std::string IniDocument::Text() const {
  std::string text;
  impl_->ini.Save(text, false);
  return text;
}

}  // namespace quenderlink
