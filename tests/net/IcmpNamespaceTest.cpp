#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "net/ChildChecks.h"
#include "net/ChildNamespace.h"
#include "net/IcmpEchoPacket.h"
#include "net/IcmpJob.h"
#include "net/IcmpRecorder.h"

namespace quenderlink {
namespace {

using testing::ChildChecks;
using testing::FiveTimes;
using testing::IcmpRecorder;
using testing::kCannotUnshare;
using testing::MakeIcmpJob;
using testing::RunInOwnNetworkNamespace;

// Runs `body` in a forked child inside a network namespace of its own, with
// `commands` (shell lines, e.g. `ip route ...`) run there first.
void InNetworkNamespace(const std::vector<std::string>& commands, const std::function<int(ChildChecks&)>& body) {
  if (std::system("command -v ip >/dev/null 2>&1") != 0) GTEST_SKIP() << "the ip tool (iproute2) is missing";
  const int code = RunInOwnNetworkNamespace([&] {
    for (const std::string& command : commands)
      if (std::system(command.c_str()) != 0) return 2;
    ChildChecks checks;
    return body(checks);
  });
  if (code == kCannotUnshare) GTEST_SKIP() << "this process cannot make a network namespace of its own";
  EXPECT_EQ(code, 0) << "the checks in the namespace failed (see above)";
}

IcmpParams Quick(std::uint32_t timeoutMs) {
  IcmpParams params;
  params.timeoutMs = timeoutMs;
  return params;
}

std::string RunMethod(void (*method)(IcmpJob&), const std::string& address, IcmpParams params = Quick(300)) {
  IcmpRecorder recorder;
  const std::atomic<bool> abort{false};
  IcmpJob job = MakeIcmpJob(recorder, address, abort, params);
  method(job);
  return recorder.Script();
}

TEST(IcmpNamespace, TheDatagramSocketPingsLoopbackAtAnyDataSize) {
  InNetworkNamespace({}, [](ChildChecks& checks) {
    std::string reason;
    checks.True(CanOpenLibraryIcmp(reason), "the datagram socket opens");
    IcmpParams largest = Quick(2000);
    largest.dataSize = 65535;
    largest.dontFragment = 1;
    const std::string script = RunMethod(&PingLibraryThread, "127.0.0.1", largest);
    checks.Equal(script.substr(script.size() - 15), "done 3 complete", "all five tries answered");
    checks.True(script.find("reply 3 #4 127.0.0.1") != std::string::npos, "the fifth reply came");
    return checks.ExitCode();
  });
}

TEST(IcmpNamespace, SilenceIsATimeOut) {
  InNetworkNamespace({"echo 1 > /proc/sys/net/ipv4/icmp_echo_ignore_all"}, [](ChildChecks& checks) {
    checks.Equal(RunMethod(&PingLibraryThread, "127.0.0.1"), "try 3 Try # 1, failed 3 #0 error 11010, done 3 ended",
                 "library");
    checks.Equal(RunMethod(&PingRouteThread, "127.0.0.1", Quick(100)),
                 FiveTimes("try 3 Try # {n}, failed 3 #{i} error 11010", "done 3 complete"), "route");
    checks.Equal(RunMethod(&PingRawThread, "127.0.0.1"),
                 "raw 3 A timeout occured while waiting for a ICMP response, done 3 ended", "raw");
    return checks.ExitCode();
  });
}

// Sends ICMP messages to 127.0.0.1 as if another host or program had, from a raw socket of its own.
class Injector {
 public:
  Injector() : fd_(::socket(AF_INET, SOCK_RAW, IPPROTO_ICMP)) {}
  ~Injector() { ::close(fd_); }
  Injector(const Injector&) = delete;
  Injector& operator=(const Injector&) = delete;

