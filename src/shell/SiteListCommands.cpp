#include "shell/SiteListCommands.h"

#include <array>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

#include "core/AtomicFileWriter.h"
#include "core/BusyCheck.h"
#include "core/CSiteinfoClass.h"
#include "core/ErrorMessages.h"
#include "core/FixedText.h"
#include "core/IniSettingsFile.h"
#include "core/PathLengths.h"
#include "core/Printf.h"
#include "core/ProgramFileIdentification.h"
#include "core/RegularFile.h"
#include "core/SiteFileStamp.h"
#include "core/SiteListLoader.h"
#include "shell/CurrentSiteFile.h"

namespace quenderlink {
namespace {

using Kind = ListChange::Kind;

constexpr char kDefaultSiteFile[] = "UploaderSites.bin";
constexpr char kNothingRemoved[] = "\r\n\r\nNo site was removed from it.";

std::string SaveFailedText(const std::string& path, std::uint32_t code) {
  return Printf("File\r\n%s\r\nCould not be saved!\r\n\r\n%s", path.c_str(), SiteFileErrorText(code).c_str());
}

// An extension of fewer than three letters (or none) is not taken as one.
std::string WithBinExtension(const std::string& path) {
  const std::size_t extensionWithDot = std::filesystem::path(path).extension().string().size();
  return extensionWithDot < 4 ? path + ".bin" : path;
}

[[nodiscard]] bool CopyWholeFile(const std::filesystem::path& from, const std::filesystem::path& to) {
  RegularFile in = RegularFile::Open(from);
  AtomicFileWriter writer(to);
  if (!in.ok() || !writer.Open()) return false;
  std::array<char, 65536> buffer{};
  for (std::size_t got = 0; (got = in.Read(buffer.data(), buffer.size())) > 0;)
    if (!writer.Write(buffer.data(), got)) return false;
  return in.ok() && writer.Commit();
}

std::vector<SiteRecord> CheckedRecords(const SiteTable& sites, const CheckedRows& checks) {
  std::vector<SiteRecord> records;
  for (std::size_t i = 0; i < sites.size(); ++i)
    if (checks.IsChecked(i)) records.push_back(sites[i]);
  return records;
}

void MarkCheckedDeleted(SiteTable& sites, const CheckedRows& checks) {
  for (std::size_t i = 0; i < sites.size(); ++i)
    if (checks.IsChecked(i)) sites[i].RowNumber = kNoRow;
}

std::uint16_t FindSameSite(const SiteTable& sites, const SiteRecord& site) {
  return sites.FindByAddress(FieldText(site.IpByNumber), site.DevicePort);
}

// After a sort the list no longer shows the file's order.
bool InFileOrder(const SiteTable& sites) {
  for (std::size_t i = 0; i < sites.size(); ++i)
    if (sites[i].RowNumber != i + 1) return false;
  return true;
}

void TakeReceivedFields(const SiteRecord& from, bool powerup, bool withPingData, SiteRecord& to) {
  std::memcpy(to.IpByNumber, from.IpByNumber, sizeof to.IpByNumber);
  std::memcpy(to.HostText, from.HostText, sizeof to.HostText);
  to.DevicePort = from.DevicePort;
  to.TelnetPort = from.TelnetPort;
  if (withPingData) {
    to.VersionMajor = from.VersionMajor;
    to.VersionMinor = from.VersionMinor;
    to.HiddenBuild = from.HiddenBuild;
    to.LastPing = from.LastPing;
  }
  // A unit in power-up has not reported its identity yet.
  if (!powerup) {
    std::memcpy(to.SiteName, from.SiteName, sizeof to.SiteName);
    std::memcpy(to.Milepost, from.Milepost, sizeof to.Milepost);
    to.SiteId = from.SiteId;
    to.SubdivCode = from.SubdivCode;
    to.TrackIndex = from.TrackIndex;
    to.ProductType = from.ProductType;
  }
}

}  // namespace

SiteListCommands::SiteListCommands(ProgramState& state, UserPrompts& prompts, DesktopActions& desktop)
    : state_(state), prompts_(prompts), desktop_(desktop) {}

ListChange SiteListCommands::OpenSiteFile(const std::string& path) {
  if (RefuseWhileRunning()) return {};
  CSiteinfoClass file;
  if (file.OpenAndCheck(path, false) != 0) {
    prompts_.ShowMessage("SELECTED FILE IS NOT A VALID IP ADDRS FILE (1)");
    return {};
  }
  file.Close();
  state_.currentSiteFile = path;
  PushSiteFile(path);
  ListChange change = LoadCurrentFile(true, true);
  change.siteFileShown = !change.siteFileLost;
  return change;
}

ListChange SiteListCommands::Reload() { return RefuseWhileRunning() ? ListChange{} : LoadCurrentFile(true, false); }

ListChange SiteListCommands::StartNewFile(const std::string& path) {
  if (RefuseWhileRunning()) return {};
  if (!CSiteinfoClass().CreateBlank(path)) {
    prompts_.ShowMessage("FAILED TO CREATE FILE");
    return {};
  }
  state_.sites.Release();
  state_.currentSiteFile = path;
  state_.currentSiteFileStamp = StampOfFile(path);
  PushSiteFile(path);
  return {Kind::Clear, -1, true, false};
}

ListChange SiteListCommands::SaveAs(const std::string& path) {
  if (RefuseWhileRunning()) return {};
  const std::string target = WithBinExtension(path);
  // Once another program has changed the current file, the file no longer
  // holds the list shown: the table is what is kept.
  if (StampOfFile(state_.currentSiteFile) != state_.currentSiteFileStamp) return SaveTableAs(target);
  if (!CopyWholeFile(state_.currentSiteFile, target)) {
    prompts_.ShowMessage(WriteFailedText(target));
    return {};
  }
  state_.currentSiteFile = target;
  state_.currentSiteFileStamp = StampOfFile(target);
  PushSiteFile(target);
  return {Kind::None, -1, true, false};
}

ListChange SiteListCommands::SaveTableAs(const std::string& target) {
  // Over the current file itself, the table would wipe out the other program's changes.
  if (IsCurrentFile(target)) return SaveCurrentFile("") == Saved::kYes ? LoadCurrentFile(false, false) : ListChange{};
  if (!CSiteinfoClass().SaveAll(target, state_.sites)) {
    prompts_.ShowMessage(WriteFailedText(target));
    return {};
  }
  state_.currentSiteFile = target;
  PushSiteFile(target);
  ListChange change = LoadCurrentFile(false, false);
  change.siteFileShown = !change.siteFileLost;
  return change;
}

bool SiteListCommands::ChooseProgramFile(const std::string& path, bool check) {
  if (check && !CheckProgramFile(path, prompts_)) return false;
  IniSettingsFile ini(state_.programFolder);
  if (ini.PushProgramFile(path)) return true;
  prompts_.ShowMessage(WriteFailedText(ini.Path().string()));
  return false;
}

ListChange SiteListCommands::DeleteSite(int listRow) {
  SiteTable& sites = state_.sites;
  if (RefuseWhileRunning() || listRow < 0 || static_cast<std::size_t>(listRow) >= sites.size()) return {};
  SiteRecord& site = sites[static_cast<std::size_t>(listRow)];
  const std::string address(FieldText(site.IpByNumber));
  const int port = site.DevicePort;
  if (!prompts_.Confirm(ConfirmMode::Delete,
                        Printf("Confirm to delete Cadmarin @\r\n\r\n%s  (Port %d)", address.c_str(), port)))
    return {};
  site.RowNumber = kNoRow;
  return SaveDeletions();
}

ListChange SiteListCommands::DeleteCheckedSites(const CheckedRows& checks) {
  const std::size_t count = checks.CountChecked();
  if (RefuseWhileRunning() || count == 0 ||
      !prompts_.Confirm(ConfirmMode::Delete, Printf("Confirm to delete %d Cadmarin Rows", static_cast<int>(count))))
    return {};
  MarkCheckedDeleted(state_.sites, checks);
  return SaveDeletions();
}

ListChange SiteListCommands::MoveCheckedToNewFile(const CheckedRows& checks, const std::string& path) {
  if (RefuseWhileRunning() || RefuseCurrentFileAsTarget(path)) return {};
  SiteTable moved;
  moved.Replace(CheckedRecords(state_.sites, checks));
  if (!CSiteinfoClass().SaveAll(path, moved)) {
    prompts_.ShowMessage("FAILED TO CREATE FILE");
    return {};
  }
  MarkCheckedDeleted(state_.sites, checks);
  return FinishMove(
      Printf("\r\nTotal of %d records were moved to\r\n\r\n%s", static_cast<int>(moved.size()), path.c_str()));
}

ListChange SiteListCommands::MoveCheckedToExistingFile(const CheckedRows& checks, const std::string& path) {
  if (RefuseWhileRunning() || RefuseCurrentFileAsTarget(path)) return {};
  // A target that is missing or holds no record has nothing to compare with.
  SiteTable existing;
  (void)LoadSiteTable(path, existing, state_.params.telnetPortTrk1);
  std::vector<SiteRecord> added;
  int copies = 0;
  for (const SiteRecord& site : CheckedRecords(state_.sites, checks)) {
    if (FindSameSite(existing, site) != kNoRow) {
      ++copies;
    } else {
      added.push_back(site);
    }
  }
  if (!CSiteinfoClass().AppendRecords(path, added)) {
    prompts_.ShowMessage("FAILED TO OPEN FILE");
    return {};
  }
  MarkCheckedDeleted(state_.sites, checks);
  const int moved = static_cast<int>(added.size());
  return FinishMove(copies > 0 ? Printf("\r\nTotal of %d records were moved to\r\n\r\n%s\r\n%d copies found.", moved,
                                        path.c_str(), copies)
                               : Printf("\r\nTotal of %d records were moved to\r\n\r\n%s", moved, path.c_str()));
}

void SiteListCommands::ExportText(const std::string& path) { Export(path, SiteListExportFormat::Text); }

void SiteListCommands::ExportCsv(const std::string& path) { Export(path, SiteListExportFormat::Csv); }

void SiteListCommands::Export(const std::string& path, SiteListExportFormat format) {
  if (!ExportSiteList(state_.sites, format, path)) {
    prompts_.ShowError(ErrorId::kNone, Printf("%s\r\n\r\n%s", "Failed to create file!", path.c_str()), false);
    return;
  }
  ShowAndOpenSavedFile(path, prompts_, desktop_);
}

ListChange SiteListCommands::StoreSitePinged(bool powerup, const SiteRecord& site) {
  const std::uint16_t modified = state_.operations.rowBeingModified;
  if (modified != kNoRow) return UpdateInPlace(site, modified, powerup, true);
  const std::uint16_t found = FindSameSite(state_.sites, site);
  return found != kNoRow ? UpdateInPlace(site, found, powerup, true) : Append(site);
}

ListChange SiteListCommands::StoreSiteSaved(bool powerup, const SiteRecord& site) {
  // A modified site keeps its record even when its new address is in no record:
  // appending it would leave the site in the list twice, once at its old address.
  const std::uint16_t modified = state_.operations.rowBeingModified;
  if (modified != kNoRow && state_.sites.FindByRow(modified)) return UpdateInPlace(site, modified, powerup, false);
  const std::uint16_t found = FindSameSite(state_.sites, site);
  if (found == kNoRow) return Append(site);
  return UpdateInPlace(site, found, powerup, false);
}

ListChange SiteListCommands::StoreSiteRefreshed(bool powerup, const SiteRecord& site) {
  const std::uint16_t found = FindSameSite(state_.sites, site);
  return found != kNoRow ? UpdateInPlace(site, found, powerup, true) : ListChange{};
}

ListChange SiteListCommands::UpdateInPlace(const SiteRecord& received, std::uint16_t rowNumber, bool powerup,
                                           bool withPingData) {
  SiteRecord* target = state_.sites.FindByRow(rowNumber);
  if (target == nullptr) return {};
  const SiteRecord before = *target;
  TakeReceivedFields(received, powerup, withPingData, *target);
  const ListChange rewrite{Kind::RewriteRow, static_cast<int>(target - state_.sites.records().data())};
  const std::string& path = state_.currentSiteFile;
  if (path.size() < kShortestFilePath) return rewrite;
  CSiteinfoClass file;
  if (const auto written = file.WriteRecordAt(path, rowNumber, before, *target, state_.currentSiteFileStamp)) {
    state_.currentSiteFileStamp = *written;
    return rewrite;
  }
  // Saving the whole table would be refused as well; the record keeps the change.
  if (file.lastError() == kSiteFileChangedElsewhere) {
    prompts_.ShowMessage(SiteFileChangedText(path));
    return rewrite;
  }
  // The record's place holds another record now (or cannot be written): the
  // whole table goes out instead of overwriting someone else's record.
  return SaveCurrentFile("") == Saved::kYes ? LoadCurrentFile(false, false) : rewrite;
}

ListChange SiteListCommands::LoadCurrentFile(bool clearLastPing, bool clearFlags) {
  // The list shows the table, so a failed load leaves both empty.
  state_.sites.Release();
  const SiteFileLoad load = LoadCurrentSiteFile(state_, prompts_, false);
  if (load != SiteFileLoad::kLoaded) return {Kind::Clear, -1, false, load == SiteFileLoad::kNotFound};
  if (clearLastPing) state_.sites.ClearLastPing();
  if (clearFlags) state_.sites.ClearFlags();
  return {Kind::Refill};
}

SiteListCommands::Saved SiteListCommands::SaveCurrentFile(const char* consequence) {
  const std::string& path = state_.currentSiteFile;
  CSiteinfoClass file;
  if (const auto written = file.SaveAll(path, state_.sites, state_.currentSiteFileStamp)) {
    state_.currentSiteFileStamp = *written;
    return Saved::kYes;
  }
  if (file.lastError() == kSiteFileChangedElsewhere) {
    prompts_.ShowMessage(SiteFileChangedText(path) + consequence);
    return Saved::kRefused;
  }
  prompts_.ShowMessage(SaveFailedText(path, file.lastError()) + consequence);
  return Saved::kNo;
}

// When the save fails the file still holds every record, and reloading it
// brings back the records marked deleted: the reload follows, and a failure has
// been shown. A refused save keeps the table, deletions marked, for "Save As".
ListChange SiteListCommands::SaveDeletions() {
  if (state_.currentSiteFile.size() < kShortestFilePath) return {};
  if (SaveCurrentFile(kNothingRemoved) == Saved::kRefused) return {};
  return LoadCurrentFile(false, false);
}

ListChange SiteListCommands::FinishMove(const std::string& report) {
  if (state_.currentSiteFile.size() < kShortestFilePath) return {};
  const Saved saved = SaveCurrentFile(kNothingRemoved);
  if (saved == Saved::kRefused) return {};
  const ListChange change = LoadCurrentFile(false, false);
  if (saved == Saved::kYes) prompts_.ShowError(ErrorId::kNone, report, false);
  return change;
}

ListChange SiteListCommands::Append(const SiteRecord& site) {
  ListChange change;
  if (state_.currentSiteFile.size() < kShortestFilePath) {
    state_.currentSiteFile = (state_.programFolder / kDefaultSiteFile).string();
    PushSiteFile(state_.currentSiteFile);
    change.siteFileShown = true;
  }
  const bool listInFileOrder = InFileOrder(state_.sites);
  const std::size_t rowsBefore = state_.sites.size();
  CSiteinfoClass file;
  bool appended = false;
  if (change.siteFileShown) {
    // The default file, taken just now: no loaded state of it to keep.
    appended = file.AppendRecord(state_.currentSiteFile, site);
  } else {
    appended = file.AppendRecords(state_.currentSiteFile, std::span(&site, 1), state_.currentSiteFileStamp).has_value();
  }
  if (!appended && file.lastError() == kSiteFileChangedElsewhere) {
    prompts_.ShowMessage(SiteFileChangedText(state_.currentSiteFile));
    return KeepUnsaved(site);
  }
  if (!appended) {
    prompts_.ShowMessage(SaveFailedText(state_.currentSiteFile, file.lastError()));
    return change;
  }
  const bool shown = change.siteFileShown;
  change = LoadCurrentFile(false, false);
  change.siteFileShown = shown && !change.siteFileLost;
  // Unless the list was sorted or the file grew by more than this record, the
  // rows shown stay as they are and the new one is added at the end.
  if (change.kind == Kind::Refill && listInFileOrder && state_.sites.size() == rowsBefore + 1) {
    change.kind = Kind::AppendRow;
    change.row = static_cast<int>(rowsBefore);
  }
  return change;
}

// Added to the table only, where "Save As" finds it.
ListChange SiteListCommands::KeepUnsaved(const SiteRecord& site) {
  std::vector<SiteRecord> records(state_.sites.records().begin(), state_.sites.records().end());
  records.push_back(site);
  records.back().RowNumber = static_cast<std::uint16_t>(records.size());
  state_.sites.Replace(std::move(records));
  return {Kind::AppendRow, static_cast<int>(state_.sites.size() - 1)};
}

bool SiteListCommands::IsCurrentFile(const std::string& path) const {
  std::error_code error;
  return std::filesystem::equivalent(path, state_.currentSiteFile, error);
}

// Opening, reloading, adding and removing rows load the table anew and number
// its records again: a run's results would then find no site to go into, and
// its end would save into another list.
bool SiteListCommands::RefuseWhileRunning() { return RefuseWhenBusy(state_.operations, prompts_); }

// Moving rows into the file they come from would write them there and then
// save that file without them.
bool SiteListCommands::RefuseCurrentFileAsTarget(const std::string& path) {
  if (!IsCurrentFile(path)) return false;
  prompts_.ShowMessage(Printf("The checked rows are already in\r\n\r\n%s", path.c_str()));
  return true;
}

void SiteListCommands::PushSiteFile(const std::string& path) {
  IniSettingsFile ini(state_.programFolder);
  if (!ini.PushSiteFile(path)) prompts_.ShowMessage(WriteFailedText(ini.Path().string()));
}

}  // namespace quenderlink
