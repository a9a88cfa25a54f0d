#include <gtest/gtest.h>

#include "core/ProgramFolder.h"
#include "support/TempDir.h"

namespace quenderlink::testing {
namespace {

namespace fs = std::filesystem;

TEST(ProgramFolder, HomeWinsThenAWritableProgramFolderThenTheUsersDataFolder) {
  struct Row {
    const char* name;
    std::optional<fs::path> home;
    bool writable;
    bool installed;
    const char* xdgDataHome;
    const char* userHome;
    fs::path expected;
  };
  const Row rows[] = {
      {"home over everything", fs::path("/h"), true, true, "/data", "/u", "/h"},
      {"build tree", std::nullopt, true, false, "/data", "/u", "/usr/bin"},
      {"installed, run by root", std::nullopt, true, true, "/data", "/u", "/data/quenderlink"},
      {"installed, data folder set", std::nullopt, false, true, "/data", "/u", "/data/quenderlink"},
      {"not writable, data folder unset", std::nullopt, false, false, "", "/u", "/u/.local/share/quenderlink"},
      {"installed, relative data folder ignored", std::nullopt, false, true, "data", "/u", "/u/.local/share/quenderlink"},
      {"installed, no home known", std::nullopt, false, true, "", "", "/usr/bin"},
  };
  for (const Row& row : rows)
    EXPECT_EQ(ChooseProgramFolder(row.home, {"/usr/bin", row.writable, row.installed, row.xdgDataHome, row.userHome}), row.expected)
        << row.name;
}

TEST(ProgramFolder, TheChosenFolderIsCreatedAndAbsolute) {
  const TempDir folder;
  const ProgramFolderSurroundings installed{folder / "bin", false, true, (folder / "data").string(), ""};
  EXPECT_EQ(ResolveProgramFolder(std::nullopt, installed), folder / "data" / "quenderlink");
  EXPECT_TRUE(fs::is_directory(folder / "data" / "quenderlink"));

  const fs::path relativeHome = fs::relative(folder / "home", fs::current_path());
  EXPECT_EQ(ResolveProgramFolder(relativeHome, installed), fs::absolute(relativeHome));
  EXPECT_TRUE(fs::is_directory(folder / "home"));
}

}  // namespace
}  // namespace quenderlink::testing
