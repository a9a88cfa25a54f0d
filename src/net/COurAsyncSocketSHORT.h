#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quenderlink {

// A datagram socket that is polled, never waited on by events: the ping
// engines' pool sockets and the reset wait's socket. Failures are stored in
// the object, not reported.
class COurAsyncSocketSHORT {
 public:
  COurAsyncSocketSHORT() = default;
  ~COurAsyncSocketSHORT();
  COurAsyncSocketSHORT(const COurAsyncSocketSHORT&) = delete;
  COurAsyncSocketSHORT& operator=(const COurAsyncSocketSHORT&) = delete;

  // Opens an IPv4 socket on any free local port and marks the socket created
  // even when opening fails: such a socket stays, and its sends and receives
  // fail. False when opening failed or the socket was already created.
  [[nodiscard]] bool Create();

  // One non-blocking receive: the byte count (source address, port and length
  // stored), 0 for an empty datagram, or -1 with the receive error stored; -1
  // also when nothing waits.
  [[nodiscard]] int Receive(void* buffer, std::size_t size);

  // Sends the 8-byte short command. A dotted address is used as it is, any
  // other text is resolved to its first IPv4 address. False with the send
  // error stored when the system did not accept it.
  bool SendCommand(const std::string& address, std::uint16_t port, std::uint8_t code);

  // For waiting on the socket with poll(); -1 when it is not open.
  int fd() const { return fd_; }

  char sourceAddress[16] = {};
  std::uint32_t sourcePort = 0;
  std::int32_t receivedLength = 0;
  // Entries of the engine's table that use this socket and still wait for a reply.
  std::int32_t pendingCount = 0;
  std::uint32_t receiveError = 0;
  std::uint32_t sendError = 0;
  std::uint8_t created = 0;

 private:
  int fd_ = -1;
};

}  // namespace quenderlink
