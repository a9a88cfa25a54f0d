#include "net/RangeEngine.h"

#include <span>
#include <string>

#include "core/FixedText.h"
#include "net/DeviceDatagram.h"
#include "net/EngineReplyHelpers.h"
#include "net/PingLoop.h"
#include "net/SocketPool.h"
#include "net/TickCount.h"
#include "net/WaitingEntries.h"

namespace quenderlink {

namespace {

constexpr std::size_t kPoolLimit = 20;

// The range engine pings one port on every address and takes an
// identification reply from any port of an address it waits on.
class RangeReplies {
 public:
  RangeReplies(std::span<RangeEntry> entries, const EngineRequest& request)
      : entries_(entries),
        listener_(*request.listener),
        params_(*request.params),
        port_(static_cast<std::uint16_t>(request.port & 0xFFFF)) {}

  std::size_t IdOf(const RangeEntry& entry) const { return static_cast<std::size_t>(&entry - entries_.data()); }

  void Send(RangeEntry& entry) {
    entry.progress = 0;
    entry.socket->SendCommand(std::string(FieldText(entry.address)), port_, kCommandPing);
  }

  void HandleDatagram(std::span<const std::uint8_t> datagram, const COurAsyncSocketSHORT& from) {
    if (datagram[0] != kCommandPing) return;
    RangeEntry* entry = WaitingEntryFor(from);
    if (!entry) return;
    const std::uint32_t ms = MillisecondsSince(entry->firstSend);
    const std::uint32_t tenths = ms / 100;
    if (!DecodeDeviceReply(datagram, FieldText(from.sourceAddress), static_cast<std::uint16_t>(from.sourcePort),
                           params_.railroadCode, reply_))
      return;
    entry->result = static_cast<std::int8_t>(LimitedTenths(tenths));
    const ReplyNotice notice = MakeReplyNotice(0, {}, ms, reply_, datagram, from);
    listener_.OnPingReply(IdOf(*entry), notice);
    entry->done = 1;
    --entry->socket->pendingCount;
  }

 private:
  RangeEntry* WaitingEntryFor(const COurAsyncSocketSHORT& from) {
    return waiting_.First(
        [&from](const RangeEntry& entry) { return FieldText(entry.address) == FieldText(from.sourceAddress); });
  }

  std::span<RangeEntry> entries_;
  WaitingEntries<RangeEntry> waiting_{entries_};
  PingEngineListener& listener_;
  const RuntimeParams& params_;
  std::uint16_t port_;
  DeviceReply reply_{};
};

void RunRangeEngine(EngineRequest& request) {
  std::span<RangeEntry> entries = request.ranges;
  SocketPool pool(entries.size(), kPoolLimit, *request.listener);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    RangeEntry& entry = entries[i];
    entry.socket = pool.Assign(i);
    entry.done = 0;
    entry.tries = 0;
    entry.result = -2;
    entry.lastSend = TickCount();
  }
  RangeReplies replies(entries, request);
  PingLoop<RangeEntry, RangeReplies>(entries, pool, request, replies).Run();
  request.listener->OnPingFinished();
}

}  // namespace

void RangeEngine(EngineRequest& request) {
  RunRangeEngine(request);
  request.finished = 1;
}

}  // namespace quenderlink
