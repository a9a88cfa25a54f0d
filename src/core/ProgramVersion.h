#pragma once

namespace quenderlink {

// The program's version, as the title, the About box and the journal's runs carry it.
inline constexpr char kProgramVersion[] = "9.0";

}  // namespace quenderlink
