#include "net/COurAsyncSocketSHORT.h"

#include <cstring>
#include <span>

#include "net/DatagramIo.h"
#include "net/DeviceDatagram.h"

namespace quenderlink {

COurAsyncSocketSHORT::~COurAsyncSocketSHORT() { CloseDatagramSocket(fd_); }

bool COurAsyncSocketSHORT::Create() {
  if (created) return false;
  created = 1;
  int error = 0;
  fd_ = OpenDatagramSocket({}, 0, false, error);
  return fd_ >= 0;
}

int COurAsyncSocketSHORT::Receive(void* buffer, std::size_t size) {
  const DatagramReceipt received = ReceiveDatagram(fd_, {static_cast<std::uint8_t*>(buffer), size});
  if (received.length < 0) {
    receiveError = static_cast<std::uint32_t>(received.error);
    return -1;
  }
  std::memcpy(sourceAddress, received.sourceAddress, sizeof sourceAddress);
  sourcePort = received.sourcePort;
  receivedLength = received.length;
  return received.length;
}

bool COurAsyncSocketSHORT::SendCommand(const std::string& address, std::uint16_t port, std::uint8_t code) {
  const ShortCommand command = BuildShortCommand(code);
  const int error = SendDatagram(fd_, address, port, command);
  if (error != 0) sendError = static_cast<std::uint32_t>(error);
  return error == 0;
}

}  // namespace quenderlink
