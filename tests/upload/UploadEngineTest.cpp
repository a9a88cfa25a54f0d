#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "net/EngineRecorder.h"
#include "net/HangingLookup.h"
#include "net/TickCount.h"
#include "support/TempDir.h"
#include "upload/CProgramUploader.h"
#include "upload/PacketPlan.h"
#include "upload/UploadEngine.h"

namespace quenderlink {
namespace {

using namespace std::chrono_literals;
using namespace testing;
using Bytes = std::vector<std::uint8_t>;

// A program image without an erased or a zeroed word.
Bytes Program(std::size_t size) {
  Bytes image(size);
  for (std::size_t i = 0; i < size; ++i) image[i] = static_cast<std::uint8_t>(i * 7 % 251 + 1);
  return image;
}

TEST(PacketPlan, MaximumPayloadKeepsRoomForHeadersWithinLimitsAndIsEven) {
  // Below a 100-byte payload a unit gets 1000; 141 and 1041 leave odd payloads.
  const std::pair<std::uint32_t, std::uint32_t> cases[] = {{0, 1000},    {139, 1000},  {140, 100},   {141, 100},
                                                           {1041, 1000}, {1200, 1160}, {1410, 1370}, {65535, 1370}};
  for (const auto& [maxDatagram, payload] : cases) EXPECT_EQ(MaximumPayload(maxDatagram), payload) << maxDatagram;
}

TEST(PacketPlan, UsedEndIsTheEndOfTheBlockHoldingTheLastWordThatIsNeitherErasedNorZeroedIfThereIsOne) {
  Bytes image = Program(4096);
  EXPECT_EQ(UsedEnd(image, 0), 4096u);
  image.resize(4100, 0xFF);
  EXPECT_EQ(UsedEnd(image, 4096), 4096u);
  image[4097] = 0;  // a word mixing 0 and 0xFF is used
  EXPECT_EQ(UsedEnd(image, 4096), 8192u);
  EXPECT_EQ(UsedEnd(image, 1000), 5000u);

  // Words are counted back from the file's end. Here the word at 2..5 is zero and
  // the piece left at the front is used.
  EXPECT_EQ(UsedEnd(Bytes{7, 0, 0, 0, 0, 0}, 16), 16u);
  // The last word is 5..8, ending in the third block of 4; words aligned from the
  // front would end the used part at byte 7.
  EXPECT_EQ(UsedEnd(Bytes{1, 0, 0, 0, 0, 9, 0, 0, 0}, 4), 12u);

  // A file of only erased or zeroed words has none.
  Bytes mixed(16, 0);
  std::fill(mixed.begin() + 4, mixed.begin() + 8, 0xFF);
  for (const Bytes& image : {Bytes(4096, 0xFF), Bytes(10, 0), mixed, Bytes{}}) EXPECT_FALSE(UsedEnd(image, 0));
}

TEST(PacketPlan, PacketsAreTheMaximumPayloadCutToTheFileAndTheBlockSize) {
  Bytes oneUsedByte(3000, 0xFF);
  oneUsedByte[0] = 0x12;
  struct Case {
    const char* name;
    Bytes image;
    std::uint32_t maxDatagram, blockSize;
    PacketPlan plan;
  };
  const Case cases[] = {
      {"the maximum payload", Program(2500), 1024, 4096, {984, 3}},
      {"a file shorter than a packet", Program(300), 1024, 4096, {300, 1}},
      {"a unit announcing nothing", Program(5000), 0, 4096, {1000, 5}},
      {"a payload past the block size", Program(5000), 1500, 512, {512, 10}},
      {"a payload filling the block", Program(5000), 1500, 1370, {1370, 4}},
      {"block size 0 standing for 4096", Program(5000), 1500, 0, {1370, 4}},
      {"a used part shorter than a packet, still sent whole", oneUsedByte, 1040, 0, {1000, 3}},
  };
  for (const Case& c : cases) EXPECT_EQ(MakePacketPlan(c.image, c.maxDatagram, c.blockSize), c.plan) << c.name;
}

// One call of the engine: "event/value" (1451 with the new program's major
// version), a packet text as itself, "<why it failed>: <text>", or "done".
struct Call {
  std::uint16_t row = 0;
  std::string step;
  Clock::time_point at = Clock::now();
};

// Records the engine's calls on its thread; read them once it is joined.
class UploadRecorder : public UploadEngineListener {
 public:
  std::function<void(const Call&)> onCall;
  std::vector<Call> calls;
  std::map<std::uint16_t, std::string> addresses;

