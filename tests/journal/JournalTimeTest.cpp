#include <gtest/gtest.h>

#include <cstdlib>

#include "journal/JournalTime.h"

namespace quenderlink {
namespace {

class JournalTimeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
  }
  void TearDown() override {
    unsetenv("TZ");
    tzset();
  }
};

TEST_F(JournalTimeTest, DatesAreLocalUnlessTheyEndInZ) {
  EXPECT_EQ(ParseJournalDate("2026-12-08T04:12:26Z")->ms, 1796703146000LL);
  EXPECT_EQ(ParseJournalDate("2026-12-08T05:12:26")->ms, 1796703146000LL);
  EXPECT_EQ(ParseJournalDate("2026-12-08 05:12")->ms, 1796703120000LL);
  EXPECT_EQ(UtcTimeText(1796703146000LL), "2026-12-08T04:12:26Z");
  EXPECT_EQ(LocalTimeText(1796703146000LL), "2026-12-08 05:12:26");

  const auto day = ParseJournalDate("2026-03-29");  // the clocks go forward: a 23-hour day
  ASSERT_TRUE(day && day->dateOnly);
  EXPECT_EQ(EndOfJournalDate(*day) - day->ms, 23 * 3600 * 1000LL);
  EXPECT_EQ(EndOfJournalDate(*ParseJournalDate("2026-03-29T10:00")), ParseJournalDate("2026-03-29T10:00")->ms + 1);
}

TEST_F(JournalTimeTest, WhatIsNoDateIsRefused) {
  for (const char* text : {"", "2026-13-01", "2026-02-30", "2026-1-5", "2026-12-08T25:00", "2026-12-08T04",
                           "2026-12-08Z", "2026-12-08T04:12:26+01:00", "yesterday", "2026-12-08T04:12:26Zx"}) {
    EXPECT_FALSE(ParseJournalDate(text)) << text;
  }
}

}  // namespace
}  // namespace quenderlink
