#include "core/CSiteinfoClass.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <ctime>
#include <vector>

#include "SiteFileBytes.h"
#include "core/FixedText.h"
#include "core/SiteListLoader.h"
#include "support/TempDir.h"
#include "support/TestSite.h"

namespace quenderlink {
namespace {

using namespace testing;

constexpr std::uint32_t kWriteFailed = kSiteFileWriteFailed;

// Loads the file and compares it with the list. Row numbers are positions,
// renumbered at every load, so they are left out; a telnet port of 0 stays 0.
bool HoldsSites(const std::filesystem::path& file, const SiteTable& expected) {
  SiteTable loaded;
  if (LoadSiteTable(file, loaded, 0) != 0 || loaded.size() != expected.size()) return false;
  for (std::size_t i = 0; i < loaded.size(); ++i) {
    SiteRecord a = loaded[i], b = expected[i];
    a.RowNumber = b.RowNumber = 0;
    if (!testing::SameRecordBytes(a, b)) return false;
  }
  return true;
}

bool StampedBetween(const std::string& fileBytes, std::time_t before, std::time_t after) {
  for (std::time_t t = before; t <= after; ++t) {
    std::tm local{};
    localtime_r(&t, &local);
    const SiteFileHeader header = MakeSiteFileHeader(&local);
    if (fileBytes.compare(0, 6, reinterpret_cast<const char*>(&header), 6) == 0) return true;
  }
  return false;
}

TEST(CSiteinfoClassTest, OpenAndCheckKeepsItsRefusalAndLetsReadersShareButKeepsWritersOut) {
  TempDir dir;
  const auto path = dir / "sites.bin";
  WriteFileBytes(path, HeaderBytes() + RecordBytes("A", 1, 0));
  WriteFileBytes(dir / "other.bin", HeaderBytes("Brindlemar Data File") + RecordBytes("A", 1, 0));
  CSiteinfoClass first, second, writer;
  EXPECT_EQ(first.OpenAndCheck(dir.path(), false), kSiteFileOpenFailed);
  EXPECT_EQ(first.OpenAndCheck(dir / "other.bin", false), kSiteFileNoSignature);
  EXPECT_EQ(first.lastError(), static_cast<std::uint32_t>(kSiteFileNoSignature));
  WriteFileBytes(dir / "cut.bin", HeaderBytes().substr(0, 59));
  EXPECT_EQ(first.OpenAndCheck(dir / "cut.bin", false), kSiteFileTooShort);

  // What a new blank list is written as opens as a list of no sites.
  ASSERT_TRUE(writer.CreateBlank(dir / "blank.bin"));
  SiteTable blank;
  blank.Replace({NewSiteRecord(9001)});
  EXPECT_EQ(LoadSiteTable(dir / "blank.bin", blank, 0), 0);
  EXPECT_EQ(blank.size(), 0u);

  ASSERT_EQ(first.OpenAndCheck(path, false), 0);
  EXPECT_EQ(second.OpenAndCheck(path, true), 0);
  EXPECT_FALSE(writer.AppendRecord(path, NewSiteRecord(9001)));
  first.Close();
  second.Close();

  const int holder = ::open(path.c_str(), O_RDONLY);
  ASSERT_EQ(::flock(holder, LOCK_EX), 0);
  EXPECT_EQ(first.OpenAndCheck(path, false), kSiteFileOpenFailed);
  ::close(holder);
  EXPECT_EQ(ReadFileBytes(path).size(), 203u);
}

TEST(CSiteinfoClassTest, ReadRecordsReadsWhatFitsNumbersEverySlotAndFailsOnRecordsCutAfterTheCheck) {
  TempDir dir;
  const auto path = dir / "sites.bin";
  WriteFileBytes(path, HeaderBytes() + RecordBytes("A", 65535, 0) + RecordBytes("B", 9, 23));
  CSiteinfoClass file;
  std::vector<SiteRecord> slots(4, SiteRecord{});
  ASSERT_EQ(file.OpenAndCheck(path, false), 0);
  ASSERT_EQ(file.ReadRecords(slots, 4321), 2);
  for (std::uint16_t i = 0; i < 4; ++i) EXPECT_EQ(int{slots[i].RowNumber}, i + 1);
  EXPECT_EQ(int{slots[3].TelnetPort}, 4321);

  ASSERT_EQ(file.OpenAndCheck(path, false), 0);
  EXPECT_EQ(file.ReadRecords(std::span(slots).first(1), 4321), 1);
  EXPECT_EQ(file.ReadRecords(slots, 4321), -1) << "the file is closed after a read";

  ASSERT_EQ(file.OpenAndCheck(path, false), 0);
  std::filesystem::resize_file(path, 250);
  EXPECT_EQ(file.ReadRecords(slots, 10001), -1);
  EXPECT_EQ(file.lastError(), static_cast<std::uint32_t>(kSiteFileReadShort));
}

TEST(CSiteinfoClassTest, ALoadAndASavePassEveryRecordByteAndTheSaveStampsTheHeader) {
  // Each byte holds a value of its own, so a load changing any field shows (the struct's offsets are pinned
  // where it is declared); the row number is the record's position, as a load sets it.
  std::string record(143, '\0');
  for (std::size_t at = 0; at < record.size(); ++at) record[at] = static_cast<char>(at + 1);
  PutU16(record, 112, 1);
  TempDir dir;
  WriteFileBytes(dir / "in.bin", HeaderBytes() + record);

  SiteTable table;
  ASSERT_EQ(LoadSiteTable(dir / "in.bin", table, 10001), 0);
  std::vector<SiteRecord> withDeleted{table[0], table[0]};
  withDeleted[0].RowNumber = kNoRow;
  SiteTable saved;
  saved.Replace(withDeleted);
  const std::time_t before = std::time(nullptr);
  ASSERT_TRUE(CSiteinfoClass().SaveAll(dir / "out.bin", saved));
  const std::time_t after = std::time(nullptr);
  const std::string bytes = ReadFileBytes(dir / "out.bin");
  ASSERT_EQ(bytes.size(), 203u);
  EXPECT_TRUE(StampedBetween(bytes, before, after));
  EXPECT_EQ(bytes.substr(6, 54), std::string(kSignatureText) + std::string(10, '\0'));
  EXPECT_EQ(bytes.substr(60), record);
}

// Appending to a new file and to a header alone (a new blank list) is met in SiteListCommandsTest.
TEST(CSiteinfoClassTest, AppendRecordOverwritesPartialTrailingBytesAndRefusesForeignFiles) {
  TempDir dir;
  SiteTable sites;
  sites.Replace({TestSite({.name = "site0"}), TestSite({.name = "site1"})});
  const auto path = dir / "sites.bin";
  WriteFileBytes(path, HeaderBytes() + std::string(reinterpret_cast<const char*>(&sites[0]), 143) +
                           std::string(50, 'J'));
  ASSERT_TRUE(CSiteinfoClass().AppendRecord(path, sites[1]));
  EXPECT_EQ(ReadFileBytes(path).size(), 346u);
  EXPECT_TRUE(HoldsSites(path, sites));

  // Files of other kinds are left alone.
  CSiteinfoClass file;
  for (const std::string& contents : {std::string("hello"), std::string(400, 'x')}) {
    WriteFileBytes(dir / "other.txt", contents);
    EXPECT_FALSE(file.AppendRecord(dir / "other.txt", NewSiteRecord(9001)));
    EXPECT_EQ(file.lastError(), kWriteFailed);
    EXPECT_EQ(ReadFileBytes(dir / "other.txt"), contents);
  }
}

}  // namespace
}  // namespace quenderlink
