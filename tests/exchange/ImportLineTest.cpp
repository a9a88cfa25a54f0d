#include "exchange/ImportLine.h"

#include <gtest/gtest.h>

#include "core/FixedText.h"
#include "core/Printf.h"

namespace quenderlink {
namespace {

constexpr ImportDefaults kDefaults{9001, 10001};

// Names resolve only when the test says so; nothing goes to a real resolver.
std::optional<std::string> FakeLookup(const std::string& name) {
  if (name == "unit7.rail.example") return "127.0.7.7";
  return std::nullopt;
}

std::string Parsed(std::string_view line, ImportColumns columns) {
  const SiteRecord record = ParseImportLine(line, columns, kDefaults, FakeLookup).record;
  return Printf("host=%s ip=%s port=%d name=%s", std::string(FieldText(record.HostText)).c_str(),
                std::string(FieldText(record.IpByNumber)).c_str(), record.DevicePort,
                std::string(FieldText(record.SiteName)).c_str());
}

TEST(ImportLineTest, FieldsTakeTheirRolesFromTheChosenColumns) {
  struct Case {
    const char* name;
    const char* line;
    ImportColumns columns;
    const char* expected;
  };
  const Case cases[] = {
      {"quoted name with a comma, spaced port", "127.0.0.5, 9050 ,\"Iron Bridge, North\"", {1, 2, 3},
       "host=127.0.0.5 ip=127.0.0.5 port=9050 name=Iron Bridge- North"},
      {"doubled quotes as spreadsheets write them", "\"Smith \"\"X\"\", Inc\",127.0.0.6", {2, 0, 1},
       "host=127.0.0.6 ip=127.0.0.6 port=9001 name=Smith \"X\"- Inc"},
      {"a leading comma ends the line", ",127.0.0.7,9050", {2, 3, 0}, "host= ip=0.0.0.0 port=9001 name=??"},
      {"an empty field stops the columns after it", "127.0.0.8,,9050", {1, 3, 0},
       "host=127.0.0.8 ip=127.0.0.8 port=9001 name=??"},
      {"a field of blanks is not empty", "127.0.0.9,  ,9050", {1, 3, 0},
       "host=127.0.0.9 ip=127.0.0.9 port=9050 name=??"},
      {"one column serves the address first", "127.0.0.10,9050", {1, 1, 1},
       "host=127.0.0.10 ip=127.0.0.10 port=9001 name=??"},
      {"port 50 is a slip", "127.0.0.11,50", {1, 2, 0}, "host=127.0.0.11 ip=127.0.0.11 port=9001 name=??"},
      {"port 65001 is a slip", "127.0.0.11,65001", {1, 2, 0}, "host=127.0.0.11 ip=127.0.0.11 port=9001 name=??"},
      {"port 100 stands", "127.0.0.11,100", {1, 2, 0}, "host=127.0.0.11 ip=127.0.0.11 port=100 name=??"},
      {"port 65000 stands", "127.0.0.11,65000", {1, 2, 0}, "host=127.0.0.11 ip=127.0.0.11 port=65000 name=??"},
      {"a name is looked up, the name kept", "unit7.rail.example", {1, 0, 0},
       "host=unit7.rail.example ip=127.0.7.7 port=9001 name=??"},
      {"an unknown name keeps no address", "nowhere.example", {1, 0, 0},
       "host=nowhere.example ip=0.0.0.0 port=9001 name=??"},
      {"an empty trailing field", "127.0.0.12,9060,", {1, 2, 3}, "host=127.0.0.12 ip=127.0.0.12 port=9060 name=??"},
      {"tabs and quotes trimmed", "\t\"127.0.0.13\"\t", {1, 0, 0}, "host=127.0.0.13 ip=127.0.0.13 port=9001 name=??"},
      {"texts longer than their fields are cut", "127.0.0.14,A site name of more than twenty-three", {1, 0, 2},
       "host=127.0.0.14 ip=127.0.0.14 port=9001 name=A site name of more tha"},
  };
  for (const Case& c : cases) EXPECT_EQ(Parsed(c.line, c.columns), c.expected) << c.name;
  EXPECT_EQ(int{ParseImportLine("127.0.0.5", {1, 0, 0}, kDefaults, FakeLookup).record.TelnetPort}, 10001);
}

}  // namespace
}  // namespace quenderlink
