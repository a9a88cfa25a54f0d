#include "dialogs/SiteEditForm.h"

#include <gtest/gtest.h>

#include "core/FixedText.h"
#include "core/Lookups.h"
#include "dialogs/AddressHistoryMenu.h"
#include "dialogs/SiteEditInfo.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

namespace quenderlink {
namespace {

using testing::ScriptedPrompts;
using Texts = std::vector<std::string>;

DeviceReply Reply(std::uint8_t productType, std::uint8_t powerup = 0) {
  DeviceReply reply{};
  reply.ProductType = productType;
  reply.Powerup = powerup;
  reply.VersionMajor = 4;
  reply.VersionMinor = 12;
  reply.VersionBuild = -3;
  reply.ReplyTenths = 17;
  reply.SiteId = 77;
  reply.SubdivCode = 5;
  reply.TrackIndex = 2;
  reply.LastUploadCode = 9;
  SetFieldText(reply.IpText, "10.1.2.3");
  SetFieldText(reply.Milepost, "123.4");
  SetFieldText(reply.SiteName, "North Yard");
  SetFieldText(reply.TrackId, "T2");
  SetFieldText(reply.CommVersion, "C1.0");
  SetFieldText(reply.ReaderVersion, "R2.0");
  SetFieldText(reply.SpeechVersion, "S3.0");
  return reply;
}

class SiteEditFormTest : public ::testing::Test {
 protected:
  Texts ErrorsShown() const {
    Texts errors;
    for (const auto& shown : prompts.shown)
      errors.push_back(std::to_string(ErrorNumber(shown.errorId)) + " " + shown.text);
    return errors;
  }

