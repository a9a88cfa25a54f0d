// The icmp command in network namespaces of the tests' own: loopback that
// ignores echo, sends with no route to take, thousands of listed sites, and a
// user allowed too few threads.
#include <grp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "cli/CliRunner.h"
#include "core/ErrorMessages.h"
#include "core/Printf.h"
#include "net/ChildNamespace.h"
#include "support/SiteListFile.h"
#include "support/TestSite.h"

namespace quenderlink::testing {
namespace {

constexpr char kNoNamespace[] = "this process cannot make a network namespace of its own";

bool SilentNamespace() {
  return EnterOwnNetworkNamespace() && std::system("echo 1 > /proc/sys/net/ipv4/icmp_echo_ignore_all") == 0;
}

class IcmpCommandNamespaceTest : public ::testing::Test {
 protected:
  CliRunner cli;
};

TEST_F(IcmpCommandNamespaceTest, AnAddressThatNeverAnsweredCarriesTheStatusOfItsFailure) {
  ASSERT_EQ(cli.Run({"settings", "set", "Ping Range", "ICMP Timeout", "200"}).exitCode, 0);
  struct Row {
    const char* method;
    const char* range;
    std::size_t addresses;
    int status;
  };
  const Row rows[] = {
      {"library", "127.0.0.1-2", 2, 11010},
      {"raw", "127.0.0.1-2", 2, 11010},
      {"route", "127.0.0.1-1", 1, 11010},
      // Nothing routes there from a namespace with loopback alone: the send is refused before it leaves.
      {"library", "10.204.0.1-1", 1, 11002},
      {"raw", "10.204.0.1-1", 1, 11002},
  };
  for (const Row& row : rows) {
    const CliResult result = cli.Run({"icmp", row.range, "--method", row.method, "--json"}, &SilentNamespace);
    if (result.exitCode == kChildSetupFailed) GTEST_SKIP() << kNoNamespace;
    EXPECT_EQ(result.exitCode, 1) << row.method << " " << row.range << "\n" << result.err;
    const auto addresses = JsonLines(result.out);
    EXPECT_EQ(addresses.size(), row.addresses) << row.method << " " << row.range;
    for (const auto& address : addresses) EXPECT_EQ(address["status"], row.status) << row.method << " " << address;
  }
}

struct ProcessSample {
  std::string name;
  int threads = 0;
  long long virtualKb = 0;
};

ProcessSample SampleOf(pid_t pid) {
  ProcessSample sample;
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string field; status >> field;) {
    if (field == "Name:") status >> sample.name;
    if (field == "Threads:") status >> sample.threads;
    if (field == "VmSize:") status >> sample.virtualKb;
  }
  return sample;
}

// Without reaping it, so the runner still gets its exit code.
bool Exited(pid_t pid) {
  siginfo_t info{};
  return ::waitid(P_PID, pid, &info, WEXITED | WNOHANG | WNOWAIT) != 0 || info.si_pid == pid;
}

TEST_F(IcmpCommandNamespaceTest, ThousandsOfListedSitesRunOnNoMoreThreadsThanArePingedAtOnce) {
  constexpr int kSites = 5000;
  std::vector<SiteRecord> records;
  for (int i = 0; i < kSites; ++i) {
    const std::string address = Printf("127.98.%d.%d", i / 250, i % 250 + 1);
    records.push_back(TestSite({.address = address}));
  }
  const std::string file = WriteSiteList(cli / "sites.bin", records);
  const pid_t tool = cli.Start({"icmp", "--sites", file, "--method", "library", "--json"}, &EnterOwnNetworkNamespace);
  int mostThreads = 0;
  std::optional<long long> firstKb;
  long long mostKb = 0;
  while (!Exited(tool)) {
    const ProcessSample sample = SampleOf(tool);
    if (sample.name == "quenderlink-cli") {
      mostThreads = std::max(mostThreads, sample.threads);
      if (!firstKb) firstKb = sample.virtualKb;
      mostKb = std::max(mostKb, sample.virtualKb);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  const CliResult result = cli.Finish(tool);
  if (result.exitCode == kChildSetupFailed) GTEST_SKIP() << kNoNamespace;
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(JsonLines(result.out).size(), static_cast<std::size_t>(kSites));
  ASSERT_TRUE(firstKb) << "the run was never seen";
  // 20 addresses at once, the main thread and the one that waits for the run.
  EXPECT_LE(mostThreads, 25);
  // A thread that ended but was not joined leaves the count above, yet keeps
  // its stack (8 MiB) mapped: 5,000 of them would add 40 GB. AddressSanitizer
  // maps terabytes of its own as the tool starts, so there only the count tells.
#if !defined(__SANITIZE_ADDRESS__)
  EXPECT_LT(mostKb - *firstKb, 4LL << 20) << "kB more address space during the run";
#endif
}

TEST_F(IcmpCommandNamespaceTest, AddressesThatGetNoThreadFailWithTheReasonAndTheToolStillEnds) {
  std::filesystem::permissions(cli.home(), std::filesystem::perms::all);
  const CliResult result = cli.Run({"icmp", "127.0.0.1-3", "--json"}, [] {
    // A user of its own, allowed three threads: the main one, the journal's writer and the one that waits for
    // the run.
    const uid_t user = 0x7ff00000 + static_cast<uid_t>(::getpid() & 0xffff);
    const rlimit threeThreads{3, 3};
    // A sanitizer build's leak check at exit would want a thread of its own.
    return EnterOwnNetworkNamespace() && ::setgroups(0, nullptr) == 0 && ::setgid(user) == 0 &&
           ::setuid(user) == 0 && ::setrlimit(RLIMIT_NPROC, &threeThreads) == 0 &&
           ::setenv("ASAN_OPTIONS", "detect_leaks=0", 1) == 0;
  });
  if (result.exitCode == kChildSetupFailed) GTEST_SKIP() << kNoNamespace << ", or cannot change its user";
  EXPECT_EQ(result.exitCode, 1) << result.err;
  const auto addresses = JsonLines(result.out);
  ASSERT_EQ(addresses.size(), 3u) << result.out << result.err;
  for (const auto& address : addresses) {
    EXPECT_EQ(address["comment"], kNoWorkerText) << address;
    EXPECT_EQ(address["status"], 11006) << address;
  }
}

}  // namespace
}  // namespace quenderlink::testing
