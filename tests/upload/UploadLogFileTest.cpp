#include "upload/UploadLogFile.h"

#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace quenderlink {
namespace {

using namespace testing;

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

TEST(UploadLogFileTest, ALogIsAppendedInAFolderMadeWhenMissingOrTheReasonIsTold) {
  TempDir home;
  const auto file = home / "Temp" / "Upload.txt";
  EXPECT_EQ(SaveUploadLog(file, "Starting Upload\n"), std::nullopt);
  EXPECT_EQ(SaveUploadLog(file, "again\n"), std::nullopt);
  EXPECT_EQ(ReadFileBytes(file), "Starting Upload\nagain\n");

  WriteFileBytes(home / "Logs", "a file where the folder belongs");
  const std::string prefix = "FAILED TO WRITE\r\n" + (home / "Logs").string() + "\r\n\r\n";
  const std::optional<std::string> noFolder = SaveUploadLog(home / "Logs" / "Upload.txt", "log");
  ASSERT_TRUE(noFolder);
  EXPECT_TRUE(noFolder->starts_with(prefix) && noFolder->size() > prefix.size()) << *noFolder;

  std::filesystem::create_directories(home / "Temp" / "Folder.txt");
  const std::optional<std::string> noFile = SaveUploadLog(home / "Temp" / "Folder.txt", "log");
  ASSERT_TRUE(noFile);
  EXPECT_NE(noFile->find((home / "Temp" / "Folder.txt").string()), std::string::npos);
}

}  // namespace
}  // namespace quenderlink
