#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "core/Lookups.h"
#include "exchange/SiteWorkbookRows.h"
#include "support/TestSite.h"

namespace quenderlink {
namespace {

// A row as one line: numbers bare, texts quoted, the format first.
std::string Summary(const WorkbookRow& row) {
  static constexpr const char* kFormats[] = {"failed", "answered", "never"};
  std::string line = kFormats[static_cast<int>(row.format)];
  for (const WorkbookCell& cell : row.cells) {
    char number[32];
    std::snprintf(number, sizeof number, "%g", cell.number);
    line += cell.kind == WorkbookCell::Kind::Number ? std::string(" ") + number : " '" + cell.text + "'";
  }
  return line;
}

struct Case {
  const char* name;
  std::uint8_t lastPing;
  const char* milepost;
  std::uint8_t track;
  const char* format;
  const char* cellsFromMilepost;
};

// The columns every row fills alike are pinned through the export's rows; these cases vary the rest.
TEST(SiteWorkbookRows, CellsKindsAndFormatFollowTheRecord) {
  const Case cases[] = {
      {"never pinged", 0, "12.5 N", 2, "never", "'12.5 N' 12.5 'South Track' '0.0' '' '' '' '?\?\?\?'"},
      {"answered in 2.5 s, no number in the milepost", 25, "MP", 12, "answered",
       "'MP' 0 'Main 2' '0.0' '' '' '' '2.5 sec'"},
      {"answered at the slowest reply", 252, " -3", 13, "answered", "' -3' -3 'ERR_13' '0.0' '' '' '' '25.2 sec'"},
      {"bad address", 253, ".5", 0, "failed", "'.5' 0.5 'Single' '0.0' '' '' '' 'Bad IP'"},
      {"user abort", 254, "", 0, "failed", "'' 0 'Single' '0.0' '' '' '' 'User Abort'"},
      {"no answer", 255, "nan", 0, "failed", "'nan' 0 'Single' '0.0' '' '' '' 'Ping Failed'"},
  };
  for (const Case& c : cases) {
    SiteRecord site =
        testing::TestSite({.name = "Cr\xEAte", .address = "10.0.0.9", .port = 9005, .lastPing = c.lastPing});
    SetFieldText(site.Milepost, c.milepost);
    site.TrackIndex = c.track;
    const std::string expected =
        std::string(c.format) + " 3 '10.0.0.9' '10.0.0.9' 9005 0 'NS_0' 'Cr\xC3\xAAte' " + c.cellsFromMilepost;
    EXPECT_EQ(Summary(SiteWorkbookRow(3, site, kRailroadNs)), expected) << c.name;
  }
}

}  // namespace
}  // namespace quenderlink
