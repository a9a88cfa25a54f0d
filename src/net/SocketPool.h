#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "net/COurAsyncSocketSHORT.h"
#include "net/PingEngineListener.h"

namespace quenderlink {

// The few datagram sockets an engine shares among all its entries for one run.
class SocketPool {
 public:
  // Creates one socket per entry, at most `limit`; a socket that cannot be
  // created is told to the listener and kept, so its entries still end.
  SocketPool(std::size_t entryCount, std::size_t limit, PingEngineListener& listener);

  // The socket of entry `entryIndex` (index modulo the pool size), its pending count raised.
  COurAsyncSocketSHORT* Assign(std::size_t entryIndex);

  // Takes up to 9 datagrams from each socket that still has entries waiting,
  // stopping at a socket's first empty receive, and hands each to
  // `handle(datagram, socket)`. True when any datagram was taken.
  template <typename Handle>
  bool ReceivePass(std::span<std::uint8_t> buffer, Handle&& handle);

  // Blocks until a socket with entries waiting has a datagram, or for at most
  // `timeoutMs`. Idle sockets are left out: a late datagram there must not
  // wake the engine over and over.
  void WaitForDatagrams(int timeoutMs) const;

 private:
  static constexpr int kMaxDatagramsPerSocket = 9;

  std::vector<std::unique_ptr<COurAsyncSocketSHORT>> sockets_;
};

template <typename Handle>
bool SocketPool::ReceivePass(std::span<std::uint8_t> buffer, Handle&& handle) {
  bool took = false;
  for (const auto& socket : sockets_) {
    if (socket->pendingCount <= 0) continue;
    for (int taken = 0; taken < kMaxDatagramsPerSocket; ++taken) {
      const int length = socket->Receive(buffer.data(), buffer.size());
      if (length < 1) break;
      took = true;
      handle(std::span<const std::uint8_t>(buffer.data(), static_cast<std::size_t>(length)),
             static_cast<const COurAsyncSocketSHORT&>(*socket));
    }
  }
  return took;
}

}  // namespace quenderlink
