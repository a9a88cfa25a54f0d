#include "core/TextFileAppend.h"

#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace quenderlink {
namespace {

using namespace testing;

TEST(TextFileAppendTest, TheTextIsAppendedInAFolderMadeWhenMissingOrTheReasonIsTold) {
  TempDir home;
  const auto file = home / "Temp" / "Upload.txt";
  EXPECT_EQ(AppendToTextFile(file, "Starting Upload\n"), std::nullopt);
  EXPECT_EQ(AppendToTextFile(file, "again\n"), std::nullopt);
  EXPECT_EQ(ReadFileBytes(file), "Starting Upload\nagain\n");

  WriteFileBytes(home / "Logs", "a file where the folder belongs");
  const std::string prefix = "FAILED TO WRITE\r\n" + (home / "Logs").string() + "\r\n\r\n";
  const std::optional<std::string> noFolder = AppendToTextFile(home / "Logs" / "Upload.txt", "log");
  ASSERT_TRUE(noFolder);
  EXPECT_TRUE(noFolder->starts_with(prefix) && noFolder->size() > prefix.size()) << *noFolder;

  std::filesystem::create_directories(home / "Temp" / "Folder.txt");
  const std::optional<std::string> noFile = AppendToTextFile(home / "Temp" / "Folder.txt", "log");
  ASSERT_TRUE(noFile);
  EXPECT_NE(noFile->find((home / "Temp" / "Folder.txt").string()), std::string::npos);
}

}  // namespace
}  // namespace quenderlink
