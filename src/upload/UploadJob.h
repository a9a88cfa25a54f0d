#pragma once

#include <cstdint>

namespace quenderlink {

class CProgramUploader;

// The steps of a unit's upload.
enum class JobState : std::uint8_t {
  Start,
  SendIdentification,
  WaitIdentification,
  WaitRamLoaderStart,
  WaitRamLoaderAnswer,
  WaitPacketAnswer,
  WaitReboot,
  WaitNewProgram,
  Succeeded,
  Failed,
};

// One marked site of an upload run, in site table order; the engine builds and owns them.
struct UploadJob {
  char ipText[18] = {};    // dotted address the job sends to; empty when the host cannot be resolved
  char hostText[47] = {};  // the site's HostText
  std::uint16_t port = 0;  // the site's DevicePort
  std::uint8_t active = 0;
  std::uint8_t done = 0;
  // Wider than a byte so that every "Max Resend" (up to 255) is reached and given up.
  std::uint16_t packetTries = 0;  // shown after RPT: 0 for a job's first packet
  JobState state = JobState::Start;
  std::uint16_t attempts = 0;  // identification requests or pings sent in the current state
  CProgramUploader* socket = nullptr;
  std::uint16_t row = 0;  // identifies the job in every event
  std::uint32_t remaining = 0;
  std::uint32_t packetSize = 0;
  std::uint32_t packetNumber = 0;  // 1-based
  std::uint32_t offset = 0;
  std::uint32_t totalPackets = 0;
  std::uint8_t productType = 0;
  std::uint32_t lastSendTime = 0;  // tick of the last send, or of the start of the current wait
};

}  // namespace quenderlink
