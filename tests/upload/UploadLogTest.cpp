#include "upload/UploadLog.h"

#include <gtest/gtest.h>

#include "GoodUploadSteps.h"
#include "core/FixedText.h"
#include "core/Lookups.h"
#include "upload/UploadLogFile.h"

namespace quenderlink {
namespace {

// A reply as the new program of a Cad-1 unit on railroad CPR tells it.
DeviceReply NewProgramReply() {
  DeviceReply reply{};
  reply.ProductType = kProductCad1;
  reply.VersionMajor = 2;
  reply.VersionMinor = 5;
  reply.LastUploadCode = 23;
  reply.ReplyTenths = 4;
  SetFieldText(reply.IpText, "10.1.2.3");
  SetFieldText(reply.Milepost, "41.7");
  SetFieldText(reply.SiteName, "C\xD4TE EST");  // Windows-1252, logged in UTF-8
  SetFieldText(reply.TrackId, "M_");
  return reply;
}

// The steps in the order the engine tells a good upload of two packets.
TEST(UploadLogTest, AGoodUploadIsNarratedStepByStepWithTheSettingsOfTheMomentAndAPingsSummaryWithTheReplyTime) {
  RuntimeParams params;
  params.uploadMinWaitRamLoader = 5;
  params.pingMaxResend = 1;
  params.pingMaxWaitResponse = 4;
  // Every line as "<row> <colour class>: <text>".
  std::string log;
  UploadLog narrator(params, [&log](std::uint16_t row, LogClass kind, const std::string& text) {
    const char* const classes[] = {"progress", "response", "caution", "error", "success"};
    log += std::to_string(row) + " " + classes[static_cast<int>(kind)] + ": " + text;
  });
  params.railroadCode = kRailroadCpr;
  testing::TellGoodUploadToLastAck(narrator, 2, 2);
  narrator.OnUploadEvent(UploadEvent::NewProgramPingSent, 2, 1);
  narrator.OnNewProgramAnswered(2, NewProgramReply());
  narrator.OnUploadDone();

  EXPECT_EQ(log,
            "2 progress: Starting Upload\n2 progress: Sending Ping #1\n2 response: Received Device ID\n"
            "2 progress: Total Packets to send = 2\n2 progress: Sending \"Run RAM Loader\"\n"
            "2 progress: Will wait 5 seconds for Ram Loader\n2 progress: Sending Ping #1 to RAM Loader\n"
            "2 progress: Sending Packet 1 of 2 (RPT: 0)\n2 response: ACK from field unit (got last packet)\n"
            "2 progress: Sending \"RE-BOOT\" Device\n"
            "2 success: \n****************************************\n"
            "******      NOTE: The unit is resetting itself.\n"
            "******      It will take several seconds to reset and get an IP address.\n"
            "****************************************\n\n"
            "2 progress: Sending Ping #1 of 2 to NEW PROGRAM, will wait 2 seconds\n"
            "2 success: SUCCESS! Response from NEW PROGRAM; Ver = 2.5\n"
            "2 response: \n      ______________________________________________\n"
            "      |  Firmware upload/update results:\n"
            "      |  ERROR, Same program version (23)            .|\n"
            "      |______________________________________________\n\n"
            "\r\n**** Response Type = Ready\r\n**** IP Address: 10.1.2.3\r\n**** Milepost  : 41.7\r\n"
            "**** Version   : Cad-1 2.5\n**** Site Name : C\u00D4TE EST\r\n**** Track-ID  : M_\n\n");

  // After a ping the summary starts with the reply time; only CPR gets the firmware box.
  EXPECT_EQ(ReplySummary(NewProgramReply(), kRailroadCsx, true),
            "PING Response = 0.4 seconds\n"
            "\r\n**** Response Type = Ready\r\n**** IP Address: 10.1.2.3\r\n**** Milepost  : 41.7\r\n"
            "**** Version   : Cad-1 2.5\n**** Site Name : C\u00D4TE EST\r\n**** Track-ID  : M_\n\n");
}

TEST(UploadLogFileTest, TheFileIsNamedTimeFirstThenMonthDayAndYear) {
  std::tm time{};
  time.tm_hour = 9;
  time.tm_min = 5;
  time.tm_sec = 2;
  time.tm_mon = 2;  // March
  time.tm_mday = 7;
  time.tm_year = 124;
  EXPECT_EQ(UploadLogFilePath("/home/q", time), std::filesystem::path("/home/q/Temp/Upload_090502_03072024.txt"));
}

}  // namespace
}  // namespace quenderlink
