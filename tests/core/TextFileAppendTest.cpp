#include "core/TextFileAppend.h"

#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace quenderlink {
namespace {

using namespace testing;

TEST(TextFileAppendTest, TheTextIsAppendedInAFolderMadeWhenMissingOrTheReasonIsTold) {
  TempDir home;
  const auto file = home / "Temp" / "Upload.txt";
  EXPECT_TRUE(AppendToTextFile(file, "Starting Upload\n"));
  EXPECT_TRUE(AppendToTextFile(file, "again\n"));
  EXPECT_EQ(ReadFileBytes(file), "Starting Upload\nagain\n");

  WriteFileBytes(home / "Logs", "a file where the folder belongs");
  const std::string prefix = "FAILED TO WRITE\r\n" + (home / "Logs").string() + "\r\n\r\n";
  const Result noFolder = AppendToTextFile(home / "Logs" / "Upload.txt", "log");
  ASSERT_FALSE(noFolder);
  EXPECT_TRUE(noFolder.reason().starts_with(prefix) && noFolder.reason().size() > prefix.size()) << noFolder.reason();

  std::filesystem::create_directories(home / "Temp" / "Folder.txt");
  const Result noFile = AppendToTextFile(home / "Temp" / "Folder.txt", "log");
  ASSERT_FALSE(noFile);
  EXPECT_NE(noFile.reason().find((home / "Temp" / "Folder.txt").string()), std::string::npos);
}

}  // namespace
}  // namespace quenderlink
