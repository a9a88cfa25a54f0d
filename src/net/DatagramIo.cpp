#include "net/DatagramIo.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <optional>

#include "net/HostAddress.h"

namespace quenderlink {

namespace {

[[nodiscard]] std::optional<in_addr> AddressFor(const std::string& text) {
  in_addr address{};
  if (::inet_pton(AF_INET, text.c_str(), &address) == 1) return address;
  const std::optional<std::string> resolved = ResolveIpv4(text);
  if (resolved && ::inet_pton(AF_INET, resolved->c_str(), &address) == 1) return address;
  return std::nullopt;
}

[[nodiscard]] bool SetOption(int fd, int option, int value) {
  return ::setsockopt(fd, SOL_SOCKET, option, &value, sizeof value) == 0;
}

}  // namespace

int OpenDatagramSocket(const std::string& bindAddress, std::uint16_t port, bool reuseAddress, int& error) {
  error = 0;
  sockaddr_in local{};
  local.sin_family = AF_INET;
  local.sin_port = htons(port);
  local.sin_addr.s_addr = htonl(INADDR_ANY);
  if (!bindAddress.empty() && ::inet_pton(AF_INET, bindAddress.c_str(), &local.sin_addr) != 1) {
    error = EINVAL;
    return -1;
  }
  const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    error = errno;
    return -1;
  }
  if ((reuseAddress && !SetOption(fd, SO_REUSEADDR, 1)) ||
      ::bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
    error = errno;
    ::close(fd);
    return -1;
  }
  return fd;
}

int SendDatagram(int fd, const std::string& address, std::uint16_t port, std::span<const std::uint8_t> bytes) {
  if (fd < 0) return EBADF;
  const std::optional<in_addr> destination = AddressFor(address);
  if (!destination) return EHOSTUNREACH;
  if (!SetOption(fd, SO_BROADCAST, 0) || !SetOption(fd, SO_DONTROUTE, 1)) return errno;
  sockaddr_in remote{};
  remote.sin_family = AF_INET;
  remote.sin_port = htons(port);
  remote.sin_addr = *destination;
  const ssize_t sent = ::sendto(fd, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&remote),
                                sizeof remote);
  return sent < 0 ? errno : 0;
}

DatagramReceipt ReceiveDatagram(int fd, std::span<std::uint8_t> buffer) {
  DatagramReceipt received;
  if (fd < 0) {
    received.error = EBADF;
    return received;
  }
  sockaddr_in remote{};
  socklen_t remoteSize = sizeof remote;
  const ssize_t length = ::recvfrom(fd, buffer.data(), buffer.size(), MSG_DONTWAIT,
                                    reinterpret_cast<sockaddr*>(&remote), &remoteSize);
  if (length < 0) {
    received.error = errno;
    return received;
  }
  received.length = static_cast<int>(length);
  ::inet_ntop(AF_INET, &remote.sin_addr, received.sourceAddress, sizeof received.sourceAddress);
  received.sourcePort = ntohs(remote.sin_port);
  return received;
}

void CloseDatagramSocket(int fd) {
  if (fd >= 0) ::close(fd);
}

}  // namespace quenderlink
