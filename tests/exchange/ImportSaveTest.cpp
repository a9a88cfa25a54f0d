#include "exchange/ImportSave.h"

#include <gtest/gtest.h>

#include "core/SiteListLoader.h"
#include "support/SiteListFile.h"
#include "support/TempDir.h"
#include "support/TestSite.h"

namespace quenderlink {
namespace {

using testing::TempDir;
using testing::TestSite;

TEST(ImportSaveTest, AppendingTwiceAddsNothingTheSecondTimeAndANewFileTakesEveryRecord) {
  TempDir dir;
  const auto path = dir / "sites.bin";
  const std::vector<SiteRecord> records = {TestSite({.address = "127.0.0.5"}), TestSite({.address = "127.0.0.6"}),
                                           TestSite({.address = "127.0.0.6", .port = 9002})};
  ImportSaveResult first = AppendImportedSites(path, records, SiteTable{});
  EXPECT_EQ(first.written, 3);
  EXPECT_EQ(first.error, "");
  // The main view has reloaded the file meanwhile.
  const ImportSaveResult second = AppendImportedSites(path, records, testing::LoadedSiteList(path));
  EXPECT_EQ(second.written, 0);
  EXPECT_EQ(second.alreadyListed, std::vector<bool>(3, true));
  EXPECT_EQ(testing::LoadedSiteList(path).size(), 3u);
  EXPECT_EQ(SaveImportedSitesAs(dir / "new.bin", records).written, 3);
}

TEST(ImportSaveTest, FailedSavesSayWhy) {
  TempDir dir;
  const auto notSites = dir / "notes.txt";
  testing::WriteFileBytes(notSites, "not a site list");
  const std::vector<SiteRecord> records = {TestSite({.address = "127.0.0.5"})};
  const ImportSaveResult appended = AppendImportedSites(notSites, records, SiteTable{});
  EXPECT_EQ(appended.written, 0);
  EXPECT_NE(appended.error.find(notSites.string()), std::string::npos);

  const ImportSaveResult saved = SaveImportedSitesAs(dir / "missing" / "new.bin", records);
  EXPECT_EQ(saved.written, 0);
  EXPECT_FALSE(saved.error.empty());

  // The listed sites came from the file before another program saved it.
  const auto listedFile = testing::WriteSiteList(dir / "sites.bin", {TestSite({.address = "127.0.0.6"})});
  SiteTable listed;
  SiteFileStamp loaded;
  ASSERT_EQ(LoadSiteTable(listedFile, listed, 0, loaded), 0);
  const std::string others = testing::ReadFileBytes(testing::WriteSiteList(listedFile, records));
  const std::vector<SiteRecord> fresh = {TestSite({.address = "127.0.0.7"})};
  const ImportSaveResult stale = AppendImportedSites(listedFile, fresh, listed, loaded);
  EXPECT_EQ(stale.written, 0);
  EXPECT_NE(stale.error.find("changed by another program"), std::string::npos) << stale.error;
  EXPECT_EQ(testing::ReadFileBytes(listedFile), others);
}

TEST(ImportSaveTest, TheMenuOffersAppendsOnlyWithACurrentFile) {
  const auto texts = [](const std::vector<PopupItem>& items) {
    std::string text;
    for (const PopupItem& item : items) text += std::to_string(item.id) + ":" + item.text + "|";
    return text;
  };
  EXPECT_EQ(texts(ImportSaveMenu("/home/ops/Lake.bin")),
            "1:Append ALL to Lake.bin|0:|2:Append SUCCESSFUL to Lake.bin|0:|10:Save ALL in New File ...|0:|"
            "11:Save SUCCESSFUL in New File ...|");
  EXPECT_EQ(texts(ImportSaveMenu("a.bi")), "10:Save ALL in New File ...|0:|11:Save SUCCESSFUL in New File ...|");
}

}  // namespace
}  // namespace quenderlink
