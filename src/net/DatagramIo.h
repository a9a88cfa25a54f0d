#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace quenderlink {

// The plain system calls both datagram socket classes are built on. Errors come
// back as errno values, never thrown.

// A non-blocking IPv4 datagram socket bound to `bindAddress` (dotted; empty for
// any) and `port` (0 for any free one). -1 on failure, with `error` set.
[[nodiscard]] int OpenDatagramSocket(const std::string& bindAddress, std::uint16_t port, bool reuseAddress, int& error);

// Sends one datagram to `address` (dotted, or a name resolved to its first IPv4
// address) and `port`, with broadcast off and routing bypassed as the units
// expect. 0 when the system accepted it, else the error.
[[nodiscard]] int SendDatagram(int fd, const std::string& address, std::uint16_t port,
                               std::span<const std::uint8_t> bytes);

// What one receive took: its byte count, or -1 with `error` set (also when nothing waits).
struct DatagramReceipt {
  int length = -1;
  int error = 0;
  char sourceAddress[16] = {};
  std::uint32_t sourcePort = 0;
};

// One non-blocking receive into the buffer.
[[nodiscard]] DatagramReceipt ReceiveDatagram(int fd, std::span<std::uint8_t> buffer);

void CloseDatagramSocket(int fd);

}  // namespace quenderlink
