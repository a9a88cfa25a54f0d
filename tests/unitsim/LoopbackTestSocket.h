#pragma once

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "net/DeviceDatagram.h"
#include "unitsim/LoopbackAddress.h"
#include "unitsim/UnitSimulator.h"

namespace quenderlink::unitsim {

struct Arrival {
  std::vector<std::uint8_t> bytes;
  std::string fromAddress;
  std::uint16_t fromPort = 0;
};

inline sockaddr_in SocketAddress(const std::string& address, std::uint16_t port) {
  sockaddr_in socketAddress{AF_INET, htons(port), {}, {}};
  ::inet_pton(AF_INET, address.c_str(), &socketAddress.sin_addr);
  return socketAddress;
}

// A plain datagram socket, without SO_REUSEADDR; -1 when the bind fails.
inline int BoundSocket(const std::string& address, std::uint16_t port) {
  const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
  const sockaddr_in local = SocketAddress(address, port);
  if (::bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) == 0) return fd;
  ::close(fd);
  return -1;
}

// A listening TCP socket, without SO_REUSEADDR; port 0 takes a free one. -1 when the bind fails.
inline int ListeningSocket(const std::string& address, std::uint16_t port = 0, int backlog = 4) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const sockaddr_in local = SocketAddress(address, port);
  if (::bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) == 0 && ::listen(fd, backlog) == 0) return fd;
  ::close(fd);
  return -1;
}

inline std::uint16_t PortOf(int fd) {
  sockaddr_in local{};
  socklen_t length = sizeof local;
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&local), &length);
  return ntohs(local.sin_port);
}

// Plays the engine's part from 127.0.0.1.
class TestSocket {
 public:
  TestSocket() : fd_(BoundSocket("127.0.0.1", 0)) {}
  ~TestSocket() { ::close(fd_); }
  TestSocket(const TestSocket&) = delete;
  TestSocket& operator=(const TestSocket&) = delete;

  void Send(const UnitConfig& unit, std::span<const std::uint8_t> bytes) const {
    const sockaddr_in to = SocketAddress(unit.address, unit.port);
    ::sendto(fd_, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
  }
  void SendCommand(const UnitConfig& unit, std::uint8_t code) const { Send(unit, BuildShortCommand(code)); }

  std::optional<Arrival> Receive(std::chrono::milliseconds wait = std::chrono::milliseconds(2000)) const {
    pollfd readable{fd_, POLLIN, 0};
    std::vector<std::uint8_t> buffer(2048);
    sockaddr_in from{};
    socklen_t length = sizeof from;
    if (::poll(&readable, 1, static_cast<int>(wait.count())) != 1) return std::nullopt;
    const ssize_t size = ::recvfrom(fd_, buffer.data(), buffer.size(), 0, reinterpret_cast<sockaddr*>(&from), &length);
    buffer.resize(static_cast<std::size_t>(std::max<ssize_t>(size, 0)));
    return Arrival{buffer, AddressText(ntohl(from.sin_addr.s_addr)), ntohs(from.sin_port)};
  }

  std::vector<Arrival> ReceiveUntilQuiet() const {
    std::vector<Arrival> arrivals;
    while (auto arrival = Receive(std::chrono::milliseconds(300))) arrivals.push_back(*arrival);
    return arrivals;
  }

 private:
  int fd_;
};

}  // namespace quenderlink::unitsim
