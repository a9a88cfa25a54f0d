#pragma once

#include <arpa/inet.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace quenderlink::unitsim {

// A plain blocking TCP connection, as a maintainer's terminal opens one, that
// stops waiting for bytes after a few seconds.
class TelnetClient {
 public:
  // A receive buffer, where given, is set before connecting, so that the unit sees a small window.
  TelnetClient(const std::string& address, std::uint16_t port, std::optional<int> receiveBuffer = std::nullopt)
      : fd_(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
    const timeval timeout{5, 0};
    ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    if (receiveBuffer) ::setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &*receiveBuffer, sizeof *receiveBuffer);
    sockaddr_in to{AF_INET, htons(port), {}, {}};
    ::inet_pton(AF_INET, address.c_str(), &to.sin_addr);
    if (::connect(fd_, reinterpret_cast<const sockaddr*>(&to), sizeof to) != 0) connectError_ = errno;
  }
  ~TelnetClient() { ::close(fd_); }
  TelnetClient(const TelnetClient&) = delete;
  TelnetClient& operator=(const TelnetClient&) = delete;

  // 0 when connected, else the errno of the refusal.
  int connectError() const { return connectError_; }

  void Send(std::string_view text) const { ::send(fd_, text.data(), text.size(), MSG_NOSIGNAL); }

  // What arrived up to and including `end`; all that arrived when the wait or the connection ends first.
  std::string ReadThrough(std::string_view end) {
    std::size_t searched = 0;
    std::size_t found = std::string::npos;
    while ((found = buffer_.find(end, searched)) == std::string::npos) {
      searched = buffer_.size() < end.size() ? 0 : buffer_.size() - end.size() + 1;
      if (!ReadMore()) return std::exchange(buffer_, {});
    }
    std::string taken = buffer_.substr(0, found + end.size());
    buffer_.erase(0, taken.size());
    return taken;
  }

  // Everything until the unit closes the connection; none when it keeps it open.
  std::optional<std::string> ReadToClose() {
    while (ReadMore()) {
    }
    if (!closed_) return std::nullopt;
    return std::exchange(buffer_, {});
  }

 private:
  bool ReadMore() {
    char chunk[65536];
    const ssize_t size = ::recv(fd_, chunk, sizeof chunk, 0);
    if (size <= 0) {
      closed_ = size == 0;
      return false;
    }
    buffer_.append(chunk, static_cast<std::size_t>(size));
    return true;
  }

  int fd_;
  int connectError_ = 0;
  bool closed_ = false;
  std::string buffer_;
};

}  // namespace quenderlink::unitsim
