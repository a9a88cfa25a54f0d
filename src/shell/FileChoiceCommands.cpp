#include "shell/FileChoiceCommands.h"

#include "core/BusyCheck.h"
#include "core/DialogFolder.h"
#include "core/IniSettingsFile.h"
#include "core/Lookups.h"
#include "prompts/FileDialogFilters.h"
#include "shell/FileButtonMenus.h"

namespace quenderlink {
namespace {

using namespace file_button;

constexpr int kFirstHistoryId = 2;
constexpr int kLastHistoryId = 16;

bool IsHistoryId(int id) { return id >= kFirstHistoryId && id <= kLastHistoryId; }

FileHistory History(const ProgramState& state, HistoryKind kind) {
  IniSettingsFile ini(state.programFolder);
  ini.ReadFileHistory(kind);
  return ini.FileHistory();
}

}  // namespace

FileChoiceCommands::FileChoiceCommands(ProgramState& state, UserPrompts& prompts, SiteListCommands& commands)
    : state_(state), prompts_(prompts), commands_(commands) {}

std::optional<std::string> FileChoiceCommands::Ask(FileDialogKind kind, const char* title, const char* filter,
                                                   const char* extension) {
  return prompts_.ChooseFile({kind, title, filter, extension, DialogFolder(state_)});
}

ListChange FileChoiceCommands::OpenSiteFile() {
  if (RefuseWhenBusy(state_.operations, prompts_)) return {};
  const auto path = Ask(FileDialogKind::Open, "Open File - IP Addresses", kSiteListFilter, "bin");
  return path ? commands_.OpenSiteFile(*path) : ListChange{};
}

// A new file is named like a file to write, so a name that does not exist yet can be given.
ListChange FileChoiceCommands::StartNewFile() {
  if (RefuseWhenBusy(state_.operations, prompts_)) return {};
  const auto path = Ask(FileDialogKind::Save, "Start New/Blank IP Address File", kSiteListFilter, "bin");
  return path ? commands_.StartNewFile(*path) : ListChange{};
}

ListChange FileChoiceCommands::SaveAs() {
  if (RefuseWhenBusy(state_.operations, prompts_)) return {};
  const auto path = Ask(FileDialogKind::Save, "Save IP Address As", kBinFilesFilter, "");
  return path ? commands_.SaveAs(*path) : ListChange{};
}

ListChange FileChoiceCommands::MoveCheckedToNewFile(const CheckedRows& checks) {
  if (RefuseWhenBusy(state_.operations, prompts_)) return {};
  const auto path = Ask(FileDialogKind::Save, "Move Selected Rows to a NEW File", kSiteListFilter, "bin");
  return path ? commands_.MoveCheckedToNewFile(checks, *path) : ListChange{};
}

ListChange FileChoiceCommands::MoveCheckedToExistingFile(const CheckedRows& checks) {
  if (RefuseWhenBusy(state_.operations, prompts_)) return {};
  const auto path = Ask(FileDialogKind::Open, "Move Selected Rows to Another (existing) File", kSiteListFilter, "bin");
  return path ? commands_.MoveCheckedToExistingFile(checks, *path) : ListChange{};
}

// The exports name a file that is about to be written, so they ask as a save dialog does.
void FileChoiceCommands::ExportText() {
  if (const auto path = Ask(FileDialogKind::Save, "Export IP Address - Text File", kTextExportFilter, "txt")) {
    commands_.ExportText(*path);
  }
}

void FileChoiceCommands::ExportCsv() {
  if (const auto path = Ask(FileDialogKind::Save, "Export IP Address - CSV File", kCsvExportFilter, "csv")) {
    commands_.ExportCsv(*path);
  }
}

// Every choice of the button's pop-up replaces or reloads the list: refused before it is shown.
ListChange FileChoiceCommands::SiteFileButton() {
  if (RefuseWhenBusy(state_.operations, prompts_)) return {};
  const auto history = History(state_, HistoryKind::SiteFiles);
  if (!SiteFileButtonOpensMenu(history)) return OpenSiteFile();
  const int id = prompts_.ChooseFromPopup(SiteFileButtonMenu(history));
  if (IsHistoryId(id)) return commands_.OpenSiteFile(history[static_cast<std::size_t>(id - 1)]);
  switch (id) {
    case kOpenExisting: return OpenSiteFile();
    case kStartNew: return StartNewFile();
    case kReload: return commands_.Reload();
    case kSaveAs: return SaveAs();
    default: return {};
  }
}

std::optional<std::string> FileChoiceCommands::OpenProgramFileUnchecked() {
  const auto path = Ask(FileDialogKind::Open, "Open File - Program Bin File", kBinFilesFilter, "");
  if (!path || !commands_.ChooseProgramFile(*path, false)) return std::nullopt;
  return path;
}

std::optional<std::string> FileChoiceCommands::LocateProgramFile() {
  const char* filter = state_.params.railroadCode == kRailroadCpr ? kProgramFilterCpr : kProgramFilterOther;
  const auto path = Ask(FileDialogKind::Open, "Locate Program File", filter, "");
  if (!path || !commands_.ChooseProgramFile(*path, true)) return std::nullopt;
  return path;
}

std::optional<std::string> FileChoiceCommands::ProgramFileButton() {
  const auto history = History(state_, HistoryKind::ProgramFiles);
  if (!ProgramFileButtonOpensMenu(history)) return LocateProgramFile();
  const int id = prompts_.ChooseFromPopup(ProgramFileButtonMenu(history));
  if (id == kLocateProgram) return LocateProgramFile();
  if (!IsHistoryId(id)) return std::nullopt;
  // A history entry is taken as it stands.
  const std::string& path = history[static_cast<std::size_t>(id - 1)];
  if (!commands_.ChooseProgramFile(path, false)) return std::nullopt;
  return path;
}

}  // namespace quenderlink
