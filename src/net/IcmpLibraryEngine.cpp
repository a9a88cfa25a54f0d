// The library method: the system's unprivileged ICMP echo (a datagram ICMP
// socket), one socket per try.
#include <algorithm>
#include <optional>
#include <string>

#include "net/IcmpErrorStatus.h"
#include "net/IcmpExchange.h"
#include "net/IcmpJob.h"
#include "net/IcmpSocket.h"
#include "net/IcmpTryHelpers.h"

namespace quenderlink {

namespace {

constexpr std::uint8_t kLibraryFill = 'E';
constexpr char kMessagePrefix[] = "CPingUsingICMP_DLLs::PingUsingICMP, ";

bool AllFill(const std::vector<std::uint8_t>& data, std::size_t expectedSize) {
  return data.size() == expectedSize &&
         std::all_of(data.begin(), data.end(), [](std::uint8_t b) { return b == kLibraryFill; });
}

// One try; false ends the address.
bool LibraryTry(IcmpJob& job, int tryNumber) {
  IcmpListener& listener = *job.listener;
  listener.OnIcmpTry(job.index, IcmpTryText(tryNumber));
  const std::optional<std::uint32_t> address = IcmpJobAddress(job);
  if (!address) {
    listener.OnIcmpErrorText(job.index, "ERROR: Could not resolve the host name");
    listener.OnIcmpMessage(std::string(kMessagePrefix) + "Could not resolve the host name");
    return false;
  }
  const IcmpSocket socket = OpenEchoSocket();
  if (!socket.IsOpen()) {
    listener.OnIcmpMessage(std::string(kMessagePrefix) + "Could not get a valid ICMP handle\n");
    listener.OnIcmpErrorText(job.index, "ERROR: Could not get a valid ICMP handle");
    return false;
  }
  const IcmpParams params = job.params();
  const std::size_t dataSize = std::min<std::size_t>(params.dataSize, kMaxEchoData);
  IcmpTryResult result;
  result.tryIndex = static_cast<std::uint8_t>(tryNumber - 1);
  if (SetEchoOptions(socket.fd(), params) != IcmpOptionFailure::None) {
    result.errorCode = kIcmpStatusBadOption;
    listener.OnIcmpTryFailed(job.index, result);
    return false;
  }
  const std::uint16_t sequence = static_cast<std::uint16_t>(job.sequence + tryNumber - 1);
  const EchoOutcome outcome = ExchangeEcho(socket, *address, dataSize, kLibraryFill, sequence, params.timeoutMs);
  switch (outcome.kind) {
    case EchoOutcomeKind::Reply:
      if (!AllFill(outcome.data, dataSize)) {
        listener.OnIcmpMessage(std::string(kMessagePrefix) + "Could not get a valid ICMP response\n");
        listener.OnIcmpErrorText(job.index, "FAILED: Could not get a valid ICMP response");
        listener.OnIcmpTryFailed(job.index, result);
        return false;
      }
      result.replyAddress = outcome.from;
      result.replyTimeMs = outcome.timeMs;
      listener.OnIcmpReply(job.index, result);
      return true;
    case EchoOutcomeKind::IcmpError:
      result.replyAddress = outcome.from;
      result.replyTimeMs = outcome.timeMs;
      result.ipStatus = outcome.status;
      listener.OnIcmpStatus(job.index, result);
      return false;
    case EchoOutcomeKind::TimedOut: result.errorCode = kIcmpStatusTimedOut; break;
    case EchoOutcomeKind::SendFailed: result.errorCode = outcome.status; break;
    case EchoOutcomeKind::WaitFailed: result.errorCode = kIcmpStatusGeneralFailure; break;
  }
  listener.OnIcmpTryFailed(job.index, result);
  return false;
}

}  // namespace

void PingLibraryThread(IcmpJob& job) {
  bool complete = true;
  for (int tryNumber = 1; tryNumber <= kIcmpTries && !IcmpAborted(job); ++tryNumber) {
    if (!LibraryTry(job, tryNumber)) {
      complete = false;
      break;
    }
  }
  job.listener->OnIcmpDone(job.index, complete);
}

Result CanOpenLibraryIcmp() {
  if (OpenEchoSocket().IsOpen()) return {};
  return Failure{
      "ICMP echo needs a net.ipv4.ping_group_range that includes your group, or root / the cap_net_raw capability"};
}

}  // namespace quenderlink
