#pragma once

#include <string>

namespace quenderlink {

// A unit's version as lists, exports and logs show it: "major.minor", and
// "major.minor-build" where the hidden build is shown.
std::string VersionText(int major, int minor, int hiddenBuild = 0, bool showHidden = false);

}  // namespace quenderlink
