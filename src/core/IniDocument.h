#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quenderlink {

// Settings files hold a few hundred short lines; a larger one is no settings file.
inline constexpr std::uint64_t kLargestIniFile = 4u << 20;

struct IniEntry {
  std::string section;
  std::string key;
  std::string value;
};

// The contents of one INI file in memory. Section and key names match without
// regard to case; saving keeps the file's order and appends new names at the end.
class IniDocument {
 public:
  enum class LoadResult { Loaded, Missing, Unreadable };

  IniDocument();
  ~IniDocument();
  IniDocument(IniDocument&&) noexcept;
  IniDocument& operator=(IniDocument&&) noexcept;

  // Replaces the contents with the file's; a missing file leaves the document
  // empty. What is not a regular file, or is larger than kLargestIniFile, is Unreadable.
  [[nodiscard]] LoadResult Load(const std::filesystem::path& file);

  [[nodiscard]] std::optional<std::string> Value(std::string_view section, std::string_view key) const;
  // The fallback when the key is missing.
  std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback) const;
  // The value's LeadingDecimal; the fallback when the key is missing or empty.
  std::uint32_t ReadInt(std::string_view section, std::string_view key, std::uint32_t fallback) const;
  void Set(std::string_view section, std::string_view key, std::string_view value);

  // Every value, in file order.
  std::vector<IniEntry> Entries() const;
  // "key=value" lines under "[section]" headers, no byte-order mark.
  std::string Text() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace quenderlink
