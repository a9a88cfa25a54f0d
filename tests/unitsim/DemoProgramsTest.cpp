#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <span>

#include "core/FixedText.h"
#include "core/Lookups.h"
#include "core/ProgramFileIdentification.h"
#include "core/VersionText.h"
#include "net/EngineRecorder.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"
#include "unitsim/DemoFleet.h"
#include "unitsim/DemoHome.h"
#include "upload/PacketPlan.h"
#include "upload/UploadEngine.h"

namespace quenderlink::unitsim {
namespace {

namespace fs = std::filesystem;
using namespace testing;

const fs::path kSamples = QUENDERLINK_DEMO_PROGRAMS;

std::vector<fs::path> SampleProgramFiles() {
  std::vector<fs::path> files;
  for (const fs::directory_entry& entry : fs::directory_iterator(kSamples))
    if (entry.is_regular_file() && entry.path().filename() != "README.txt") files.push_back(entry.path());
  return files;
}

std::span<const std::uint8_t> Bytes(const std::string& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

TEST(DemoPrograms, OneFileForEachProductFamilyThatTheUploaderAcceptsAndSendsInAFewDozenPackets) {
  const std::uint32_t maxDatagram = MakeDemoFleet().units.front().identity.maxDatagram;
  std::set<std::uint8_t> families;
  for (const fs::path& file : SampleProgramFiles()) {
    ScriptedPrompts prompts;
    EXPECT_TRUE(CheckProgramFile(file, prompts)) << file;
    EXPECT_TRUE(families.insert(IdentifyProgramFile(file)).second) << file << " repeats a family or has none";
    const std::string image = ReadFileBytes(file);
    ASSERT_FALSE(image.empty()) << file;
    EXPECT_TRUE(image[0] != 0 && UsedEnd(Bytes(image), 0)) << file << " holds no program for the uploader";
    const std::uint32_t packets = MakePacketPlan(Bytes(image), maxDatagram, 0).totalPackets;
    EXPECT_TRUE(packets >= 20 && packets <= 60) << file << ": " << packets << " packets";
  }
  EXPECT_EQ(families, (std::set<std::uint8_t>{kProductRkm, kProductCad1, kProductCollector, kProductRkmMicro,
                                              kProductCadHalvyr, kProductCad2}));
}

// What the engine reports of its only job that a test looks at.
class LastUploadResult : public UploadEngineListener {
 public:
  std::string newVersion;
  std::string failure;

  void OnUploadEvent(int, std::uint16_t, int) override {}
  void OnPacketText(std::uint16_t, const std::string&) override {}
  void OnNewProgramAnswered(std::uint16_t, const DeviceReply& reply) override {
    newVersion = VersionText(reply.VersionMajor, reply.VersionMinor);
  }
  void OnUploadFailed(UploadFailure, std::uint16_t, const std::string& text) override { failure = text; }
  void OnUploadDone() override {}
};

TEST(DemoPrograms, AnOlderDemoUnitTakesItsFamilysFileWholeAndComesBackOnTheCurrentRelease) {
  const DemoFleet fleet = MakeDemoFleet();
  const auto older = std::ranges::find_if(fleet.sites, [](const SiteRecord& site) {
    return site.ProductType == kProductRkm && VersionText(site.VersionMajor, site.VersionMinor) != "5.14";
  });
  ASSERT_NE(older, fleet.sites.end());
  const auto index = static_cast<std::size_t>(older - fleet.sites.begin());
  // Off the demo's own network, and without the restarts' pauses.
  UnitConfig unit = fleet.units[index];
  unit.address = "127.91.0.1";
  unit.upload.ramLoaderDelayMs = 0;
  unit.upload.rebootDelayMs = 0;
  const auto simulator = StartUnits({unit});

  SiteRecord site = *older;
  SetFieldText(site.HostText, unit.address);
  site.SiteFlags = kFlagHighlighted;
  SiteTable sites;
  sites.Replace({site});
  RuntimeParams params;
  params.railroadCode = kRailroadNs;
  params.pingMaxWaitResponse = 2;
  params.uploadMinWaitRamLoader = 0;
  params.uploadMinWaitSysReboot = 0;
  LastUploadResult result;
  UploadRequest request;
  request.listener = &result;
  request.sites = &sites;
  request.params = &params;
  request.filePath = (kSamples / "Demo_RKM_5.14.bin").string();

  ASSERT_TRUE(RunEngine(UploadEngine, request));
  EXPECT_EQ(result.failure, "");
  EXPECT_TRUE(simulator->ImageMatches(unit.address, unit.port, request.filePath));
  EXPECT_EQ(result.newVersion, "5.14");
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
