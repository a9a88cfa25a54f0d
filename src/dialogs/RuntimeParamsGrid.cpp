#include "dialogs/RuntimeParamsGrid.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <stdexcept>
#include <utility>
#include <variant>

#include "core/Lookups.h"
#include "core/Printf.h"
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
  unsigned min = 0;  // number rows: the values the setting allows
  unsigned max = 0;
};

using enum ParamCellKind;
using RP = RuntimeParams;
using DC = DeviceColors;

constexpr RowDefinition kEmptyRow{{"", "", "", "", None}, {}};

constexpr std::array<RowDefinition, kRuntimeParamRowCount> kRows{{
    {{"Railroad", "P1", "Railroad", "_Unkwn", Railroad}, &RP::railroadCode},
    kEmptyRow,
    {{"Ping", "P2", "Max wait for response (sec)", "12", Number}, &RP::pingMaxWaitResponse, 0, 65535},
    {{"", "P3", "Max repeat re-send poll", "6", Number}, &RP::pingMaxResend, 1, 255},
    {{"", "P4", "Max Pings in parallel", "100", Number}, &RP::pingMaxInParallel, 1, 255},
    {{"", "P5", "Show Hidden Ver Number", "No", YesNo}, &RP::showHidden},
    kEmptyRow,
    {{"Upload Pgm", "P6", "Min wait, RAM-loader reboot (sec)", "6", Number}, &RP::uploadMinWaitRamLoader, 0, 255},
    {{"", "P7", "Min wait, Cadmarin reboot (sec)", "6", Number}, &RP::uploadMinWaitSysReboot, 0, 255},
    {{"", "P8", "Max Uploads in parallel", "24", Number}, &RP::uploadMaxInParallel, 1, 255},
    {{"", "P9", "Allow Upload to Unknwon", "No", YesNo}, &RP::allowUploadUnknown},
    kEmptyRow,
    {{"Site Info", "P10", "Default Ping/Upload Port", "9001", Number}, &RP::defaultPortNum, 1, 65535},
    {{"", "P11", "Telnet Port Trk 1", "10001", Number}, &RP::telnetPortTrk1, 1, 65535},
    {{"", "P12", "Telnet Port Trk 2", "10002", Number}, &RP::telnetPortTrk2, 1, 65535},
    {{"", "P13", "Show Index", "No", YesNo}, &RP::showTwd},
    {{"", "P14", "Allow Changing Site Name", "No", YesNo}, &RP::allowChangeSiteName},
    {{"", "P15", "Show IP Address Column", "No", YesNo}, &RP::showIpColumn},
    kEmptyRow,
    {{"Delete Items", "P16", "Allow Delete Many Cadmarin's", "No", YesNo}, &RP::deleteManyRows},
    kEmptyRow,
    {{"Display", "P17", "Reduce Height(pixels)", "0", Number}, &RP::reduceHeight, 0, 65535},
    {{"", "P18", "Cadmarin Colors", "Text", Colors}, ColourFields{&DC::textCadmarin, &DC::backCadmarin}},
    {{"", "P19", "RKM Colors", "Text", Colors}, ColourFields{&DC::textRkm, &DC::backRkm}},
    {{"", "P20", "Zenthi Colors", "Text", Colors}, ColourFields{&DC::textZenthi, &DC::backZenthi}},
    kEmptyRow,
    {{"Config Mngmnt", "P21", "Enable Config Mngmnt", "No", YesNo}, &RP::collectS918},
}};

// A range wider than its setting would be cut when stored.
static_assert(std::ranges::all_of(kRows, [](const RowDefinition& row) {
  const unsigned widest = std::holds_alternative<NarrowField>(row.field) ? std::numeric_limits<std::uint8_t>::max()
                                                                         : std::numeric_limits<std::uint16_t>::max();
  return row.shown.kind != Number || (row.min <= row.max && row.max <= widest);
}));

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

