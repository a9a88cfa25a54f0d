#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

namespace quenderlink::testing {

// A socket on a loopback address and a free port; `listening` or only bound.
inline int BoundSocket(const char* address, bool listening, std::uint16_t& port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in at{AF_INET, 0, {}, {}};
  ::inet_pton(AF_INET, address, &at.sin_addr);
  socklen_t length = sizeof at;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&at), length) != 0 || (listening && ::listen(fd, 4) != 0)) return fd;
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&at), &length);
  port = ntohs(at.sin_port);
  return fd;
}

// A port on that address where nothing listens: a connect there is refused.
inline std::uint16_t RefusingPort(const char* address) {
  std::uint16_t port = 0;
  ::close(BoundSocket(address, false, port));
  return port;
}

// A unit's telnet port: greets each connection, keeps every byte it receives,
// and sends more when told; one connection at a time.
class TestTelnetUnit {
 public:
  TestTelnetUnit(const char* address, std::string greeting)
      : greeting_(std::move(greeting)), listener_(BoundSocket(address, true, port_)), server_([this] { Serve(); }) {}
  ~TestTelnetUnit() {
    stop_ = true;
    server_.join();
    if (connection_ >= 0) ::close(connection_);
    ::close(listener_);
  }

  std::uint16_t port() const { return port_; }
  int connections() const { return connections_; }
  std::string received() const {
    std::lock_guard lock(mutex_);
    return received_;
  }
  void Send(const std::string& bytes) {
    std::lock_guard lock(mutex_);
    toSend_ += bytes;
  }

 private:
  void Serve() {
    while (!stop_) {
      pollfd watched[2] = {{listener_, POLLIN, 0}, {connection_, POLLIN, 0}};
      ::poll(watched, 2, 10);  // a negative descriptor is left out
      if (watched[0].revents & POLLIN) {
        if (connection_ >= 0) ::close(connection_);
        connection_ = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        ::send(connection_, greeting_.data(), greeting_.size(), MSG_NOSIGNAL);
        ++connections_;
      }
      char block[4096];
      const bool ready = watched[1].revents != 0;
      const ssize_t got = ready ? ::recv(connection_, block, sizeof block, 0) : 0;
      std::lock_guard lock(mutex_);
      if (got > 0) received_.append(block, static_cast<std::size_t>(got));
      if (ready && got <= 0) {
        ::close(connection_);
        connection_ = -1;
      }
      if (connection_ >= 0 && !toSend_.empty()) ::send(connection_, toSend_.data(), toSend_.size(), MSG_NOSIGNAL);
      toSend_.clear();
    }
  }

  std::string greeting_;
  std::uint16_t port_ = 0;
  int listener_;
  int connection_ = -1;
  std::atomic<int> connections_{0};
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  std::string received_;
  std::string toSend_;
  std::thread server_;
};

}  // namespace quenderlink::testing
