#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

namespace quenderlink {

// Every error id the program shows: the number of "Error ID: 402" in the error
// dialog and on the command line; kNone shows none. PredefinedErrorText decides
// on each id, so a new one cannot come without its text, or without none.
enum class ErrorId : std::uint32_t {
  kNone = 0,
  // The import of sites from a file.
  kImportFileUnreadable = 104,
  kNoImportFile = 105,
  kNoAddressColumn = 600,
  // Choosing what to upload, and to which units.
  kNoProgramFile = 200,
  kNoSiteSelected = 201,
  kWrongCadmarinFile = 202,
  kWrongRkmFile = 203,
  kWrongCollectorFile = 204,
  kWrongRkmMicroFile = 205,
  kWrongHalvyrFile = 206,
  kWrongFileForUnknown = 207,
  kUnknownProductType = 208,
  kMixedFamilies = 209,
  kDifferentProducts = 403,
  // One run at a time.
  kPingInProgress = 400,
  kUploadInProgress = 401,
  kOperationInProgress = 402,
  // The site dialog and the checked rows.
  kNothingToPing = 500,
  kNoSiteChecked = 510,
  kSavePort = 521,
  kSaveAddress = 522,
  // A CPR site's host name gave no address to ping or telnet to.
  kDnsConversion = 900,
};

// The number an id is shown as, on screen and when written to a stream.
constexpr std::uint32_t ErrorNumber(ErrorId id) { return static_cast<std::uint32_t>(id); }
std::ostream& operator<<(std::ostream& out, ErrorId id);

// The fixed text of an id that has one; empty for the others, whose callers give the text.
std::string PredefinedErrorText(ErrorId id);

// Codes of faults that should not happen, written into a plain message for the maintainers.
enum class InternalErrorCode : std::uint32_t {
  kWrongFileForUnknown = 74,  // shown with error 207
  kRowWithoutSite = 991,      // a list row to ping has no site record
};

// "Error Code = 74": how a message names its internal code.
std::string InternalErrorCodeText(InternalErrorCode code);

// The text of error 402.
inline constexpr char kOperationInProgressText[] = "Another Ping is in progress!\r\n\r\nPlease wait until it is completed";

// The text of error 900; `host` is the site record's host text.
std::string DnsConversionFailedText(const std::string& host);

// What a run says, in a window or on the command line, when it cannot have a thread.
inline constexpr char kNoWorkerText[] = "The run could not be started: the system has no thread to spare.";

// What the user is told when a file (a settings file included) could not be written.
std::string WriteFailedText(const std::string& path);

// What the user is told when a save of a site list file is refused because
// another program changed the file since this one opened it.
std::string SiteFileChangedText(const std::string& path);

}  // namespace quenderlink
