#pragma once

#include <cstdint>

#include "core/RuntimeParams.h"

namespace quenderlink {

enum class IcmpSocketKind { Raw, Datagram };

// An IPv4 ICMP socket, closed when it goes. Raw sockets need root or the
// cap_net_raw capability; datagram ones a net.ipv4.ping_group_range that
// includes the process's group.
class IcmpSocket {
 public:
  IcmpSocket() = default;
  explicit IcmpSocket(IcmpSocketKind kind);
  IcmpSocket(IcmpSocket&& other) noexcept;
  IcmpSocket& operator=(IcmpSocket&& other) noexcept;
  IcmpSocket(const IcmpSocket&) = delete;
  IcmpSocket& operator=(const IcmpSocket&) = delete;
  ~IcmpSocket();

  [[nodiscard]] bool IsOpen() const { return fd_ >= 0; }
  [[nodiscard]] int fd() const { return fd_; }
  [[nodiscard]] IcmpSocketKind kind() const { return kind_; }
  void Close();

 private:
  int fd_ = -1;
  IcmpSocketKind kind_ = IcmpSocketKind::Raw;
};

// A datagram socket, or a raw one where this process may not open the
// datagram kind (root outside the ping group range). Datagram sockets get
// the ICMP errors about their requests on their error queue.
[[nodiscard]] IcmpSocket OpenEchoSocket();

enum class IcmpOptionFailure { None, TimeToLive, TypeOfService, DontFragment };

// Time-to-live, type of service and don't fragment from the settings.
[[nodiscard]] IcmpOptionFailure SetEchoOptions(int fd, const IcmpParams& params);
[[nodiscard]] bool SetTimeToLive(int fd, int ttl);
// Don't fragment set when the setting is not 0, else cleared: left alone,
// Linux's path MTU discovery would set it on every packet that fits the local
// link, and a narrower hop would refuse a large echo instead of fragmenting it.
[[nodiscard]] bool SetDontFragment(int fd, std::uint8_t dontFragment);

}  // namespace quenderlink
