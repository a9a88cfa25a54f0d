#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "FuzzInputFile.h"
#include "core/IniDocument.h"
#include "core/IniSettingsFile.h"

namespace {

using namespace quenderlink;

// A program folder whose settings file and address history are both the input.
// Only reads are made: a write would replace the links with files.
class FuzzProgramFolder {
 public:
  explicit FuzzProgramFolder(const std::string& inputPath) {
    std::string pattern = (std::filesystem::temp_directory_path() / "quenderlink-fuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    path_ = pattern;
    for (const std::string_view name : {settings::kIniFileName, settings::kIpHistoryFileName})
      std::filesystem::create_symlink(inputPath, path_ / name);
  }
  ~FuzzProgramFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// What a document writes must read back as the same values: otherwise every
// rewrite of the settings file would change keys nobody touched.
void RequireRoundTrip(const IniDocument& document) {
  static const fuzz::FuzzInputFile written;
  const std::string text = document.Text();
  IniDocument again;
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  if (again.Load(written.Hold(bytes, text.size())) != IniDocument::LoadResult::Loaded) std::abort();
  const auto same = [](const IniEntry& a, const IniEntry& b) {
    return a.section == b.section && a.key == b.key && a.value == b.value;
  };
  const std::vector<IniEntry> before = document.Entries();
  const std::vector<IniEntry> after = again.Entries();
  if (!std::equal(before.begin(), before.end(), after.begin(), after.end(), same)) std::abort();
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
