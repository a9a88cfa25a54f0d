#include <gtest/gtest.h>

#include "cli/CliRunner.h"

namespace quenderlink::testing {
namespace {

TEST(SettingsCommands, SetThenGetIgnoresCaseKeepsOtherKeysAndFailsOnAnUnsetKey) {
  CliRunner cli;
  // A known key's default is found whatever the case; the file's own keys match so in IniSettingsFileTest.
  EXPECT_EQ(cli.Run({"settings", "get", "misc", "default port num"}).out, "9001\n");
  ASSERT_EQ(cli.Run({"settings", "set", "Ping Sites", "Max Resend", "3"}).exitCode, 0);
  EXPECT_EQ(cli.Run({"settings", "get", "Ping Sites", "Max Resend"}).out, "3\n");

  const CliResult shown = cli.Run({"settings", "show"});
  ASSERT_EQ(shown.exitCode, 0);
  EXPECT_NE(shown.out.find("[Ping Sites] Max Resend=3\n"), std::string::npos);
  EXPECT_NE(shown.out.find("[MISC] Telnet Port Trk1=10001\n"), std::string::npos);

  const CliResult missing = cli.Run({"settings", "get", "Nowhere", "Nothing"});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_FALSE(missing.err.empty());
}

}  // namespace
}  // namespace quenderlink::testing
