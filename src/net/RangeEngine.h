#pragma once

#include "net/EngineRequest.h"

namespace quenderlink {

// Pings every address of the request's range table on the request's port and
// reports each step to the request's listener; the table's entries record the
// outcome. A thread entry point: it runs until no entry waits or the request's
// stop flag is set, and sets the request's finished flag as its last act.
void RangeEngine(EngineRequest& request);

}  // namespace quenderlink
