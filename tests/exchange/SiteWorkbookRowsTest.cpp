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

TEST(SiteWorkbookRows, CellsKindsAndFormatFollowTheRecord) {
  const Case cases[] = {
      {"never pinged", 0, "12.5 N", 2, "never", "'12.5 N' 12.5 'South Track' '4.2' 'C1' 'R2' '' '?\?\?\?'"},
      {"answered in 2.5 s, no number in the milepost", 25, "MP", 12, "answered",
       "'MP' 0 'Main 2' '4.2' 'C1' 'R2' '' '2.5 sec'"},
      {"answered at the slowest reply", 252, " -3", 13, "answered", "' -3' -3 'ERR_13' '4.2' 'C1' 'R2' '' '25.2 sec'"},
      {"bad address", 253, ".5", 0, "failed", "'.5' 0.5 'Single' '4.2' 'C1' 'R2' '' 'Bad IP'"},
      {"user abort", 254, "", 0, "failed", "'' 0 'Single' '4.2' 'C1' 'R2' '' 'User Abort'"},
      {"no answer", 255, "nan", 0, "failed", "'nan' 0 'Single' '4.2' 'C1' 'R2' '' 'Ping Failed'"},
  };
  for (const Case& c : cases) {
    SiteRecord site =
        testing::TestSite({.name = "Cr\xEAte", .address = "10.0.0.9", .port = 9005, .lastPing = c.lastPing});
    SetFieldText(site.HostText, "a.example");
    SetFieldText(site.Milepost, c.milepost);
    SetFieldText(site.CommVersion, "C1");
    SetFieldText(site.ReaderVersion, "R2");
    site.SubdivCode = 1;
    site.TrackIndex = c.track;
    site.VersionMajor = 4;
    site.VersionMinor = 2;
    const std::string expected =
        std::string(c.format).append(" 3 'a.example' '10.0.0.9' 9005 1 'Alabama' 'Cr\xC3\xAAte' ").append(c.cellsFromMilepost);
    EXPECT_EQ(Summary(SiteWorkbookRow(3, site, kRailroadNs)), expected) << c.name;
  }
}

}  // namespace
}  // namespace quenderlink
