#include "core/SiteFileStamp.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <vector>

#include "core/CSiteinfoClass.h"
#include "core/SiteListLoader.h"
#include "support/SiteListFile.h"
#include "support/TempDir.h"
#include "support/TestSite.h"

namespace quenderlink {
namespace {

using testing::TestSite;

std::vector<SiteRecord> Sites() {
  return {TestSite({.name = "A", .address = "10.0.0.1"}), TestSite({.name = "B", .address = "10.0.0.2"})};
}

SiteFileStamp LoadStamped(const std::filesystem::path& path, SiteTable& table) {
  SiteFileStamp loaded;
  EXPECT_EQ(LoadSiteTable(path, table, 10001, loaded), 0);
  return loaded;
}

// One byte of a site name changed where it lies, the file's time put back: only the contents tell.
void ChangeOneByteKeepingSizeAndTime(const std::filesystem::path& path) {
  struct stat before {};
  ASSERT_EQ(::stat(path.c_str(), &before), 0);
  const int fd = ::open(path.c_str(), O_WRONLY);
  ASSERT_EQ(::pwrite(fd, "Z", 1, 60), 1);
  ::close(fd);
  const timespec times[2] = {before.st_atim, before.st_mtim};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

TEST(SiteFileStampTest, GuardedWritesRefuseAFileChangedReplacedOrRemovedSinceItsStampAndLeaveItAlone) {
  const std::pair<const char*, std::function<void(const std::filesystem::path&)>> changes[] = {
      {"changed in place", ChangeOneByteKeepingSizeAndTime},
      {"replaced by another save", [](const auto& path) { testing::WriteSiteList(path, {Sites()[1]}); }},
      {"removed", [](const auto& path) { std::filesystem::remove(path); }},
  };
  for (const auto& [name, change] : changes) {
    SCOPED_TRACE(name);
    testing::TempDir dir;
    const auto path = dir / "sites.bin";
    testing::WriteSiteList(path, Sites());
    SiteTable table;
    const SiteFileStamp loaded = LoadStamped(path, table);
    change(path);
    const bool present = std::filesystem::exists(path);
    const std::string after = present ? testing::ReadFileBytes(path) : "(removed)";

    CSiteinfoClass file;
    EXPECT_FALSE(file.SaveAll(path, table, loaded));
    EXPECT_EQ(file.lastError(), static_cast<std::uint32_t>(kSiteFileChangedElsewhere));
    EXPECT_FALSE(file.AppendRecords(path, table.records(), loaded));
    EXPECT_EQ(file.lastError(), static_cast<std::uint32_t>(kSiteFileChangedElsewhere));
    EXPECT_FALSE(file.WriteRecordAt(path, 1, table[0], TestSite({.name = "new"}), loaded));
    EXPECT_EQ(file.lastError(), static_cast<std::uint32_t>(kSiteFileChangedElsewhere));
    EXPECT_EQ(std::filesystem::exists(path) ? testing::ReadFileBytes(path) : "(removed)", after);
  }
}

// Each write's stamp is the one the next write checks, so a program goes on saving its own changes.
TEST(SiteFileStampTest, EachGuardedWriteGivesTheStampOfWhatItWrote) {
  testing::TempDir dir;
  const auto path = dir / "sites.bin";
  testing::WriteSiteList(path, Sites());
  SiteTable table;
  const SiteFileStamp loaded = LoadStamped(path, table);
  EXPECT_EQ(loaded, StampOfFile(path));

  CSiteinfoClass file;
  const auto rewritten = file.WriteRecordAt(path, 2, table[1], TestSite({.name = "B2", .address = "10.0.0.2"}), loaded);
  ASSERT_TRUE(rewritten);
  EXPECT_EQ(*rewritten, StampOfFile(path));
  const SiteRecord added = TestSite({.name = "C", .address = "10.0.0.3"});
  const auto appended = file.AppendRecords(path, std::span(&added, 1), *rewritten);
  ASSERT_TRUE(appended);
  EXPECT_EQ(*appended, StampOfFile(path));
  const auto saved = file.SaveAll(path, table, *appended);
  ASSERT_TRUE(saved);
  EXPECT_EQ(*saved, StampOfFile(path));
  EXPECT_EQ(testing::SiteNames(testing::LoadedSiteList(path)), (std::vector<std::string>{"A", "B"}));
}

}  // namespace
}  // namespace quenderlink
