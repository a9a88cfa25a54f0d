#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "core/OpenViews.h"
#include "core/PingMode.h"
#include "core/RuntimeParams.h"
#include "core/SiteFileStamp.h"
#include "core/SiteRecord.h"
#include "core/SiteTable.h"
#include "core/ViewWindow.h"

namespace quenderlink {

class Journal;

// Which view a new child window gets.
enum class ViewKind : std::uint8_t {
  kMain = 0,
  kImport = 1,
  kPingSites = 2,
  kUploadList = 3,
  kUploadBoxes = 4,
  kPingRange = 5,
  kIcmpRange = 6,
  kTelnet = 7,
  kHistory = 8,
  kAvailability = 9,
};

// How an ICMP scan pings, as chosen from the Ping menu.
enum class IcmpScanMode : std::uint8_t { SystemLibrary, RawSockets, ListedSites, RoundTrip };

// Program-wide operation state: single writer each, read by every view.
struct OperationState {
  bool pingInProgress = false;
  bool uploadInProgress = false;

  // RowNumber of the record in the modify dialog; kNoRow while adding.
  std::uint16_t rowBeingModified = kNoRow;
  int sortKey = 0;
  bool sortAscending = false;

  ProgramFileTarget* uploadView = nullptr;
  ProgramFileTarget* uploadBoxesView = nullptr;

  bool Busy() const { return pingInProgress || uploadInProgress; }
};

// Everything program-wide: made once by each program and handed to whatever
// needs it, so every test starts from a fresh one.
struct ProgramState {
  explicit ProgramState(std::filesystem::path folder) : programFolder(std::move(folder)) {}

  std::filesystem::path programFolder;
  RuntimeParams params;
  SiteTable sites;
  std::string currentSiteFile;
  // The current file as the program last loaded or wrote it; its saves are refused once it differs.
  SiteFileStamp currentSiteFileStamp;
  OperationState operations;
  OpenViews openViews;
  // Where runs record their results; none in a program that keeps no journal.
  Journal* journal = nullptr;
};

}  // namespace quenderlink
