#pragma once

#include <cstdint>
#include <string>

#include "net/DeviceReply.h"
#include "upload/UploadEvent.h"

namespace quenderlink {

// Why a run or a job ended without the units' procedure being tried.
enum class UploadFailure {
  FileNotLoadable,  // missing, unreadable, first byte 0, or no word that is neither all 0 nor all 0xFF
  NoMemory,         // the file image or the job array could not be had
  NoSocket,         // a fifth distinct device port: the job cannot be served
};

// What the upload engine reports, called on its worker thread. Every call but
// OnUploadDone returns only when the receiver has handled it (texts and replies
// passed along are valid only during the call); OnUploadDone comes last, once,
// and the desktop program posts it to its window instead of waiting.
class UploadEngineListener {
 public:
  virtual ~UploadEngineListener() = default;

  // The address a job sends to, found when the run builds its jobs: empty when
  // the host could not be resolved. Comes before the job's first event.
  virtual void OnJobAddress(std::uint16_t row, const std::string& address) = 0;
  // Events 1424-1450 with the job's row and the event's value.
  virtual void OnUploadEvent(UploadEvent event, std::uint16_t row, int value) = 0;
  // Event 1433: "Sending Packet %d of %d (RPT: %d)".
  virtual void OnPacketText(std::uint16_t row, const std::string& text) = 0;
  // Event 1451: the new program's decoded reply.
  virtual void OnNewProgramAnswered(std::uint16_t row, const DeviceReply& reply) = 0;
  // A run that cannot start (row 0) or a job that cannot be served (its row);
  // `text` is what a message box shows.
  virtual void OnUploadFailed(UploadFailure failure, std::uint16_t row, const std::string& text) = 0;
  // Event 1454: the engine has ended; the request's finished flag is already set.
  virtual void OnUploadDone() = 0;
};

}  // namespace quenderlink
