#include <gtest/gtest.h>

#include "cli/CliRunner.h"

namespace quenderlink::testing {
namespace {

TEST(ProgramCommands, IdentifyPrintsTheProductTypeOrRefusesWithExit2AndCheckRefusesWithExit1) {
  CliRunner cli;
  WriteFileBytes(cli / "zenthi.bin",
                 "\xC3" + std::string(500, '\0') + "Remote Begin" + std::string(10, '\0') + "collector");
  WriteFileBytes(cli / "plain.bin", "\xC3 nothing to see");
  WriteFileBytes(cli / "bad.bin", "Xrest");
  const auto run = [&](const char* command, const char* file) {
    return cli.Run({"program", command, (cli / file).string()});
  };

  const CliResult identified = cli.Run({"program", "identify", (cli / "zenthi.bin").string(), "--json"});
  ASSERT_EQ(identified.exitCode, 0) << identified.err;
  EXPECT_EQ(nlohmann::json::parse(identified.out), (nlohmann::json{{"ProductType", 3}, {"name", "Collector"}}));
  EXPECT_EQ(run("identify", "plain.bin").out, "0 Unkwn_0\n");
  EXPECT_EQ(run("identify", "missing.bin").exitCode, 2);

  EXPECT_EQ(run("check", "plain.bin").exitCode, 0);
  const CliResult refused = run("check", "bad.bin");
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_NE(refused.err.find("SELECTED FILE IS NOT A VALID BIN FILE (2)"), std::string::npos);
}

}  // namespace
}  // namespace quenderlink::testing
