#include "shell/MainMenu.h"

#include <array>

namespace quenderlink {
namespace {

using namespace menu;

// Sort menu items and the column keys they sort by, in id order.
constexpr std::array<int, 8> kSortKeysInIdOrder{6, 7, 8, 11, 12, 14, 15, 16};
constexpr int kTrackNumberKey = 9;

std::vector<MenuPopup> BuildLayout() {
  return {
      {"&File",
       {{kOpenSiteFile, "&1 - Open File - IP Addresses"},
        {kOpenProgramFile, "&2 - Open File - Program Bin File "},
        {kSaveSiteFileAs, "&3 - Save IP Address As ..."},
        {kNewSiteFile, "&4 - Start New/Blank IP Address File"},
        {0, ""},
        {kRuntimeParams, "&5 - Change Runtime Parameters"},
        {kOpenIniFile, "&6 - Open Ini (config) File"},
        {kEraseIniFile, "&7 - Erase Ini File (Factory Settings)"},
        {0, ""},
        {kImportSites, "&8 - Import List of Cadmarin's"},
        {kExportExcel, "&9 - Export IP Address - Excel File"},
        {kExportText, "&A - Export IP Address - Text File"},
        {kExportCsv, "&B - Export IP Address - \"CSV\" File"},
        {0, ""},
        {kSelectRailroad, "&B - Select Railroad"},
        {0, ""},
        {kExit, "E&xit"}}},
      {"&View",
       {{kShowProductsColumn, "&1 - Show Column; Products"},
        {kHideProductsColumn, "&2 - Hide Column; Products"},
        {kShowDnsColumn, "&3 - Show Column; DNS"},
        {kHideDnsColumn, "&4 - Hide Column; DNS"},
        {kShowIndexColumn, "&5 - Show Column; Index"},
        {kHideIndexColumn, "&6 - Hide Column; Index"},
        {0, ""},
        {kShowFilterCombos, "&7 - Display Filter Comboboxes"},
        {kHideFilterCombos, "&8 - Hide Filter Comboboxes"},
        {0, ""},
        {kButtonsAtBottom, "&9 - Display Cmnd Buttons, Bottom"},
        {kButtonsAtRight, "&A - Display Cmnd Buttons, Right"},
        {kHideButtons, "&B - Hide Command Buttons"}}},
      {"&Sites",
       {{kAddSite, "&1 - Add New Cadmarin"},
        {kResetSite, "&2 - RESET Highlighted Cadmarin/RKM"},
        {kModifySite, "&3 - Modify Highlighted Cadmarin"},
        {kDeleteSite, "&4 - Delete Highlighted Cadmarin"},
        {kDeleteCheckedSites, "&5 - Delete ALL Selected Cadmarin's"},
        {0, ""},
        {kMoveToExistingFile, "&6 - Move Selected Rows to Another (existing) File"},
        {kMoveToNewFile, "&7 - Move Selected Rows to a NEW File"},
        {0, ""},
        {kSiteHistory, "&8 - History of Highlighted or Selected Cadmarin's"},
        {kAvailability, "&9 - Availability of Selected or All Cadmarin's"}}},
      {"S&ort",
       {{kFirstAscendSort, "&1 - Ascend - Site ID"},
        {kFirstAscendSort + 1, "&2 - Ascend - Site Name"},
        {kFirstAscendSort + 2, "&3 - Ascend - Milepost/TrackNum"},
        {kAscendTrackNumber, "&4 - Ascend - Track Number"},
        {kFirstAscendSort + 3, "&5 - Ascend - IP Address"},
        {kFirstAscendSort + 4, "&6 - Ascend - Port Number"},
        {kFirstAscendSort + 5, "&7 - Ascend - Product"},
        {kFirstAscendSort + 6, "&8 - Ascend - Version"},
        {kLastAscendSort, "&9 - Ascend - Last Ping Results"},
        {0, ""},
        {kFirstDescendSort, "&A - Descend - Site ID"},
        {kFirstDescendSort + 1, "&B - Descend - Site Name"},
        {kFirstDescendSort + 2, "&C - Descend - Milepost/TrackNum"},
        {kDescendTrackNumber, "&D - Descend - TrackNum"},
        {kFirstDescendSort + 3, "&E - Descend - IP Address"},
        {kFirstDescendSort + 4, "&F - Descend - Port Number"},
        {kFirstDescendSort + 5, "&G - Descend - Product"},
        {kFirstDescendSort + 6, "&H - Descend - Version"},
        {kLastDescendSort, "&I - Descend - Last Ping Results"}}},
      {"&Ping",
       {{kPingChecked, "&1 - Ping Selected Cadmarin's"},
        {kPingAll, "&2 - Ping All Cadmarin's"},
        {kPingManual, "&3 - Ping Manual - One Cadmarin"},
        {kPingRange, "&4 - Ping Range of Address"},
        {0, ""},
        {kIcmpRawSockets, "&5 - Ping Range - ICMP Method 1 - Use Raw Sockets"},
        {kIcmpSystemLibrary, "&6 - Ping Range - ICMP Method 2 - Use Datagram Sockets"},
        {kIcmpRoundTrip, "&7 - Ping Range - ICMP Method 3"},
        {kIcmpListedSites, "&8 - Ping Cadmarin's ICMP Raw Socket"},
        {kTraceRoute, "&9 - TraceRouter Cadmarin's Path"}}},
      {"&Upload", {{kBeginUpload, "Begin Upload"}}},
      {"&Help", {{kAbout, "&About Quenderlink..."}}},
  };
}

}  // namespace

const std::vector<MenuPopup>& MainMenuLayout() {
  static const std::vector<MenuPopup> layout = BuildLayout();
  return layout;
}

bool IsRefusedWhileRunning(int id) {
  using namespace menu;
  switch (id) {
    case kRuntimeParams:
    case kEraseIniFile:
    case kSelectRailroad:
    case kAddSite:
    case kModifySite: return true;
    default: return false;
  }
}

bool IsMenuItemEnabled(int id, const MenuContext& context) {
  const RuntimeParams& params = context.params;
  const bool idle = !context.operationRunning;
  switch (id) {
    case kShowIndexColumn: return !params.showTwd;
    case kHideIndexColumn: return params.showTwd;
    case kShowFilterCombos: return !params.showFilterCombos;
    case kHideFilterCombos: return params.showFilterCombos;
    case kButtonsAtBottom: return params.cmndsOnRight;
    case kButtonsAtRight: return !(params.showCmndButtons && params.cmndsOnRight);
    case kHideButtons: return params.showCmndButtons;
    case kModifySite:
    case kDeleteSite: return context.rowSelected;
    case kSiteHistory: return context.rowSelected || context.anyChecked;
    case kAvailability: return context.tableHasRecords;
    case kDeleteCheckedSites: return params.deleteManyRows && context.anyChecked;
    case kMoveToExistingFile:
    case kMoveToNewFile:
    case kBeginUpload: return context.anyChecked;
    case kPingChecked: return idle && context.anyChecked;
    case kPingAll: return idle && context.tableHasRecords;
    case kPingManual:
    case kPingRange:
    case kExit: return idle;
    case kIcmpListedSites: return context.tableHasRecords;
    case kSaveSiteFileAs:
    case kExportText:
    case kExportCsv: return context.siteFileChosen;
    default: return true;
  }
}

bool SortOfMenuItem(int id, int& key, bool& ascending) {
  if (id == kAscendTrackNumber || id == kDescendTrackNumber) {
    key = kTrackNumberKey;
    ascending = id == kAscendTrackNumber;
    return true;
  }
  for (const bool ascend : {true, false}) {
    const int first = ascend ? kFirstAscendSort : kFirstDescendSort;
    const int offset = id - first;
    if (offset >= 0 && offset < static_cast<int>(kSortKeysInIdOrder.size())) {
      key = kSortKeysInIdOrder[static_cast<std::size_t>(offset)];
      ascending = ascend;
      return true;
    }
  }
  return false;
}

std::vector<MenuItem> RowMenuItems(bool rowSelected, bool anyChecked, bool deleteManyRows, bool railroadIsCpr) {
  std::vector<MenuItem> items;
  const auto add = [&items](bool shown, int id, const char* text) {
    if (shown) items.push_back({id, text});
  };
  add(rowSelected, kRowPingHighlighted, "PING: Highlighted Cadmarin");
  add(anyChecked, kRowPingChecked, "PING: Selected Cadmarin's");
  add(true, kRowPingAll, "PING: All");
  add(rowSelected, kRowUploadHighlighted, "UPLOAD: Program to Highlighted Cadmarin");
  // Offered as it always was, though choosing it does nothing.
  add(anyChecked, kRowUploadChecked, "UPLOAD: Program to Selected Cadmarin's");
  add(rowSelected, kRowTelnet, "TELNET: Start Telnet with Highlighted Cadmarin");
  add(rowSelected || anyChecked, kRowHistory,
      anyChecked ? "HISTORY: Results of Selected Cadmarin's" : "HISTORY: Results of Highlighted Cadmarin");
  add(true, kRowAdd, "Cadmarin: Add New Cadmarin to List");
  add(rowSelected, kRowModify, "Cadmarin: Modify Highlighted Cadmarin Parameters");
  add(rowSelected, kRowDelete, "Cadmarin: Delete Highlighted Cadmarin from List");
  add(rowSelected && deleteManyRows && anyChecked, kRowDeleteChecked, "Cadmarin: Delete SELECTED Cadmarin's from List");
  add(rowSelected, kRowReset, "Cadmarin: RESET Highlighted Cadmarin");
  add(railroadIsCpr, kRowDnsRedo, "Redo - DNS to IP Address");
  return items;
}

}  // namespace quenderlink
