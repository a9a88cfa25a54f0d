#pragma once

namespace quenderlink::cli {

// The command-line tool's exit codes are a contract with scripts.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;    // the operation ran but failed or was refused
inline constexpr int kExitBadInput = 2;  // bad input or usage; nothing was written

}  // namespace quenderlink::cli
