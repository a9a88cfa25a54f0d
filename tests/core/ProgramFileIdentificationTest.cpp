#include "core/ProgramFileIdentification.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/FixedText.h"
#include "core/Lookups.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"
#include "support/TestSite.h"

namespace quenderlink {
namespace {

using testing::ScriptedPrompts;
using testing::TempDir;
using testing::WriteFileBytes;
using Shown = ScriptedPrompts::Shown;
using namespace std::string_literals;

constexpr char kRkmTexts[] = "..Norfolk Southern RKM..Route Kiosk Monitor..";
constexpr char kRkmMicroTexts[] = "..access Micro..RKM_Micro..";
constexpr char kCad1Texts[] = "..No axle count from QZ!..Getting Train Header from QZ..";
constexpr char kCollectorTexts[] = "..Remote Begin..Collector..";

std::string WithNulAfterEachChar(std::string_view text) {
  std::string spread;
  for (char c : text) spread += std::string{c, '\0'};
  return spread;
}

class ProgramFileTest : public ::testing::Test {
 protected:
  std::filesystem::path Write(const std::string& bytes, const std::string& name = "") {
    const auto file = dir_ / (name.empty() ? "file" + std::to_string(count_++) + ".bin" : name);
    WriteFileBytes(file, bytes);
    return file;
  }
  std::string LastText() const { return prompts_.Last().text; }

  TempDir dir_;
  int count_ = 0;
  ScriptedPrompts prompts_;
};

TEST_F(ProgramFileTest, SearchNeedsBothTextsAndReachesTheEndOfALargeFile) {
  EXPECT_FALSE(FileContainsBoth("Remote Begin", "Collector", Write("Remote Begin only")));
  EXPECT_TRUE(FileContainsBoth("Norfolk Southern RKM", "Route Kiosk Monitor",
                               Write(std::string(4 * 1024 * 1024, 'x') + kRkmTexts)));
  // An empty first text is found anywhere, an empty second text nowhere.
  const auto file = Write("just the Collector");
  EXPECT_TRUE(FileContainsBoth("", "Collector", file));
  EXPECT_FALSE(FileContainsBoth("Collector", "", file));
  EXPECT_FALSE(FileContainsBoth("", "Collector", dir_ / "missing.bin"));
}

// Every placement around the first read boundaries, for the minimum window, for a text
// long enough to widen it, and for a text spread by NULs: removing them shrinks a window,
// so the tail carried to the next read must be taken from the cleaned text.
TEST_F(ProgramFileTest, SearchIgnoresCaseAndNulBytesAndFindsTextsStraddlingAnyReadBoundary) {
  for (const std::string& text : {"Collector"s, std::string(100, 'Q')}) {
    const std::size_t read = std::max<std::size_t>(128, 2 * text.size()) - text.size();
    for (std::size_t offset = read - text.size(); offset <= 3 * read + 1; ++offset)
      ASSERT_TRUE(FileContainsBoth("", text, Write(std::string(offset, '.') + text)))
          << "length " << text.size() << " offset " << offset;
  }
  for (std::size_t offset = 100; offset <= 260; ++offset)
    ASSERT_TRUE(FileContainsBoth("", "collector", Write(std::string(offset, '\0') + WithNulAfterEachChar("Collector"))))
        << offset;
}

TEST_F(ProgramFileTest, IdentificationRulesInOrder) {
  EXPECT_EQ(IdentifyProgramFile(Write(kCad1Texts)), kProductCad1);
  EXPECT_EQ(IdentifyProgramFile(Write(kCollectorTexts)), kProductCollector);
  EXPECT_EQ(IdentifyProgramFile(Write("\xC3 nothing known")), 0);
  EXPECT_EQ(IdentifyProgramFile(Write(kRkmTexts + std::string(kRkmMicroTexts))), kProductRkmMicro);
  // Content rules before the S-record path, the path before the later content rules.
  EXPECT_EQ(IdentifyProgramFile(Write(kRkmTexts, "rkm.s19")), kProductRkm);
  EXPECT_EQ(IdentifyProgramFile(Write(kCollectorTexts, "collector.S19")), kProductCad2);
  std::filesystem::create_directory(dir_ / "old.s19.d");
  EXPECT_EQ(IdentifyProgramFile(Write("\xC3\x00\x01"s, "old.s19.d/image.bin")), kProductCad2);
}

TEST_F(ProgramFileTest, CheckProgramFileLooksAtTheFirstByte) {
  EXPECT_TRUE(CheckProgramFile(Write("\xC3\x12"), prompts_));
  EXPECT_TRUE(CheckProgramFile(Write("\xC7"), prompts_));
  EXPECT_TRUE(CheckProgramFile(Write("S00600004844521B", "a.s19"), prompts_));
  EXPECT_TRUE(CheckProgramFile(Write("0", "b.S19"), prompts_));
  EXPECT_TRUE(prompts_.shown.empty());

  const std::vector<std::pair<std::filesystem::path, std::string>> refused = {
      {Write("\0\xC3"s), "SELECTED FILE IS NOT A VALID BIN FILE (1)"},
      {Write(""), "SELECTED FILE IS NOT A VALID BIN FILE (1)"},
      {Write("S006"), "SELECTED FILE IS NOT A VALID BIN FILE (2)"},
      {Write("\xC3", "c.s19"), "SELECTED FILE IS NOT A VALID Cadmarin-2 FILE (3)"},
      {Write("", "empty.s19"), "SELECTED FILE IS NOT A VALID Cadmarin-2 FILE (3)"},
      {dir_ / "missing.bin", "FAILED TO OPEN BIN FILE"},
  };
  for (const auto& [file, message] : refused) {
    EXPECT_FALSE(CheckProgramFile(file, prompts_)) << file;
    EXPECT_EQ(prompts_.Last().kind, Shown::Message);
    EXPECT_EQ(LastText(), message) << file;
  }
  // Without a path it asks to choose one.
  EXPECT_FALSE(CheckProgramFile("a.bi", prompts_));
  EXPECT_EQ(prompts_.Last().errorId, ErrorId::kNoProgramFile);
  EXPECT_EQ(LastText(), "");
}

class CheckProgramForSitesTest : public ProgramFileTest {
 protected:
  void AddSite(std::uint8_t productType, bool highlighted = true) {
    const std::uint8_t flags = highlighted ? kFlagHighlighted : kFlagTicked;
    records_.push_back(
        testing::TestSite({.address = "unit" + std::to_string(records_.size()), .product = productType, .flags = flags}));
  }
  bool Check(const std::filesystem::path& file) {
    sites_.Replace(records_);
    prompts_.shown.clear();
    return CheckProgramForSites(file, sites_, params_, prompts_);
  }

