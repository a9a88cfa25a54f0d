#include "core/SiteFileHeader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "SiteFileBytes.h"

namespace quenderlink {
namespace {

using testing::kSignatureText;

std::string BytesOf(const SiteFileHeader& header) {
  return {reinterpret_cast<const char*>(&header), sizeof header};
}

SiteFileHeader HeaderFrom(const std::string& bytes) {
  SiteFileHeader header{};
  std::memcpy(&header, bytes.data(), std::min(bytes.size(), sizeof header));
  return header;
}

std::string StampBytes(int year, int month, int day, int hour, int minute, int second) {
  std::tm time{};
  time.tm_year = year - 1900;
  time.tm_mon = month - 1;
  time.tm_mday = day;
  time.tm_hour = hour;
  time.tm_min = minute;
  time.tm_sec = second;
  return BytesOf(MakeSiteFileHeader(&time)).substr(0, 6);
}

TEST(SiteFileHeaderTest, StampsDayMonthYearByteAndTimeOfDayOrTheFallbackBytes) {
  EXPECT_EQ(StampBytes(2026, 3, 7, 14, 5, 9), std::string("\x07\x03\x1A\x0E\x05\x09", 6));
  // Past 2207 the year byte wraps: (2300 + 48) mod 256 = 44.
  EXPECT_EQ(StampBytes(2300, 1, 1, 0, 0, 0)[2], 44);
  EXPECT_EQ(BytesOf(MakeSiteFileHeader(nullptr)).substr(0, 6), std::string("\x00\x00\x30\xFF\xFF\xFF", 6));
}

TEST(SiteFileHeaderTest, SignatureCountsOnlyInsideTheTextBeforeTheFirstNul) {
  const std::string sig(kSignatureText);
  EXPECT_TRUE(HasSiteFileSignature(HeaderFrom(testing::HeaderBytes("x" + sig))));
  // No NUL at all: the text ends with the header.
  EXPECT_TRUE(HasSiteFileSignature(HeaderFrom(testing::HeaderBytes(std::string(10, 'x') + sig))));
  EXPECT_FALSE(HasSiteFileSignature(HeaderFrom(testing::HeaderBytes(std::string(11, 'x') + sig))));
  EXPECT_FALSE(HasSiteFileSignature(HeaderFrom(testing::HeaderBytes(std::string("x\0", 2) + sig))));
}

}  // namespace
}  // namespace quenderlink
