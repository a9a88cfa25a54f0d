#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

#include "net/HostAddress.h"

namespace quenderlink {

// AddressOfHost for a run that may be stopped while a name server does not
// answer: a name is looked up on a detached helper thread, and the caller
// waits for it only while `stop` reads 0. A look-up that never returns is left
// behind; its helper ends whenever the look-up does. None when the look-up
// failed, no helper could be started, or the run was stopped first.
[[nodiscard]] std::optional<std::string> AddressOfHostUnlessStopped(const std::string& host,
                                                                  const std::atomic<std::uint8_t>& stop,
                                                                  const HostLookup& lookup);

}  // namespace quenderlink
