#include "unitsim/DemoHome.h"

#include <gtest/gtest.h>

#include <set>
#include <span>

#include "core/FixedText.h"
#include "core/IniSettingsFile.h"
#include "core/Lookups.h"
#include "core/ProgramFileIdentification.h"
#include "core/SiteListLoader.h"
#include "core/SiteTable.h"
#include "journal/HistoryRows.h"
#include "journal/JournalFile.h"
#include "journal/JournalReader.h"
#include "journal/JournalTime.h"
#include "journal/ListedSite.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"
#include "support/TestSite.h"
#include "unitsim/DemoFleet.h"
#include "unitsim/DemoHistory.h"
#include "upload/PacketPlan.h"

namespace quenderlink::unitsim {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

const fs::path kSamples = QUENDERLINK_DEMO_PROGRAMS;

// Prepared twice, as a second demo start does: each history entry stays once.
TEST(PrepareDemoHome, WritesTheSiteListAndTheSampleProgramsWithTheCad2FileFirstOrRefusesWhatItCannotMake) {
  const TempDir folder;
  const std::filesystem::path home = folder / "demo";
  const DemoFleet fleet = MakeDemoFleet();
  std::string error;
  ASSERT_TRUE(PrepareDemoHome(home, fleet, kSamples, error)) << error;
  ASSERT_TRUE(PrepareDemoHome(home, fleet, kSamples, error)) << error;

  IniSettingsFile settings(home);
  EXPECT_EQ(settings.ReadInt(settings::kRoad), kRailroadNs);
  EXPECT_EQ(settings.ReadInt(settings::kPingMaxWaitResponse), 2u) << "silent units fail within seconds";
  // Read without the built-in default, which would answer for a key the file lacks.
  EXPECT_EQ(settings.ReadString(settings::kWho.section, settings::kWho.key, ""), settings::kWho.defaultText)
      << "the creation defaults are written";
  ASSERT_EQ(settings.ReadFileHistory(HistoryKind::SiteFiles), 1);
  const std::string siteList = settings.FileHistory()[0];
  EXPECT_EQ(std::filesystem::path(siteList), home / "DemoSites.bin");
  SiteTable table;
  ASSERT_EQ(LoadSiteTable(siteList, table, 10001), 0);
  ASSERT_EQ(table.size(), fleet.sites.size());
  for (std::size_t i = 0; i < table.size(); ++i)
    EXPECT_TRUE(testing::SameRecordBytes(table[i], fleet.sites[i])) << FieldText(table[i].SiteName);

  std::size_t samples = 0;
  for (const auto& sample : std::filesystem::directory_iterator(kSamples)) {
    ++samples;
    EXPECT_EQ(testing::ReadFileBytes(home / "Programs" / sample.path().filename()),
              testing::ReadFileBytes(sample.path()))
        << sample.path().filename();
  }
  // Every sample but the read-me.
  ASSERT_EQ(settings.ReadFileHistory(HistoryKind::ProgramFiles), static_cast<int>(samples) - 1);
  const auto& history = settings.FileHistory();
  EXPECT_EQ(IdentifyProgramFile(history[0]), kProductCad2) << history[0];
  for (std::size_t entry = 0; entry + 1 < samples; ++entry)
    EXPECT_EQ(std::filesystem::path(history[entry]).parent_path(), home / "Programs") << history[entry];

  // A missing programs folder leaves a working home; a home that cannot be made or an empty fleet is refused.
  ASSERT_TRUE(PrepareDemoHome(folder / "bare", MakeDemoFleet(), folder / "no-programs", error)) << error;
  IniSettingsFile bare(folder / "bare");
  EXPECT_EQ(bare.ReadFileHistory(HistoryKind::SiteFiles), 1);
  EXPECT_EQ(bare.ReadFileHistory(HistoryKind::ProgramFiles), 0);

  testing::WriteFileBytes(folder / "file", "x");
  EXPECT_FALSE(PrepareDemoHome(folder / "file" / "home", MakeDemoFleet(), kSamples, error));
  EXPECT_NE(error.find("file"), std::string::npos) << error;
  error.clear();
  EXPECT_FALSE(PrepareDemoHome(folder / "home", DemoFleet{}, kSamples, error));
  EXPECT_FALSE(error.empty());
}

// What the history view shows the first time: a week of four pings a day.
TEST(PrepareDemoHome, FillsTheJournalWithAWeekOfTheFleetsHistoryOnce) {
  const TempDir folder;
  const DemoFleet fleet = MakeDemoFleet();
  std::string error;
  ASSERT_TRUE(PrepareDemoHome(folder.path(), fleet, folder / "no-programs", error)) << error;
  ASSERT_TRUE(PrepareDemoHome(folder.path(), fleet, folder / "no-programs", error)) << error;

  constexpr std::int64_t kDayMs = 24 * 60 * 60 * 1000;
  const std::int64_t now = JournalNow();
  const JournalPeriod week{now - 8 * kDayMs, now};
  JournalReader reader(folder / kJournalFileName);
  ASSERT_TRUE(reader.opened()) << reader.opened().reason();
  std::size_t lost = 0;
  for (std::size_t unit = 0; unit < fleet.sites.size(); ++unit) {
    const SiteRecord& site = fleet.sites[unit];
    const ListedSite listed = ListedSiteOf(site);
    const SiteAvailability figures = reader.AvailabilityOf(std::vector<SiteKey>{listed.key}, week).front();
    EXPECT_EQ(figures.pings, 28) << listed.name;
    if (listed.name == kDemoDownSite) {
      ASSERT_TRUE(figures.downSince && figures.lastAnswer) << listed.name;
      EXPECT_GT(*figures.downSince, now - kDayMs);
      EXPECT_GT(*figures.lastAnswer, now - 2 * kDayMs);
    } else if (fleet.units[unit].faults.silent) {
      EXPECT_EQ(figures.answered, 0) << listed.name;
    } else {
      lost += static_cast<std::size_t>(figures.pings - figures.answered);
    }
  }
  EXPECT_GT(lost, 0u) << "a few pings are lost";
  EXPECT_LT(lost, fleet.sites.size()) << "only a few";

  std::set<int> replyTimes;
  std::string upload;
  const std::string failedUpload = std::string(kDemoFailedUploadSite).append(" Main 1");
  for (const SiteRecord& site : fleet.sites) {
    const ListedSite listed = ListedSiteOf(site);
    if (listed.name != failedUpload) continue;
    for (const HistoryEntry& entry : reader.HistoryOfSite(listed.key, week)) {
      if (entry.kind == RunKind::Upload) upload = HistoryOutcomeText(entry.result);
      if (entry.result.replyMs >= 0) replyTimes.insert(entry.result.replyMs);
    }
  }
  EXPECT_EQ(upload, "upload failed at packets");
  EXPECT_GT(replyTimes.size(), 10u) << "reply times vary";
}

std::span<const std::uint8_t> Bytes(const std::string& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

TEST(DemoPrograms, OneFileForEachProductFamilyThatTheUploaderAcceptsAndSendsInAFewDozenPackets) {
  const std::uint32_t maxDatagram = MakeDemoFleet().units.front().identity.maxDatagram;
  std::set<std::uint8_t> families;
  for (const fs::directory_entry& entry : fs::directory_iterator(kSamples)) {
    const fs::path& file = entry.path();
    if (!entry.is_regular_file() || file.filename() == "README.txt") continue;
    testing::ScriptedPrompts prompts;
    EXPECT_TRUE(CheckProgramFile(file, prompts)) << file;
    EXPECT_TRUE(families.insert(IdentifyProgramFile(file)).second) << file << " repeats a family or has none";
    const std::string image = testing::ReadFileBytes(file);
    ASSERT_FALSE(image.empty()) << file;
    EXPECT_TRUE(image[0] != 0 && UsedEnd(Bytes(image), 0)) << file << " holds no program for the uploader";
    const std::uint32_t packets = MakePacketPlan(Bytes(image), maxDatagram, 0).totalPackets;
    EXPECT_TRUE(packets >= 20 && packets <= 60) << file << ": " << packets << " packets";
  }
  EXPECT_EQ(families, (std::set<std::uint8_t>{kProductRkm, kProductCad1, kProductCollector, kProductRkmMicro,
                                              kProductCadHalvyr, kProductCad2}));
}

TEST(FindDemoPrograms, LooksBesideTheProgramFirstThenInTheInstalledShareFolder) {
  const TempDir folder;
  const fs::path bin = folder / "bin";
  fs::create_directories(bin);
  EXPECT_FALSE(FindDemoPrograms(bin));
  const fs::path installed = folder / "share" / "quenderlink" / "demo-programs";
  fs::create_directories(installed);
  EXPECT_EQ(FindDemoPrograms(bin), installed);
  fs::create_directories(bin / "demo-programs");
  EXPECT_EQ(FindDemoPrograms(bin), bin / "demo-programs");
}

}  // namespace
}  // namespace quenderlink::unitsim
