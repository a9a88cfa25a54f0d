#pragma once

#include <string>

#include "core/ProgramState.h"

namespace quenderlink {

// The ICMP scan view's frame title for the method it was opened with.
std::string IcmpScanTitle(IcmpScanMode mode);

// The method's word, as the command line's --method names it and the journal keeps it.
const char* IcmpMethodWord(IcmpScanMode mode);

// Whether the method's socket opens for this process; the route method is not
// checked beforehand, its tries report what fails.
[[nodiscard]] bool CanPingWith(IcmpScanMode mode);

// What the user is told before the view closes when the method's socket does
// not open: what Linux needs for it.
std::string IcmpAccessFailureText(IcmpScanMode mode);

}  // namespace quenderlink