  RuntimeParams params;
  ScriptedPrompts prompts;
  // Names are never looked up for real: every lookup fails.
  SiteEditForm form{SiteEditMode::ModifySite, params, prompts, [](const std::string&) { return std::nullopt; }};
};

TEST_F(SiteEditFormTest, SavingNeedsFourCharactersPingingFiveAndBothAPort) {
  EXPECT_TRUE(form.PrepareForSave({"abcd", "9001", "23"}));
  EXPECT_FALSE(form.PrepareForPing({"abcd", "9001", "23"}));
  EXPECT_FALSE(form.PrepareForReset({"abcd", "9001", "23"}));
  EXPECT_TRUE(form.PrepareForPing({"abcde", "9001", "23"}));

  for (const char* host : {"10.0.0.1", "ab"}) {
    EXPECT_FALSE(form.PrepareForSave({host, "0", "23"}));
    EXPECT_FALSE(form.PrepareForPing({host, "0", "23"}));
  }
  EXPECT_FALSE(form.PrepareForSave({"ab", "9001", "23"}));
  EXPECT_EQ(ErrorsShown(), (Texts{"500 There is no IP address to ping!", "500 There is no IP address to ping!",
                                  "521 \r\nPort number is not valid", "500 Port number is not valid!\nPort 0",
                                  "521 \r\nPort number is not valid", "500 There is no IP address to ping!",
                                  "522 \r\nIP address is not valid"}));
}

TEST_F(SiteEditFormTest, TextsAreShownInUtf8AndKeptInWindows1252AndWhatItCannotHoldIsToldOnce) {
  SiteRecord site = NewSiteRecord(9001);
  SetFieldText(site.HostText, "gar\xE9.example");
  form.SetSite(site);
  EXPECT_EQ(form.InitialFields().host, "gar\u00E9.example");
  DeviceReply reply = Reply(kProductRkm);
  SetFieldText(reply.SiteName, "Cr\xEAte");
  EXPECT_NE(PingSuccessInfo(reply).find("Site Name : Cr\u00EAte\r\n"), std::string::npos);

  // 45 characters fit, though their UTF-8 is longer.
  const std::string host = "\u03A9." + std::string(42, 'e') + "\u00E9";
  EXPECT_TRUE(form.PrepareForSave({host, "9001", "23"}));
  EXPECT_TRUE(form.PrepareForSave({host, "9001", "23"}));
  EXPECT_EQ(FieldText(form.site().HostText), "?." + std::string(42, 'e') + "\xE9");
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.Last().text, "IP Addr/DNS had characters a site list cannot hold; they were stored as \"?\".");
}

TEST_F(SiteEditFormTest, CprPingsGoToTheAddressTheNameHasNow) {
  params.railroadCode = kRailroadCpr;
  SiteEditForm resolving(SiteEditMode::PingAddress, params, prompts);
  EXPECT_TRUE(resolving.PrepareForPing({"10.9.8.7", "9001", "23"}));
  EXPECT_EQ(FieldText(resolving.site().IpByNumber), "10.9.8.7");

  // Not a valid host name: fails without asking a name server.
  EXPECT_FALSE(resolving.PrepareForPing({"bad name!", "9001", "23"}));
  EXPECT_EQ(FieldText(resolving.site().IpByNumber), "0.0.0.0");
  EXPECT_EQ(ErrorsShown(), Texts{"900 \r\nFailed to convert DNS\nbad name!\nto an IP address."});
}

TEST_F(SiteEditFormTest, AnAnsweredPingTakesTheReplyAndTheTelnetEditAndAFailedOneMarksTheSiteUnanswered) {
  form.SetSite(NewSiteRecord(9001));
  const std::string info = form.ApplyPing({.answered = true, .reply = Reply(kProductCad2, 1)}, "10002");
  EXPECT_TRUE(form.pinged() && form.powerup());
  EXPECT_EQ(info.substr(0, 29), "SUCCESS (1.7 seconds) Powerup");
  EXPECT_EQ(std::pair(int{form.site().TelnetPort}, int{form.site().LastPing}), std::pair(10002, 17));

  EXPECT_EQ(form.ApplyPing({}, "10002"), "\r\nERROR:\r\nPing Failed!");
  EXPECT_FALSE(form.pinged());
  EXPECT_EQ(int{form.site().LastPing}, kLastPingNoAnswer);
}

TEST(SiteEditInfoTest, SuccessTextEndsWithTheLinesOfItsProductType) {
  const auto head = [](const std::string& product) {
    return "SUCCESS (1.7 seconds) Ready\r\nIP Address: 10.1.2.3\r\nMilepost  : 123.4\r\nVersion   : " + product +
           " 4.12--3\r\nSite Name : North Yard\r\nTrack-ID  : T2";
  };
  const std::string qz = "\r\nQZ Comm: C1.0\r\nQZ Rdr : R2.0\r\nQZ Spch: S3.0";
  EXPECT_EQ(PingSuccessInfo(Reply(kProductCad1)), head("Cad-1") + "\r\nProduct: Cadmarin-1" + qz);
  EXPECT_EQ(PingSuccessInfo(Reply(kProductCad2)), head("Cad-2") + "\r\nProduct: Cadmarin-2 (last upload code=9)" + qz);
  EXPECT_EQ(PingSuccessInfo(Reply(kProductCadHalvyr)),
            head("Cad/Halvyr") +
                "\r\nProduct: Cadmarin-Halvyr\r\nHALVYR Comm: C1.0\r\nHALVYR Rdr : R2.0\r\nHALVYR Spch: S3.0");
  EXPECT_EQ(
      PingSuccessInfo(Reply(kProductRkmMicro)),
      head("RKM_U") +
          "\r\nProduct: RKM Micro\r\n\r\nMicro Executive: C1.0\r\nMicroHBD Speech: S3.0\r\nMicroHBD Boot  : R2.0");
  EXPECT_EQ(PingSuccessInfo(Reply(kProductCollector)), head("Collector") + "\r\n\r\nZenthiCollector: C1.0");
  EXPECT_EQ(PingSuccessInfo(Reply(kProductRkm)), head("RKM"));
}

TEST(SiteEditInfoTest, NorfolkSouthernAlsoCollectsSiteIdAndName) {
  const std::string base =
      "The following information will be collected from field:\r\n\r\nSubdivision, Milepost, and Track number.";
  EXPECT_EQ(InitialSiteEditInfo(kRailroadCsx), base);
  EXPECT_EQ(InitialSiteEditInfo(kRailroadNs), base + "\r\nSiteID and Sitename");
}

TEST(AddressHistoryMenuTest, ListsTheFirstSlotsSkippingShortEntriesOrSaysThereIsNone) {
  testing::TempDir folder;
  ScriptedPrompts prompts;
  prompts.popupAnswers = {0, 3, 5};
  EXPECT_EQ(ChooseHistoryAddress(folder.path(), prompts), std::nullopt);
  const std::vector<PopupItem>& none = prompts.popupsShown.at(0);
  ASSERT_EQ(none.size(), 3u);
  EXPECT_TRUE(none[0].text.empty() && none[1].text == "No history yet!" && !none[1].enabled && none[2].text.empty());

  testing::WriteFileBytes(
      folder / "IP_History.ini",
      "[IP_History.ini]\nIP 01=10.20.30.40\nIP 02=10.0.0.1\nIP 03=unit.example\nIP 05=far.example\n");
  EXPECT_EQ(ChooseHistoryAddress(folder.path(), prompts), "unit.example");
  // Four entries: slot 5 lies beyond them, so it is neither listed nor taken.
  EXPECT_EQ(ChooseHistoryAddress(folder.path(), prompts), std::nullopt);
  const std::vector<PopupItem>& items = prompts.popupsShown.at(1);
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(std::pair(items[0].id, items[0].text), std::pair(1, std::string("10.20.30.40")));
  EXPECT_EQ(std::pair(items[1].id, items[1].text), std::pair(3, std::string("unit.example")));
}

}  // namespace
}  // namespace quenderlink
