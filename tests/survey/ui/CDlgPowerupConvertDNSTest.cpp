#include "survey/ui/CDlgPowerupConvertDNS.h"

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

#include "core/FixedText.h"
#include "net/HangingLookup.h"
#include "support/DialogTesting.h"

namespace quenderlink {
namespace {

using namespace testing;

class CDlgPowerupConvertDNSTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { EnsureApplication(); }

  // Sites of these host texts, each keeping "127.82.3.1" as its address until converted.
  void ListHosts(std::initializer_list<const char*> hosts) {
    std::vector<SiteRecord> records;
    for (const char* host : hosts) {
      SiteRecord& site = records.emplace_back(NewSiteRecord(9001));
      SetFieldText(site.HostText, host);
      SetFieldText(site.IpByNumber, "127.82.3.1");
    }
    state.sites.Replace(records);
  }

  ProgramState state{"."};
};

TEST_F(CDlgPowerupConvertDNSTest, LogsEachNameWithItsResultTellsEachRowAndClosesItself) {
  ListHosts({"bad name!", "127.82.2.1"});
  CDlgPowerupConvertDNS dialog(state, 2);
  std::vector<std::string> resolved;
  QObject::connect(&dialog, &CDlgPowerupConvertDNS::rowResolved, [&](int row) {
    resolved.emplace_back(FieldText(state.sites[static_cast<std::size_t>(row)].IpByNumber));
  });

  EXPECT_EQ(dialog.exec(), QDialog::Accepted);
  EXPECT_EQ(Child<QPlainTextEdit>(dialog, "logBox").toPlainText(),
            "0001: DNS = bad name!\nERROR: Failed to convert!\n\n"
            "0002: DNS = 127.82.2.1\nIP EQUAL = 127.82.2.1\n\n");
  EXPECT_EQ(resolved, (std::vector<std::string>{"0.0.0.0", "127.82.2.1"}));
}

// With a dead name server the conversion at start would hold the program for
// minutes: closing the dialog stops it, and the sites not reached keep their addresses.
TEST_F(CDlgPowerupConvertDNSTest, ClosingItDuringALookupThatHangsStopsTheConversion) {
  ListHosts({"east.yard", "west.yard"});
  HangingLookup nameServer;
  CDlgPowerupConvertDNS dialog(state, 2, nullptr, nameServer.lookup());
  QTimer::singleShot(0, [&] {
    ASSERT_TRUE(QTest::qWaitFor([&] { return nameServer.asked() == 1; }, 20000));
    EXPECT_TRUE(state.operations.pingInProgress);
    dialog.reject();
  });

  dialog.exec();
  EXPECT_FALSE(state.operations.pingInProgress);
  EXPECT_EQ(nameServer.asked(), 1);
  EXPECT_EQ(FieldText(state.sites[0].IpByNumber), "127.82.3.1");
}

}  // namespace
}  // namespace quenderlink
