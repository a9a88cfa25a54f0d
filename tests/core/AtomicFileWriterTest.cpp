#include "core/AtomicFileWriter.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <cstdlib>

#include "support/TempDir.h"

namespace quenderlink {
namespace {

using namespace testing;

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

// A full disk, as a file size limit makes it in a child process.
TEST(AtomicFileWriterTest, AWriteThatFailsKeepsTheOldFileAndLeavesNoTemporaryFile) {
  const auto writeOverTheLimit = [] {
    bool clean = false;
    {
      TempDir dir;
      const auto path = dir / "out.txt";
      WriteFileBytes(path, "old");
      ::signal(SIGXFSZ, SIG_IGN);
      const rlimit limit{1024, 1024};
      ::setrlimit(RLIMIT_FSIZE, &limit);
      clean = !WriteFileAtomically(path, std::string(4096, 'x')) && ReadFileBytes(path) == "old" &&
              std::distance(std::filesystem::directory_iterator(dir.path()), {}) == 1;
    }
    std::_Exit(clean ? 0 : 1);
  };
  EXPECT_EXIT(writeOverTheLimit(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace quenderlink
