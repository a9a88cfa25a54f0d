#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "core/RuntimeParams.h"
#include "net/COurAsyncSocketSHORT.h"
#include "net/DeviceDatagram.h"
#include "net/EngineRequest.h"
#include "net/PingEngineListener.h"
#include "net/SocketPool.h"
#include "net/TickCount.h"

namespace quenderlink {

// The send and receive passes that both ping engines alternate until no entry
// waits or the window asks to stop. `Entry` is PingEntry or RangeEntry;
// `Engine` supplies what differs between the engines:
//   std::size_t IdOf(const Entry&) const  the id its notifications carry
//   void Send(Entry&)                     sends the entry's datagram
//   void HandleDatagram(std::span<const std::uint8_t>, const COurAsyncSocketSHORT& from)
template <typename Entry, typename Engine>
class PingLoop {
 public:
  PingLoop(std::span<Entry> entries, SocketPool& pool, EngineRequest& request, Engine& engine)
      : entries_(entries), pool_(pool), request_(request), listener_(*request.listener), engine_(engine) {}

  void Run();

 private:
  // A stop must be seen this soon even while nothing happens on the network.
  static constexpr int kLongestWaitMs = 50;

  struct Settings {
    int maxWaitResponse = 0;  // seconds
    int maxResend = 0;        // datagrams to an entry in all
    int maxInParallel = 0;
  };

  struct SendPassOutcome {
    int count = 0;
    bool acted = false;  // an entry was sent to, timed out or given up
    std::optional<std::uint32_t> nextExpiry;  // tick at which the first waiting entry expires
  };

  Settings ReadSettings() const;
  SendPassOutcome SendPass();
  std::span<Entry> EntriesAfterTheDoneOnes();
  void SendOrGiveUp(Entry& entry, const Settings& settings, std::uint32_t now, bool expired,
                    SendPassOutcome& outcome);
  void NoteExpiry(const Entry& entry, const Settings& settings, SendPassOutcome& outcome) const;
  int WaitBudget(const SendPassOutcome& outcome) const;

  std::span<Entry> entries_;
  SocketPool& pool_;
  EngineRequest& request_;
  PingEngineListener& listener_;
  Engine& engine_;
  std::size_t firstNotDone_ = 0;
};

// Nothing is polled in a tight loop: after a pass that changed nothing, the
// engine waits for a datagram on a socket that has entries waiting, or for the
// first waiting entry to expire, whichever comes first. Passes that sent or
// gave up are followed at once by another, since entries cut off by the
// parallel limit may now be due; the same holds after a receive pass that
// took datagrams.
template <typename Entry, typename Engine>
void PingLoop<Entry, Engine>::Run() {
  std::array<std::uint8_t, kMaxReplyDatagram> buffer{};
  while (request_.stop.load() == 0) {
    const SendPassOutcome sent = SendPass();
    if (sent.count == 0) break;
    const bool received = pool_.ReceivePass(
        buffer, [this](std::span<const std::uint8_t> datagram, const COurAsyncSocketSHORT& from) {
          engine_.HandleDatagram(datagram, from);
        });
    if (!sent.acted && !received && request_.stop.load() == 0) pool_.WaitForDatagrams(WaitBudget(sent));
  }
}

template <typename Entry, typename Engine>
typename PingLoop<Entry, Engine>::Settings PingLoop<Entry, Engine>::ReadSettings() const {
  const RuntimeParams& params = *request_.params;
  return {params.pingMaxWaitResponse, params.pingMaxResend, params.pingMaxInParallel};
}

// An entry sent to in this pass counts twice, so "Max in Parallel" 5 sends to
// three entries in the first pass and keeps six waiting at once. Kept on
// purpose: counting otherwise would change how many units a given setting
// contacts at once.
template <typename Entry, typename Engine>
typename PingLoop<Entry, Engine>::SendPassOutcome PingLoop<Entry, Engine>::SendPass() {
  const Settings settings = ReadSettings();
  SendPassOutcome outcome;
  for (Entry& entry : EntriesAfterTheDoneOnes()) {
    if (outcome.count > settings.maxInParallel) break;
    if (entry.done) continue;
    ++outcome.count;
    const std::uint32_t now = TickCount();
    const std::uint32_t elapsedSeconds = (now - entry.lastSend) / 1000;
    const bool expired = elapsedSeconds > static_cast<std::uint32_t>(settings.maxWaitResponse);
    if (entry.tries > 0 && !expired) {
      NoteExpiry(entry, settings, outcome);
      continue;
    }
    SendOrGiveUp(entry, settings, now, expired, outcome);
  }
  return outcome;
}

// Entries never leave the done state, and a pass skips done entries without
// counting them, so the leading run of done entries can be left out for good:
// a run over thousands of units then costs no more per pass near its end.
template <typename Entry, typename Engine>
std::span<Entry> PingLoop<Entry, Engine>::EntriesAfterTheDoneOnes() {
  while (firstNotDone_ < entries_.size() && entries_[firstNotDone_].done) ++firstNotDone_;
  return entries_.subspan(firstNotDone_);
}

template <typename Entry, typename Engine>
void PingLoop<Entry, Engine>::SendOrGiveUp(Entry& entry, const Settings& settings, std::uint32_t now,
                                           bool expired, SendPassOutcome& outcome) {
  outcome.acted = true;
  const std::size_t id = engine_.IdOf(entry);
  if (entry.tries == 0) entry.firstSend = now;
  if (expired) listener_.OnPingTimeout(id, entry.tries);
  if (entry.tries < settings.maxResend) {
    engine_.Send(entry);
    entry.tries = static_cast<std::uint8_t>(entry.tries + 1);
    listener_.OnPingSent(id, entry.tries);
    entry.lastSend = TickCount();
    ++outcome.count;
  } else {
    entry.done = 1;
    entry.result = static_cast<std::int8_t>(-1);
    --entry.socket->pendingCount;
    listener_.OnPingFailed(id, entry.tries);
    --outcome.count;
  }
}

template <typename Entry, typename Engine>
void PingLoop<Entry, Engine>::NoteExpiry(const Entry& entry, const Settings& settings,
                                         SendPassOutcome& outcome) const {
  const std::uint32_t expiry = entry.lastSend + static_cast<std::uint32_t>(settings.maxWaitResponse + 1) * 1000;
  const std::uint32_t now = TickCount();
  const auto until = [now](std::uint32_t tick) { return static_cast<std::int32_t>(tick - now); };
  if (!outcome.nextExpiry || until(expiry) < until(*outcome.nextExpiry)) outcome.nextExpiry = expiry;
}

template <typename Entry, typename Engine>
int PingLoop<Entry, Engine>::WaitBudget(const SendPassOutcome& outcome) const {
  if (!outcome.nextExpiry) return kLongestWaitMs;
  const std::int32_t untilExpiry = static_cast<std::int32_t>(*outcome.nextExpiry - TickCount());
  return std::clamp<std::int32_t>(untilExpiry, 0, kLongestWaitMs);
}

}  // namespace quenderlink
