#include "core/SiteFileHeader.h"

#include <cstring>

namespace quenderlink {

SiteFileHeader MakeSiteFileHeader(const std::tm* localTime) {
  SiteFileHeader header{};
  if (localTime) {
    header.Day = static_cast<std::uint8_t>(localTime->tm_mday);
    header.Month = static_cast<std::uint8_t>(localTime->tm_mon + 1);
    header.Year = static_cast<std::uint8_t>(localTime->tm_year + 1900 + 48);
    header.Hour = static_cast<std::uint8_t>(localTime->tm_hour);
    header.Minute = static_cast<std::uint8_t>(localTime->tm_min);
    header.Second = static_cast<std::uint8_t>(localTime->tm_sec);
  } else {
    header.Year = 48;
    header.Hour = header.Minute = header.Second = 255;
  }
  std::memcpy(header.Signature, kSiteFileSignature.data(), kSiteFileSignature.size());
  return header;
}

bool HasSiteFileSignature(const SiteFileHeader& header) {
  // Files written elsewhere may leave no NUL before the header ends, so the
  // text is bounded by the header as well.
  const char* text = reinterpret_cast<const char*>(&header) + offsetof(SiteFileHeader, Signature);
  const std::size_t room = kSiteFileHeaderSize - offsetof(SiteFileHeader, Signature);
  const void* nul = std::memchr(text, '\0', room);
  const std::size_t length = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - text) : room;
  return std::string_view(text, length).find(kSiteFileSignature) != std::string_view::npos;
}

}  // namespace quenderlink
