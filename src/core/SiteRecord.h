#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>

namespace quenderlink {

static_assert(std::endian::native == std::endian::little,
              "site records are stored byte for byte and their integers are little-endian");

// One site, identical in memory and in the site list file: the file is a header
// followed by these records copied byte for byte, so the layout is binding.
#pragma pack(push, 1)
struct SiteRecord {
  char SiteName[24];
  char Milepost[10];
  std::uint16_t SiteId;
  std::uint16_t SubdivCode;
  char IpByNumber[18];
  char HostText[47];
  std::int8_t HiddenBuild;
  std::uint16_t DevicePort;
  std::uint8_t TrackIndex;
  std::uint8_t VersionMajor;
  std::uint8_t VersionMinor;
  std::uint8_t LastPing;
  std::uint8_t SiteFlags;
  std::uint8_t ProductType;
  std::uint16_t RowNumber;
  std::uint16_t TelnetPort;
  char CommVersion[9];
  char ReaderVersion[9];
  char SpeechVersion[9];
};
#pragma pack(pop)

static_assert(sizeof(SiteRecord) == 143);
static_assert(offsetof(SiteRecord, SiteName) == 0);
static_assert(offsetof(SiteRecord, Milepost) == 24);
static_assert(offsetof(SiteRecord, SiteId) == 34);
static_assert(offsetof(SiteRecord, SubdivCode) == 36);
static_assert(offsetof(SiteRecord, IpByNumber) == 38);
static_assert(offsetof(SiteRecord, HostText) == 56);
static_assert(offsetof(SiteRecord, HiddenBuild) == 103);
static_assert(offsetof(SiteRecord, DevicePort) == 104);
static_assert(offsetof(SiteRecord, TrackIndex) == 106);
static_assert(offsetof(SiteRecord, VersionMajor) == 107);
static_assert(offsetof(SiteRecord, VersionMinor) == 108);
static_assert(offsetof(SiteRecord, LastPing) == 109);
static_assert(offsetof(SiteRecord, SiteFlags) == 110);
static_assert(offsetof(SiteRecord, ProductType) == 111);
static_assert(offsetof(SiteRecord, RowNumber) == 112);
static_assert(offsetof(SiteRecord, TelnetPort) == 114);
static_assert(offsetof(SiteRecord, CommVersion) == 116);
static_assert(offsetof(SiteRecord, ReaderVersion) == 125);
static_assert(offsetof(SiteRecord, SpeechVersion) == 134);

inline constexpr std::size_t kSiteRecordSize = sizeof(SiteRecord);

// RowNumber of a record deleted in memory; also "no such row" in table queries.
inline constexpr std::uint16_t kNoRow = 65535;

// SiteFlags bits.
inline constexpr std::uint8_t kFlagTicked = 1;
inline constexpr std::uint8_t kFlagMarked = 2;
inline constexpr std::uint8_t kFlagHighlighted = 4;

// LastPing codes besides 1..252, which are reply times in tenths of a second.
inline constexpr std::uint8_t kLastPingNever = 0;
inline constexpr std::uint8_t kLastPingBadAddress = 253;
inline constexpr std::uint8_t kLastPingUserAbort = 254;
inline constexpr std::uint8_t kLastPingNoAnswer = 255;

// The record a newly added site starts from: "??" at milepost "0.0" on the given port.
SiteRecord NewSiteRecord(std::uint16_t devicePort);

// "????", its SecondsText, "Bad IP", "User Abort" or "Ping Failed".
std::string LastPingText(std::uint8_t lastPing);

// The record's VersionText.
std::string VersionText(const SiteRecord& site, bool showHidden);

}  // namespace quenderlink
