#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/ProgramState.h"
#include "core/UserPrompts.h"
#include "shell/CheckedRows.h"
#include "shell/OperationOpener.h"

namespace quenderlink {

// The main view's rules for which sites an operation applies to and whether it
// may start. List row i shows SiteTable record i; a row is looked up by the
// RowNumber its "Cnt" cell shows.
class LaunchRules {
 public:
  LaunchRules(ProgramState& state, UserPrompts& prompts, OperationOpener& opener);

  // True, after error 402, while a ping or an upload runs.
  [[nodiscard]] bool RefuseWhenBusy();
  // Clears every record's flags, then marks the ticked rows with bit 1 and `bit`;
  // returns how many rows were marked.
  std::size_t MarkCheckedRows(const CheckedRows& checks, std::uint8_t bit);
  // Sets the highlighted bit in the record shown in the list row alone; false
  // (and nothing highlighted) when no record has its row number.
  [[nodiscard]] bool HighlightRow(int listRow);

  void PingChecked(const CheckedRows& checks);
  void PingAll();
  void PingManual();
  void PingRange();
  void PingOneSite(int listRow);
  void IcmpScan(IcmpScanMode mode);
  void TraceRoute();
  void Upload(const CheckedRows& checks, bool ctrlHeld);
  void SingleSiteUpload();
  void Telnet(int listRow);
  void Reset(const CheckedRows& checks, int selectedRow);
  // The row menu's reset: the reset dialog for that row's site, whatever rows are ticked.
  void ResetRow(int listRow);
  void ManySitesReset(const CheckedRows& checks);
  // Ctrl + double click, Ctrl + "U" and row menu item 4: highlight, then upload to that site.
  void UploadToRow(int listRow);
  // The journal's history of the ticked sites, else of the highlighted row's site.
  void History(const CheckedRows& checks, int listRow);
  // The availability of the ticked sites, else of every listed site.
  void Availability(const CheckedRows& checks);
  // The "Ctrl" key message, shown when an upload is asked for without it.
  void ShowCtrlKeyMessage();

 private:
  SiteRecord* RecordOfRow(int listRow);
  std::vector<ListedSite> TickedSites(const CheckedRows& checks) const;
  void OpenResetDialogForRow(int listRow);
  // Entry 01 of the program file history when CheckProgramFile takes it.
  [[nodiscard]] bool ProgramFileForUpload(std::string& path);
  [[nodiscard]] bool RefuseWhenUploading();
  void OpenUploadView(ViewKind kind, const std::string& programFile);

  ProgramState& state_;
  UserPrompts& prompts_;
  OperationOpener& opener_;
};

}  // namespace quenderlink
