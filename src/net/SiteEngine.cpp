#include "net/SiteEngine.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/FixedText.h"
#include "net/DeviceDatagram.h"
#include "net/EngineReplyHelpers.h"
#include "net/HostAddress.h"
#include "net/PingEntry.h"
#include "net/PingLoop.h"
#include "net/SocketPool.h"
#include "net/StoppableLookup.h"
#include "net/TickCount.h"
#include "net/WaitingEntries.h"

namespace quenderlink {

namespace {

constexpr std::size_t kPoolLimit = 10;

std::vector<PingEntry> EntriesFor(const std::vector<RunSite>& sites) {
  std::vector<PingEntry> entries(sites.size());
  for (std::size_t i = 0; i < sites.size(); ++i) {
    SetFieldText(entries[i].host, FieldText(sites[i].host));
    entries[i].port = sites[i].port;
    entries[i].row = sites[i].row;
  }
  return entries;
}

// Resolves on this worker thread, one name at a time: a slow name server must
// not hold up the window, and a dead one must not hold up an abort.
void Prepare(PingEntry& entry, const EngineRequest& request) {
  entry.lastSend = TickCount();
  const std::string host(FieldText(entry.host));
  const std::optional<std::string> address = AddressOfHostUnlessStopped(host, request.stop, request.lookup);
  if (request.stop.load() != 0) return;
  if (address) {
    SetFieldText(entry.address, *address);
    return;
  }
  request.listener->OnPingBadAddress(entry.row);
  entry.done = 1;
  entry.result = -3;
}

// What the site engine sends, and which replies it takes: a reply must come
// from an entry's own address and port and carry the expected code.
class SiteReplies {
 public:
  SiteReplies(std::span<PingEntry> entries, const EngineRequest& request)
      : waiting_(entries),
        listener_(*request.listener),
        params_(*request.params),
        code_(request.ping ? kCommandPing : request.command) {}

  std::size_t IdOf(const PingEntry& entry) const { return entry.row; }

  void Send(PingEntry& entry) { entry.socket->SendCommand(std::string(FieldText(entry.address)), entry.port, code_); }

  void HandleDatagram(std::span<const std::uint8_t> datagram, const COurAsyncSocketSHORT& from) {
    PingEntry* entry = WaitingEntryFor(from);
    if (!entry) return;
    const std::uint32_t ms = MillisecondsSince(entry->firstSend);
    const std::uint32_t tenths = ms / 100;
    const std::uint8_t code = datagram[0];
    if (code != code_ || !TakeReply(datagram, from)) return;
    const std::uint8_t limited = LimitedTenths(tenths);
    entry->result = static_cast<std::int8_t>(limited);
    reply_.ReplyTenths = limited;
    reply_.RowNumber = entry->row;
    SetFieldText(reply_.HostText, FieldText(entry->host));
    const ReplyNotice notice = MakeReplyNotice(entry->row, FieldText(entry->host), ms, reply_, datagram, from);
    if (code == kCommandReboot)
      listener_.OnResetConfirmed(entry->row, notice);
    else
      listener_.OnPingReply(entry->row, notice);
    entry->done = 1;
    --entry->socket->pendingCount;
  }

 private:
  PingEntry* WaitingEntryFor(const COurAsyncSocketSHORT& from) {
    return waiting_.First([&from](const PingEntry& entry) {
      return entry.port == from.sourcePort && FieldText(entry.address) == FieldText(from.sourceAddress);
    });
  }

  // A reset confirmation carries nothing to decode.
  bool TakeReply(std::span<const std::uint8_t> datagram, const COurAsyncSocketSHORT& from) {
    if (datagram[0] == kCommandReboot) {
      reply_ = DeviceReply{};
      return true;
    }
    return DecodeDeviceReply(datagram, FieldText(from.sourceAddress), static_cast<std::uint16_t>(from.sourcePort),
                             params_.railroadCode, reply_);
  }

  WaitingEntries<PingEntry> waiting_;
  PingEngineListener& listener_;
  const RuntimeParams& params_;
  std::uint8_t code_;
  DeviceReply reply_{};
};

void RunSiteEngine(EngineRequest& request) {
  PingEngineListener& listener = *request.listener;
  std::vector<PingEntry> entries = EntriesFor(request.sites);
  SocketPool pool(entries.size(), kPoolLimit, listener);
  for (std::size_t i = 0; i < entries.size(); ++i) entries[i].socket = pool.Assign(i);
  for (PingEntry& entry : entries) {
    if (request.stop.load() != 0) break;
    Prepare(entry, request);
  }
  listener.OnPingStarted();
  SiteReplies replies(entries, request);
  PingLoop<PingEntry, SiteReplies>(entries, pool, request, replies).Run();
  listener.OnPingFinished();
}

}  // namespace

void SiteEngine(EngineRequest& request) {
  RunSiteEngine(request);
  request.finished = 1;
}

}  // namespace quenderlink
