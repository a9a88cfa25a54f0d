#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "core/RuntimeParams.h"
#include "net/COurAsyncSocket.h"
#include "net/DeviceDatagram.h"
#include "upload/UploadEngineListener.h"
#include "upload/UploadJob.h"

namespace quenderlink {

// An upload socket: bound to one device port, it serves every job of that port
// and steps them through the units' RAM-loader procedure.
class CProgramUploader : public COurAsyncSocket {
 public:
  static constexpr std::size_t kMaxPacketPayload = 1370;
  static constexpr std::uint32_t kFragmentedPacketSize = 1024;

  // What every step needs; all three must outlive the socket's use. The
  // settings are read at each use, so a change takes effect at once.
  void Attach(std::span<const std::uint8_t> image, UploadEngineListener& listener, const RuntimeParams& params);

  // One step of the job; with `withDatagram` the datagram just received by this
  // socket is offered to it. True when the job has finished (succeeded or failed).
  bool StepJob(UploadJob& job, bool withDatagram);

  // How long until a step of the job with no datagram would act, from the
  // settings as they are now; 0 when it would act at once.
  std::uint32_t MillisecondsUntilDue(const UploadJob& job) const;

  std::uint8_t packetBuffer[kProgramPacketHeaderSize + kMaxPacketPayload] = {};

 private:
  void WaitForIdentification(UploadJob& job, bool withDatagram);
  void WaitForRamLoaderStart(UploadJob& job);
  void WaitForRamLoaderAnswer(UploadJob& job, bool withDatagram);
  void WaitForPacketAnswer(UploadJob& job, bool withDatagram);
  void WaitForReboot(UploadJob& job);
  void WaitForNewProgram(UploadJob& job, bool withDatagram);

  void MakePlan(UploadJob& job) const;
  void OnAck(UploadJob& job);
  void OnFragmented(UploadJob& job);
  // Counts one more try of the packet and sends it, or gives the job up.
  void RetryPacket(UploadJob& job);
  void SendPacket(UploadJob& job);
  void SendIdentificationRequest(UploadJob& job, UploadEvent event);

  bool IsPacketAnswer(std::uint8_t answer) const;
  std::uint32_t ElapsedSeconds(const UploadJob& job) const;
  std::uint32_t RebootWaitSeconds(const UploadJob& job) const;
  std::uint32_t GiveUpAbove() const;
  void Event(const UploadJob& job, UploadEvent event, int value) const;

  std::span<const std::uint8_t> image_;
  UploadEngineListener* listener_ = nullptr;
  const RuntimeParams* params_ = nullptr;
};

}  // namespace quenderlink
