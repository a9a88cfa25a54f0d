// The ICMP engines in network namespaces of their own: loopback alone (echo
// answered or ignored, other programs' messages injected), and a routed
// network with a host that answers, one that is not there, a time-to-live that
// runs out and a link too narrow for the packet, which fragments cross unless
// don't-fragment is asked for.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "net/ChildNamespace.h"
#include "net/IcmpEchoPacket.h"
#include "net/IcmpJob.h"
#include "net/IcmpRecorder.h"
#include "net/IcmpTopology.h"
#include "unitsim/LoopbackTestSocket.h"

namespace quenderlink {
namespace {

using testing::FiveTimes;
using testing::IcmpRecorder;
using testing::IcmpSettings;
using testing::IcmpTopology;
using testing::MakeIcmpJob;

constexpr char kNonEcho[] = "CPing::DecodeResponse, Non-echo reply type field in ICMP reponse packet, Value:";
constexpr char kIgnoreEcho[] = "echo 1 > /proc/sys/net/ipv4/icmp_echo_ignore_all";

constexpr int kNoTopology = 78;

// Runs `body` in a child with a network namespace of its own, inside the
// topology when asked; the child's failed checks print there and fail the test
// here. Skips when the namespace or the topology cannot be made here.
void InOwnNamespace(bool withTopology, const std::function<void()>& body) {
  if (std::system("command -v ip >/dev/null 2>&1") != 0) GTEST_SKIP() << "the ip tool (iproute2) is missing";
  const int code = testing::RunInOwnNetworkNamespace(
      [&] {
        std::optional<IcmpTopology> topology;
        if (withTopology && !topology.emplace().failure().empty()) {
          std::cerr << topology->failure() << "\n";
          return kNoTopology;
        }
        body();
        return ::testing::Test::HasFailure() ? 1 : 0;
      },
      &IcmpTopology::RemoveLeftovers);
  if (code == testing::kCannotUnshare) GTEST_SKIP() << "this process cannot make a network namespace of its own";
  if (code == kNoTopology) GTEST_SKIP() << "named network namespaces cannot be made here (see above)";
  EXPECT_EQ(code, 0) << "the checks in the namespaces failed (see above)";
}

// The notifications, then the raw method's messages.
std::string Outcome(void (*method)(IcmpJob&), const std::string& address, const IcmpParams& params,
                    std::uint32_t* lastError = nullptr, bool continueOnFailure = false) {
  IcmpRecorder recorder;
  const std::atomic<bool> abort{false};
  IcmpJob job = MakeIcmpJob(recorder, address, abort, params);
  job.continueOnFailure = continueOnFailure;
  method(job);
  if (lastError) *lastError = job.lastError;
  std::string outcome = recorder.Script();
  for (const std::string& message : recorder.messages) outcome += "; " + message;
  return outcome;
}

// Sends another program's echo replies to 127.0.0.1, from a raw socket of its own.
class Injector {
 public:
  Injector() : fd_(::socket(AF_INET, SOCK_RAW, IPPROTO_ICMP)) {}
  ~Injector() { ::close(fd_); }
  Injector(const Injector&) = delete;
  Injector& operator=(const Injector&) = delete;

