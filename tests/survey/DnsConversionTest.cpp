#include "survey/DnsConversion.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/FixedText.h"

namespace quenderlink {
namespace {

using Calls = std::vector<std::string>;

class DnsRecorder : public DnsConversionListener {
 public:
  Calls calls;

  void OnDnsName(const std::string& host) override { calls.push_back("name " + host); }
  void OnDnsAddress(const std::string& address) override { calls.push_back("address " + address); }
  void OnDnsFailed(const std::string& ipByNumber) override { calls.push_back("failed " + ipByNumber); }
  void OnDnsRowResolved(std::size_t row, const std::string& ipByNumber) override {
    calls.push_back("row " + std::to_string(row) + " " + ipByNumber);
  }
  void OnDnsDone() override { calls.push_back("done"); }
};

SiteTable Sites(std::initializer_list<const char*> hosts) {
  std::vector<SiteRecord> records;
  for (const char* host : hosts) {
    SiteRecord& site = records.emplace_back(NewSiteRecord(9001));
    SetFieldText(site.HostText, host);
    SetFieldText(site.IpByNumber, "127.82.9.9");
  }
  SiteTable sites;
  sites.Replace(records);
  return sites;
}

std::vector<std::string> Converted(const SiteTable& sites, std::size_t listedRows) {
  DnsRecorder recorder;
  ConvertHostNames(ListedHostTexts(sites, listedRows), recorder);
  return recorder.calls;
}

TEST(DnsConversionTest, AFailedNameKeepsNoAddressAndTheNextSitesGoOnUpToTheListedRowsOrTheTablesEnd) {
  EXPECT_EQ(Converted(Sites({"bad name!", "127.82.0.5", "localhost", "127.82.0.7"}), 3),
            (Calls{"name bad name!", "failed 0.0.0.0", "row 0 0.0.0.0", "name 127.82.0.5", "address 127.82.0.5",
                   "row 1 127.82.0.5", "name localhost", "address 127.0.0.1", "row 2 127.0.0.1", "done"}));
  const SiteTable sites = Sites({"127.82.1.1"});
  EXPECT_EQ(Converted(sites, 0), Calls{"done"});
  EXPECT_EQ(Converted(sites, 5), (Calls{"name 127.82.1.1", "address 127.82.1.1", "row 0 127.82.1.1", "done"}));
}

}  // namespace
}  // namespace quenderlink
