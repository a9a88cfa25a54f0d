#include "survey/ui/CDlgPowerupConvertDNS.h"

#include <gtest/gtest.h>

#include <QPlainTextEdit>

#include "core/FixedText.h"
#include "support/DialogTesting.h"

namespace quenderlink {
namespace {

using namespace testing;

TEST(CDlgPowerupConvertDNSTest, LogsEachNameWithItsResultTellsEachRowAndClosesItself) {
  EnsureApplication();
  ProgramState state(".");
  std::vector<SiteRecord> records(2, NewSiteRecord(9001));
  SetFieldText(records[0].HostText, "bad name!");
  SetFieldText(records[1].HostText, "127.82.2.1");
  state.sites.Replace(records);
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

}  // namespace
}  // namespace quenderlink
