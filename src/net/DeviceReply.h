#pragma once

#include <cstdint>

namespace quenderlink {

// A unit's identification reply, decoded. Texts are NUL-terminated inside their
// fields; the engine fills HostText, ReplyTenths and RowNumber.
struct DeviceReply {
  std::uint8_t Reserved;
  std::uint8_t VersionMajor;
  std::uint8_t VersionMinor;
  std::uint16_t SiteId;
  std::uint16_t SubdivCode;
  char Milepost[10];
  char TrackId[16];
  char SiteName[54];
  char SubdivName[32];
  char HostText[47];
  std::int8_t VersionBuild;
  char IpText[20];
  char ExtraText[20];
  std::uint32_t MaxDatagram;
  std::uint8_t ProgramKind;
  std::uint16_t ReplyPort;
  std::uint32_t BlockSize;
  std::uint8_t TrackIndex;
  std::uint8_t ReplyTenths;
  std::uint8_t ProductType;
  std::uint8_t Powerup;
  std::uint16_t RowNumber;
  std::uint8_t LastUploadCode;
  char CommVersion[9];
  char ReaderVersion[9];
  char SpeechVersion[10];
};

}  // namespace quenderlink