// The row's range fits the setting's width.
void StoreNumber(RuntimeParams& params, const Field& field, std::uint32_t value) {
  if (const auto* narrow = std::get_if<NarrowField>(&field))
    params.**narrow = static_cast<std::uint8_t>(value);
  else
    params.*std::get<WideField>(field) = static_cast<std::uint16_t>(value);
}

[[nodiscard]] std::optional<unsigned> NumberInRange(std::string_view text, const RowDefinition& row) {
  if (text.empty() || !std::ranges::all_of(text, [](char c) { return c >= '0' && c <= '9'; })) return std::nullopt;
  unsigned value = 0;
  if (std::from_chars(text.data(), text.data() + text.size(), value).ec != std::errc()) return std::nullopt;
  if (value < row.min || value > row.max) return std::nullopt;
  return value;
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
      case Number:
        cell.value = NumberOf(params, definition.field);
        cell.text = std::to_string(cell.value);
        break;
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

std::optional<std::string> RuntimeParamsGrid::EndNumberEdit(int row, std::string_view text) {
  Cell& cell = cells_[Index(row)];
  cell.changed = text != cell.text;
  if (cell.changed) {
    cell.text = text;
    modified_ = true;
  }
  const std::optional<unsigned> value = NumberInRange(cell.text, kRows[Index(row)]);
  cell.refused = !value;
  if (value) cell.value = *value;
  return Refusal(row);
}

std::optional<std::string> RuntimeParamsGrid::Refusal(int row) const {
  if (!cells_[Index(row)].refused) return std::nullopt;
  const RowDefinition& definition = kRows[Index(row)];
  return Printf("Enter a whole number from %u to %u.", definition.min, definition.max);
}

std::optional<int> RuntimeParamsGrid::FirstRefusedRow() const {
  const auto refused = std::ranges::find_if(cells_, &Cell::refused);
  if (refused == cells_.end()) return std::nullopt;
  return static_cast<int>(refused - cells_.begin());
}

void RuntimeParamsGrid::Choose(int row, int choiceIndex) {
  Cell& cell = cells_[Index(row)];
  const std::size_t choices = kRows[Index(row)].shown.kind == Railroad ? kRailroads.size() : kYesNo.size();
  cell.value = choiceIndex >= 0 && static_cast<std::size_t>(choiceIndex) < choices ? static_cast<unsigned>(choiceIndex) : 0;
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
      case Number: StoreNumber(params_, field, cell.value); break;
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

ParamsSaveOutcome RuntimeParamsGrid::Save(IniSettingsFile& ini) {
  if (!modified_) return ParamsSaveOutcome::NothingModified;
  if (FirstRefusedRow()) return ParamsSaveOutcome::Refused;
  Store();
  bool written = ini.SavePingSiteParams(params_);
  written = ini.SaveUploadParams(params_) && written;
  written = ini.SavePorts(params_.defaultPortNum, params_.telnetPortTrk1, params_.telnetPortTrk2) && written;
  written = ini.WriteInt(settings::kRoad, params_.railroadCode) && written;
  const std::pair<const SettingKey&, bool> flags[] = {
      {settings::kShowTwd, params_.showTwd},
      {settings::kShowIpColumn, params_.showIpColumn},
      {settings::kDeleteManyRows, params_.deleteManyRows},
      {settings::kAllowUploadUnknown, params_.allowUploadUnknown},
      {settings::kShowHidden, params_.showHidden},
      {settings::kCollectS918, params_.collectS918},
  };
  for (const auto& [setting, on] : flags) written = ini.WriteInt(setting, on ? 1 : 0) && written;
  written = ini.WriteInt(settings::kReduceHeight, params_.reduceHeight) && written;
  written = ini.WriteInt(settings::kAllowChangeSiteName, params_.allowChangeSiteName ? 1 : 0) && written;
  if (coloursChanged_) written = ini.SaveDeviceColors(params_.deviceColors) && written;
  return written ? ParamsSaveOutcome::Stored : ParamsSaveOutcome::NotWritten;
}

}  // namespace quenderlink
