#pragma once

#include <cstdint>
#include <string>

namespace quenderlink {

// Error ids whose dialog text is fixed.
inline constexpr std::uint32_t kErrorNoProgramFile = 200;
inline constexpr std::uint32_t kErrorNoSiteSelected = 201;
inline constexpr std::uint32_t kErrorPingInProgress = 400;
inline constexpr std::uint32_t kErrorUploadInProgress = 401;
inline constexpr std::uint32_t kErrorDifferentProducts = 403;

// Error 402: an operation is refused because a ping, scan, reset or upload runs.
inline constexpr std::uint32_t kErrorOperationInProgress = 402;
inline constexpr char kOperationInProgressText[] = "Another Ping is in progress!\r\n\r\nPlease wait until it is completed";

// Error 900: a CPR site's host name gave no address to ping or telnet to.
inline constexpr std::uint32_t kErrorDnsConversion = 900;
// `host` is the site record's host text.
std::string DnsConversionFailedText(const std::string& host);

// What a run says, in a window or on the command line, when it cannot have a thread.
inline constexpr char kNoWorkerText[] = "The run could not be started: the system has no thread to spare.";

// The fixed text of a predefined error id; empty for any other id.
std::string PredefinedErrorText(std::uint32_t errorId);

// What the user is told when a file (a settings file included) could not be written.
std::string WriteFailedText(const std::string& path);

// What the user is told when a save of a site list file is refused because
// another program changed the file since this one opened it.
std::string SiteFileChangedText(const std::string& path);

}  // namespace quenderlink
