#include "net/IcmpExchange.h"

#include <linux/errqueue.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>
#include <optional>

#include "net/IcmpEchoPacket.h"
#include "net/IcmpErrorStatus.h"

namespace quenderlink {

namespace {

using Clock = std::chrono::steady_clock;

std::uint32_t MillisecondsSince(Clock::time_point start) {
  const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
  return static_cast<std::uint32_t>(elapsed.count());
}

// An ICMP error from the datagram socket's error queue, when it is about our
// request; the queue quotes the request from its ICMP header on.
std::optional<EchoOutcome> ReadQueuedError(int fd, std::uint16_t sequence) {
  std::uint8_t quoted[kIcmpHeaderBytes] = {};
  alignas(cmsghdr) char control[512];
  sockaddr_in from{};
  iovec part{quoted, sizeof quoted};
  msghdr message{};
  message.msg_name = &from;
  message.msg_namelen = sizeof from;
  message.msg_iov = &part;
  message.msg_iovlen = 1;
  message.msg_control = control;
  message.msg_controllen = sizeof control;
  const ssize_t count = ::recvmsg(fd, &message, MSG_ERRQUEUE | MSG_DONTWAIT);
  if (count < 0) {
    // A pending socket error with an empty queue would keep poll() reporting it: take it.
    int pending = 0;
    socklen_t length = sizeof pending;
    ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &pending, &length);
    return std::nullopt;
  }
  if (count < static_cast<ssize_t>(kIcmpHeaderBytes)) return std::nullopt;
  if (quoted[0] != kIcmpEchoRequest || (quoted[6] << 8 | quoted[7]) != sequence) return std::nullopt;
  for (cmsghdr* header = CMSG_FIRSTHDR(&message); header; header = CMSG_NXTHDR(&message, header)) {
    if (header->cmsg_level != IPPROTO_IP || header->cmsg_type != IP_RECVERR) continue;
    sock_extended_err error{};
    std::memcpy(&error, CMSG_DATA(header), sizeof error);
    // Local errors are the send's own, already reported by sendto().
    if (error.ee_origin != SO_EE_ORIGIN_ICMP) return std::nullopt;
    sockaddr_in offender{};
    std::memcpy(&offender, CMSG_DATA(header) + sizeof error, sizeof offender);
    EchoOutcome outcome;
    outcome.kind = EchoOutcomeKind::IcmpError;
    outcome.type = error.ee_type;
    outcome.status = IcmpErrorStatus(error.ee_type, error.ee_code);
    outcome.from = offender.sin_addr.s_addr;
    return outcome;
  }
  return std::nullopt;
}

std::optional<EchoOutcome> ReadAnswer(const IcmpSocket& socket, std::uint32_t address, std::uint16_t sequence,
                                      std::vector<std::uint8_t>& buffer) {
  sockaddr_in from{};
  socklen_t fromLength = sizeof from;
  const ssize_t count = ::recvfrom(socket.fd(), buffer.data(), buffer.size(), MSG_DONTWAIT,
                                   reinterpret_cast<sockaddr*>(&from), &fromLength);
  if (count < 0) {
    if (errno == EAGAIN || errno == EINTR) return std::nullopt;
    EchoOutcome failed;
    failed.kind = EchoOutcomeKind::WaitFailed;
    return failed;
  }
  EchoExpectation expected;
  expected.withIpHeader = socket.kind() == IcmpSocketKind::Raw;
  expected.minimumIcmpBytes = kIcmpHeaderBytes;
  expected.checkIdentifier = expected.withIpHeader;
  expected.identifier = ProcessIcmpIdentifier();
  expected.sequence = sequence;
  expected.peer = address;
  const EchoAnswer answer =
      DecodeEchoAnswer(std::span<const std::uint8_t>(buffer.data(), static_cast<std::size_t>(count)), expected);
  EchoOutcome outcome;
  outcome.from = from.sin_addr.s_addr;
  if (answer.kind == EchoAnswerKind::EchoReply && from.sin_addr.s_addr == address) {
    outcome.kind = EchoOutcomeKind::Reply;
    outcome.data.assign(answer.data.begin(), answer.data.end());
    return outcome;
  }
  if (answer.kind == EchoAnswerKind::IcmpError) {
    outcome.kind = EchoOutcomeKind::IcmpError;
    outcome.type = answer.type;
    outcome.status = IcmpErrorStatus(answer.type, answer.code);
    return outcome;
  }
  return std::nullopt;
}

}  // namespace

EchoOutcome ExchangeEcho(const IcmpSocket& socket, std::uint32_t address, std::size_t dataSize, std::uint8_t fill,
                         std::uint16_t sequence, std::uint32_t timeoutMs) {
  const std::vector<std::uint8_t> request = BuildEchoRequest(dataSize, fill, sequence, ProcessIcmpIdentifier());
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_addr.s_addr = address;
  const Clock::time_point start = Clock::now();
  if (::sendto(socket.fd(), request.data(), request.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to) < 0) {
    EchoOutcome failed;
    failed.kind = EchoOutcomeKind::SendFailed;
    failed.status = LocalErrorStatus(errno);
    return failed;
  }
  std::vector<std::uint8_t> buffer(65535);
  const Clock::time_point deadline = start + std::chrono::milliseconds(timeoutMs);
  while (true) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return EchoOutcome{};
    pollfd watched{socket.fd(), POLLIN, 0};
    const int ready = ::poll(&watched, 1, static_cast<int>(std::min<long long>(left, INT_MAX)));
    if (ready < 0 && errno == EINTR) continue;
    if (ready < 0) {
      EchoOutcome failed;
      failed.kind = EchoOutcomeKind::WaitFailed;
      return failed;
    }
    if (ready == 0) continue;
    std::optional<EchoOutcome> outcome;
    if (watched.revents & POLLERR) outcome = ReadQueuedError(socket.fd(), sequence);
    if (!outcome && (watched.revents & POLLIN)) outcome = ReadAnswer(socket, address, sequence, buffer);
    if (outcome) {
      outcome->timeMs = MillisecondsSince(start);
      return *outcome;
    }
  }
}

}  // namespace quenderlink
