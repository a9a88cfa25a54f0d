#pragma once

#include <atomic>
#include <cstdint>
#include <span>
#include <vector>

#include "core/RuntimeParams.h"
#include "core/RunSite.h"
#include "net/DeviceDatagram.h"
#include "net/HostAddress.h"
#include "net/PingEngineListener.h"
#include "net/RangeEntry.h"

namespace quenderlink {

// The block a window shares with the engine it starts, for the whole run: the
// window writes `stop`, the engine writes `finished` as its last act. The
// window keeps it alive until `finished` is set. The engine reads nothing of
// the program's site table: the window copies the sites into `sites` first.
struct EngineRequest {
  PingEngineListener* listener = nullptr;
  std::atomic<std::uint8_t> stop{0};
  std::atomic<std::uint8_t> finished{0};
  std::vector<RunSite> sites;  // site engine: the sites to ping, in table order
  HostLookup lookup = ResolveIpv4;  // site engine: how host names become addresses
  std::uint32_t port = 0;  // range engine: the one port of all addresses (low 16 bits)
  std::span<RangeEntry> ranges;
  std::uint8_t ping = 1;                  // site engine: 1 pings, 0 sends `command`
  std::uint8_t command = kCommandReboot;  // site engine: the command sent when not pinging
  // Read afresh on every pass: Max Wait Response, Max Resend, Max in Parallel,
  // and the railroad for decoding.
  const RuntimeParams* params = nullptr;
};

}  // namespace quenderlink
