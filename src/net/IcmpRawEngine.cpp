// The raw method: this program's own echo requests on a raw ICMP socket, kept
// open for all the tries of an address.
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "net/IcmpEchoPacket.h"
#include "net/IcmpErrorStatus.h"
#include "net/IcmpJob.h"
#include "net/IcmpSocket.h"
#include "net/IcmpTryHelpers.h"
#include "net/TickCount.h"

namespace quenderlink {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kReceiveBytes = 65532;

class RawPinger {
 public:
  explicit RawPinger(IcmpJob& job) : job_(job), listener_(*job.listener) {}

  [[nodiscard]] bool hardFailure() const { return hardFailure_; }
  void Close() { socket_.Close(); }

  // One try: true on an echo reply, else false with the try's status in the result.
  bool PingOnce(IcmpTryResult& result, std::uint16_t sequence) {
    const IcmpParams params = job_.params();
    if (toOpen_ && !Open(params, result)) return false;
    const std::vector<std::uint8_t> request =
        BuildRawEchoRequest(params.dataSize, sequence, ProcessIcmpIdentifier(), TickCount());
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = address_;
    const Clock::time_point start = Clock::now();
    const auto* target = reinterpret_cast<const sockaddr*>(&to);
    if (::sendto(socket_.fd(), request.data(), request.size(), 0, target, sizeof to) < 0)
      return Fail(result, LocalErrorStatus(errno), "Failed to send ICMP packet");
    return AwaitReply(result, sequence, start, std::chrono::milliseconds(params.timeoutMs));
  }

 private:
  bool Open(const IcmpParams& params, IcmpTryResult& result) {
    const std::optional<std::uint32_t> address = IcmpJobAddress(job_);
    if (!address) return Fail(result, kIcmpStatusBadDestination, "Could not resolve the host name");
    address_ = *address;
    socket_ = IcmpSocket(IcmpSocketKind::Raw);
    if (!socket_.IsOpen()) return Fail(result, kIcmpStatusGeneralFailure, "Failed to create a raw socket");
    switch (SetEchoOptions(socket_.fd(), params)) {
      case IcmpOptionFailure::TimeToLive:
        return Fail(result, kIcmpStatusBadOption, "Failed to set the TTL value on the socket");
      case IcmpOptionFailure::TypeOfService:
        return Fail(result, kIcmpStatusBadOption, "Failed to set the TOS value on the socket");
      case IcmpOptionFailure::DontFragment:
        return Fail(result, kIcmpStatusBadOption, "Failed to set the Don't Fragment value on the socket");
      case IcmpOptionFailure::None: break;
    }
    toOpen_ = false;
    return true;
  }

  // Every answer that is not ours starts a full new wait, but a try never lasts
  // beyond twice the time-out: a stream of other programs' replies must not
  // hold it for ever.
  bool AwaitReply(IcmpTryResult& result, std::uint16_t sequence, Clock::time_point start,
                  std::chrono::milliseconds timeout) {
    const Clock::time_point limit = start + 2 * timeout;
    Clock::time_point waitEnd = std::min(Clock::now() + timeout, limit);
    std::vector<std::uint8_t> buffer(kReceiveBytes);
    EchoExpectation expected;
    expected.identifier = ProcessIcmpIdentifier();
    expected.sequence = sequence;
    while (true) {
      const auto left = std::chrono::ceil<std::chrono::milliseconds>(waitEnd - Clock::now()).count();
      if (left <= 0) return Fail(result, kIcmpStatusTimedOut, "A timeout occured while waiting for a ICMP response");
      pollfd watched{socket_.fd(), POLLIN, 0};
      const int ready = ::poll(&watched, 1, static_cast<int>(std::min<long long>(left, INT_MAX)));
      if (ready < 0 && errno == EINTR) continue;
      if (ready < 0) return Fail(result, kIcmpStatusGeneralFailure, "failed to check readibility of socket");
      if (ready == 0) continue;
      sockaddr_in from{};
      socklen_t fromLength = sizeof from;
      const ssize_t count = ::recvfrom(socket_.fd(), buffer.data(), buffer.size(), 0,
                                       reinterpret_cast<sockaddr*>(&from), &fromLength);
      if (count < 0) return Fail(result, kIcmpStatusGeneralFailure, "Failed to read from socket");
      const EchoAnswer answer =
          DecodeEchoAnswer(std::span<const std::uint8_t>(buffer.data(), static_cast<std::size_t>(count)), expected);
      switch (answer.kind) {
        case EchoAnswerKind::TooShort:
          listener_.OnIcmpMessage("CPing::DecodeResponse, Received too few bytes in ICMP response packet\n");
          break;
        case EchoAnswerKind::NotOurs: break;
        case EchoAnswerKind::EchoReply:
          result.replyAddress = from.sin_addr.s_addr;
          result.replyTimeMs = static_cast<std::uint32_t>(
              std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
          listener_.OnIcmpRawReply(job_.index, result);
          return true;
        case EchoAnswerKind::IcmpError: {
          char text[128];
          std::snprintf(text, sizeof text,
                        "CPing::DecodeResponse, Non-echo reply type field in ICMP reponse packet, Value:%d\n",
                        answer.type);
          listener_.OnIcmpMessage(text);
          result.replyAddress = from.sin_addr.s_addr;
          result.errorCode = IcmpErrorStatus(answer.type, answer.code);
          return false;
        }
      }
      waitEnd = std::min(Clock::now() + timeout, limit);
    }
  }

  bool Fail(IcmpTryResult& result, std::uint32_t status, const char* text) {
    result.errorCode = status;
    listener_.OnIcmpRawText(job_.index, text);
    socket_.Close();
    hardFailure_ = true;
    return false;
  }

  IcmpJob& job_;
  IcmpListener& listener_;
  IcmpSocket socket_;
  std::uint32_t address_ = 0;
  bool toOpen_ = true;
  bool hardFailure_ = false;
};

}  // namespace

void PingRawThread(IcmpJob& job) {
  RawPinger pinger(job);
  bool complete = true;
  for (std::uint8_t tryIndex = 0; tryIndex < kIcmpTries && !IcmpAborted(job); ++tryIndex) {
    IcmpTryResult result;
    result.tryIndex = tryIndex;
    const std::uint16_t sequence = job.sequence++;
    if (pinger.PingOnce(result, sequence)) continue;
    job.listener->OnIcmpRawTryFailed(job.index, result);
    if (pinger.hardFailure() || !job.continueOnFailure) {
      complete = false;
      break;
    }
  }
  pinger.Close();
  job.listener->OnIcmpDone(job.index, complete);
}

Result CanOpenRawIcmp() {
  const IcmpSocket socket(IcmpSocketKind::Raw);
  if (socket.IsOpen()) return {};
  return Failure{"raw ICMP sockets need root or the cap_net_raw capability"};
}

}  // namespace quenderlink
