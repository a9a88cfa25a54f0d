#pragma once

namespace quenderlink {

// The upload engine's progress events. Each value is the event's message number,
// which users see in logs and JSON output: it never changes.
enum class UploadEvent {
  Start = 1424,
  IdentificationSent = 1425,
  TotalPackets = 1426,
  IdentificationReceived = 1427,
  IdentificationTimeout = 1428,
  RunRamLoaderSent = 1429,
  IdentificationGivenUp = 1430,
  RamLoaderPingSent = 1431,
  RamLoaderGivenUp = 1432,
  PacketText = 1433,
  Ack = 1434,
  Nak = 1435,
  Fragmented = 1436,
  PacketTimeout = 1437,
  PacketGivenUp = 1438,
  LastPacketAcknowledged = 1439,
  NewProgramPingSent = 1449,
  NewProgramGivenUp = 1450,
  NewProgramAnswered = 1451,
  EngineDone = 1454,
};

constexpr int MessageNumber(UploadEvent event) { return static_cast<int>(event); }

}  // namespace quenderlink
