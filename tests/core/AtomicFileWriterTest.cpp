#include "core/AtomicFileWriter.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/TempDir.h"

namespace quenderlink {
namespace {

using namespace testing;

// Failed writes, on a full or read-only disk, are met in WriteFaultsTest.
TEST(AtomicFileWriterTest, CommitReplacesTheContentsKeepingThePermissionsAndAnUncommittedWriterLeavesNothing) {
  TempDir dir;
  const auto path = dir / "out.txt";
  WriteFileBytes(path, "old contents that are longer");
  ::chmod(path.c_str(), 0640);
  {
    AtomicFileWriter writer(dir / "out.txt");
    ASSERT_TRUE(writer.Open());
    ASSERT_TRUE(writer.Write("half written"));
  }
  EXPECT_EQ(ReadFileBytes(path), "old contents that are longer");

  ASSERT_TRUE(WriteFileAtomically(path, "new"));
  EXPECT_EQ(ReadFileBytes(path), "new");
  struct stat status {};
  ASSERT_EQ(::stat(path.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0640u);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

// The rename is the commit's last step: its failure must not be reported as a saved file.
TEST(AtomicFileWriterTest, ACommitWhoseRenameFailsFailsAndLeavesNoWorkingFile) {
  TempDir dir;
  std::filesystem::create_directory(dir / "taken");
  EXPECT_FALSE(WriteFileAtomically(dir / "taken", "new"));
  EXPECT_TRUE(std::filesystem::is_empty(dir / "taken"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

}  // namespace
}  // namespace quenderlink