  void EchoReply(std::uint16_t identifier, std::uint16_t sequence) const {
    std::vector<std::uint8_t> reply = BuildRawEchoRequest(4, sequence, identifier, 0);
    reply[0] = kIcmpEchoReply;
    Send(reply);
  }
  // A destination unreachable (host) quoting our request.
  void HostUnreachable(std::uint16_t sequence) const {
    std::vector<std::uint8_t> error = {3, 1, 0, 0, 0, 0, 0, 0, 0x45, 0, 0, 48, 0, 0, 0, 0, 64, 1, 0, 0,
                                       127, 0, 0, 1, 127, 0, 0, 1};
    const std::vector<std::uint8_t> request = BuildRawEchoRequest(4, sequence, ProcessIcmpIdentifier(), 0);
    error.insert(error.end(), request.begin(), request.begin() + 8);
    Send(error);
  }

 private:
  void Send(std::vector<std::uint8_t> message) const {
    message[2] = message[3] = 0;
    const std::uint16_t checksum = InternetChecksum(message);
    message[2] = static_cast<std::uint8_t>(checksum >> 8);
    message[3] = static_cast<std::uint8_t>(checksum);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::sendto(fd_, message.data(), message.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
  }
  int fd_;
};

TEST(IcmpNamespace, TheRawMethodSkipsOtherRepliesAndCarriesOnPastAnErrorWhenAskedTo) {
  std::string reason;
  if (!CanOpenRawIcmp(reason)) GTEST_SKIP() << reason;
  InNetworkNamespace({"echo 1 > /proc/sys/net/ipv4/icmp_echo_ignore_all"}, [](ChildChecks& checks) {
    const Injector injector;
    const std::uint16_t ours = ProcessIcmpIdentifier();
    // Sequences 40 and 41 are the job's first two tries.
    std::thread others([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      injector.EchoReply(static_cast<std::uint16_t>(ours + 1), 40);
      injector.HostUnreachable(40);
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      injector.EchoReply(static_cast<std::uint16_t>(ours + 1), 41);
      injector.EchoReply(ours, 41);
    });
    IcmpRecorder recorder;
    const std::atomic<bool> abort{false};
    IcmpJob job = MakeIcmpJob(recorder, "127.0.0.1", abort, Quick(1500));
    job.continueOnFailure = true;
    PingRawThread(job);
    others.join();
    checks.Equal(recorder.Script(),
                 "raw reply 3 #1 127.0.0.1, raw 3 A timeout occured while waiting for a ICMP response, done 3 ended",
                 "the error, then our reply, then silence");
    checks.Equal(recorder.messages.empty() ? "" : recorder.messages.front(),
                 "CPing::DecodeResponse, Non-echo reply type field in ICMP reponse packet, Value:3\n", "the message");
    return checks.ExitCode();
  });
}

TEST(IcmpNamespace, AStreamOfOtherRepliesHoldsARawTryForTwiceTheTimeOutAtMost) {
  std::string reason;
  if (!CanOpenRawIcmp(reason)) GTEST_SKIP() << reason;
  InNetworkNamespace({"echo 1 > /proc/sys/net/ipv4/icmp_echo_ignore_all"}, [](ChildChecks& checks) {
    const Injector injector;
    std::atomic<bool> stop{false};
    std::thread others([&] {
      while (!stop) {
        injector.EchoReply(static_cast<std::uint16_t>(ProcessIcmpIdentifier() + 1), 40);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
      }
    });
    const auto start = std::chrono::steady_clock::now();
    const std::string script = RunMethod(&PingRawThread, "127.0.0.1", Quick(200));
    const auto took = std::chrono::steady_clock::now() - start;
    stop = true;
    others.join();
    checks.Equal(script, "raw 3 A timeout occured while waiting for a ICMP response, done 3 ended", "raw");
    checks.True(took >= std::chrono::milliseconds(390) && took < std::chrono::milliseconds(1500),
                "the try ended at twice the time-out");
    return checks.ExitCode();
  });
}

}  // namespace
}  // namespace quenderlink
