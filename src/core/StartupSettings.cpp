#include "core/StartupSettings.h"

#include <cstdint>
#include <string>
#include <system_error>

#include "core/IniSettingsFile.h"
#include "core/Lookups.h"
#include "core/PathLengths.h"
#include "core/Printf.h"
#include "core/SettingsKeys.h"

namespace quenderlink {
namespace {

using namespace settings;

// The caption format filled with the file name (with extension), then its folder with the separator.
std::string FileCaption(const char* format, const std::string& path) {
  const std::size_t split = path.rfind('/') + 1;  // 0 when there is no folder
  return Printf(format, path.substr(split).c_str(), path.substr(0, split).c_str());
}

std::uint8_t ReadU8(const IniSettingsFile& ini, const SettingKey& setting) {
  return static_cast<std::uint8_t>(ini.ReadInt(setting));
}

std::uint16_t ReadU16(const IniSettingsFile& ini, const SettingKey& setting) {
  return static_cast<std::uint16_t>(ini.ReadInt(setting));
}

bool ReadFlag(const IniSettingsFile& ini, const SettingKey& setting) { return ini.ReadInt(setting) != 0; }

void LoadRailroad(IniSettingsFile& ini, RuntimeParams& params, StartupView& view) {
  params.railroadCode = ReadU8(ini, kRoad);
  if (params.railroadCode == 0) {
    params.railroadCode = view.AskRailroad();
    // A railroad that cannot be stored is asked for again at the next start.
    if (params.railroadCode != 0) (void)ini.WriteInt(kRoad, params.railroadCode);
  }
  params.railroadShortName = RailroadName(params.railroadCode);
}

void LoadFileHistories(IniSettingsFile& ini, ProgramState& state, StartupView& view) {
  ini.ReadFileHistory(HistoryKind::SiteFiles);
  const std::string& siteFile = ini.FileHistory()[0];
  if (siteFile.size() >= kShortestFilePath) {
    state.currentSiteFile = siteFile;
    view.ShowSiteFile(siteFile, SiteFileCaption(siteFile));
  }
  ini.ReadFileHistory(HistoryKind::ProgramFiles);
  const std::string& programFile = ini.FileHistory()[0];
  if (programFile.size() >= kShortestStartupProgramPath) {
    view.ShowProgramFile(programFile, ProgramFileCaption(programFile));
  }
}

void LoadOperationParams(const IniSettingsFile& ini, RuntimeParams& params) {
  params.pingMaxWaitResponse = ReadU16(ini, kPingMaxWaitResponse);
  params.pingMaxResend = ReadU8(ini, kPingMaxResend);
  params.pingMaxInParallel = ReadU8(ini, kPingMaxInParallel);
  params.uploadMinWaitRamLoader = ReadU8(ini, kUploadMinWaitRamLoader);
  params.uploadMinWaitSysReboot = ReadU8(ini, kUploadMinWaitSysReboot);
  params.uploadMaxInParallel = ReadU8(ini, kUploadMaxInParallel);
  params.allowChangeSiteName = ReadFlag(ini, kAllowChangeSiteName);
  params.showTwd = ReadFlag(ini, kShowTwd);
  params.defaultPortNum = ReadU16(ini, kDefaultPortNum);
  params.telnetPortTrk1 = ReadU16(ini, kTelnetPortTrk1);
  params.telnetPortTrk2 = ReadU16(ini, kTelnetPortTrk2);
  params.showIpColumn = ReadFlag(ini, kShowIpColumn);
  params.deleteManyRows = ReadFlag(ini, kDeleteManyRows);
  params.allowUploadUnknown = ReadFlag(ini, kAllowUploadUnknown);
  params.journalDays = ReadU16(ini, kJournalDays);
}

}  // namespace

std::string SiteFileCaption(const std::string& path) { return FileCaption("IP Address: %s\r\n%s", path); }

std::string ProgramFileCaption(const std::string& path) { return FileCaption("Program File: %s\r\n%s", path); }

void LoadStartupSettings(ProgramState& state, StartupView& view) {
  IniSettingsFile ini(state.programFolder);
  RuntimeParams& params = state.params;
  ini.EnsureIniFile();
  LoadRailroad(ini, params, view);

  params.showCmndButtons = ReadFlag(ini, kShowCmndButtons);
  params.showFilterCombos = ReadFlag(ini, kShowFilterCombos);
  params.cmndsOnRight = ReadFlag(ini, kCmndsOnRight);

  LoadFileHistories(ini, state, view);
  LoadOperationParams(ini, params);
  params.deviceColors = ini.LoadDeviceColors();
  params.telnetColors = ini.LoadTelnetColors();

  // An existing folder is no error; any other failure shows when something is written there.
  std::error_code ignored;
  std::filesystem::create_directory(state.programFolder / kConfigFolderName, ignored);

  params.showHidden = ReadFlag(ini, kShowHidden);
  // Configuration management is offered at every start whatever Collect S918
  // holds; only the runtime parameters dialog turns it off, until the program ends.
  params.collectS918 = true;
  view.ShowConfigButton(params.collectS918);
}

}  // namespace quenderlink
