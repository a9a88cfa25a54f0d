#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "core/RuntimeParams.h"
#include "core/SiteTable.h"
#include "upload/UploadEngineListener.h"

namespace quenderlink {

// The block a window shares with the upload engine for the whole run: the
// window writes `stop`, the engine writes `finished` just before its final
// event. The engine works on the records with the highlighted bit (4) and
// writes their IpByNumber when it builds its jobs.
struct UploadRequest {
  UploadEngineListener* listener = nullptr;
  std::atomic<std::uint8_t> stop{0};
  std::atomic<std::uint8_t> finished{0};
  SiteTable* sites = nullptr;
  std::string filePath;
  // Read at each use: Max Wait Response, Max Resend, Min Wait RAMLoader,
  // Min Wait Sys Reboot, Upload Pgm Max in Parallel, the railroad for decoding.
  const RuntimeParams* params = nullptr;
};

}  // namespace quenderlink
