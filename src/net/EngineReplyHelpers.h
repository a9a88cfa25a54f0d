#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <string_view>

#include "core/FixedText.h"
#include "net/COurAsyncSocketSHORT.h"
#include "net/DeviceReply.h"
#include "net/ReplyNotice.h"
#include "net/TickCount.h"

namespace quenderlink {

// Milliseconds since the tick of an entry's first send.
inline std::uint32_t MillisecondsSince(std::uint32_t firstSend) { return TickCount() - firstSend; }

// A reply time as entries and records keep it: 0 would read as "never pinged",
// so it starts at 1; 250 and above are 250.
inline std::uint8_t LimitedTenths(std::uint32_t tenths) {
  return static_cast<std::uint8_t>(std::clamp<std::uint32_t>(tenths, 1, 250));
}

// The notice of an accepted reply; it refers to the reply and the datagram, so
// it is valid only while they are.
inline ReplyNotice MakeReplyNotice(std::uint16_t row, std::string_view host, std::uint32_t ms,
                                   const DeviceReply& reply, std::span<const std::uint8_t> datagram,
                                   const COurAsyncSocketSHORT& from) {
  ReplyNotice notice;
  notice.row = row;
  notice.replyPort = reply.ReplyPort;
  notice.tenths = static_cast<std::uint16_t>(std::min<std::uint32_t>(ms / 100, UINT16_MAX));
  notice.ms = ms;
  notice.senderPort = static_cast<std::uint16_t>(from.sourcePort);
  SetFieldText(notice.senderAddress, FieldText(from.sourceAddress));
  SetFieldText(notice.host, host);
  notice.reply = &reply;
  notice.datagram = datagram;
  return notice;
}

}  // namespace quenderlink
