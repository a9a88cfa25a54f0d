#include "exchange/SiteImport.h"

#include <gtest/gtest.h>

#include "core/FixedText.h"

namespace quenderlink {
namespace {

std::optional<std::string> NoLookup(const std::string&) { return std::nullopt; }

class SiteImportTest : public ::testing::Test {
 protected:
  SiteImportTest() { SetFieldText(reply.SiteName, "Reported"); }

  void Import(std::initializer_list<const char*> lines) {
    ImportFileText file;
    for (const char* text : lines) file.lines.push_back({static_cast<int>(file.lines.size()) + 1, text, false});
    (void)import.AddLines(file, {1, 2, 3}, NoLookup, [this](const std::string& text) { log += text; });
  }
  ReplyNotice NoticeFor(std::uint16_t row, std::uint8_t tenths) {
    reply.ReplyTenths = tenths;
    reply.SiteId = 42;
    SetFieldText(reply.Milepost, "12.5");
    ReplyNotice notice;
    notice.row = row;
    notice.reply = &reply;
    return notice;
  }

  RuntimeParams params;
  SiteImport import{params};
  DeviceReply reply{};
  std::string log;
};

TEST_F(SiteImportTest, EveryLineButCommentsBecomesARowAndIsLogged) {
  Import({"; the yard", "127.0.0.5,9050,Iron Bridge", ""});
  ASSERT_EQ(import.rows().size(), 2u);
  const ImportRow& row = import.rows()[0];
  EXPECT_EQ(row.lineNumber, 2);
  EXPECT_EQ(row.cells[kImportColSiteId], "00000");
  EXPECT_EQ(row.cells[kImportColSiteName], "Iron Bridge");
  EXPECT_EQ(row.cells[kImportColPort], "9050");
  EXPECT_EQ(import.rows()[1].cells[kImportColHost], "");
  EXPECT_EQ(log,
            "          *** Read as UTF-8 text.\r\n"
            "127.0.0.5,9050,Iron Bridge\r\n"
            "          *** Imported Site! DNS = 127.0.0.5   IP = 127.0.0.5   Port = 9050\r\n"
            "\r\n"
            "          *** Imported Site! DNS =    IP = 0.0.0.0   Port = 9001\r\n");
}

TEST_F(SiteImportTest, PingRecordsAreBuiltFromTheCellsAsEdited) {
  Import({"127.0.0.5,9050,Iron Bridge", "127.0.0.6", "127.0.0.7"});
  EXPECT_FALSE(import.EditCell(0, kImportColStatus, "x"));
  EXPECT_FALSE(import.EditCell(0, kImportColPort, "9050"));  // unchanged
  EXPECT_TRUE(import.EditCell(0, kImportColPort, "9060"));
  EXPECT_TRUE(import.EditCell(0, kImportColSiteName, "Slate Run"));
  EXPECT_TRUE(import.rows()[0].Edited(kImportColPort));
  EXPECT_FALSE(import.rows()[0].Edited(kImportColHost));

  // The mark and row number the engine goes by are checked by the view's ping of a unit.
  ASSERT_TRUE(import.BuildPingRecords());
  const SiteRecord record = import.pingRecords()[0];
  EXPECT_EQ(record.DevicePort, 9060);
  EXPECT_EQ(record.TelnetPort, params.telnetPortTrk1);
  EXPECT_EQ(FieldText(record.SiteName), "Slate Run");
  // A host corrected to an address takes the address with it, unless that was corrected too.
  EXPECT_TRUE(import.EditCell(1, kImportColHost, "127.0.0.16"));
  EXPECT_TRUE(import.EditCell(2, kImportColHost, "127.0.0.17"));
  EXPECT_TRUE(import.EditCell(2, kImportColIp, "127.0.0.27"));
  ASSERT_TRUE(import.BuildPingRecords());
  EXPECT_EQ(FieldText(import.pingRecords()[1].IpByNumber), "127.0.0.16");
  EXPECT_EQ(FieldText(import.pingRecords()[2].IpByNumber), "127.0.0.27");

  import.Clear();
  EXPECT_FALSE(import.BuildPingRecords());  // "ZERO SITES"
}

TEST_F(SiteImportTest, TextsGoIntoRecordsAsWindows1252AndWhatItCannotHoldIsToldOnce) {
  Import({"127.0.0.5,9050,Cr\u00EAte", "127.0.0.6,9050,Yard \u03A9"});
  EXPECT_EQ(import.rows()[0].cells[kImportColSiteName], "Cr\u00EAte");
  EXPECT_EQ(import.rows()[1].cells[kImportColSiteName], "Yard ?");
  const std::string note =
      "          *** line 2: SiteName had characters a site list cannot hold; they were stored as \"?\".\r\n";
  EXPECT_NE(log.find(note), std::string::npos) << log;
  EXPECT_EQ(log.find("cannot hold"), log.rfind("cannot hold")) << log;
  // An edit shows at once what its record will hold.
  EXPECT_TRUE(import.EditCell(0, kImportColHost, "h\u00F4te\u2603"));
  EXPECT_EQ(import.rows()[0].cells[kImportColHost], "h\u00F4te?");

  ASSERT_TRUE(import.BuildPingRecords());
  EXPECT_EQ(FieldText(import.pingRecords()[0].SiteName), "Cr\xEAte");
  EXPECT_EQ(FieldText(import.pingRecords()[0].HostText), "h\xF4te?");
  // A unit's Windows-1252 name is shown in UTF-8 and stored as the unit sent it.
  SetFieldText(reply.SiteName, "Cr\xEAte \x80");
  import.OnPingReply(1, NoticeFor(1, 5));
  EXPECT_EQ(import.rows()[1].cells[kImportColSiteName], "Cr\u00EAte \u20AC");
  EXPECT_EQ(FieldText(import.pingRecords()[1].SiteName), "Cr\xEAte \x80");
}

TEST_F(SiteImportTest, NotificationsWriteStatusesRecordsAndTotals) {
  Import({"127.0.0.5", "127.0.0.5", "127.0.0.6", "bad name", "127.0.0.8"});
  ASSERT_TRUE(import.BuildPingRecords());
  EngineRequest request;
  import.PrepareRequest(request);
  for (std::size_t row = 0; row < 5; ++row) import.OnPingSent(row, 1);
  import.OnPingSent(2, 2);
  EXPECT_EQ(import.rows()[2].cells[kImportColStatus], "PING 2 of 6");
  // Two rows for one unit: each answer goes into the record of the row the engine names.
  import.OnPingReply(0, NoticeFor(0, 23));
  import.OnPingReply(1, NoticeFor(1, 31));
  import.OnPingReply(1, NoticeFor(1, 99));
  import.OnPingFailed(2, 6);
  import.OnPingBadAddress(3);
  import.Abort(request);
  import.OnPingFinished();

  std::string statuses;
  for (const ImportRow& row : import.rows()) statuses += "[" + row.cells[kImportColStatus] + "]";
  EXPECT_EQ(statuses, "[SUCCESS: 2.3 sec][SUCCESS: 3.1 sec][FAILED][BAD IP][USER ABORT]");
  EXPECT_EQ(import.pingRecords()[1].LastPing, 31);
  EXPECT_EQ(FieldText(import.pingRecords()[1].SiteName), "Reported");
  EXPECT_EQ(import.rows()[0].cells[kImportColSiteId], "00042");
  EXPECT_EQ(import.rows()[0].cells[kImportColMilepost], "12.5");
  EXPECT_EQ(import.TotalsText(),
            "  Total IPs:       5             Total Success:   2\r\n"
            "  Total Pingged:   5             Total Failed :   2");

  // A later ping that runs to its end marks no row as aborted.
  ASSERT_TRUE(import.BuildPingRecords());
  import.PrepareRequest(request);
  import.OnPingBadAddress(3);
  import.OnPingFinished();
  EXPECT_EQ(import.rows()[3].cells[kImportColStatus], "BAD IP");
}

TEST_F(SiteImportTest, AllowChangeSiteNameKeepsTheImportedName) {
  params.allowChangeSiteName = true;
  Import({"127.0.0.5,9050,Iron Bridge"});
  ASSERT_TRUE(import.BuildPingRecords());
  import.OnPingReply(0, NoticeFor(0, 5));
  EXPECT_EQ(import.rows()[0].cells[kImportColSiteName], "Iron Bridge");
  EXPECT_EQ(FieldText(import.pingRecords()[0].SiteName), "Iron Bridge");
}

TEST_F(SiteImportTest, ASaveNeverTakesRowsWithoutAPingRecord) {
  EXPECT_TRUE(import.ChosenRecords(false).empty());  // before any ping
  Import({"127.0.0.5", "127.0.0.6"});
  ASSERT_TRUE(import.BuildPingRecords());
  Import({"127.0.0.7", "127.0.0.8", "127.0.0.9"});  // imported again without a new ping
  EXPECT_EQ(import.ChosenRecords(false).size(), 2u);
  import.Clear();  // Re-Do
  EXPECT_TRUE(import.ChosenRecords(false).empty());
}

TEST_F(SiteImportTest, ProgressMovesOnlyForWaitingRows) {
  Import({"127.0.0.5", "127.0.0.6"});
  ASSERT_TRUE(import.BuildPingRecords());
  import.OnPingSent(0, 1);
  for (int tick = 0; tick < 30; ++tick) import.AdvanceProgress();
  EXPECT_EQ(import.rows()[0].progress, 100);  // capped
  EXPECT_FALSE(import.rows()[1].progress.has_value());
  import.OnPingSent(0, 2);
  EXPECT_EQ(import.rows()[0].progress, 1);
  import.OnPingFailed(0, 6);
  EXPECT_FALSE(import.AnyWaiting());
}

}  // namespace
}  // namespace quenderlink
