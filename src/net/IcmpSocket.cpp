#include "net/IcmpSocket.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <utility>

namespace quenderlink {

IcmpSocket::IcmpSocket(IcmpSocketKind kind)
    : fd_(::socket(AF_INET, (kind == IcmpSocketKind::Raw ? SOCK_RAW : SOCK_DGRAM) | SOCK_CLOEXEC, IPPROTO_ICMP)),
      kind_(kind) {}

IcmpSocket::IcmpSocket(IcmpSocket&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), kind_(other.kind_) {}

IcmpSocket& IcmpSocket::operator=(IcmpSocket&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = std::exchange(other.fd_, -1);
    kind_ = other.kind_;
  }
  return *this;
}

IcmpSocket::~IcmpSocket() { Close(); }

void IcmpSocket::Close() {
  if (fd_ >= 0) ::close(std::exchange(fd_, -1));
}

IcmpSocket OpenEchoSocket() {
  IcmpSocket socket(IcmpSocketKind::Datagram);
  if (!socket.IsOpen()) return IcmpSocket(IcmpSocketKind::Raw);
  const int on = 1;
  if (::setsockopt(socket.fd(), IPPROTO_IP, IP_RECVERR, &on, sizeof on) != 0) socket.Close();
  return socket;
}

bool SetTimeToLive(int fd, int ttl) { return ::setsockopt(fd, IPPROTO_IP, IP_TTL, &ttl, sizeof ttl) == 0; }

IcmpOptionFailure SetEchoOptions(int fd, const IcmpParams& params) {
  if (!SetTimeToLive(fd, params.ttl)) return IcmpOptionFailure::TimeToLive;
  const int tos = params.typeOfService;
  if (::setsockopt(fd, IPPROTO_IP, IP_TOS, &tos, sizeof tos) != 0) return IcmpOptionFailure::TypeOfService;
  if (!SetDontFragment(fd, params.dontFragment)) return IcmpOptionFailure::DontFragment;
  return IcmpOptionFailure::None;
}

bool SetDontFragment(int fd, std::uint8_t dontFragment) {
  const int discover = dontFragment != 0 ? IP_PMTUDISC_DO : IP_PMTUDISC_DONT;
  return ::setsockopt(fd, IPPROTO_IP, IP_MTU_DISCOVER, &discover, sizeof discover) == 0;
}

}  // namespace quenderlink
