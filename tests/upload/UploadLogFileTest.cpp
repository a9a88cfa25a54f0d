#include "upload/UploadLogFile.h"

#include <gtest/gtest.h>

namespace quenderlink {
namespace {

TEST(UploadLogFileTest, TheFileIsNamedTimeFirstThenMonthDayAndYear) {
  std::tm time{};
  time.tm_hour = 9;
  time.tm_min = 5;
  time.tm_sec = 2;
  time.tm_mon = 2;  // March
  time.tm_mday = 7;
  time.tm_year = 124;
  EXPECT_EQ(UploadLogFilePath("/home/q", time), std::filesystem::path("/home/q/Temp/Upload_090502_03072024.txt"));
}

}  // namespace
}  // namespace quenderlink