  void OnJobAddress(std::uint16_t row, const std::string& address) override { addresses[row] = address; }
  void OnUploadEvent(UploadEvent event, std::uint16_t row, int value) override { Add(row, Event(event, value)); }
  void OnPacketText(std::uint16_t row, const std::string& text) override { Add(row, text); }
  void OnNewProgramAnswered(std::uint16_t row, const DeviceReply& reply) override {
    Add(row, Event(UploadEvent::NewProgramAnswered, reply.VersionMajor));
  }
  void OnUploadFailed(UploadFailure failure, std::uint16_t row, const std::string& text) override {
    const char* const why[] = {"not loadable", "no memory", "no socket"};  // UploadFailure's order
    Add(row, why[static_cast<int>(failure)] + (": " + text));
  }
  void OnUploadDone() override { Add(0, "done"); }

  // The row's calls from the first that starts with `from`, on one line.
  std::string Script(std::uint16_t row, const std::string& from = {}) const {
    std::string script;
    for (const Call& call : calls) {
      if (call.row != row || (script.empty() && !call.step.starts_with(from))) continue;
      script += (script.empty() ? "" : ", ") + call.step;
    }
    return script;
  }
  // When the row's first call starting with `step` came; the epoch if none did.
  Clock::time_point At(std::uint16_t row, const std::string& step) const {
    for (const Call& call : calls)
      if (call.row == row && call.step.starts_with(step)) return call.at;
    return {};
  }

 private:
  static std::string Event(UploadEvent event, int value) {
    return std::to_string(MessageNumber(event)) + "/" + std::to_string(value);
  }
  void Add(std::uint16_t row, std::string step) {
    calls.push_back({row, std::move(step)});
    if (onCall) onCall(calls.back());
  }
};

// Units announce 1024 bytes, so a 2500-byte file goes in packets of 984.
class UploadEngineTest : public ::testing::Test {
 protected:
  UploadEngineTest() {
    params_.pingMaxWaitResponse = 2;
    params_.pingMaxResend = 2;
    params_.uploadMinWaitRamLoader = 0;
    params_.uploadMinWaitSysReboot = 0;
    request_.listener = &recorder_;
    request_.params = &params_;
    request_.filePath = (dir_ / "program.bin").string();
    WriteFileBytes(request_.filePath, std::string(program_.begin(), program_.end()));
  }

  // A highlighted site whose row is its place in the table, from 1.
  std::uint16_t AddSite(const std::string& host, std::uint16_t port, std::uint8_t productType = 2) {
    records_.push_back(Site(host, static_cast<std::uint16_t>(records_.size() + 1), kFlagHighlighted, port));
    SetFieldText(records_.back().IpByNumber, "");
    records_.back().ProductType = productType;
    sites_.Replace(records_);
    request_.sites = CopyRunSites(sites_, kFlagHighlighted);
    return records_.back().RowNumber;
  }

  bool Run() { return RunEngine(UploadEngine, request_); }