  std::vector<SiteRecord> records_;
  SiteTable sites_;
  RuntimeParams params_;
};

TEST_F(CheckProgramForSitesTest, UnknownUnitNeedsProceedAndConfirmationUnlessAllowed) {
  AddSite(kProductRkm, false);
  AddSite(0);
  const auto file = Write("\xC3");

  EXPECT_FALSE(Check(file));
  ASSERT_EQ(prompts_.shown.size(), 1u);
  EXPECT_EQ(prompts_.shown[0].errorId, ErrorId::kUnknownProductType);
  EXPECT_EQ(prompts_.shown[0].text, "The device is an \"Unknown\" Product Type\n\nunit1");
  EXPECT_TRUE(prompts_.shown[0].offerProceed);

  prompts_.proceedAnswers = {true};
  EXPECT_FALSE(Check(file));
  ASSERT_EQ(prompts_.shown.size(), 2u);
  EXPECT_EQ(prompts_.shown[1].mode, ConfirmMode::Upload);

  // Confirmed, and the file is of no known type either: the types agree.
  prompts_.proceedAnswers = {true};
  prompts_.confirmAnswers = {true};
  EXPECT_TRUE(Check(file));
  EXPECT_EQ(prompts_.shown.size(), 2u);

  // Allowed by the settings: any file, without a prompt.
  params_.allowUploadUnknown = true;
  AddSite(kProductRkm);
  EXPECT_TRUE(Check(Write(kCad1Texts)));
  EXPECT_TRUE(prompts_.shown.empty());
}

TEST_F(CheckProgramForSitesTest, FamiliesMustNotMix) {
  AddSite(kProductCad2);
  AddSite(kProductCad1);
  EXPECT_TRUE(Check(Write("S0", "cad2.s19")));

  records_.clear();
  AddSite(kProductRkm);
  AddSite(kProductCadHalvyr);
  AddSite(kProductCollector, false);
  EXPECT_TRUE(Check(Write(kRkmTexts)));
  EXPECT_TRUE(prompts_.shown.empty());

  AddSite(kProductCad1);
  prompts_.proceedAnswers = {true};
  EXPECT_FALSE(Check(Write(kRkmTexts)));
  ASSERT_EQ(prompts_.shown.size(), 1u);
  EXPECT_EQ(prompts_.shown[0].errorId, ErrorId::kMixedFamilies);
}

TEST_F(CheckProgramForSitesTest, MismatchNamesTheFirstHighlightedUnitsTypeAndCanBeConfirmed) {
  AddSite(kProductCad2, false);
  AddSite(kProductCad1);
  AddSite(kProductCad2);
  const auto cad2File = Write("S0", "cad2.s19");
  EXPECT_FALSE(Check(cad2File));
  ASSERT_EQ(prompts_.shown.size(), 1u);
  EXPECT_EQ(prompts_.shown[0].errorId, ErrorId::kWrongCadmarinFile);
  EXPECT_EQ(LastText(), "The program file is not a\nvalid CADMARIN-1 file!\n\n" + cad2File.string());

  records_.clear();
  AddSite(kProductRkm);
  const auto file = Write(kCad1Texts);
  prompts_.proceedAnswers = {true, true};
  prompts_.confirmAnswers = {false, true};
  EXPECT_FALSE(Check(file));
  ASSERT_EQ(prompts_.shown.size(), 2u);
  EXPECT_EQ(prompts_.shown[0].errorId, ErrorId::kWrongRkmFile);
  EXPECT_TRUE(Check(file));
}

}  // namespace
}  // namespace quenderlink
