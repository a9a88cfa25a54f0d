#include "net/COurAsyncSocket.h"

#include <cerrno>
#include <cstring>

#include "net/DatagramIo.h"
#include "net/DeviceDatagram.h"

namespace quenderlink {

COurAsyncSocket::~COurAsyncSocket() { CloseDatagramSocket(fd_); }

bool COurAsyncSocket::Create(std::uint16_t localPort, const std::string& bindAddress) {
  if (created) {
    receiveError = EALREADY;
    return false;
  }
  created = 1;
  port = localPort;
  int error = 0;
  fd_ = OpenDatagramSocket(bindAddress, localPort, true, error);
  if (fd_ < 0) receiveError = static_cast<std::uint32_t>(error);
  return fd_ >= 0;
}

bool COurAsyncSocket::ReceiveAndDecode(unsigned railroadCode) {
  const DatagramReceipt received = ReceiveDatagram(fd_, receiveBuffer);
  if (received.length < 0) {
    receiveError = static_cast<std::uint32_t>(received.error);
    return false;
  }
  if (received.length == 0) return false;
  receivedLength = received.length;
  std::memcpy(sourceAddress, received.sourceAddress, sizeof sourceAddress);
  sourcePort = received.sourcePort;
  lastCode = receiveBuffer[0];
  if (lastCode != kCommandPing) return true;
  const std::span<const std::uint8_t> datagram(receiveBuffer, static_cast<std::size_t>(received.length));
  return DecodeDeviceReply(datagram, sourceAddress, static_cast<std::uint16_t>(port), railroadCode, reply, false);
}

bool COurAsyncSocket::SendPing(const std::string& address) { return SendShortCommand(kCommandPing, address); }

bool COurAsyncSocket::SendRunRamLoader(const std::string& address) {
  return SendShortCommand(kCommandRunRamLoader, address);
}

bool COurAsyncSocket::SendReboot(const std::string& address) { return SendShortCommand(kCommandReboot, address); }

bool COurAsyncSocket::SendBuffer(std::span<const std::uint8_t> data, const std::string& address) {
  const int error = SendDatagram(fd_, address, static_cast<std::uint16_t>(port), data);
  if (error != 0) sendError = static_cast<std::uint32_t>(error);
  return error == 0;
}

bool COurAsyncSocket::SendShortCommand(std::uint8_t code, const std::string& address) {
  const ShortCommand command = BuildShortCommand(code);
  return SendBuffer(command, address);
}

}  // namespace quenderlink
