#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string_view>

namespace quenderlink {

inline constexpr std::string_view kSiteFileSignature = "Brindlemar Data File:: Quenderlink Site Recs";

// The first 60 bytes of a site list file. Readers look only at the signature;
// the date and time of the last write are for people inspecting the file.
#pragma pack(push, 1)
struct SiteFileHeader {
  std::uint8_t Day;
  std::uint8_t Month;
  std::uint8_t Year;  // low 8 bits of (four-digit year + 48)
  std::uint8_t Hour;
  std::uint8_t Minute;
  std::uint8_t Second;
  char Signature[45];  // NUL-terminated text that holds kSiteFileSignature somewhere
  std::uint8_t Unused[9];
};
#pragma pack(pop)

static_assert(sizeof(SiteFileHeader) == 60);
static_assert(offsetof(SiteFileHeader, Day) == 0);
static_assert(offsetof(SiteFileHeader, Second) == 5);
static_assert(offsetof(SiteFileHeader, Signature) == 6);
static_assert(offsetof(SiteFileHeader, Unused) == 51);
static_assert(kSiteFileSignature.size() + 1 == sizeof(SiteFileHeader::Signature));

inline constexpr std::size_t kSiteFileHeaderSize = sizeof(SiteFileHeader);

// A header stamped with the given local time; nullptr when the time could not be
// had, which writes day and month 0, year byte 48 and 255 for the time of day.
SiteFileHeader MakeSiteFileHeader(const std::tm* localTime);

// True when the signature stands anywhere in the NUL-terminated text that begins
// at header byte 6; the text never runs past the header's end.
bool HasSiteFileSignature(const SiteFileHeader& header);

}  // namespace quenderlink
