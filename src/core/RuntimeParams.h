#pragma once

#include <cstdint>
#include <string>

namespace quenderlink {

// Colour references as stored in the settings file: 0x00BBGGRR.
using ColorRef = std::uint32_t;

struct DeviceColors {
  ColorRef textCadmarin = 0x8B0000;
  ColorRef backCadmarin = 0xFFFFFF;
  ColorRef textRkm = 0x8B0000;
  ColorRef backRkm = 0xCCFFFF;
  ColorRef textZenthi = 0x8B0000;
  ColorRef backZenthi = 0xCBC0FF;

  friend bool operator==(const DeviceColors&, const DeviceColors&) = default;
};

struct TelnetColors {
  ColorRef textTelnet = 0xFFFFFF;
  ColorRef backTelnet = 0x8B0000;
  ColorRef textLineNums = 0x00FFFF;
  ColorRef backLineNums = 0x000080;

  friend bool operator==(const TelnetColors&, const TelnetColors&) = default;
};

struct IcmpParams {
  std::uint32_t timeoutMs = 5000;
  std::uint8_t ttl = 10;
  std::uint16_t dataSize = 32;
  std::uint8_t typeOfService = 0;
  std::uint8_t dontFragment = 0;
  std::uint8_t maxHops = 5;

  friend bool operator==(const IcmpParams&, const IcmpParams&) = default;
};

// The program-wide values read from the settings file; the defaults are the
// ones a missing key reads as.
struct RuntimeParams {
  std::uint8_t railroadCode = 0;
  std::string railroadShortName = "URR";

  std::uint16_t pingMaxWaitResponse = 12;  // seconds
  std::uint8_t pingMaxResend = 6;
  std::uint8_t pingMaxInParallel = 100;

  std::uint8_t uploadMinWaitRamLoader = 6;  // seconds
  std::uint8_t uploadMinWaitSysReboot = 6;  // seconds
  std::uint8_t uploadMaxInParallel = 24;

  bool allowChangeSiteName = false;
  bool showTwd = false;
  std::uint16_t defaultPortNum = 9001;
  std::uint16_t telnetPortTrk1 = 10001;
  std::uint16_t telnetPortTrk2 = 10002;
  bool showIpColumn = false;
  bool deleteManyRows = false;
  bool allowUploadUnknown = false;
  bool collectS918 = true;
  bool showHidden = false;
  std::uint16_t reduceHeight = 0;  // pixels
  std::uint16_t journalDays = 730;  // the journal's results older than this are pruned

  bool showCmndButtons = true;
  bool showFilterCombos = false;
  bool cmndsOnRight = true;

  DeviceColors deviceColors;
  TelnetColors telnetColors;
  IcmpParams icmp;

  friend bool operator==(const RuntimeParams&, const RuntimeParams&) = default;
};

}  // namespace quenderlink
