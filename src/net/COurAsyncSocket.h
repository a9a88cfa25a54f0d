#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "net/DeviceReply.h"

namespace quenderlink {

// The upload transport's datagram socket. It is bound to the units' port and
// sends to that same port on every unit. Failures are stored, not reported.
class COurAsyncSocket {
 public:
  static constexpr std::size_t kReceiveBufferSize = 1022;

  COurAsyncSocket() = default;
  virtual ~COurAsyncSocket();
  COurAsyncSocket(const COurAsyncSocket&) = delete;
  COurAsyncSocket& operator=(const COurAsyncSocket&) = delete;

  // Binds to `port` (address reuse on) on `bindAddress`, any local address when
  // empty, and marks the socket created. False, with the error stored as a
  // receive error, when it cannot be bound or was already created.
  [[nodiscard]] bool Create(std::uint16_t port, const std::string& bindAddress = {});

  // One non-blocking receive. False on an error (stored) or an empty datagram.
  // Otherwise stores length, source and code; an identification reply (code 1)
  // is decoded into `reply`, without requiring four separators and with the
  // socket's port as ReplyPort, and the decoder's verdict is returned; any
  // other code returns true.
  [[nodiscard]] bool ReceiveAndDecode(unsigned railroadCode);

  bool SendPing(const std::string& address);
  bool SendRunRamLoader(const std::string& address);
  bool SendReboot(const std::string& address);
  // Sends the bytes unchanged.
  bool SendBuffer(std::span<const std::uint8_t> data, const std::string& address);

  int fd() const { return fd_; }

  std::uint8_t receiveBuffer[kReceiveBufferSize] = {};
  std::int32_t receivedLength = 0;
  char sourceAddress[16] = {};
  std::uint32_t sourcePort = 0;
  DeviceReply reply{};
  std::uint8_t lastCode = 0;  // byte 0 of the last datagram received
  std::uint32_t port = 0;
  std::uint8_t created = 0;
  std::uint32_t receiveError = 0;
  std::uint32_t sendError = 0;

 private:
  bool SendShortCommand(std::uint8_t code, const std::string& address);

  int fd_ = -1;
};

}  // namespace quenderlink
