#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "core/FixedText.h"
#include "core/SiteRecord.h"
#include "net/TickCount.h"
#include "support/TempDir.h"
#include "unitsim/UnitSimulator.h"
#include "upload/CProgramUploader.h"
#include "upload/UploadEngine.h"

namespace quenderlink {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using Bytes = std::vector<std::uint8_t>;

// Stand-ins for the calls that carry no event number.
constexpr int kText = 1433;
constexpr int kAnswered = 1451;
constexpr int kFailed = -1;

struct Call {
  int event = 0;
  std::uint16_t row = 0;
  int value = 0;  // the event's value, or the new program's major version
  std::string text;
  UploadFailure failure{};
  Clock::time_point at = Clock::now();
};

// Records the engine's calls on its thread; read them once it is joined.
class UploadRecorder : public UploadEngineListener {
 public:
  std::function<void(const Call&)> onCall;
  std::vector<Call> calls;
  int doneCalls = 0;
  bool calledAfterDone = false;
  Clock::time_point doneAt;

  void OnUploadEvent(int event, std::uint16_t row, int value) override { Add(event, row, value); }
  void OnPacketText(std::uint16_t row, const std::string& text) override { Add(kText, row, 0, text); }
  void OnNewProgramAnswered(std::uint16_t row, const DeviceReply& reply) override {
    Add(kAnswered, row, reply.VersionMajor);
  }
  void OnUploadFailed(UploadFailure failure, std::uint16_t row, const std::string& text) override {
    Add(kFailed, row, 0, text, failure);
  }
  void OnUploadDone() override {
    ++doneCalls;
    doneAt = Clock::now();
  }

  // The row's calls as "event/value", packet texts as themselves, from the
  // first call that starts with `from`.
  std::string Script(std::uint16_t row, const std::string& from = {}) const {
    std::string script;
    for (const Call& call : calls) {
      if (call.row != row) continue;
      const std::string step =
          call.event == kText ? call.text : std::to_string(call.event) + "/" + std::to_string(call.value);
      if (script.empty() && !step.starts_with(from)) continue;
      script += (script.empty() ? "" : ", ") + step;
    }
    return script;
  }
  const Call* First(std::uint16_t row, int event) const {
    for (const Call& call : calls)
      if (call.row == row && call.event == event) return &call;
    return nullptr;
  }

 private:
  void Add(int event, std::uint16_t row, int value, const std::string& text = {}, UploadFailure failure = {}) {
    if (doneCalls != 0) calledAfterDone = true;
    Call& call = calls.emplace_back();
    call.event = event;
    call.row = row;
    call.value = value;
    call.text = text;
    call.failure = failure;
    if (onCall) onCall(call);
  }
};

Bytes Program(std::size_t size) {
  Bytes image(size);
  for (std::size_t i = 0; i < size; ++i) image[i] = static_cast<std::uint8_t>(i * 7 % 251 + 1);
  return image;
}

unitsim::UnitConfig Unit(const std::string& address, std::uint16_t port, unitsim::UploadBehaviour upload = {}) {
  unitsim::UnitConfig unit;
  unit.address = address;
  unit.port = port;
  unit.upload = upload;
  unit.upload.newVersionMajor = 2;
  return unit;
}

// Units announce 1024 bytes, so a 2500-byte file goes in packets of 984.
class UploadEngineTest : public ::testing::Test {
 protected:
  UploadEngineTest() {
    params_.pingMaxWaitResponse = 2;
    params_.pingMaxResend = 2;
    params_.uploadMinWaitRamLoader = 0;
    params_.uploadMinWaitSysReboot = 0;
    request_.listener = &recorder_;
    request_.sites = &sites_;
    request_.params = &params_;
    request_.filePath = (dir_ / "program.bin").string();
    testing::WriteFileBytes(request_.filePath, std::string(program_.begin(), program_.end()));
  }

