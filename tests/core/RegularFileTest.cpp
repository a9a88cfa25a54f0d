#include "core/RegularFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/TempDir.h"

namespace quenderlink {
namespace {

using namespace testing;

TEST(RegularFileTest, ARegularFileOrALinkToOneIsReadWhateverElseIsRefusedNamingThePath) {
  TempDir dir;
  WriteFileBytes(dir / "sites.csv", "10.1.2.3,9001\n");
  std::filesystem::create_symlink(dir / "sites.csv", dir / "link.csv");
  for (const char* name : {"sites.csv", "link.csv"}) {
    const RegularFileBytes read = ReadRegularFile(dir / name, 1024);
    EXPECT_TRUE(read.ok()) << read.refusal;
    EXPECT_EQ(read.bytes, "10.1.2.3,9001\n") << name;
  }

  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
  struct Refused {
    std::filesystem::path path;
    RegularFileBytes::Failure failure;
    std::string reason;
  };
  const Refused refused[] = {
      {dir.path(), RegularFileBytes::Failure::NotRegular, "is not a regular file but a folder"},
      {"/dev/zero", RegularFileBytes::Failure::NotRegular, "is not a regular file but a character device"},
      {dir / "fifo", RegularFileBytes::Failure::NotRegular, "is not a regular file but a FIFO"},
      {dir / "missing", RegularFileBytes::Failure::CannotOpen, "cannot be opened: No such file or directory"},
      {dir / "sites.csv", RegularFileBytes::Failure::TooLarge, "is larger than 13 bytes"},
  };
  for (const Refused& file : refused) {
    const RegularFileBytes read = ReadRegularFile(file.path, 13);
    EXPECT_EQ(read.failure, file.failure) << file.path;
    EXPECT_EQ(read.refusal, file.path.string() + ": " + file.reason);
    EXPECT_TRUE(read.bytes.empty()) << file.path;
  }
}

}  // namespace
}  // namespace quenderlink
