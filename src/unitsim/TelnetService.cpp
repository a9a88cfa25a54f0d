#include "unitsim/TelnetService.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <string_view>
#include <system_error>
#include <utility>

#include "unitsim/LoopbackAddress.h"

namespace quenderlink::unitsim {
namespace {

// Listeners are tagged with their unit, connections with this bit and their id.
constexpr std::uint64_t kConnectionTag = std::uint64_t{1} << 63;
constexpr int kEventsPerServe = 256;
// Connections taken and bytes read per wake-up, so that one busy unit cannot starve the others.
constexpr int kAcceptsPerWake = 16;
constexpr std::size_t kReadSize = 4096;
constexpr int kDrainsAtClose = 16;
// Input not yet answered beyond which a connection is not read until its answer is sent.
constexpr std::size_t kMostWaitingInput = 64 * 1024;
constexpr int kListenBacklog = 64;

std::string Endpoint(std::uint32_t address, std::uint16_t port) {
  return AddressText(address) + ":" + std::to_string(port);
}

bool WouldBlock(int error) { return error == EAGAIN || error == EWOULDBLOCK || error == EINTR; }

}  // namespace

TelnetService::TelnetService(IdentityOf identityOf) : identityOf_(std::move(identityOf)) {}

TelnetService::~TelnetService() { Close(); }

bool TelnetService::Open(std::string& error) {
  epollFd_ = ::epoll_create1(EPOLL_CLOEXEC);
  if (epollFd_ < 0) {
    error = "cannot create the telnet poll set: " + std::system_category().message(errno);
    return false;
  }
  openedAt_ = std::chrono::steady_clock::now();
  return true;
}

bool TelnetService::Listen(std::size_t unit, std::uint32_t address, std::uint16_t port, std::string& error) {
  const std::string where = "telnet " + Endpoint(address, port);
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    error = "cannot open a socket for " + where + ": " + std::system_category().message(errno);
    return false;
  }
  listeners_[unit] = fd;
  // Connections this unit closed linger a while; a simulator started again must still bind.
  const int on = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in local{};
  local.sin_family = AF_INET;
  local.sin_addr.s_addr = htonl(address);
  local.sin_port = htons(port);
  if (::bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0 || ::listen(fd, kListenBacklog) != 0) {
    error = "cannot bind " + where + ": " + std::system_category().message(errno);
    return false;
  }
  Watch(fd, unit, EPOLLIN, EPOLL_CTL_ADD);
  return true;
}

void TelnetService::ServeReady() {
  epoll_event events[kEventsPerServe];
  const int count = ::epoll_wait(epollFd_, events, kEventsPerServe, 0);
  for (int index = 0; index < count; ++index) {
    const std::uint64_t tag = events[index].data.u64;
    if (tag & kConnectionTag) Serve(tag, events[index].events);
    else Accept(tag);
  }
}

void TelnetService::Close() {
  for (const auto& [unit, fd] : listeners_) ::close(fd);
  for (const auto& [id, connection] : connections_) ::close(connection.fd);
  listeners_.clear();
  paused_.clear();
  connections_.clear();
  if (epollFd_ >= 0) ::close(epollFd_);
  epollFd_ = -1;
}

TelnetRecord TelnetService::RecordOf(std::size_t unit) const {
  const std::lock_guard lock(recordsMutex_);
  const auto found = records_.find(unit);
  return found == records_.end() ? TelnetRecord{} : found->second;
}

void TelnetService::Accept(std::size_t unit) {
  const int listener = listeners_.at(unit);
  for (int accepted = 0; accepted < kAcceptsPerWake; ++accepted) {
    const int fd = ::accept4(listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) {
      if (WouldBlock(errno)) return;
      if (errno == ECONNABORTED) continue;
      // Out of descriptors: the listener would stay ready and wake the thread
      // again at once, so it rests until a connection closes.
      Watch(listener, unit, 0, EPOLL_CTL_MOD);
      paused_.push_back(unit);
      return;
    }
    const std::uint64_t id = kConnectionTag | nextId_++;
    Connection& connection = connections_[id];
    connection.unit = unit;
    connection.fd = fd;
    connection.outbox = TerminalSession::Greeting(identityOf_(unit));
    Watch(fd, id, 0, EPOLL_CTL_ADD);
    Record(unit, {}, true);
    Serve(id, 0);
  }
}

