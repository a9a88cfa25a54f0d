#include "shell/MainViewSettings.h"

#include "core/ErrorMessages.h"
#include "core/IniSettingsFile.h"
#include "core/Lookups.h"
#include "core/SettingsKeys.h"

namespace quenderlink {

void MainViewSettings::ShowIndexColumn(bool shown) {
  state_.params.showTwd = shown;
  IniSettingsFile ini(state_.programFolder);
  if (!ini.WriteInt(settings::kShowTwd, shown ? 1 : 0)) ReportWriteFailed(ini.Path().string());
}

void MainViewSettings::ChooseRailroad() {
  RuntimeParams& params = state_.params;
  params.railroadCode = prompts_.ChooseRailroad(params.railroadCode);
  params.railroadShortName = RailroadName(params.railroadCode);
  IniSettingsFile ini(state_.programFolder);
  if (!ini.WriteInt(settings::kRoad, params.railroadCode)) ReportWriteFailed(ini.Path().string());
}

void MainViewSettings::EraseToFactorySettings() {
  IniSettingsFile ini(state_.programFolder);
  if (prompts_.Confirm(ConfirmMode::Delete, ini.FactoryResetQuestion()) && !ini.EraseFactorySettings())
    ReportWriteFailed(ini.Path().string());
}

void MainViewSettings::RememberSiteFile(const std::string& path) {
  IniSettingsFile ini(state_.programFolder);
  if (!ini.PushSiteFile(path)) ReportWriteFailed(ini.Path().string());
}

void MainViewSettings::KeepLayout() const {
  const RuntimeParams& params = state_.params;
  IniSettingsFile ini(state_.programFolder);
  (void)ini.WriteInt(settings::kShowCmndButtons, params.showCmndButtons);
  (void)ini.WriteInt(settings::kShowFilterCombos, params.showFilterCombos);
  (void)ini.WriteInt(settings::kCmndsOnRight, params.cmndsOnRight);
}

void MainViewSettings::ReportWriteFailed(const std::string& settingsFile) {
  prompts_.ShowMessage(WriteFailedText(settingsFile));
}

}  // namespace quenderlink