  void OthersEchoReply() const {
    std::vector<std::uint8_t> reply =
        BuildRawEchoRequest(4, 40, static_cast<std::uint16_t>(ProcessIcmpIdentifier() + 1), 0);
    reply[0] = kIcmpEchoReply;
    reply[2] = reply[3] = 0;
    const std::uint16_t checksum = InternetChecksum(reply);
    reply[2] = static_cast<std::uint8_t>(checksum >> 8);
    reply[3] = static_cast<std::uint8_t>(checksum);
    const sockaddr_in to = unitsim::SocketAddress("127.0.0.1", 0);
    ::sendto(fd_, reply.data(), reply.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
  }

 private:
  int fd_;
};

TEST(IcmpNamespace, SilenceIsATimeOutAndOtherProgramsRepliesHoldARawTryForTwiceTheTimeOutAtMost) {
  InOwnNamespace(false, [] {
    ASSERT_EQ(std::system(kIgnoreEcho), 0);
    EXPECT_EQ(Outcome(&PingLibraryThread, "127.0.0.1", IcmpSettings(300)),
              "try 3 Try # 1, failed 3 #0 error 11010, done 3 ended");
    EXPECT_EQ(Outcome(&PingRouteThread, "127.0.0.1", IcmpSettings(100)),
              FiveTimes("try 3 Try # {n}, failed 3 #{i} error 11010", "done 3 complete"));

    // A stream of other replies holds a try for twice the time-out at most.
    const Injector injector;
    std::atomic<bool> stop{false};
    std::thread stream([&] {
      while (!stop) {
        injector.OthersEchoReply();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
      }
    });
    const auto start = std::chrono::steady_clock::now();
    const std::string script = Outcome(&PingRawThread, "127.0.0.1", IcmpSettings(200));
    const auto took = std::chrono::steady_clock::now() - start;
    stop = true;
    stream.join();
    EXPECT_EQ(script,
              "raw 3 A timeout occured while waiting for a ICMP response, raw failed 3 #0 error 11010, done 3 ended");
    EXPECT_TRUE(took >= std::chrono::milliseconds(390) && took < std::chrono::milliseconds(1500))
        << "the try ended at twice the time-out";
  });
}

// The library method's one try ended by an ICMP error from `from`.
std::string StatusFrom(const std::string& from, int status) {
  return "try 3 Try # 1, status 3 #0 " + from + " status " + std::to_string(status) + ", done 3 ended";
}

TEST(IcmpTopology, TheLibraryMethodReportsEachAnswerWithItsStatus) {
  InOwnNamespace(true, [] {
    // Which status each ICMP error reads as is the status table's test; here they arrive for real.
    EXPECT_EQ(Outcome(&PingLibraryThread, IcmpTopology::kAbsentHost, IcmpSettings(2000)),
              StatusFrom(IcmpTopology::kRouter, 11003));
    // The router's answer teaches this machine the narrower path, so the next
    // such packet is refused before it leaves.
    EXPECT_EQ(Outcome(&PingLibraryThread, IcmpTopology::kHost, IcmpSettings(1000, 10, 1400)),
              StatusFrom(IcmpTopology::kRouter, 11009));
    EXPECT_EQ(Outcome(&PingLibraryThread, IcmpTopology::kHost, IcmpSettings(1000, 10, 1400)),
              "try 3 Try # 1, failed 3 #0 error 11009, done 3 ended");
  });
}

TEST(IcmpTopology, TheRawMethodEndsAnAddressAtAnyIcmpErrorUnlessAskedToCarryOn) {
  InOwnNamespace(true, [] {
    // Each failed try tells the status of the router's answer, or of the send this machine refused.
    std::string everyTry = FiveTimes("raw failed 3 #{i} 10.201.0.1 error 11003", "done 3 complete");
    for (int i = 0; i < kIcmpTries; ++i) everyTry += "; " + std::string(kNonEcho) + "3\n";
    EXPECT_EQ(Outcome(&PingRawThread, IcmpTopology::kAbsentHost, IcmpSettings(2000), nullptr, true), everyTry)
        << "asked to, it carries on past each error";
    EXPECT_EQ(Outcome(&PingRawThread, IcmpTopology::kHost, IcmpSettings(1000, 1)),
              "raw failed 3 #0 10.201.0.1 error 11013, done 3 ended; " + std::string(kNonEcho) + "11\n");
    EXPECT_EQ(Outcome(&PingRawThread, IcmpTopology::kHost, IcmpSettings(1000, 10, 1400)),
              "raw failed 3 #0 10.201.0.1 error 11009, done 3 ended; " + std::string(kNonEcho) + "3\n");
    EXPECT_EQ(Outcome(&PingRawThread, IcmpTopology::kHost, IcmpSettings(1000, 10, 1400)),
              "raw 3 Failed to send ICMP packet, raw failed 3 #0 error 11009, done 3 ended");
  });
}

TEST(IcmpTopology, TheDontFragmentSettingDecidesWhetherALargeEchoCrossesTheNarrowLink) {
  struct Row {
    const char* name;
    void (*method)(IcmpJob&);
    std::uint8_t dontFragment;
    std::string outcome;
  };
  const std::string fiveReplies = FiveTimes("try 3 Try # {n}, reply 3 #{i} 10.202.0.2", "done 3 complete");
  const std::vector<Row> rows = {
      {"library, fragments allowed", &PingLibraryThread, 0, fiveReplies},
      {"raw, fragments allowed", &PingRawThread, 0, FiveTimes("raw reply 3 #{i} 10.202.0.2", "done 3 complete")},
      {"library, don't fragment", &PingLibraryThread, 1, StatusFrom(IcmpTopology::kRouter, 11009)},
  };
  InOwnNamespace(true, [&] {
    for (const Row& row : rows) {
      // Each row starts without the path MTU an earlier one taught this machine.
      ASSERT_EQ(std::system("ip route flush cache"), 0);
      IcmpParams params = IcmpSettings(1000, 10, 1000);
      params.dontFragment = row.dontFragment;
      EXPECT_EQ(Outcome(row.method, IcmpTopology::kHost, params), row.outcome) << row.name;
    }
  });
}

TEST(IcmpTopology, TheRouteMethodCountsTheRouterAsAHop) {
  InOwnNamespace(true, [] {
    EXPECT_EQ(Outcome(&PingRouteThread, IcmpTopology::kHost, IcmpSettings(1000)),
              FiveTimes("try 3 Try # {n}, reply 3 #{i} 10.202.0.2 hops 2", "done 3 complete"));
    std::uint32_t lastError = 0;
    EXPECT_EQ(Outcome(&PingRouteThread, IcmpTopology::kAbsentHost, IcmpSettings(2000), &lastError),
              FiveTimes("try 3 Try # {n}, failed 3 #{i} error 11003", "done 3 complete"));
    EXPECT_EQ(lastError, 11003u) << "the last error is kept";
  });
}

}  // namespace
}  // namespace quenderlink
