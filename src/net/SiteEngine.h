#pragma once

#include "net/EngineRequest.h"

namespace quenderlink {

// Pings every site of the request's copy (or, with the request's ping flag 0,
// sends it the request's command), resolving host names first, and
// reports each step to the request's listener. A thread entry point: it runs
// until no entry waits or the request's stop flag is set, and sets the
// request's finished flag as its last act.
void SiteEngine(EngineRequest& request);

}  // namespace quenderlink
