#pragma once

#include <optional>
#include <string>

namespace quenderlink {

// What decides whether the desktop program finds a display for its window.
struct DisplaySurroundings {
  std::string platformArgument;  // the value of -platform on the command line, which the toolkit prefers
  std::string platformVariable;  // $QT_QPA_PLATFORM
  std::string x11Display;        // $DISPLAY
  std::string waylandDisplay;    // $WAYLAND_DISPLAY
};

// The command line's -platform (or --platform) value, empty when none is given.
[[nodiscard]] std::string PlatformArgument(int argc, const char* const* argv);

// The command line's platform and this process's environment.
DisplaySurroundings DisplaySurroundingsOf(int argc, const char* const* argv);

// The one line to print instead of the toolkit's abort when every platform the toolkit
// would try needs a display (xcb or wayland, the default being xcb) and none is set;
// nothing when the window can be opened or the platform needs no display (offscreen, vnc...).
[[nodiscard]] std::optional<std::string> NoDisplayMessage(const DisplaySurroundings& surroundings);

}  // namespace quenderlink
