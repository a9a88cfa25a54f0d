#include "survey/ui/CDlgPowerupConvertDNS.h"

#include <gtest/gtest.h>

#include <QPlainTextEdit>

#include "core/FixedText.h"
#include "support/DialogTesting.h"

namespace quenderlink {
namespace {

using namespace testing;

class CDlgPowerupConvertDNSTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { EnsureApplication(); }

  void Hosts(std::initializer_list<const char*> hosts) {
    std::vector<SiteRecord> records;
    for (const char* host : hosts) SetFieldText(records.emplace_back(NewSiteRecord(9001)).HostText, host);
    state_.sites.Replace(records);
  }

  ProgramState state_{"."};
};

TEST_F(CDlgPowerupConvertDNSTest, LogsEachNameWithItsResultTellsEachRowAndClosesItself) {
  Hosts({"bad name!", "127.82.2.1"});
  CDlgPowerupConvertDNS dialog(state_, 2);
  std::vector<std::string> resolved;
  QObject::connect(&dialog, &CDlgPowerupConvertDNS::rowResolved, [&](int row) {
    resolved.emplace_back(FieldText(state_.sites[static_cast<std::size_t>(row)].IpByNumber));
  });

  EXPECT_EQ(dialog.exec(), QDialog::Accepted);
  EXPECT_EQ(Child<QPlainTextEdit>(dialog, "logBox").toPlainText(),
            "0001: DNS = bad name!\nERROR: Failed to convert!\n\n"
            "0002: DNS = 127.82.2.1\nIP EQUAL = 127.82.2.1\n\n");
  EXPECT_EQ(resolved, (std::vector<std::string>{"0.0.0.0", "127.82.2.1"}));
}

}  // namespace
}  // namespace quenderlink
