#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzInputFile.h"
#include "core/IniDocument.h"
#include "core/IniSettingsFile.h"
#include "support/TempDir.h"

namespace {

using namespace quenderlink;

// A program folder whose settings file and address history are both the input.
// Only reads are made: a write would replace the links with files.
class FuzzProgramFolder : public testing::TempDir {
 public:
  explicit FuzzProgramFolder(const std::string& inputPath) {
    for (const std::string_view name : {settings::kIniFileName, settings::kIpHistoryFileName})
      std::filesystem::create_symlink(inputPath, *this / name);
  }
};

bool IsPlainName(std::string_view name) {
  return std::all_of(name.begin(), name.end(), [](char c) { return c >= 0x20 && c <= 0x7E; });
}

// Every value under a plain section and key name, as the program's own are, by
// section and key: the order is not kept, since keys outside any section are
// written first. Names with other bytes come only from a damaged file (a
// byte-order mark inside it, say), and the parser may read them back otherwise.
std::vector<std::string> SortedValues(const IniDocument& document) {
  std::vector<std::string> values;
  for (const IniEntry& entry : document.Entries())
    if (IsPlainName(entry.section) && IsPlainName(entry.key))
      values.push_back(entry.section + '\0' + entry.key + '\0' + entry.value);
  std::sort(values.begin(), values.end());
  return values;
}

// What a document writes must read back as the same values: otherwise every
// rewrite of the settings file would change keys nobody touched.
void RequireRoundTrip(const IniDocument& document) {
  static const fuzz::FuzzInputFile written;
  const std::string text = document.Text();
  IniDocument again;
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  if (again.Load(written.Hold(bytes, text.size())) != IniDocument::LoadResult::Loaded) std::abort();
  if (SortedValues(again) != SortedValues(document)) std::abort();
}

}  // namespace

// Reads the input as the settings file and the address history, every way the program reads them.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const fuzz::FuzzInputFile input;
  const std::string path = input.Hold(data, size);
  static const FuzzProgramFolder folder(path);

  IniDocument document;
  if (document.Load(path) == IniDocument::LoadResult::Loaded) RequireRoundTrip(document);

  IniSettingsFile ini(folder.path());
  (void)ini.ReadFileHistory(HistoryKind::SiteFiles);
  (void)ini.ReadFileHistory(HistoryKind::ProgramFiles);
  for (const std::string& entry : ini.FileHistory())
    if (entry.size() > kFileHistoryEntryLength) std::abort();
  (void)ini.ReadIpHistory();
  for (const std::string& entry : ini.IpHistory())
    if (entry.size() > kIpHistoryEntryLength) std::abort();
  (void)ini.LoadDeviceColors();
  (void)ini.LoadTelnetColors();
  for (const SettingKey& setting : CreationDefaults()) (void)ini.ReadInt(setting);
  (void)ini.ListEntries();
  return 0;
}
