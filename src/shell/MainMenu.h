#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/PopupItem.h"
#include "core/RuntimeParams.h"

namespace quenderlink {

// Command ids of the main menu and the row menu; the handlers are keyed on them.
namespace menu {
inline constexpr int kOpenSiteFile = 32774;
inline constexpr int kOpenProgramFile = 32776;
inline constexpr int kSaveSiteFileAs = 32805;
inline constexpr int kNewSiteFile = 32806;
inline constexpr int kRuntimeParams = 32781;
inline constexpr int kOpenIniFile = 32807;
inline constexpr int kEraseIniFile = 32808;
inline constexpr int kImportSites = 32782;
inline constexpr int kExportExcel = 32879;
inline constexpr int kExportText = 32811;
inline constexpr int kExportCsv = 32812;
inline constexpr int kSelectRailroad = 32825;
inline constexpr int kExit = 57665;

inline constexpr int kShowProductsColumn = 32850;
inline constexpr int kHideProductsColumn = 32851;
inline constexpr int kShowDnsColumn = 32852;
inline constexpr int kHideDnsColumn = 32853;
inline constexpr int kShowIndexColumn = 32854;
inline constexpr int kHideIndexColumn = 32855;
inline constexpr int kShowFilterCombos = 32799;
inline constexpr int kHideFilterCombos = 32801;
inline constexpr int kButtonsAtBottom = 32821;
inline constexpr int kButtonsAtRight = 32822;
inline constexpr int kHideButtons = 32823;

inline constexpr int kAddSite = 32785;
inline constexpr int kResetSite = 32849;
inline constexpr int kModifySite = 32786;
inline constexpr int kDeleteSite = 32787;
inline constexpr int kDeleteCheckedSites = 32826;
inline constexpr int kMoveToExistingFile = 32831;
inline constexpr int kMoveToNewFile = 32832;
inline constexpr int kSiteHistory = 32880;
inline constexpr int kAvailability = 32881;

inline constexpr int kFirstAscendSort = 32861;
inline constexpr int kLastAscendSort = 32868;
inline constexpr int kAscendTrackNumber = 32877;
inline constexpr int kFirstDescendSort = 32869;
inline constexpr int kLastDescendSort = 32876;
inline constexpr int kDescendTrackNumber = 32878;

inline constexpr int kPingChecked = 32788;
inline constexpr int kPingAll = 32789;
inline constexpr int kPingManual = 32790;
inline constexpr int kPingRange = 32791;
inline constexpr int kIcmpRawSockets = 32857;
inline constexpr int kIcmpSystemLibrary = 32856;
inline constexpr int kIcmpRoundTrip = 32860;
inline constexpr int kIcmpListedSites = 32858;
inline constexpr int kTraceRoute = 32859;
inline constexpr int kBeginUpload = 32792;
inline constexpr int kAbout = 57664;

// Row menu.
inline constexpr int kRowPingHighlighted = 1;
inline constexpr int kRowPingChecked = 2;
inline constexpr int kRowPingAll = 3;
inline constexpr int kRowUploadHighlighted = 4;
inline constexpr int kRowUploadChecked = 5;
inline constexpr int kRowAdd = 6;
inline constexpr int kRowModify = 7;
inline constexpr int kRowDelete = 8;
inline constexpr int kRowDeleteChecked = 9;
inline constexpr int kRowReset = 10;
inline constexpr int kRowTelnet = 20;
inline constexpr int kRowDnsRedo = 30;
inline constexpr int kRowHistory = 40;
}  // namespace menu

using MenuItem = PopupItem;

struct MenuPopup {
  std::string title;
  std::vector<MenuItem> items;
};

// The main menu, popup by popup, in order.
const std::vector<MenuPopup>& MainMenuLayout();

// What the enable rules of the main menu look at.
struct MenuContext {
  const RuntimeParams& params;
  bool operationRunning = false;
  bool rowSelected = false;
  bool anyChecked = false;
  bool tableHasRecords = false;
  bool siteFileChosen = false;
};

bool IsMenuItemEnabled(int id, const MenuContext& context);

// Menu commands refused (error 402) while a run lasts that have no command of
// their own to refuse them: the site dialogs, whose results replace or append
// records, and what changes the settings a run reads. The file, delete and
// move commands refuse in SiteListCommands and FileChoiceCommands; sorting
// stays allowed, since a run's results find their sites by identity.
bool IsRefusedWhileRunning(int id);

// The sort a sort menu item stands for: false when the id is none.
[[nodiscard]] bool SortOfMenuItem(int id, int& key, bool& ascending);

// The row menu, built anew each time: the items shown, each followed by a separator.
std::vector<MenuItem> RowMenuItems(bool rowSelected, bool anyChecked, bool deleteManyRows, bool railroadIsCpr);

}  // namespace quenderlink
