#pragma once

#include <span>
#include <string_view>

namespace quenderlink {

// One value of the settings file with the text a missing key reads as.
struct SettingKey {
  std::string_view section;
  std::string_view key;
  std::string_view defaultText;
};

namespace settings {

inline constexpr std::string_view kIniFileName = "Quenderlink.ini";
inline constexpr std::string_view kIpHistoryFileName = "IP_History.ini";
inline constexpr std::string_view kConfigFolderName = "Config";

inline constexpr std::string_view kSectionOem = "OEM";
inline constexpr std::string_view kSectionRailroad = "Railroad";
inline constexpr std::string_view kSectionPingSites = "Ping Sites";
inline constexpr std::string_view kSectionUploadPgm = "Upload Pgm";
inline constexpr std::string_view kSectionMisc = "MISC";
inline constexpr std::string_view kSectionMainViewOptions = "Main View Options";
inline constexpr std::string_view kSectionColors = "Colors";
inline constexpr std::string_view kSectionPingRange = "Ping Range";
// The range scan's inputs, written at every start of a scan.
inline constexpr std::string_view kPingRangeFromIpKey = "From IP";
inline constexpr std::string_view kPingRangeEndIpKey = "End IP";
inline constexpr std::string_view kPingRangePortNumKey = "Port Num";
// The ICMP scan's inputs, in the same section.
inline constexpr std::string_view kIcmpFromIpKey = "ICMP From IP";
inline constexpr std::string_view kIcmpEndIpKey = "ICMP End IP";
inline constexpr std::string_view kSectionIpHistory = "IP_History.ini";

// Written, never read.
inline constexpr SettingKey kWho{kSectionOem, "Who", "Brindlemar"};

inline constexpr SettingKey kRoad{kSectionRailroad, "Road", "0"};

inline constexpr SettingKey kPingMaxWaitResponse{kSectionPingSites, "Max Wait Response", "12"};
inline constexpr SettingKey kPingMaxResend{kSectionPingSites, "Max Resend", "6"};
inline constexpr SettingKey kPingMaxInParallel{kSectionPingSites, "Max in Parallel", "100"};

inline constexpr SettingKey kUploadMinWaitRamLoader{kSectionUploadPgm, "Min Wait RAMLoader", "6"};
inline constexpr SettingKey kUploadMinWaitSysReboot{kSectionUploadPgm, "Min Wait Sys Reboot", "6"};
inline constexpr SettingKey kUploadMaxInParallel{kSectionUploadPgm, "Max in Parallel", "24"};

inline constexpr SettingKey kAllowChangeSiteName{kSectionMisc, "Allow Change SiteName", "0"};
inline constexpr SettingKey kShowTwd{kSectionMisc, "ShowTWD", "0"};
inline constexpr SettingKey kDefaultPortNum{kSectionMisc, "Default Port Num", "9001"};
inline constexpr SettingKey kTelnetPortTrk1{kSectionMisc, "Telnet Port Trk1", "10001"};
inline constexpr SettingKey kTelnetPortTrk2{kSectionMisc, "Telnet Port Trk2", "10002"};
inline constexpr SettingKey kShowIpColumn{kSectionMisc, "ShowIP_Column", "0"};
inline constexpr SettingKey kDeleteManyRows{kSectionMisc, "Delete Many Rows", "0"};
inline constexpr SettingKey kAllowUploadUnknown{kSectionMisc, "Allow Upload Unknown", "0"};
inline constexpr SettingKey kCollectS918{kSectionMisc, "Collect S918", "1"};
inline constexpr SettingKey kShowHidden{kSectionMisc, "Show Hidden", "0"};
inline constexpr SettingKey kReduceHeight{kSectionMisc, "Reduce Height", "0"};
// Days the journal keeps results for; the desktop program prunes older ones at its start.
inline constexpr SettingKey kJournalDays{kSectionMisc, "Journal Days", "730"};

inline constexpr SettingKey kShowCmndButtons{kSectionMainViewOptions, "Show Cmnd Buttons", "1"};
inline constexpr SettingKey kShowFilterCombos{kSectionMainViewOptions, "Show Filter Combos", "0"};
inline constexpr SettingKey kCmndsOnRight{kSectionMainViewOptions, "Cmnds on Right", "1"};

// Colour references 0x00BBGGRR as decimal numbers.
inline constexpr SettingKey kTextCadmarin{kSectionColors, "Text Cadmarin", "9109504"};
inline constexpr SettingKey kBackCadmarin{kSectionColors, "Back Cadmarin", "16777215"};
inline constexpr SettingKey kTextRkm{kSectionColors, "Text RKM", "9109504"};
inline constexpr SettingKey kBackRkm{kSectionColors, "Back RKM", "13434879"};
inline constexpr SettingKey kTextZenthi{kSectionColors, "Text Zenthi", "9109504"};
inline constexpr SettingKey kBackZenthi{kSectionColors, "Back Zenthi", "13353215"};
inline constexpr SettingKey kTextTelnet{kSectionColors, "Text Telnet", "16777215"};
inline constexpr SettingKey kBackTelnet{kSectionColors, "Back Telnet", "9109504"};
inline constexpr SettingKey kTextLineNums{kSectionColors, "Text LineNums", "65535"};
inline constexpr SettingKey kBackLineNums{kSectionColors, "Back LineNums", "128"};

inline constexpr SettingKey kIcmpTimeout{kSectionPingRange, "ICMP Timeout", "5000"};
inline constexpr SettingKey kIcmpTtl{kSectionPingRange, "ICMP TTL", "10"};
inline constexpr SettingKey kIcmpDataSize{kSectionPingRange, "ICMP DataSize", "32"};
inline constexpr SettingKey kIcmpTos{kSectionPingRange, "ICMP TOS", "0"};
inline constexpr SettingKey kIcmpDontFragment{kSectionPingRange, "ICMP Don't Fragment", "0"};
inline constexpr SettingKey kIcmpMaxHops{kSectionPingRange, "ICMP Max Hops", "5"};

}  // namespace settings

// Every fixed key of the settings file, grouped by section, with its default.
std::span<const SettingKey> AllSettingKeys();

// What a new settings file holds, in writing order; here the text is the value
// written, which for Collect S918 is not the value a missing key reads as.
std::span<const SettingKey> CreationDefaults();

}  // namespace quenderlink
