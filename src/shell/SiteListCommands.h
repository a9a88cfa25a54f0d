#pragma once

#include <cstdint>
#include <string>

#include "core/DesktopActions.h"
#include "core/ProgramState.h"
#include "core/SiteRecord.h"
#include "core/UserPrompts.h"
#include "exchange/SiteListExport.h"
#include "shell/CheckedRows.h"

namespace quenderlink {

// What the main list must do after a command.
struct ListChange {
  enum class Kind { None, Refill, Clear, RewriteRow, AppendRow } kind = Kind::None;
  int row = -1;  // RewriteRow, AppendRow: the list row to write from its record
  // The current site list file changed: show SiteFileCaption(state.currentSiteFile) on the button.
  bool siteFileShown = false;
  // The load failed ("Not Found!" already shown): the button returns to
  // "CLICK to select the file with IP Addresses". Never together with siteFileShown.
  bool siteFileLost = false;

  bool operator==(const ListChange&) const = default;
};

// The main view's commands on the site list file and its records, without a
// screen: the caller asks for the paths and applies the ListChange. Every edit
// goes through the file: the table is changed, the file written, and the table
// loaded from it again, so the two stay equal. An edit of a file that another
// program changed since it was loaded is refused and kept in the table only.
class SiteListCommands {
 public:
  SiteListCommands(ProgramState& state, UserPrompts& prompts, DesktopActions& desktop);

  // Makes a valid site list file current and loads it with LastPing and flags cleared.
  ListChange OpenSiteFile(const std::string& path);
  // Loads the current file again, keeping the flags and clearing LastPing.
  ListChange Reload();
  // Makes a file holding only the header current; the table is emptied.
  ListChange StartNewFile(const std::string& path);
  // Copies the current file to the path (".bin" added unless the name has an
  // extension of three letters or more), which becomes current; a failed copy
  // changes nothing. Once another program has changed the current file, the
  // table is saved there instead and loaded again, so the list shown is kept.
  ListChange SaveAs(const std::string& path);
  // Makes the path entry 01 of the program file history, which uploads use; the
  // caller shows ProgramFileCaption(path). False (nothing pushed) when `check`
  // and CheckProgramFile refuses, or the settings file cannot be written.
  [[nodiscard]] bool ChooseProgramFile(const std::string& path, bool check);

  // After the user's confirmation; nothing when the row is not in the list.
  ListChange DeleteSite(int listRow);
  ListChange DeleteCheckedSites(const CheckedRows& checks);
  // The checked records are written to the target first; only when that worked
  // are they removed from the current file. The target may not be the current file.
  ListChange MoveCheckedToNewFile(const CheckedRows& checks, const std::string& path);
  // Records the target already holds (same address text and port) are not written again.
  ListChange MoveCheckedToExistingFile(const CheckedRows& checks, const std::string& path);

  // Writes the listing and opens it in the editor.
  void ExportText(const std::string& path);
  void ExportCsv(const std::string& path);

  // Results of the add/modify site dialog and of fresh pings of listed sites.
  // Pinged: into the record being modified, else the one with the same address
  // and port, else appended.
  ListChange StoreSitePinged(bool powerup, const SiteRecord& site);
  // Saved without a ping: when a record has the same address and port, into the
  // record being modified or else that one; otherwise appended.
  ListChange StoreSiteSaved(bool powerup, const SiteRecord& site);
  // Refreshed: into the record with the same address and port, if any.
  ListChange StoreSiteRefreshed(bool powerup, const SiteRecord& site);

  // Takes the received record's address and ports, with ping data its versions
  // and LastPing, and unless the unit is in power-up its identity, into the
  // record with the row number, and rewrites that record in its place in the
  // file. When that place cannot be written, the whole table is saved instead
  // and loaded again; when another program changed the file, nothing is
  // written and the record keeps the change.
  ListChange UpdateInPlace(const SiteRecord& received, std::uint16_t rowNumber, bool powerup, bool withPingData);

 private:
  enum class Saved { kYes, kNo, kRefused };

  ListChange LoadCurrentFile(bool clearLastPing, bool clearFlags);
  // Refused when another program changed the file since this one loaded or
  // wrote it; kNo and kRefused after a message that ends with the consequence.
  [[nodiscard]] Saved SaveCurrentFile(const char* consequence);
  ListChange SaveTableAs(const std::string& target);
  ListChange SaveDeletions();
  ListChange FinishMove(const std::string& report);
  ListChange Append(const SiteRecord& site);
  ListChange KeepUnsaved(const SiteRecord& site);
  bool IsCurrentFile(const std::string& path) const;
  [[nodiscard]] bool RefuseWhileRunning();
  [[nodiscard]] bool RefuseCurrentFileAsTarget(const std::string& path);
  void PushSiteFile(const std::string& path);
  void Export(const std::string& path, SiteListExportFormat format);

  ProgramState& state_;
  UserPrompts& prompts_;
  DesktopActions& desktop_;
};

}  // namespace quenderlink
