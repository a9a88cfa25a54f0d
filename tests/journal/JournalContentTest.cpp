#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "core/FixedText.h"
#include "core/SiteTable.h"
#include "journal/Journal.h"
#include "journal/JournalFile.h"
#include "journal/JournalPingRecorder.h"
#include "upload/JournalUploadRecorder.h"
#include "journal/JournalTestRows.h"
#include "support/TempDir.h"
#include "support/TestSite.h"

namespace quenderlink {
namespace {

using testing::JournalRows;
using testing::TempDir;
using testing::TestSite;

class SilentPingListener final : public PingEngineListener {
 public:
  void OnPingSent(std::size_t, int) override {}
  void OnPingReply(std::size_t, const ReplyNotice&) override {}
  void OnPingTimeout(std::size_t, int) override {}
  void OnPingFailed(std::size_t, int) override {}
  void OnPingStarted() override {}
  void OnPingFinished() override {}
  void OnPingBadAddress(std::uint16_t) override {}
  void OnResetConfirmed(std::uint16_t, const ReplyNotice&) override {}
  void OnEngineMessage(const std::string&) override {}
};

class SilentUploadListener final : public UploadEngineListener {
 public:
  void OnJobAddress(std::uint16_t, const std::string&) override {}
  void OnUploadEvent(UploadEvent, std::uint16_t, int) override {}
  void OnPacketText(std::uint16_t, const std::string&) override {}
  void OnNewProgramAnswered(std::uint16_t, const DeviceReply&) override {}
  void OnUploadFailed(UploadFailure, std::uint16_t, const std::string&) override {}
  void OnUploadDone() override {}
};

DeviceReply ReplyOfVersion(int major, int minor) {
  DeviceReply reply{};
  reply.VersionMajor = static_cast<std::uint8_t>(major);
  reply.VersionMinor = static_cast<std::uint8_t>(minor);
  SetFieldText(reply.CommVersion, "C1");
  SetFieldText(reply.ReaderVersion, "R2");
  SetFieldText(reply.SpeechVersion, "S3");
  return reply;
}

SiteTable ThreeSites() {
  SiteTable table;
  std::vector<SiteRecord> records{TestSite({.name = "EAST YARD", .address = "127.0.0.1", .row = 0}),
                                  TestSite({.name = "WEST", .address = "127.0.0.2", .row = 1}),
                                  TestSite({.name = "NORD\x96" "EST", .address = "no.such.host", .row = 2})};
  records[0].VersionMajor = 3;
  records[0].VersionMinor = 12;
  table.Replace(std::move(records));
  return table;
}

std::vector<RunSite> AllOf(const SiteTable& table) {
  std::vector<RunSite> sites;
  for (const SiteRecord& record : table.records()) sites.push_back(RunSite{.row = record.RowNumber});
  return sites;
}

ReplyNotice NoticeOf(std::uint16_t row, const DeviceReply& reply, std::uint32_t ms) {
  ReplyNotice notice;
  notice.row = row;
  notice.tenths = static_cast<std::uint16_t>(ms / 100);
  notice.ms = ms;
  notice.reply = &reply;
  return notice;
}

// Each kind of run leaves its run row and one result row per unit, with the
// values the history and the reports read.
TEST(JournalContentTest, RunsAndTheirResultsAreRecordedAsTheyEnded) {
  TempDir dir;
  const SiteTable table = ThreeSites();
  SilentPingListener silentPing;
  SilentUploadListener silentUpload;
  const DeviceReply answer = ReplyOfVersion(3, 12);
  const DeviceReply newProgram = ReplyOfVersion(3, 13);
  {
    Journal journal(dir / kJournalFileName);
    std::atomic<std::uint8_t> running{0};

    JournalPingRecorder ping(journal.StartRun({RunKind::Ping, "/lists/north.dat", "Max Resend=6"}), silentPing, running);
    ping.AddSites(table, AllOf(table));
    ping.OnPingStarted();
    ping.OnPingReply(0, NoticeOf(0, answer, 437));
    ping.OnPingFailed(1, 6);
    ping.OnPingBadAddress(2);
    ping.OnPingFinished();

    JournalPingRecorder reset(journal.StartRun({RunKind::Reset, "/lists/north.dat", ""}), silentPing, running);
    reset.AddSite(table[0]);
    reset.AddSite(table[1]);
    reset.OnResetConfirmed(0, NoticeOf(0, answer, 702));
    reset.OnPingFailed(1, 6);
    reset.OnPingFinished();

    JournalUploadRecorder upload(journal.StartRun({RunKind::Upload, "/lists/north.dat", ""}), silentUpload, running);
    upload.AddSite(table[0]);
    upload.AddSite(table[1]);
    upload.OnUploadEvent(UploadEvent::Start, 0, 0);
    upload.OnUploadEvent(UploadEvent::Start, 1, 0);
    upload.OnUploadEvent(UploadEvent::IdentificationGivenUp, 1, 0);
    upload.OnUploadEvent(UploadEvent::LastPacketAcknowledged, 0, 0);
    upload.OnNewProgramAnswered(0, newProgram);
    upload.OnUploadDone();

    std::atomic<std::uint8_t> stopped{1};
    JournalPingRecorder aborted(journal.StartRun({RunKind::Ping, "/lists/north.dat", ""}), silentPing, stopped);
    aborted.AddSites(table, AllOf(table));
    aborted.OnPingReply(1, NoticeOf(1, answer, 23));
    aborted.OnPingFinished();

    journal.Flush();
    EXPECT_EQ(journal.TakeUntoldFailure(), "");
  }

  EXPECT_EQ(JournalRows(dir / kJournalFileName,
                        "SELECT kind, ending, total, succeeded, failed, site_list, settings, version, "
                        "ended >= started FROM runs ORDER BY id"),
            (std::vector<std::string>{
                "1|1|3|1|2|/lists/north.dat|Max Resend=6|9.0|1",
                "2|1|2|1|1|/lists/north.dat||9.0|1",
                "5|1|2|1|1|/lists/north.dat||9.0|1",
                "1|2|3|1|0|/lists/north.dat||9.0|1",
            }));
  EXPECT_EQ(JournalRows(dir / kJournalFileName,
                        "SELECT r.run, u.site_name, u.host, r.outcome, r.step, r.reply_ms, vb.text, va.text, b.text, "
                        "e.text FROM results r JOIN units u ON u.id = r.unit LEFT JOIN texts vb ON vb.id = "
                        "r.version_before LEFT JOIN texts va ON va.id = r.version_after LEFT JOIN texts b ON b.id = "
                        "r.boards LEFT JOIN texts e ON e.id = r.error ORDER BY r.run, u.site_name"),
            (std::vector<std::string>{
                "1|EAST YARD|127.0.0.1|1|-|437|-|3.12|comm C1 / reader R2 / speech S3|-",
                "1|NORD–EST|no.such.host|3|-|-|-|-|-|-",
                "1|WEST|127.0.0.2|2|-|-|-|-|-|-",
                "2|EAST YARD|127.0.0.1|5|-|702|-|-|-|-",
                "2|WEST|127.0.0.2|2|-|-|-|-|-|-",
                "3|EAST YARD|127.0.0.1|6|-|-|3.12|3.13|comm C1 / reader R2 / speech S3|-",
                "3|WEST|127.0.0.2|7|1|-|0.0|-|-|no answer at the identification step",
                "4|EAST YARD|127.0.0.1|4|-|-|-|-|-|-",
                "4|NORD–EST|no.such.host|4|-|-|-|-|-|-",
                "4|WEST|127.0.0.2|1|-|23|-|3.12|comm C1 / reader R2 / speech S3|-",
            }));
  // Each site is one unit, however many runs saw it.
  EXPECT_EQ(testing::JournalCount(dir / kJournalFileName, "SELECT count(*) FROM units"), 3);
}

}  // namespace
}  // namespace quenderlink
