#include "net/SocketPool.h"

#include <poll.h>

#include <algorithm>

namespace quenderlink {

SocketPool::SocketPool(std::size_t entryCount, std::size_t limit, PingEngineListener& listener) {
  const std::size_t size = std::min(entryCount, limit);
  for (std::size_t i = 0; i < size; ++i) {
    auto& socket = *sockets_.emplace_back(std::make_unique<COurAsyncSocketSHORT>());
    if (!socket.Create()) listener.OnEngineMessage("ERROR CREATE");
  }
}

COurAsyncSocketSHORT* SocketPool::Assign(std::size_t entryIndex) {
  COurAsyncSocketSHORT* socket = sockets_[entryIndex % sockets_.size()].get();
  ++socket->pendingCount;
  return socket;
}

void SocketPool::WaitForDatagrams(int timeoutMs) const {
  std::vector<pollfd> waiting;
  for (const auto& socket : sockets_) {
    if (socket->pendingCount > 0 && socket->fd() >= 0) waiting.push_back({socket->fd(), POLLIN, 0});
  }
  ::poll(waiting.data(), waiting.size(), std::max(timeoutMs, 0));
}

}  // namespace quenderlink