  TempDir dir_;
  Bytes program_ = Program(2500);
  RuntimeParams params_;
  std::vector<SiteRecord> records_;
  SiteTable sites_;
  UploadRecorder recorder_;
  UploadRequest request_;
  std::unique_ptr<unitsim::UnitSimulator> simulator_;
};

TEST_F(UploadEngineTest, ReportsEveryStepInOrderAndUnitsOnOnePortShareASocketAndRefusedOrFragmentedPacketsAreSentAgain) {
  constexpr std::uint16_t kPort = 47711;
  // The longer address first: a reply from .1 must not be taken as one from .11.
  const std::uint16_t refusing = AddSite("127.71.2.11", kPort);
  const std::uint16_t fragmenting = AddSite("127.71.2.1", kPort);
  unitsim::UnitConfig small = UploadUnit("127.71.2.1", kPort, {.fragmentedAt = 2});
  small.identity.maxDatagram = 540;  // 500-byte packets: five of them
  simulator_ = StartUnits({UploadUnit("127.71.2.11", kPort, {.nakEvery = 2}), small});

  ASSERT_TRUE(Run());

  EXPECT_EQ(recorder_.Script(refusing),
            "1424/0, 1425/1, 1427/1, 1426/3, 1429/1, 1431/1, "
            "Sending Packet 1 of 3 (RPT: 0), 1434/0, Sending Packet 2 of 3 (RPT: 1), 1435/1, "
            "Sending Packet 2 of 3 (RPT: 2), 1434/2, Sending Packet 3 of 3 (RPT: 1), 1435/1, "
            "Sending Packet 3 of 3 (RPT: 2), 1434/2, 1439/0, 1449/1, 1451/2");
  // OnUploadDone comes once, after every other call, however the run ended: the engine has one place for it.
  const auto done = std::ranges::find(recorder_.calls, std::string("done"), &Call::step);
  EXPECT_EQ(static_cast<std::size_t>(done - recorder_.calls.begin()), recorder_.calls.size() - 1);
  EXPECT_EQ(recorder_.addresses[refusing], "127.71.2.11");
  // "Min Wait RAMLoader" 0 still waits until a whole second has passed.
  EXPECT_GE(recorder_.At(refusing, "1431/") - recorder_.At(refusing, "1429/"), 990ms);
  // No second total: the window keeps the first.
  EXPECT_EQ(recorder_.Script(fragmenting, "1426"),
            "1426/5, 1429/1, 1431/1, Sending Packet 1 of 5 (RPT: 0), 1434/0, Sending Packet 2 of 5 (RPT: 1), "
            "1436/1, Sending Packet 1 of 3 (RPT: 2), 1434/2, Sending Packet 2 of 3 (RPT: 1), 1434/1, "
            "Sending Packet 3 of 3 (RPT: 1), 1434/1, 1439/0, 1449/1, 1451/2");
  EXPECT_EQ(simulator_->ReceivedImage("127.71.2.11", kPort), program_);
  EXPECT_EQ(simulator_->ReceivedImage("127.71.2.1", kPort), program_);
  for (const auto& datagram : simulator_->Received()) EXPECT_EQ(datagram.fromPort, kPort);
}

// A wait's count is raised at each timeout; it is given up once the count exceeds twice "Max Resend".
TEST_F(UploadEngineTest, AnUnansweredWaitIsRepeatedWithItsCountRaisedAndGivenUpPastTwiceMaxResend) {
  constexpr std::uint16_t kPort = 47713;
  params_.pingMaxWaitResponse = 1;
  params_.pingMaxResend = 1;
  const std::uint16_t silent = AddSite("127.71.4.1", kPort);
  const std::uint16_t noLoader = AddSite("127.71.4.2", kPort);
  const std::uint16_t refusing = AddSite("127.71.4.3", kPort);
  const std::uint16_t forgetful = AddSite("127.71.4.4", kPort);
  simulator_ = StartUnits({Unit("127.71.4.1", {.silent = true}, kPort),
                           UploadUnit("127.71.4.2", kPort, {.loaderNeverStarts = true}),
                           UploadUnit("127.71.4.3", kPort, {.nakEvery = 1}),
                           UploadUnit("127.71.4.4", kPort, {.unansweredPackets = 1})});

  ASSERT_TRUE(Run());

  EXPECT_EQ(recorder_.Script(silent), "1424/0, 1425/1, 1428/1, 1425/2, 1428/2, 1430/3");
  EXPECT_EQ(simulator_->ReceivedBy("127.71.4.1", kPort).size(), 2u);
  // The first wait in the RAM loader counts from the run command: the second ping follows at once.
  EXPECT_EQ(recorder_.Script(noLoader, "1431"), "1431/1, 1431/2, 1432/3");
  // The first packet's count starts at 0, so it goes out once more.
  EXPECT_EQ(recorder_.Script(refusing, "Sending"),
            "Sending Packet 1 of 3 (RPT: 0), 1435/0, Sending Packet 1 of 3 (RPT: 1), 1435/1, "
            "Sending Packet 1 of 3 (RPT: 2), 1435/2, 1438/3");
  const std::string resent = recorder_.Script(forgetful, "Sending");
  EXPECT_EQ(resent.substr(0, resent.find(", 1439")),
            "Sending Packet 1 of 3 (RPT: 0), 1437/0, Sending Packet 1 of 3 (RPT: 1), 1434/1, "
            "Sending Packet 2 of 3 (RPT: 1), 1434/1, Sending Packet 3 of 3 (RPT: 1), 1434/1");
  EXPECT_EQ(simulator_->ReceivedImage("127.71.4.4", kPort), program_);
}

TEST_F(UploadEngineTest, JobsWithoutASocketFailAndWaitingJobsStartAsRunningOnesEnd) {
  params_.uploadMaxInParallel = 2;
  std::vector<unitsim::UnitConfig> units;
  for (std::uint16_t i = 0; i < 4; ++i) {
    const std::string address = "127.71.6." + std::to_string(i + 1);
    AddSite(address, static_cast<std::uint16_t>(47720 + i));
    units.push_back(UploadUnit(address, static_cast<std::uint16_t>(47720 + i)));
  }
  const std::uint16_t noPort = AddSite("127.71.6.8", 0);
  const std::uint16_t fifthPort = AddSite("127.71.6.9", 47724);
  simulator_ = StartUnits(units);

  ASSERT_TRUE(Run());

  // Told before any job starts.
  ASSERT_GE(recorder_.calls.size(), 2u);
  EXPECT_EQ((std::vector<std::uint16_t>{recorder_.calls[0].row, recorder_.calls[1].row}),
            (std::vector<std::uint16_t>{noPort, fifthPort}));
  EXPECT_EQ(recorder_.Script(noPort) + " | " + recorder_.Script(fifthPort),
            "no socket: NO DEVICE PORT | no socket: OUT OF ASYNC SOCKETS");
  for (std::uint16_t row = 1; row <= 4; ++row) EXPECT_EQ(recorder_.Script(row, "1451"), "1451/2") << row;
  EXPECT_LT(std::min(recorder_.At(1, "1451"), recorder_.At(2, "1451")), recorder_.At(3, "1424"));
}

TEST_F(UploadEngineTest, AFileThatCannotBeSentEndsTheRunWithAFailure) {
  simulator_ = StartUnits({UploadUnit("127.71.7.1", 47716)});
  AddSite("127.71.7.1", 47716);
  Bytes erased(4096, 0xFF);
  std::fill(erased.begin() + 8, erased.begin() + 12, 0);
  const std::vector<std::pair<std::string, std::optional<Bytes>>> files{{"missing", std::nullopt},
                                                                        {"empty", Bytes{}},
                                                                        {"first byte 0", Bytes{0, 1, 2, 3}},
                                                                        {"only erased or zeroed words", erased}};
  for (const auto& [name, bytes] : files) {
    SCOPED_TRACE(name);
    recorder_.calls.clear();
    request_.finished = 0;
    request_.stop = 0;
    request_.filePath = (dir_ / name).string();
    if (bytes) WriteFileBytes(request_.filePath, std::string(bytes->begin(), bytes->end()));

    ASSERT_TRUE(Run());

    const std::string script = recorder_.Script(0);
    EXPECT_TRUE(script.starts_with("not loadable: ") && script.ends_with(name + ", done")) << script;
    EXPECT_EQ(recorder_.calls.size(), 2u);
  }
  EXPECT_TRUE(simulator_->Received().empty());
}

TEST_F(UploadEngineTest, AStopWhileANameIsLookedUpEndsTheRunWithoutTheAnswerOrAnyStep) {
  testing::HangingLookup nameServer;
  AddSite("east.example", 47719);
  AddSite("west.example", 47719);
  request_.lookup = nameServer.lookup();

  ASSERT_TRUE(RunEngine(UploadEngine, request_, [&] {
    ASSERT_TRUE(nameServer.WaitUntilAsked(1));
    request_.stop = 1;
  }));

  EXPECT_EQ(recorder_.Script(0), "done");
  EXPECT_EQ(recorder_.calls.size(), 1u);
  EXPECT_TRUE(recorder_.addresses.empty());
  EXPECT_EQ(nameServer.asked(), 1);
}

// A Cad-2 unit's RAM loader is pinged at once, far sooner than the five seconds another unit's is given.
TEST_F(UploadEngineTest, ACad2UnitIsPingedInItsRamLoaderAtOnceAndAStopDuringThePacketsEndsTheRunWithinAPass) {
  constexpr std::uint16_t kPort = 47718;
  params_.uploadMinWaitRamLoader = 5;
  const std::uint16_t row = AddSite("127.71.9.1", kPort, 6);
  unitsim::UnitConfig unit = UploadUnit("127.71.9.1", kPort);
  unit.identity.productType = 6;
  simulator_ = StartUnits({unit});
  Clock::time_point stoppedAt;
  recorder_.onCall = [&](const Call& call) {
    if (!call.step.starts_with("Sending") || request_.stop.load() != 0) return;
    stoppedAt = Clock::now();
    request_.stop = 1;
  };

  ASSERT_TRUE(Run());

  EXPECT_TRUE(recorder_.Script(row).ends_with("1429/1, 1431/1, Sending Packet 1 of 3 (RPT: 0)"));
  EXPECT_LT(stoppedAt - recorder_.At(row, "1429"), 2500ms);
  // Far sooner than the two seconds a packet's answer is waited for.
  ASSERT_EQ(recorder_.calls.back().step, "done");
  EXPECT_LT(recorder_.At(0, "done") - stoppedAt, 1500ms);
  EXPECT_EQ(simulator_->Mode("127.71.9.1", kPort), unitsim::UnitMode::kLoader);
}

// A Cad-2 unit's reboot wait is 35 s unless the setting is at least 20; a new
// program's pings wait half the response wait, a packet's answer all of it.
TEST(JobWaits, FollowTheSettingsAsTheyAre) {
  UploadRecorder recorder;
  RuntimeParams params;
  CProgramUploader socket;
  socket.Attach({}, recorder, params);
  // How long a job's current wait lasts, from the settings as they are.
  const auto due = [&socket](JobState state, std::uint8_t productType = 2) {
    UploadJob job;
    job.state = state;
    job.productType = productType;
    job.lastSendTime = TickCount();
    return socket.MillisecondsUntilDue(job);
  };
  params.uploadMinWaitSysReboot = 19;
  params.pingMaxWaitResponse = 5;
  EXPECT_NEAR(due(JobState::WaitReboot, 6), 35000, 100);
  EXPECT_NEAR(due(JobState::WaitReboot, 2), 19000, 100);
  EXPECT_NEAR(due(JobState::WaitNewProgram), 2000, 100);
  EXPECT_NEAR(due(JobState::WaitPacketAnswer), 5000, 100);
  params.uploadMinWaitSysReboot = 20;
  EXPECT_NEAR(due(JobState::WaitReboot, 6), 20000, 100);
}

}  // namespace
}  // namespace quenderlink
