#include "core/IniDocument.h"

#include <SimpleIni.h>

#include <system_error>

#include "core/DecimalText.h"
#include "core/RegularFile.h"

namespace quenderlink {

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
  if (!contents.ok() || impl_->ini.LoadData(contents.bytes) < 0) {
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
