#include "net/StoppableLookup.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

namespace quenderlink {
namespace {

// As often as the engines look at their stop flag while they wait for replies.
constexpr std::chrono::milliseconds kStopCheckInterval{50};

// Shared by the caller and the helper: whichever leaves last frees it.
struct PendingLookup {
  std::mutex mutex;
  std::condition_variable answered;
  bool done = false;
  std::optional<std::string> address;
};

}  // namespace

std::optional<std::string> AddressOfHostUnlessStopped(const std::string& host, const std::atomic<std::uint8_t>& stop,
                                                      const HostLookup& lookup) {
  if (IsDottedQuad(host)) return host;
  if (stop.load() != 0) return std::nullopt;
  auto pending = std::make_shared<PendingLookup>();
  try {
    std::thread([pending, host, lookup] {
      std::optional<std::string> address = AddressOfHost(host, lookup);
      const std::lock_guard lock(pending->mutex);
      pending->address = std::move(address);
      pending->done = true;
      pending->answered.notify_all();
    }).detach();
  } catch (const std::system_error&) {
    return std::nullopt;
  }
  std::unique_lock lock(pending->mutex);
  while (!pending->answered.wait_for(lock, kStopCheckInterval, [&] { return pending->done; }))
    if (stop.load() != 0) return std::nullopt;
  return pending->address;
}

}  // namespace quenderlink