void TelnetService::Serve(std::uint64_t id, std::uint32_t events) {
  const auto found = connections_.find(id);
  if (found == connections_.end()) return;
  Connection& connection = found->second;
  if (!connection.inputEnded && (events & (EPOLLIN | EPOLLERR | EPOLLHUP))) Read(connection);
  Pump(connection);
  const bool done = connection.outbox.empty() && (connection.session.ended() || connection.inputEnded);
  if (connection.broken || done) {
    Drop(id);
    return;
  }
  std::uint32_t wanted = connection.outbox.empty() ? 0u : std::uint32_t{EPOLLOUT};
  if (!connection.inputEnded && connection.session.waiting() < kMostWaitingInput) wanted |= EPOLLIN;
  if (wanted != connection.watched) Watch(connection.fd, id, wanted, EPOLL_CTL_MOD);
  connection.watched = wanted;
}

void TelnetService::Read(Connection& connection) {
  char buffer[kReadSize];
  const ssize_t size = ::recv(connection.fd, buffer, sizeof buffer, 0);
  if (size > 0) {
    const std::string_view bytes(buffer, static_cast<std::size_t>(size));
    Record(connection.unit, bytes, false);
    connection.session.Take(bytes);
  } else if (size == 0) {
    connection.inputEnded = true;
  } else if (!WouldBlock(errno)) {
    connection.broken = true;
  }
}

// Answers commands one at a time, each once the last answer has gone out.
void TelnetService::Pump(Connection& connection) {
  const auto uptime =
      std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - openedAt_);
  while (!connection.broken) {
    Flush(connection);
    if (!connection.outbox.empty()) return;
    std::optional<std::string> answer = connection.session.NextAnswer(identityOf_(connection.unit), uptime);
    if (!answer) return;
    connection.outbox = std::move(*answer);
  }
}

void TelnetService::Flush(Connection& connection) {
  while (connection.sent < connection.outbox.size()) {
    const ssize_t size = ::send(connection.fd, connection.outbox.data() + connection.sent,
                                connection.outbox.size() - connection.sent, MSG_NOSIGNAL);
    if (size < 0) {
      if (!WouldBlock(errno)) connection.broken = true;
      return;
    }
    connection.sent += static_cast<std::size_t>(size);
  }
  connection.outbox.clear();
  connection.sent = 0;
}

void TelnetService::Drop(std::uint64_t id) {
  const int fd = connections_.at(id).fd;
  // Input left unread would turn the close into a reset, which can cost the other side the goodbye.
  char unread[kReadSize];
  for (int read = 0; read < kDrainsAtClose && ::recv(fd, unread, sizeof unread, 0) > 0; ++read) {
  }
  ::close(fd);
  connections_.erase(id);
  for (const std::size_t unit : paused_) Watch(listeners_.at(unit), unit, EPOLLIN, EPOLL_CTL_MOD);
  paused_.clear();
}

void TelnetService::Watch(int fd, std::uint64_t tag, std::uint32_t events, int operation) {
  epoll_event event{};
  event.events = events;
  event.data.u64 = tag;
  ::epoll_ctl(epollFd_, operation, fd, &event);
}

void TelnetService::Record(std::size_t unit, std::string_view bytes, bool accepted) {
  if (!keepRecords_) return;
  const std::lock_guard lock(recordsMutex_);
  TelnetRecord& record = records_[unit];
  record.received += bytes;
  if (accepted) ++record.connections;
}

}  // namespace quenderlink::unitsim
