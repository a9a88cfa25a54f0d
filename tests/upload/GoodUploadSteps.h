#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "upload/UploadEngineListener.h"

namespace quenderlink::testing {

// What the engine tells of a good upload of `packets` packets up to its last packet's acknowledgement,
// told to whatever hears the engine's steps (the single unit's log, a multi-site run).
template <typename Hearer>
void TellGoodUploadToLastAck(Hearer& hearer, std::uint16_t row, int packets) {
  for (const auto& [event, value] : {std::pair{UploadEvent::Start, 0}, {UploadEvent::IdentificationSent, 1},
                                      {UploadEvent::IdentificationReceived, 1}, {UploadEvent::TotalPackets, packets},
                                      {UploadEvent::RunRamLoaderSent, 1}, {UploadEvent::RamLoaderPingSent, 1}})
    hearer.OnUploadEvent(event, row, value);
  hearer.OnPacketText(row, "Sending Packet 1 of " + std::to_string(packets) + " (RPT: 0)");
  hearer.OnUploadEvent(UploadEvent::Ack, row, 0);
  hearer.OnUploadEvent(UploadEvent::LastPacketAcknowledged, row, 0);
}

}  // namespace quenderlink::testing
