#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cli/CliRunner.h"

namespace quenderlink::testing {
namespace {

using ::testing::HasSubstr;

class WorkbookExportCommand : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(cli.Run({"sites", "add", file, "--host", "10.0.0.1"}).exitCode, 0); }
  CliResult Export(std::vector<std::string> options) {
    options.insert(options.begin(), {"sites", "export", file});
    return cli.Run(options);
  }
  static bool IsPackage(const std::filesystem::path& path) { return ReadFileBytes(path).substr(0, 2) == "PK"; }

  CliRunner cli;
  const std::string file = (cli / "sites.bin").string();
};

// The book's name and contents and the refusal of a template that is no workbook are SiteWorkbookExportTest's.
TEST_F(WorkbookExportCommand, WritesInTheHomeOrWhereToldFromTheHomeTemplateUnlessAnotherIsNamedAndRefusesBadOptions) {
  const CliResult inHome = Export({"--format", "xlsx"});
  ASSERT_EQ(inHome.exitCode, 0) << inHome.err;
  const std::filesystem::path written = inHome.out.substr(0, inHome.out.find('\n'));
  EXPECT_EQ(written.parent_path(), cli.home());
  EXPECT_TRUE(IsPackage(written));

  const CliResult told = Export({"--format", "xlsx", "--out", (cli / "book.xlsx").string()});
  ASSERT_EQ(told.exitCode, 0) << told.err;
  EXPECT_EQ(told.out, (cli / "book.xlsx").string() + "\n");
  EXPECT_TRUE(IsPackage(cli / "book.xlsx"));

  WriteFileBytes(cli / "ExcelTemplateDetectors_V97.xlsx", "not a workbook");
  EXPECT_EQ(Export({"--format", "xlsx", "--out", (cli / "a.xlsx").string()}).exitCode, 1);
  const CliResult named =
      Export({"--format", "xlsx", "--out", (cli / "b.xlsx").string(), "--template", (cli / "book.xlsx").string()});
  EXPECT_EQ(named.exitCode, 0) << named.err;
  EXPECT_TRUE(IsPackage(cli / "b.xlsx"));

  const CliResult noOut = Export({"--format", "txt"});
  EXPECT_EQ(noOut.exitCode, 2);
  EXPECT_THAT(noOut.err, HasSubstr("--out"));
  const std::string out = (cli / "x.csv").string();
  EXPECT_EQ(Export({"--format", "csv", "--out", out, "--template", file}).exitCode, 2);
  EXPECT_EQ(Export({"--format", "xlsx", "--template", (cli / "missing.xlsx").string()}).exitCode, 2);
  EXPECT_FALSE(std::filesystem::exists(out));
}

}  // namespace
}  // namespace quenderlink::testing
