#include "dialogs/RuntimeParamsGrid.h"

#include <stdexcept>
#include <utility>
#include <variant>

#include "core/IniDocument.h"
#include "core/Lookups.h"
#include "core/SettingsKeys.h"

namespace quenderlink {
namespace {

using NarrowField = std::uint8_t RuntimeParams::*;
using WideField = std::uint16_t RuntimeParams::*;
using FlagField = bool RuntimeParams::*;
struct ColourFields {
  ColorRef DeviceColors::* text;
  ColorRef DeviceColors::* back;
};
using Field = std::variant<std::monostate, NarrowField, WideField, FlagField, ColourFields>;

struct RowDefinition {
  RuntimeParamRow shown;
  Field field;
};

using enum ParamCellKind;
using RP = RuntimeParams;
using DC = DeviceColors;

constexpr RowDefinition kEmptyRow{{"", "", "", "", None}, {}};

constexpr std::array<RowDefinition, kRuntimeParamRowCount> kRows{{
    {{"Railroad", "P1", "Railroad", "_Unkwn", Railroad}, &RP::railroadCode},
    kEmptyRow,
    {{"Ping", "P2", "Max wait for response (sec)", "12", Number}, &RP::pingMaxWaitResponse},
    {{"", "P3", "Max repeat re-send poll", "6", Number}, &RP::pingMaxResend},
    {{"", "P4", "Max Pings in parallel", "100", Number}, &RP::pingMaxInParallel},
    {{"", "P5", "Show Hidden Ver Number", "No", YesNo}, &RP::showHidden},
    kEmptyRow,
    {{"Upload Pgm", "P6", "Min wait, RAM-loader reboot (sec)", "6", Number}, &RP::uploadMinWaitRamLoader},
    {{"", "P7", "Min wait, Cadmarin reboot (sec)", "6", Number}, &RP::uploadMinWaitSysReboot},
    {{"", "P8", "Max Uploads in parallel", "24", Number}, &RP::uploadMaxInParallel},
    {{"", "P9", "Allow Upload to Unknwon", "No", YesNo}, &RP::allowUploadUnknown},
    kEmptyRow,
    {{"Site Info", "P10", "Default Ping/Upload Port", "9001", Number}, &RP::defaultPortNum},
    {{"", "P11", "Telnet Port Trk 1", "10001", Number}, &RP::telnetPortTrk1},
    {{"", "P12", "Telnet Port Trk 2", "10002", Number}, &RP::telnetPortTrk2},
    {{"", "P13", "Show Index", "No", YesNo}, &RP::showTwd},
    {{"", "P14", "Allow Changing Site Name", "No", YesNo}, &RP::allowChangeSiteName},
    {{"", "P15", "Show IP Address Column", "No", YesNo}, &RP::showIpColumn},
    kEmptyRow,
    {{"Delete Items", "P16", "Allow Delete Many Cadmarin's", "No", YesNo}, &RP::deleteManyRows},
    kEmptyRow,
    {{"Display", "P17", "Reduce Height(pixels)", "0", Number}, &RP::reduceHeight},
    {{"", "P18", "Cadmarin Colors", "Text", Colors}, ColourFields{&DC::textCadmarin, &DC::backCadmarin}},
    {{"", "P19", "RKM Colors", "Text", Colors}, ColourFields{&DC::textRkm, &DC::backRkm}},
    {{"", "P20", "Zenthi Colors", "Text", Colors}, ColourFields{&DC::textZenthi, &DC::backZenthi}},
    kEmptyRow,
    {{"Config Mngmnt", "P21", "Enable Config Mngmnt", "No", YesNo}, &RP::collectS918},
}};

constexpr auto kShownRows = [] {
  std::array<RuntimeParamRow, kRuntimeParamRowCount> rows{};
  for (std::size_t row = 0; row < rows.size(); ++row) rows[row] = kRows[row].shown;
  return rows;
}();

constexpr std::array<RuntimeParamColumn, 5> kColumns{{
    {"Section", 100}, {"P#", 50}, {"Param Name", 240}, {"Default", 90}, {"User", 90}}};

constexpr std::array<std::string_view, 2> kYesNo{"No", "Yes"};
constexpr std::array<std::string_view, 6> kRailroads{"_Unkwn", "BHP", "CPR", "CSX", "IOC", "NS"};

unsigned NumberOf(const RuntimeParams& params, const Field& field) {
  if (const auto* narrow = std::get_if<NarrowField>(&field)) return params.**narrow;
  return params.*std::get<WideField>(field);
}

// Cut to the setting's width, as the setting has always been stored.
void StoreNumber(RuntimeParams& params, const Field& field, std::uint32_t value) {
  if (const auto* narrow = std::get_if<NarrowField>(&field))
    params.**narrow = static_cast<std::uint8_t>(value);
  else
    params.*std::get<WideField>(field) = static_cast<std::uint16_t>(value);
}

ColorRef DeviceColors::* ColourField(const Field& field, ColourPart part) {
  const auto& colours = std::get<ColourFields>(field);
  return part == ColourPart::Text ? colours.text : colours.back;
}

}  // namespace

std::span<const RuntimeParamColumn> RuntimeParamColumns() { return kColumns; }
std::span<const RuntimeParamRow> RuntimeParamRows() { return kShownRows; }
std::span<const std::string_view> YesNoChoices() { return kYesNo; }
std::span<const std::string_view> RailroadChoices() { return kRailroads; }

RuntimeParamsGrid::RuntimeParamsGrid(RuntimeParams& params) : params_(params) {
  for (std::size_t row = 0; row < kRows.size(); ++row) {
    const RowDefinition& definition = kRows[row];
    Cell& cell = cells_[row];
    switch (definition.shown.kind) {
      case Number: cell.text = std::to_string(NumberOf(params, definition.field)); break;
      case YesNo: cell.value = params.*std::get<FlagField>(definition.field) ? 1 : 0; break;
      case Railroad: cell.value = params.railroadCode; break;
      case None:
      case Colors: break;
    }
  }
}

std::size_t RuntimeParamsGrid::Index(int row) {
  if (row < 0 || row >= kRuntimeParamRowCount) throw std::out_of_range("runtime parameter row");
  return static_cast<std::size_t>(row);
}

std::string RuntimeParamsGrid::UserText(int row) const {
  switch (kRows[Index(row)].shown.kind) {
    case Number: return cells_[Index(row)].text;
    case YesNo: return std::string(kYesNo[static_cast<std::size_t>(ChoiceIndex(row))]);
    case Railroad: return std::string(kRailroads[static_cast<std::size_t>(ChoiceIndex(row))]);
    case None:
    case Colors: break;
  }
  return {};
}

int RuntimeParamsGrid::ChoiceIndex(int row) const {
  const unsigned value = cells_[Index(row)].value;
  const std::size_t choices = kRows[Index(row)].shown.kind == Railroad ? kRailroads.size() : kYesNo.size();
  return value < choices ? static_cast<int>(value) : 0;
}

ColorRef RuntimeParamsGrid::Colour(int row, ColourPart part) const {
  return params_.deviceColors.*ColourField(kRows[Index(row)].field, part);
}

void RuntimeParamsGrid::EndNumberEdit(int row, std::string_view text) {
  Cell& cell = cells_[Index(row)];
  cell.changed = text != cell.text;
  if (!cell.changed) return;
  cell.text = text;
  modified_ = true;
}

void RuntimeParamsGrid::Choose(int row, std::string_view choiceText) {
  Cell& cell = cells_[Index(row)];
  if (kRows[Index(row)].shown.kind == Railroad) {
    cell.value = 0;
    for (std::size_t code = 0; code < kRailroads.size(); ++code) {
      if (choiceText.find(kRailroads[code]) != std::string_view::npos) {
        cell.value = static_cast<unsigned>(code);
        break;
      }
    }
  } else {
    cell.value = choiceText.find("Yes") != std::string_view::npos ? 1 : 0;
  }
  cell.changed = true;
  modified_ = true;
}

void RuntimeParamsGrid::SetColour(int row, ColourPart part, ColorRef colour) {
  params_.deviceColors.*ColourField(kRows[Index(row)].field, part) = colour;
  coloursChanged_ = true;
  modified_ = true;
}

void RuntimeParamsGrid::Store() {
  for (std::size_t row = 0; row < kRows.size(); ++row) {
    const Field& field = kRows[row].field;
    const Cell& cell = cells_[row];
    switch (kRows[row].shown.kind) {
      case Number: StoreNumber(params_, field, ProfileIntFromText(cell.text)); break;
      case YesNo: params_.*std::get<FlagField>(field) = cell.value != 0; break;
      case Railroad:
        params_.railroadCode = static_cast<std::uint8_t>(cell.value);
        params_.railroadShortName = RailroadName(cell.value);
        break;
      case None:
      case Colors: break;
    }
  }
}

bool RuntimeParamsGrid::Save(IniSettingsFile& ini) {
  if (!modified_) return false;
  Store();
  // Write failures go unreported: the values stay in effect for this run.
  ini.SavePingSiteParams(params_);
  ini.SaveUploadParams(params_);
  ini.SavePorts(params_.defaultPortNum, params_.telnetPortTrk1, params_.telnetPortTrk2);
  ini.WriteInt(settings::kRoad, params_.railroadCode);
  const std::pair<const SettingKey&, bool> flags[] = {
      {settings::kShowTwd, params_.showTwd},
      {settings::kShowIpColumn, params_.showIpColumn},
      {settings::kDeleteManyRows, params_.deleteManyRows},
      {settings::kAllowUploadUnknown, params_.allowUploadUnknown},
      {settings::kShowHidden, params_.showHidden},
      {settings::kCollectS918, params_.collectS918},
  };
  for (const auto& [setting, on] : flags) ini.WriteInt(setting, on ? 1 : 0);
  ini.WriteInt(settings::kReduceHeight, params_.reduceHeight);
  ini.WriteInt(settings::kAllowChangeSiteName, params_.allowChangeSiteName ? 1 : 0);
  if (coloursChanged_) ini.SaveDeviceColors(params_.deviceColors);
  return true;
}

}  // namespace quenderlink
