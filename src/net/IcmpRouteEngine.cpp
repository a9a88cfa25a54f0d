// The route method: the round trip and the hop count to an address, found by
// echo requests whose time-to-live grows from 1 until the address answers.
#include <optional>
#include <string>

#include "net/IcmpErrorStatus.h"
#include "net/IcmpExchange.h"
#include "net/IcmpJob.h"
#include "net/IcmpSocket.h"
#include "net/IcmpTryHelpers.h"

namespace quenderlink {

namespace {

constexpr int kMaxHops = 30;
constexpr std::uint8_t kIcmpTimeExceeded = 11;

// Fills the hop count and time on success, else the error code.
bool RouteTry(IcmpJob& job, const IcmpSocket& socket, std::uint32_t address, std::uint16_t& sequence,
              IcmpTryResult& result) {
  const IcmpParams params = job.params();
  if (!SetDontFragment(socket.fd(), params.dontFragment)) {
    result.errorCode = kIcmpStatusBadOption;
    return false;
  }
  for (int ttl = 1; ttl <= kMaxHops; ++ttl) {
    if (!SetTimeToLive(socket.fd(), ttl)) {
      result.errorCode = kIcmpStatusBadOption;
      return false;
    }
    const EchoOutcome outcome = ExchangeEcho(socket, address, 0, 0, sequence++, params.timeoutMs);
    switch (outcome.kind) {
      case EchoOutcomeKind::Reply:
        // The nearer hops' time-exceeded answers are no error of a try that got through.
        result.errorCode = 0;
        result.hopCount = static_cast<std::uint8_t>(ttl);
        result.replyTimeMs = outcome.timeMs;
        result.replyAddress = outcome.from;
        return true;
      case EchoOutcomeKind::IcmpError:
        result.errorCode = outcome.status;
        if (outcome.type == kIcmpTimeExceeded) continue;
        return false;
      case EchoOutcomeKind::TimedOut: result.errorCode = kIcmpStatusTimedOut; return false;
      case EchoOutcomeKind::SendFailed: result.errorCode = outcome.status; return false;
      case EchoOutcomeKind::WaitFailed: result.errorCode = kIcmpStatusGeneralFailure; return false;
    }
  }
  return false;
}

}  // namespace

void PingRouteThread(IcmpJob& job) {
  std::uint16_t sequence = job.sequence;
  for (int tryNumber = 1; tryNumber <= kIcmpTries && !IcmpAborted(job); ++tryNumber) {
    job.listener->OnIcmpTry(job.index, IcmpTryText(tryNumber));
    IcmpTryResult result;
    result.tryIndex = static_cast<std::uint8_t>(tryNumber - 1);
    const std::optional<std::uint32_t> address = IcmpJobAddress(job);
    const IcmpSocket socket = OpenEchoSocket();
    bool answered = false;
    if (!address)
      result.errorCode = kIcmpStatusBadDestination;
    else if (!socket.IsOpen())
      result.errorCode = kIcmpStatusGeneralFailure;
    else
      answered = RouteTry(job, socket, *address, sequence, result);
    if (answered) {
      job.listener->OnIcmpReply(job.index, result);
      continue;
    }
    job.lastError = result.errorCode;
    job.listener->OnIcmpTryFailed(job.index, result);
  }
  job.listener->OnIcmpDone(job.index, true);
}

}  // namespace quenderlink
