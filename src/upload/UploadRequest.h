#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "core/RuntimeParams.h"
#include "core/RunSite.h"
#include "net/HostAddress.h"
#include "upload/UploadEngineListener.h"

namespace quenderlink {

// The block a window shares with the upload engine for the whole run: the
// window writes `stop`, the engine writes `finished` just before its final
// event. The engine works on the window's copy of the highlighted sites and
// reports the address it reaches each one at (OnJobAddress) when it builds its
// jobs; it reads nothing of the program's site table.
struct UploadRequest {
  UploadEngineListener* listener = nullptr;
  std::atomic<std::uint8_t> stop{0};
  std::atomic<std::uint8_t> finished{0};
  std::vector<RunSite> sites;  // in table order
  HostLookup lookup = ResolveIpv4;
  std::string filePath;
  // Read at each use: Max Wait Response, Max Resend, Min Wait RAMLoader,
  // Min Wait Sys Reboot, Upload Pgm Max in Parallel, the railroad for decoding.
  const RuntimeParams* params = nullptr;
};

}  // namespace quenderlink
