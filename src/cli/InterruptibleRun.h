#pragma once

#include <functional>

namespace quenderlink::cli {

// Runs `work` on a worker thread until it returns. Ctrl-C (SIGINT) or SIGTERM
// meanwhile calls `interrupt` on this thread instead of ending the program, so
// a run can end the way an aborted run ends. True when it was interrupted.
bool RunInterruptibly(const std::function<void()>& work, const std::function<void()>& interrupt);

}  // namespace quenderlink::cli
