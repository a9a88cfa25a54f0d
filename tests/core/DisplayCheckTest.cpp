#include <gtest/gtest.h>

#include "core/DisplayCheck.h"

namespace quenderlink::testing {
namespace {

TEST(DisplayCheck, ComplainsOnlyWhenEveryPlatformTriedNeedsADisplayAndNoneIsSet) {
  struct Row {
    const char* name;
    DisplaySurroundings surroundings;
    bool complains;
  };
  const Row rows[] = {
      {"nothing set: the default platform needs a display", {}, true},
      {"X display", {"", "", ":0", ""}, false},
      {"wayland display", {"", "", "", "wayland-0"}, false},
      {"wayland asked for, with options", {"", "wayland-egl:foo=1", "", ""}, true},
      {"vnc with options", {"", "vnc:size=800x600", "", ""}, false},
      {"a fallback that needs no display", {"", "wayland;xcb;minimal", "", ""}, false},
      {"only display platforms in the list", {"", "wayland;xcb", "", ""}, true},
      {"the argument wins over the variable", {"xcb", "offscreen", "", ""}, true},
  };
  for (const Row& row : rows) EXPECT_EQ(NoDisplayMessage(row.surroundings).has_value(), row.complains) << row.name;
}

TEST(DisplayCheck, ThePlatformArgumentTakesTheWordAfterIt) {
  const char* const withOne[] = {"quenderlink", "--demo", "-platform", "offscreen"};
  EXPECT_EQ(PlatformArgument(4, withOne), "offscreen");
  const char* const withTwoDashes[] = {"quenderlink", "--platform", "vnc"};
  EXPECT_EQ(PlatformArgument(3, withTwoDashes), "vnc");
}

}  // namespace
}  // namespace quenderlink::testing
