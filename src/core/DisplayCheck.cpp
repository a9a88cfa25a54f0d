#include "core/DisplayCheck.h"

#include <cstdlib>
#include <string_view>

namespace quenderlink {

namespace {

constexpr const char* kNoDisplay =
    "quenderlink: no display to open a window on; run it in a desktop session, as \"xvfb-run make run\", or use "
    "quenderlink-cli";

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// A platform entry is "name" or "name:options".
bool NeedsDisplay(std::string_view entry) {
  const std::string_view name = entry.substr(0, entry.find(':'));
  return name == "xcb" || name.starts_with("wayland");
}

// The toolkit tries the ';'-separated platforms in turn, its default (xcb here) when none
// is named: one that needs no display is enough.
bool EveryPlatformNeedsDisplay(std::string_view platforms) {
  while (!platforms.empty()) {
    const std::size_t end = platforms.find(';');
    const std::string_view entry = platforms.substr(0, end);
    if (!entry.empty() && !NeedsDisplay(entry)) return false;
    platforms = end == std::string_view::npos ? std::string_view{} : platforms.substr(end + 1);
  }
  return true;
}

}  // namespace

std::string PlatformArgument(int argc, const char* const* argv) {
  for (int i = 1; i + 1 < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "-platform" || argument == "--platform") return argv[i + 1];
  }
  return {};
}

DisplaySurroundings DisplaySurroundingsOf(int argc, const char* const* argv) {
  return {PlatformArgument(argc, argv), Variable("QT_QPA_PLATFORM"), Variable("DISPLAY"), Variable("WAYLAND_DISPLAY")};
}

std::optional<std::string> NoDisplayMessage(const DisplaySurroundings& surroundings) {
  if (!surroundings.x11Display.empty() || !surroundings.waylandDisplay.empty()) return std::nullopt;
  const std::string& platforms =
      surroundings.platformArgument.empty() ? surroundings.platformVariable : surroundings.platformArgument;
  if (!EveryPlatformNeedsDisplay(platforms)) return std::nullopt;
  return kNoDisplay;
}

}  // namespace quenderlink
