#include "core/AtomicFileWriter.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/TempDir.h"

namespace quenderlink {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

TEST(AtomicFileWriterTest, UncommittedWriterLeavesNothingBehind) {
  TempDir dir;
  {
    AtomicFileWriter writer(dir / "out.txt");
    ASSERT_TRUE(writer.Open());
    ASSERT_TRUE(writer.Write("half written"));
  }
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(AtomicFileWriterTest, CommitReplacesTheContentsAndKeepsThePermissions) {
  TempDir dir;
  const auto path = dir / "out.txt";
  WriteFileBytes(path, "old contents that are longer");
  ::chmod(path.c_str(), 0640);
  ASSERT_TRUE(WriteFileAtomically(path, "new"));
  EXPECT_EQ(ReadFileBytes(path), "new");
  struct stat status {};
  ASSERT_EQ(::stat(path.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0640u);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

}  // namespace
}  // namespace quenderlink
