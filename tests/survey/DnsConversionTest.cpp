#include "survey/DnsConversion.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>
#include <vector>

#include "core/FixedText.h"
#include "net/HangingLookup.h"

namespace quenderlink {
namespace {

using Calls = std::vector<std::string>;

class DnsRecorder : public DnsConversionListener {
 public:
  Calls calls;

  void OnDnsName(const std::string& host) override { calls.push_back("name " + host); }
  void OnDnsAddress(const std::string& address) override { calls.push_back("address " + address); }
  void OnDnsFailed(const std::string& ipByNumber) override { calls.push_back("failed " + ipByNumber); }
  void OnDnsRowResolved(std::uint16_t row, const std::string& ipByNumber) override {
    calls.push_back("row " + std::to_string(row) + " " + ipByNumber);
  }
  void OnDnsDone() override { calls.push_back("done"); }
};

std::vector<RunSite> Sites(std::initializer_list<const char*> hosts) {
  std::vector<RunSite> sites;
  for (const char* host : hosts) {
    RunSite& site = sites.emplace_back();
    site.row = static_cast<std::uint16_t>(sites.size() * 10);
    SetFieldText(site.host, host);
  }
  return sites;
}

Calls Converted(const std::vector<RunSite>& sites) {
  DnsRecorder recorder;
  const std::atomic<std::uint8_t> stop{0};
  ConvertHostNames(sites, recorder, stop);
  return recorder.calls;
}

TEST(DnsConversionTest, AFailedNameKeepsNoAddressAndTheNextSitesGoOn) {
  EXPECT_EQ(Converted(Sites({"bad name!", "127.82.0.5", "localhost"})),
            (Calls{"name bad name!", "failed 0.0.0.0", "row 10 0.0.0.0", "name 127.82.0.5", "address 127.82.0.5",
                   "row 20 127.82.0.5", "name localhost", "address 127.0.0.1", "row 30 127.0.0.1", "done"}));
  EXPECT_EQ(Converted({}), Calls{"done"});
}

// A name server that never answers must not keep the program waiting once the user gives up.
TEST(DnsConversionTest, AStopDuringALookupThatHangsEndsTheConversionPromptlyAndReportsNothingForThatSite) {
  testing::HangingLookup nameServer;
  DnsRecorder recorder;
  std::atomic<std::uint8_t> stop{0};
  auto conversion = std::async(std::launch::async, [&] {
    ConvertHostNames(Sites({"127.82.0.5", "east.yard", "west.yard"}), recorder, stop, nameServer.lookup());
  });
  ASSERT_TRUE(nameServer.WaitUntilAsked(1));
  stop = 1;
  ASSERT_EQ(conversion.wait_for(std::chrono::seconds(1)), std::future_status::ready);
  EXPECT_EQ(recorder.calls, (Calls{"name 127.82.0.5", "address 127.82.0.5", "row 10 127.82.0.5", "name east.yard", "done"}));
  EXPECT_EQ(nameServer.asked(), 1);
}

}  // namespace
}  // namespace quenderlink
