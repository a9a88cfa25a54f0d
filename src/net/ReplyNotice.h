#pragma once

#include <cstdint>
#include <span>

#include "net/DeviceReply.h"

namespace quenderlink {

// What a reply notification carries. The reply and the datagram are the
// engine's: valid only while the notification is being handled.
struct ReplyNotice {
  std::uint16_t row = 0;  // site engine: the entry's row; range engine: 0
  std::uint16_t replyPort = 0;
  std::uint16_t tenths = 0;  // since the entry's first send
  std::uint32_t ms = 0;      // the same in milliseconds, as the journal keeps it
  std::uint16_t senderPort = 0;
  char senderAddress[18] = {};
  char host[47] = {};  // site engine: the entry's host text; range engine: empty
  const DeviceReply* reply = nullptr;
  std::span<const std::uint8_t> datagram;
};

}  // namespace quenderlink
