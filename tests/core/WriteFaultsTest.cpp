// Every file the program writes, on a disk that is full or read-only: the
// write says it failed, the file written before is left as it was and no
// working file is left beside it.
#include <gtest/gtest.h>

#include <functional>
#include <iostream>
#include <optional>
#include <set>
#include <string>

#include "core/CSiteinfoClass.h"
#include "core/IniSettingsFile.h"
#include "core/TextFileAppend.h"
#include "exchange/SiteWorkbookExport.h"
#include "support/SmallDisk.h"
#include "support/TempDir.h"
#include "support/TestSite.h"
#include "terminal/CaptureFile.h"

namespace quenderlink {
namespace {

using testing::SmallDisk;
using testing::TempDir;

SiteTable Sites(int count) {
  SiteTable table;
  std::vector<SiteRecord> records;
  for (int i = 0; i < count; ++i)
    records.push_back(testing::TestSite({.name = "SITE " + std::to_string(i), .address = "127.0.0.1"}));
  table.Replace(records);
  return table;
}

// Larger than what a full disk may still hold in a file's last page.
const std::string kLongText(64 * 1024, 't');

// A writer writes its file once small and once large; the large one meets the fault.
// Its result: nothing when written, else what failed (the message, when it gives one).
struct Writer {
  const char* name;
  std::string file;
  std::function<std::optional<std::string>(const std::filesystem::path& folder, bool large)> write;
  bool keepsAPrefix = false;  // a stream written as it comes: what was there stays at the start
};

std::optional<std::string> Failed(bool ok) { return ok ? std::nullopt : std::optional<std::string>(""); }
std::optional<std::string> Failed(const Result& result) {
  return result ? std::nullopt : std::optional(result.reason());
}

// The text and CSV exports are written whole, as the settings are, and pass the result on.
std::vector<Writer> Writers() {
  return {
      {"site list save", "sites.bin",
       [](const auto& folder, bool large) {
         return Failed(CSiteinfoClass().SaveAll(folder / "sites.bin", Sites(large ? 500 : 1)));
       }},
      {"site list append", "appended.bin",
       [](const auto& folder, bool large) {
         const SiteTable table = Sites(large ? 500 : 1);
         return Failed(CSiteinfoClass().AppendRecords(folder / "appended.bin", table.records()));
       }},
      {"settings", "Quenderlink.ini",
       [](const auto& folder, bool large) {
         return Failed(IniSettingsFile(folder).WriteString("MISC", "Note", large ? kLongText : "short"));
       }},
      {"workbook", "book.xlsx",
       [](const auto& folder, bool large) {
         const SiteTable sites = Sites(large ? 2000 : 1);
         return Failed(WriteSiteWorkbook({sites, 0, folder / "book.xlsx", std::nullopt}));
       }},
      {"upload report", "report.txt",
       [](const auto& folder, bool large) {
         return Failed(AppendToTextFile(folder / "report.txt", large ? kLongText : "first"));
       }},
      {"capture", "capture.txt",
       [](const auto& folder, bool large) {
         CaptureFile capture;
         if (const Result opened = capture.Open(folder / "capture.txt"); !opened) return Failed(opened);
         return Failed(capture.Write(large ? kLongText : "first"));
       },
       true},
  };
}

// Runs every writer against the fault in a child with a disk of its own.
void ExpectEveryWriterRefused(const char* fault, const char* reason,
                              const std::function<bool(SmallDisk&)>& makeFault) {
  TempDir dir;
  SmallDisk disk(dir.path());
  const int code = disk.Run([&](SmallDisk& self) {
    std::vector<std::string> before;
    for (const Writer& writer : Writers()) {
      if (writer.write(dir.path(), false)) return 3;
      before.push_back(testing::ReadFileBytes(dir / writer.file));
    }
    if (!makeFault(self)) return 4;
    int failures = 0;
    for (std::size_t i = 0; i < Writers().size(); ++i) {
      const Writer writer = Writers()[i];
      const std::optional<std::string> failure = writer.write(dir.path(), true);
      const std::string after = testing::ReadFileBytes(dir / writer.file);
      const bool intact = writer.keepsAPrefix ? after.starts_with(before[i]) : after == before[i];
      const bool told = failure && (failure->empty() || failure->find(reason) != std::string::npos);
      if (!failure || !told || !intact) {
        std::cerr << fault << ", " << writer.name << ": " << (failure ? "failed with \"" + *failure + "\"" : "written")
                  << (intact ? "" : ", the earlier file changed") << "\n";
        ++failures;
      }
    }
    // A failed write takes its working file with it.
    std::set<std::string> kept{".filler"};
    for (const Writer& writer : Writers()) kept.insert(writer.file);
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
      if (!kept.contains(entry.path().filename().string())) {
        std::cerr << fault << ": " << entry.path().filename() << " left behind\n";
        ++failures;
      }
    return failures == 0 ? 0 : 1;
  });
  if (code == testing::kNoSmallDisk) GTEST_SKIP() << "this process cannot mount a disk of its own";
  EXPECT_EQ(code, 0) << "see above";
}

TEST(WriteFaults, AFullDiskIsToldAndLeavesEarlierFilesAsTheyWere) {
  ExpectEveryWriterRefused("full disk", "No space left on device", [](SmallDisk& disk) {
    disk.Fill();
    return true;
  });
}

TEST(WriteFaults, AReadOnlyDiskIsToldAndLeavesEarlierFilesAsTheyWere) {
  ExpectEveryWriterRefused("read-only disk", "Read-only file system",
                           [](SmallDisk& disk) { return disk.MakeReadOnly(); });
}

}  // namespace
}  // namespace quenderlink
