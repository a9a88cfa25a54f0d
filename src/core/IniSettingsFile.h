#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/DesktopActions.h"
#include "core/IniDocument.h"
#include "core/RuntimeParams.h"
#include "core/SettingsKeys.h"

namespace quenderlink {

// The two file histories kept in the settings file: kind word "IP" for site
// list files, "Pgm" for program files.
enum class HistoryKind { SiteFiles, ProgramFiles };

inline constexpr std::size_t kFileHistorySize = 16;
inline constexpr std::size_t kFileHistoryEntryLength = 259;
inline constexpr std::size_t kIpHistorySize = 20;
inline constexpr std::size_t kIpHistoryEntryLength = 46;

// Reads and writes Quenderlink.ini in the program folder. Nothing is cached:
// every operation loads the file anew, and every write loads it first so the
// other keys survive, then replaces it whole. Making one does not touch the disk.
class IniSettingsFile {
 public:
  explicit IniSettingsFile(std::filesystem::path programFolder);

  const std::filesystem::path& ProgramFolder() const { return programFolder_; }
  const std::filesystem::path& Path() const { return path_; }
  std::filesystem::path GetIpHistoryPath() const;

  // Clears the history slots and writes the creation defaults when the file is
  // missing; false only when a missing file could not be created.
  bool EnsureIniFile();
  void OpenIniInEditor(DesktopActions& desktop) const;
  // Writes the creation defaults over the file, or alone when erasing.
  [[nodiscard]] bool WriteIniDefaults(bool erase);
  // The question to confirm before EraseFactorySettings.
  std::string FactoryResetQuestion() const;
  // Settings back to the creation defaults and an address history holding only OEM / Who.
  [[nodiscard]] bool EraseFactorySettings();

  // Reads entries 01..16 into the slots; returns how many are non-empty.
  int ReadFileHistory(HistoryKind kind);
  // Slot 0 is entry 01, the most recent.
  const std::array<std::string, kFileHistorySize>& FileHistory() const { return history_; }
  // Makes the path entry 01, emptying every entry that contains it; an empty path is refused.
  [[nodiscard]] bool PushProgramFile(std::string_view path);
  [[nodiscard]] bool PushSiteFile(std::string_view path);
  [[nodiscard]] bool DropFirstSiteFile();

  // Reads IP_History.ini into its slots; returns how many are non-empty.
  int ReadIpHistory();
  const std::array<std::string, kIpHistorySize>& IpHistory() const { return ipHistory_; }

  [[nodiscard]] bool SavePingSiteParams(const RuntimeParams& params);
  [[nodiscard]] bool SaveUploadParams(const RuntimeParams& params);
  [[nodiscard]] bool SavePorts(std::uint16_t defaultPort, std::uint16_t telnetPortTrk1, std::uint16_t telnetPortTrk2);
  DeviceColors LoadDeviceColors() const;
  [[nodiscard]] bool SaveDeviceColors(const DeviceColors& colors);
  TelnetColors LoadTelnetColors() const;
  [[nodiscard]] bool SaveTelnetColors(const TelnetColors& colors);
  // A time-out reading as 0 means the ICMP keys were never set properly: the
  // defaults go back into memory (the hop limit excepted) and into the file.
  void LoadIcmpParams(IcmpParams& icmp);

  // A missing key reads as the fallback; a value as its leading decimal digits.
  std::uint32_t ReadInt(std::string_view section, std::string_view key, std::uint32_t fallback) const;
  std::uint32_t ReadInt(const SettingKey& setting) const;
  std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback) const;
  [[nodiscard]] bool WriteString(std::string_view section, std::string_view key, std::string_view value);
  // Several keys of one section in one rewrite of the file.
  [[nodiscard]] bool WriteStrings(std::string_view section,
                                  const std::vector<std::pair<std::string, std::string>>& keyValues);
  [[nodiscard]] bool WriteInt(std::string_view section, std::string_view key, std::int64_t value);
  [[nodiscard]] bool WriteInt(const SettingKey& setting, std::int64_t value);
  // Every value in the file, in file order.
  std::vector<IniEntry> ListEntries() const;
  // The whole file as read now, for reading many keys at one read.
  IniDocument Contents() const { return Load(); }

 private:
  IniDocument Load() const;
  // Loads the file, applies the change and replaces the file; false, leaving
  // the file alone, when it exists but cannot be read or cannot be replaced.
  [[nodiscard]] bool Update(const std::function<void(IniDocument&)>& change);
  [[nodiscard]] bool PushFile(HistoryKind kind, std::string_view path);
  [[nodiscard]] bool WriteFileHistory(HistoryKind kind);

  std::filesystem::path programFolder_;
  std::filesystem::path path_;
  std::array<std::string, kFileHistorySize> history_;
  std::array<std::string, kIpHistorySize> ipHistory_;
};

}  // namespace quenderlink
