#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "core/Result.h"
#include "core/RuntimeParams.h"

namespace quenderlink {

// Marks a free job slot of a scan's pool.
inline constexpr std::uint16_t kFreeIcmpJob = 65535;
inline constexpr int kIcmpTries = 5;

// What one try of an ICMP echo reports.
struct IcmpTryResult {
  std::uint32_t replyAddress = 0;  // IPv4, network order
  std::uint32_t replyTimeMs = 0;
  std::uint32_t ipStatus = 0;  // library method: 0 success, else the 11001-11050 status
  std::uint8_t tryIndex = 0;   // 0 for the first try
  std::uint8_t hopCount = 0;   // route method
  std::uint32_t errorCode = 0;  // the failed try's error code
};

// What the ICMP engines report, called on their worker threads; each call
// returns once the receiver has handled it, so texts and results passed along
// are valid only during the call. `index` is the job's row.
class IcmpListener {
 public:
  virtual ~IcmpListener() = default;

  // Library and route methods: a successful try.
  virtual void OnIcmpReply(std::uint16_t index, const IcmpTryResult& result) = 0;
  // Library method: an error that ends the address.
  virtual void OnIcmpErrorText(std::uint16_t index, const std::string& text) = 0;
  // Library and route methods: a try without a valid reply.
  virtual void OnIcmpTryFailed(std::uint16_t index, const IcmpTryResult& result) = 0;
  // Library and route methods: "Try # %d" (1-based), a try begins.
  virtual void OnIcmpTry(std::uint16_t index, const std::string& text) = 0;
  // Library method: a reply with an IP status other than 0.
  virtual void OnIcmpStatus(std::uint16_t index, const IcmpTryResult& result) = 0;
  // All methods, last: the address is finished; `complete` when all tries ran
  // or the run was aborted, false when a failure ended it.
  virtual void OnIcmpDone(std::uint16_t index, bool complete) = 0;
  // Raw method: an error.
  virtual void OnIcmpRawText(std::uint16_t index, const std::string& text) = 0;
  // Raw method: a successful try.
  virtual void OnIcmpRawReply(std::uint16_t index, const IcmpTryResult& result) = 0;
  // Raw method: a try without an echo reply, after its text or message. The
  // error code is its status: 11010 for a time-out, the ICMP error's status
  // (its sender the reply address) or a refused send's.
  virtual void OnIcmpRawTryFailed(std::uint16_t index, const IcmpTryResult& result) = 0;
  // A message the desktop program shows in a message box (the engines' own
  // diagnostics, "CPing::..." and "CPingUsingICMP_DLLs::...").
  virtual void OnIcmpMessage(const std::string& text) = 0;
};

// One address's work: the scan fills a slot of its pool of 20 and starts a
// method's thread on it.
struct IcmpJob {
  IcmpListener* listener = nullptr;
  std::uint16_t index = kFreeIcmpJob;
  std::string address;  // dotted IPv4 text (a name is resolved)
  std::uint16_t sequence = 0;  // raw method: the first ICMP sequence number
  bool continueOnFailure = false;  // raw method: a reply other than an echo reply does not end the address
  std::uint32_t lastError = 0;     // route method: the last failed try's error code
  // The settings, read afresh at every try.
  std::function<IcmpParams()> params;
  // Shared by every job of a scan; checked before each try.
  const std::atomic<bool>* abort = nullptr;
};

// The methods' thread entry points; each returns after OnIcmpDone.
void PingRawThread(IcmpJob& job);
void PingLibraryThread(IcmpJob& job);
void PingRouteThread(IcmpJob& job);

// Whether this process can ping with each method here, with the reason when
// it cannot (what Linux needs: root or the cap_net_raw capability for raw
// sockets; a ping_group_range that includes the user for datagram sockets).
Result CanOpenRawIcmp();
Result CanOpenLibraryIcmp();

}  // namespace quenderlink