  // A highlighted site whose row is its place in the table, from 1.
  std::uint16_t AddSite(const std::string& host, std::uint16_t port, std::uint8_t productType = 2) {
    SiteRecord site = NewSiteRecord(port);
    SetFieldText(site.HostText, host);
    site.SiteFlags = kFlagHighlighted;
    site.ProductType = productType;
    site.RowNumber = static_cast<std::uint16_t>(records_.size() + 1);
    records_.push_back(site);
    sites_.Replace(records_);
    return site.RowNumber;
  }

  void StartUnits(std::vector<unitsim::UnitConfig> units) {
    simulator_ = std::make_unique<unitsim::UnitSimulator>(std::move(units));
    std::string error;
    ASSERT_TRUE(simulator_->Start(error)) << error;
  }

  // Runs the engine on its own thread as a window does; false when it has not
  // finished within 20 s (it is then stopped).
  bool Run() {
    std::thread worker(UploadEngine, std::ref(request_));
    const auto deadline = Clock::now() + 20s;
    while (request_.finished.load() == 0 && Clock::now() < deadline) std::this_thread::sleep_for(2ms);
    const bool finished = request_.finished.load() != 0;
    request_.stop = 1;
    worker.join();
    return finished;
  }

  void ExpectDoneOnceAndLast() const {
    EXPECT_EQ(recorder_.doneCalls, 1);
    EXPECT_FALSE(recorder_.calledAfterDone);
    EXPECT_EQ(request_.finished.load(), 1);
  }

