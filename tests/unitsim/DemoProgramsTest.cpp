#include <gtest/gtest.h>

#include <set>
#include <span>

#include "core/Lookups.h"
#include "core/ProgramFileIdentification.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"
#include "unitsim/DemoFleet.h"
#include "unitsim/DemoHome.h"
#include "upload/PacketPlan.h"

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
