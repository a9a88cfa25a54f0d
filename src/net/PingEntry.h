#pragma once

#include <cstdint>

namespace quenderlink {

class COurAsyncSocketSHORT;

// One marked site of a site engine run; the engine builds and owns them.
struct PingEntry {
  char address[18] = {};  // dotted text used to send
  char host[47] = {};     // the site's HostText
  std::uint16_t port = 0;
  std::uint16_t row = 0;  // identifies the site in every notification
  std::uint8_t done = 0;
  std::uint8_t tries = 0;  // datagrams sent so far
  std::int8_t result = -2;  // -2 waiting, -3 address not resolved, -1 given up, 1..250 tenths
  std::uint32_t lastSend = 0;  // tick of the last send; at preparation, of the preparation
  std::uint32_t firstSend = 0;
  COurAsyncSocketSHORT* socket = nullptr;
};

}  // namespace quenderlink