  testing::TempDir dir_;
  Bytes program_ = Program(2500);
  RuntimeParams params_;
  std::vector<SiteRecord> records_;
  SiteTable sites_;
  UploadRecorder recorder_;
  UploadRequest request_;
  std::unique_ptr<unitsim::UnitSimulator> simulator_;
};

TEST_F(UploadEngineTest, UploadsTheWholeFileAndReportsEveryStepInOrder) {
  constexpr std::uint16_t kPort = 47710;
  const std::uint16_t row = AddSite("127.71.1.1", kPort);
  StartUnits({Unit("127.71.1.1", kPort)});

  ASSERT_TRUE(Run());

  EXPECT_EQ(recorder_.Script(row),
            "1424/0, 1425/1, 1427/1, 1426/3, 1429/1, 1431/1, "
            "Sending Packet 1 of 3 (RPT: 0), 1434/0, Sending Packet 2 of 3 (RPT: 1), 1434/1, "
            "Sending Packet 3 of 3 (RPT: 1), 1434/1, 1439/0, 1449/1, 1451/2");
  ExpectDoneOnceAndLast();
  EXPECT_EQ(simulator_->ReceivedImage("127.71.1.1", kPort), program_);
  EXPECT_EQ(FieldText(sites_[0].IpByNumber), "127.71.1.1");
  // "Min Wait RAMLoader" 0 still waits until a whole second has passed.
  EXPECT_GE(recorder_.First(row, 1431)->at - recorder_.First(row, 1429)->at, 990ms);
}

TEST_F(UploadEngineTest, RefusedPacketsAreSentAgainAndAFragmentedOneRestartsWith1024Bytepackets) {
  constexpr std::uint16_t kPort = 47711;
  const std::uint16_t refusing = AddSite("127.71.2.1", kPort);
  const std::uint16_t fragmenting = AddSite("127.71.2.2", kPort);
  unitsim::UnitConfig small = Unit("127.71.2.2", kPort, {.fragmentedAt = 2});
  small.identity.maxDatagram = 540;  // 500-byte packets: five of them
  StartUnits({Unit("127.71.2.1", kPort, {.nakEvery = 2}), small});

  ASSERT_TRUE(Run());

  EXPECT_EQ(recorder_.Script(refusing, "Sending"),
            "Sending Packet 1 of 3 (RPT: 0), 1434/0, Sending Packet 2 of 3 (RPT: 1), 1435/1, "
            "Sending Packet 2 of 3 (RPT: 2), 1434/2, Sending Packet 3 of 3 (RPT: 1), 1435/1, "
            "Sending Packet 3 of 3 (RPT: 2), 1434/2, 1439/0, 1449/1, 1451/2");
  // No second total: the window keeps the first.
  EXPECT_EQ(recorder_.Script(fragmenting, "1426"),
            "1426/5, 1429/1, 1431/1, Sending Packet 1 of 5 (RPT: 0), 1434/0, Sending Packet 2 of 5 (RPT: 1), "
            "1436/1, Sending Packet 1 of 3 (RPT: 2), 1434/2, Sending Packet 2 of 3 (RPT: 1), 1434/1, "
            "Sending Packet 3 of 3 (RPT: 1), 1434/1, 1439/0, 1449/1, 1451/2");
  std::vector<std::pair<std::size_t, std::uint32_t>> packets;  // size, offset
  for (const auto& datagram : simulator_->ReceivedBy("127.71.2.2", kPort)) {
    const Bytes& b = datagram.bytes;
    if (b[0] == 4) packets.emplace_back(b.size(), b[4] | b[5] << 8 | b[6] << 16 | b[7] << 24);
  }
  const std::vector<std::pair<std::size_t, std::uint32_t>> sent{
      {508, 0}, {508, 500}, {1032, 0}, {1032, 1024}, {460, 2048}};
  EXPECT_EQ(packets, sent);
  EXPECT_EQ(simulator_->ReceivedImage("127.71.2.1", kPort), program_);
  EXPECT_EQ(simulator_->ReceivedImage("127.71.2.2", kPort), program_);
}

TEST_F(UploadEngineTest, EachWaitIsGivenUpOnceItsCountExceedsTwiceMaxResend) {
  constexpr std::uint16_t kPort = 47713;
  params_.pingMaxWaitResponse = 1;
  params_.pingMaxResend = 1;
  const std::uint16_t silent = AddSite("127.71.4.1", kPort);
  const std::uint16_t noLoader = AddSite("127.71.4.2", kPort);
  const std::uint16_t refusing = AddSite("127.71.4.3", kPort);
  unitsim::UnitConfig silentUnit = Unit("127.71.4.1", kPort);
  silentUnit.faults.silent = true;
  StartUnits(
      {silentUnit, Unit("127.71.4.2", kPort, {.loaderNeverStarts = true}), Unit("127.71.4.3", kPort, {.nakEvery = 1})});

  ASSERT_TRUE(Run());

  EXPECT_EQ(recorder_.Script(silent), "1424/0, 1425/1, 1428/1, 1425/2, 1428/2, 1430/3");
  EXPECT_EQ(simulator_->ReceivedBy("127.71.4.1", kPort).size(), 2u);
  // The first wait in the RAM loader counts from the run command: the second ping follows at once.
  EXPECT_EQ(recorder_.Script(noLoader, "1431"), "1431/1, 1431/2, 1432/3");
  // The first packet's count starts at 0, so it goes out once more.
  EXPECT_EQ(recorder_.Script(refusing, "Sending"),
            "Sending Packet 1 of 3 (RPT: 0), 1435/0, Sending Packet 1 of 3 (RPT: 1), 1435/1, "
            "Sending Packet 1 of 3 (RPT: 2), 1435/2, 1438/3");
  ExpectDoneOnceAndLast();
}

TEST_F(UploadEngineTest, AnUnansweredPacketTimesOutAndIsSentAgainWithItsCountRaised) {
  constexpr std::uint16_t kPort = 47719;
  params_.pingMaxWaitResponse = 1;
  const std::uint16_t row = AddSite("127.71.9.1", kPort);
  StartUnits({Unit("127.71.9.1", kPort, {.unansweredPackets = 1})});

  ASSERT_TRUE(Run());

  const std::string script = recorder_.Script(row, "Sending");
  EXPECT_EQ(script.substr(0, script.find(", 1439")),
            "Sending Packet 1 of 3 (RPT: 0), 1437/0, Sending Packet 1 of 3 (RPT: 1), 1434/1, "
            "Sending Packet 2 of 3 (RPT: 1), 1434/1, Sending Packet 3 of 3 (RPT: 1), 1434/1");
  EXPECT_EQ(simulator_->ReceivedImage("127.71.9.1", kPort), program_);
}

TEST_F(UploadEngineTest, UnitsOnOnePortShareASocketAndRepliesGoToTheExactAddress) {
  constexpr std::uint16_t kPort = 47714;
  // The longer address first: a reply from .1 must not be taken as one from .11.
  const std::uint16_t eleven = AddSite("127.71.0.11", kPort);
  const std::uint16_t one = AddSite("127.71.0.1", kPort);
  StartUnits({Unit("127.71.0.11", kPort), Unit("127.71.0.1", kPort)});

  ASSERT_TRUE(Run());

  EXPECT_TRUE(recorder_.Script(eleven).ends_with("1451/2"));
  EXPECT_TRUE(recorder_.Script(one).ends_with("1451/2"));
  EXPECT_EQ(simulator_->ReceivedImage("127.71.0.11", kPort), program_);
  EXPECT_EQ(simulator_->ReceivedImage("127.71.0.1", kPort), program_);
  for (const auto& datagram : simulator_->Received()) EXPECT_EQ(datagram.fromPort, kPort);
}

TEST_F(UploadEngineTest, JobsWithoutASocketFailAndWaitingJobsStartAsRunningOnesEnd) {
  params_.uploadMaxInParallel = 2;
  std::vector<unitsim::UnitConfig> units;
  for (std::uint16_t i = 0; i < 4; ++i) {
    const std::string address = "127.71.6." + std::to_string(i + 1);
    AddSite(address, static_cast<std::uint16_t>(47720 + i));
    units.push_back(Unit(address, static_cast<std::uint16_t>(47720 + i)));
  }
  const std::uint16_t noPort = AddSite("127.71.6.8", 0);
  const std::uint16_t fifthPort = AddSite("127.71.6.9", 47724);
  StartUnits(units);

  ASSERT_TRUE(Run());

  ASSERT_GE(recorder_.calls.size(), 2u);
  EXPECT_EQ(recorder_.calls[0].row, noPort);
  EXPECT_EQ(recorder_.calls[0].failure, UploadFailure::NoSocket);
  EXPECT_EQ(recorder_.Script(noPort), "-1/0");
  EXPECT_EQ(recorder_.calls[1].row, fifthPort);
  EXPECT_EQ(recorder_.calls[1].failure, UploadFailure::NoSocket);
  EXPECT_EQ(recorder_.calls[1].text, "OUT OF ASYNC SOCKETS");
  EXPECT_EQ(recorder_.Script(fifthPort), "-1/0");
  for (std::uint16_t row = 1; row <= 4; ++row) EXPECT_TRUE(recorder_.Script(row).ends_with("1451/2")) << row;
  ASSERT_NE(recorder_.First(3, 1424), nullptr);
  EXPECT_LT(std::min(recorder_.First(1, kAnswered)->at, recorder_.First(2, kAnswered)->at),
            recorder_.First(3, 1424)->at);
  ExpectDoneOnceAndLast();
}

TEST_F(UploadEngineTest, AFileThatCannotBeSentEndsTheRunWithAFailure) {
  StartUnits({Unit("127.71.7.1", 47716)});
  AddSite("127.71.7.1", 47716);
  Bytes erased(4096, 0xFF);
  std::fill(erased.begin() + 8, erased.begin() + 12, 0);
  const std::vector<std::pair<std::string, std::optional<Bytes>>> files{{"missing", std::nullopt},
                                                                        {"empty", Bytes{}},
                                                                        {"first byte 0", Bytes{0, 1, 2, 3}},
                                                                        {"only erased or zeroed words", erased}};
  for (const auto& [name, bytes] : files) {
    SCOPED_TRACE(name);
    recorder_ = UploadRecorder();
    request_.finished = 0;
    request_.stop = 0;
    request_.filePath = (dir_ / name).string();
    if (bytes) testing::WriteFileBytes(request_.filePath, std::string(bytes->begin(), bytes->end()));

    ASSERT_TRUE(Run());

    ASSERT_EQ(recorder_.calls.size(), 1u);
    EXPECT_EQ(recorder_.calls[0].event, kFailed);
    EXPECT_EQ(recorder_.calls[0].failure, UploadFailure::FileNotLoadable);
    EXPECT_EQ(recorder_.calls[0].row, 0);
    EXPECT_NE(recorder_.calls[0].text.find(name), std::string::npos);
    ExpectDoneOnceAndLast();
  }
  EXPECT_TRUE(simulator_->Received().empty());
}

TEST_F(UploadEngineTest, AStopDuringThePacketsEndsTheRunWithinAPass) {
  constexpr std::uint16_t kPort = 47717;
  AddSite("127.71.8.1", kPort);
  StartUnits({Unit("127.71.8.1", kPort)});
  Clock::time_point stoppedAt;
  recorder_.onCall = [&](const Call& call) {
    if (call.event != kText || request_.stop.load() != 0) return;
    stoppedAt = Clock::now();
    request_.stop = 1;
  };

  ASSERT_TRUE(Run());

  EXPECT_EQ(recorder_.calls.back().event, kText);
  // Far sooner than the two seconds a packet's answer is waited for.
  EXPECT_LT(recorder_.doneAt - stoppedAt, 1500ms);
  ExpectDoneOnceAndLast();
  EXPECT_EQ(simulator_->Mode("127.71.8.1", kPort), unitsim::UnitMode::kLoader);
}

TEST_F(UploadEngineTest, ACad2UnitIsPingedInItsRamLoaderAtOnce) {
  constexpr std::uint16_t kPort = 47718;
  params_.uploadMinWaitRamLoader = 5;
  const std::uint16_t row = AddSite("127.71.9.1", kPort, 6);
  unitsim::UnitConfig unit = Unit("127.71.9.1", kPort);
  unit.identity.productType = 6;
  StartUnits({unit});
  recorder_.onCall = [&](const Call& call) {
    if (call.event == kText) request_.stop = 1;
  };

  ASSERT_TRUE(Run());

  EXPECT_TRUE(recorder_.Script(row).ends_with("1429/1, 1431/1, Sending Packet 1 of 3 (RPT: 0)"));
  // Far sooner than the six seconds another unit's RAM loader would be given.
  EXPECT_LT(recorder_.doneAt - recorder_.First(row, 1429)->at, 2500ms);
}

// How long a job's current wait lasts, from the settings as they are.
class JobWaits : public ::testing::Test {
 protected:
  JobWaits() { socket_.Attach({}, recorder_, params_); }

  std::uint32_t Due(JobState state, std::uint8_t productType = 2) {
    UploadJob job;
    job.state = state;
    job.productType = productType;
    job.lastSendTime = TickCount();
    return socket_.MillisecondsUntilDue(job);
  }

  UploadRecorder recorder_;
  RuntimeParams params_;
  CProgramUploader socket_;
};

TEST_F(JobWaits, ACad2UnitsRebootWaitIs35SecondsUnlessTheSettingIsAtLeast20) {
  params_.uploadMinWaitSysReboot = 19;
  EXPECT_NEAR(Due(JobState::WaitReboot, 6), 35000, 100);
  EXPECT_NEAR(Due(JobState::WaitReboot, 2), 19000, 100);
  params_.uploadMinWaitSysReboot = 20;
  EXPECT_NEAR(Due(JobState::WaitReboot, 6), 20000, 100);
}

TEST_F(JobWaits, NewProgramPingsWaitHalfTheResponseWait) {
  params_.pingMaxWaitResponse = 5;
  EXPECT_NEAR(Due(JobState::WaitNewProgram), 2000, 100);
  EXPECT_NEAR(Due(JobState::WaitPacketAnswer), 5000, 100);
}

}  // namespace
}  // namespace quenderlink
