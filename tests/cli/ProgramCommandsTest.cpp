#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli/CliRunner.h"

namespace quenderlink::testing {
namespace {

TEST(ProgramIdentify, PrintsTheProductTypeAndName) {
  CliRunner cli;
  std::string image = "\xC3";
  image += std::string(500, '\0') + "Remote Begin" + std::string(10, '\0') + "collector";
  WriteFileBytes(cli / "zenthi.bin", image);

  const CliResult json = cli.Run({"program", "identify", (cli / "zenthi.bin").string(), "--json"});
  ASSERT_EQ(json.exitCode, 0) << json.err;
  EXPECT_EQ(nlohmann::json::parse(json.out), (nlohmann::json{{"ProductType", 3}, {"name", "Collector"}}));

  WriteFileBytes(cli / "plain.bin", "\xC3 nothing to see");
  EXPECT_EQ(cli.Run({"program", "identify", (cli / "plain.bin").string()}).out, "0 Unkwn_0\n");
  EXPECT_EQ(cli.Run({"program", "identify", (cli / "missing.bin").string()}).exitCode, 2);
}

TEST(ProgramCheck, AcceptsAPlausibleImageAndRefusesOthersWithTheirMessage) {
  CliRunner cli;
  WriteFileBytes(cli / "good.bin", "\xC7rest");
  EXPECT_EQ(cli.Run({"program", "check", (cli / "good.bin").string()}).exitCode, 0);

  WriteFileBytes(cli / "bad.bin", "Xrest");
  const CliResult refused = cli.Run({"program", "check", (cli / "bad.bin").string()});
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_NE(refused.err.find("SELECTED FILE IS NOT A VALID BIN FILE (2)"), std::string::npos);

  WriteFileBytes(cli / "empty.bin", "");
  EXPECT_EQ(cli.Run({"program", "check", (cli / "empty.bin").string()}).exitCode, 1);
  EXPECT_EQ(cli.Run({"program", "check", (cli / "missing.bin").string()}).exitCode, 1);
}

}  // namespace
}  // namespace quenderlink::testing
