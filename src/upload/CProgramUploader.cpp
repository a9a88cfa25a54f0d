#include "upload/CProgramUploader.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "core/FixedText.h"
#include "core/Lookups.h"
#include "core/Printf.h"
#include "net/DeviceDatagram.h"
#include "net/TickCount.h"
#include "upload/PacketPlan.h"

namespace quenderlink {

namespace {

// Packet answers come with the packet's own type or with this one.
constexpr std::uint8_t kPacketAnswerOtherType = 2;
// A Cad-2 unit restarting into a new program needs this long unless told otherwise.
constexpr std::uint32_t kCad2RebootWaitSeconds = 35;
constexpr std::uint32_t kCad2RebootSettingHonoured = 20;

std::string AddressOf(const UploadJob& job) { return std::string(FieldText(job.ipText)); }

void PutU16(std::uint8_t* at, std::uint32_t value) {
  at[0] = static_cast<std::uint8_t>(value);
  at[1] = static_cast<std::uint8_t>(value >> 8);
}

void PutU32(std::uint8_t* at, std::uint32_t value) {
  PutU16(at, value);
  PutU16(at + 2, value >> 16);
}

}  // namespace

void CProgramUploader::Attach(std::span<const std::uint8_t> image, UploadEngineListener& listener,
                              const RuntimeParams& params) {
  image_ = image;
  listener_ = &listener;
  params_ = &params;
}

bool CProgramUploader::StepJob(UploadJob& job, bool withDatagram) {
  switch (job.state) {
    case JobState::Start:
      Event(job, UploadEvent::Start, 0);
      job.state = JobState::SendIdentification;
      return false;
    case JobState::SendIdentification:
      SendPing(AddressOf(job));
      job.attempts = 1;
      job.lastSendTime = TickCount();
      Event(job, UploadEvent::IdentificationSent, job.attempts);
      job.state = JobState::WaitIdentification;
      return false;
    case JobState::WaitIdentification:
      WaitForIdentification(job, withDatagram);
      return false;
    case JobState::WaitRamLoaderStart:
      WaitForRamLoaderStart(job);
      return false;
    case JobState::WaitRamLoaderAnswer:
      WaitForRamLoaderAnswer(job, withDatagram);
      return false;
    case JobState::WaitPacketAnswer:
      WaitForPacketAnswer(job, withDatagram);
      return false;
    case JobState::WaitReboot:
      WaitForReboot(job);
      return false;
    case JobState::WaitNewProgram:
      WaitForNewProgram(job, withDatagram);
      return false;
    case JobState::Succeeded:
    case JobState::Failed:
      return true;
  }
  return false;
}

std::uint32_t CProgramUploader::MillisecondsUntilDue(const UploadJob& job) const {
  const std::uint32_t elapsed = TickCount() - job.lastSendTime;
  const auto until = [elapsed](std::uint32_t seconds) {
    const std::uint32_t due = seconds * 1000;
    return elapsed >= due ? 0 : due - elapsed;
  };
  const std::uint32_t maxWait = params_->pingMaxWaitResponse;
  switch (job.state) {
    case JobState::WaitIdentification:
    case JobState::WaitRamLoaderAnswer:
    case JobState::WaitPacketAnswer:
      return until(maxWait);
    case JobState::WaitRamLoaderStart:
      // Whole seconds strictly greater than the setting.
      return job.productType == kProductCad2 ? 0 : until(params_->uploadMinWaitRamLoader + 1u);
    case JobState::WaitReboot:
      return until(RebootWaitSeconds(job));
    case JobState::WaitNewProgram:
      return until(maxWait / 2);
    case JobState::Start:
    case JobState::SendIdentification:
    case JobState::Succeeded:
    case JobState::Failed:
      return 0;
  }
  return 0;
}

void CProgramUploader::WaitForIdentification(UploadJob& job, bool withDatagram) {
  if (withDatagram && receiveBuffer[0] == kCommandPing) {
    MakePlan(job);
    Event(job, UploadEvent::IdentificationReceived, job.attempts);
    Event(job, UploadEvent::TotalPackets, static_cast<int>(job.totalPackets));
    SendRunRamLoader(AddressOf(job));
    Event(job, UploadEvent::RunRamLoaderSent, job.attempts);
    job.state = JobState::WaitRamLoaderStart;
    job.lastSendTime = TickCount();
    return;
  }
  if (ElapsedSeconds(job) < params_->pingMaxWaitResponse) return;
  Event(job, UploadEvent::IdentificationTimeout, job.attempts);
  ++job.attempts;
  if (job.attempts > GiveUpAbove()) {
    Event(job, UploadEvent::IdentificationGivenUp, job.attempts);
    job.state = JobState::Failed;
    return;
  }
  SendIdentificationRequest(job, UploadEvent::IdentificationSent);
}

void CProgramUploader::WaitForRamLoaderStart(UploadJob& job) {
  // The wait for the RAM loader's answer counts from the run command, not from this ping.
  if (job.productType != kProductCad2 && ElapsedSeconds(job) <= params_->uploadMinWaitRamLoader) return;
  job.attempts = 1;
  job.state = JobState::WaitRamLoaderAnswer;
  SendPing(AddressOf(job));
  Event(job, UploadEvent::RamLoaderPingSent, job.attempts);
}

void CProgramUploader::WaitForRamLoaderAnswer(UploadJob& job, bool withDatagram) {
  if (withDatagram && receivedLength >= 2 && receiveBuffer[1] == kProgramKindRamLoader) {
    SendPacket(job);
    return;
  }
  if (ElapsedSeconds(job) < params_->pingMaxWaitResponse) return;
  ++job.attempts;
  if (job.attempts > GiveUpAbove()) {
    Event(job, UploadEvent::RamLoaderGivenUp, job.attempts);
    job.state = JobState::Failed;
    return;
  }
  SendIdentificationRequest(job, UploadEvent::RamLoaderPingSent);
}

void CProgramUploader::WaitForPacketAnswer(UploadJob& job, bool withDatagram) {
  if (withDatagram && IsPacketAnswer(kPacketAck)) {
    OnAck(job);
    return;
  }
  if (withDatagram && IsPacketAnswer(kPacketNak)) {
    Event(job, UploadEvent::Nak, job.packetTries);
    RetryPacket(job);
    return;
  }
  if (withDatagram && IsPacketAnswer(kPacketFragmented)) {
    OnFragmented(job);
    return;
  }
  if (ElapsedSeconds(job) < params_->pingMaxWaitResponse) return;
  Event(job, UploadEvent::PacketTimeout, job.packetTries);
  RetryPacket(job);
}

void CProgramUploader::WaitForReboot(UploadJob& job) {
  if (ElapsedSeconds(job) < RebootWaitSeconds(job)) return;
  SendPing(AddressOf(job));
  job.attempts = 1;
  job.lastSendTime = TickCount();
  job.state = JobState::WaitNewProgram;
  Event(job, UploadEvent::NewProgramPingSent, job.attempts);
}

void CProgramUploader::WaitForNewProgram(UploadJob& job, bool withDatagram) {
  if (withDatagram && receiveBuffer[0] == kCommandPing) {
    listener_->OnNewProgramAnswered(job.row, reply);
    job.state = JobState::Succeeded;
    return;
  }
  if (ElapsedSeconds(job) < params_->pingMaxWaitResponse / 2u) return;
  ++job.attempts;
  if (job.attempts > GiveUpAbove()) {
    job.state = JobState::Failed;
    Event(job, UploadEvent::NewProgramGivenUp, job.attempts);
    return;
  }
  SendIdentificationRequest(job, UploadEvent::NewProgramPingSent);
}

void CProgramUploader::MakePlan(UploadJob& job) const {
  const PacketPlan plan = MakePacketPlan(image_, reply.MaxDatagram, reply.BlockSize);
  job.packetNumber = 1;
  job.offset = 0;
  job.remaining = static_cast<std::uint32_t>(image_.size());
  job.packetSize = plan.packetSize;
  job.totalPackets = plan.totalPackets;
}

void CProgramUploader::OnAck(UploadJob& job) {
  Event(job, UploadEvent::Ack, job.packetTries);
  job.remaining -= job.packetSize;
  if (job.remaining == 0) {
    Event(job, UploadEvent::LastPacketAcknowledged, 0);
    SendReboot(AddressOf(job));
    job.lastSendTime = TickCount();
    job.state = JobState::WaitReboot;
    return;
  }
  job.offset += job.packetSize;
  job.packetTries = 1;
  ++job.packetNumber;
  SendPacket(job);
}

void CProgramUploader::OnFragmented(UploadJob& job) {
  Event(job, UploadEvent::Fragmented, job.packetTries);
  const auto fileLength = static_cast<std::uint32_t>(image_.size());
  job.packetNumber = 1;
  job.offset = 0;
  job.remaining = fileLength;
  job.packetSize = kFragmentedPacketSize;
  job.totalPackets =
      static_cast<std::uint32_t>((std::uint64_t{fileLength} + kFragmentedPacketSize - 1) / kFragmentedPacketSize);
  RetryPacket(job);
}

void CProgramUploader::RetryPacket(UploadJob& job) {
  ++job.packetTries;
  if (job.packetTries > GiveUpAbove()) {
    Event(job, UploadEvent::PacketGivenUp, job.packetTries);
    job.state = JobState::Failed;
    return;
  }
  SendPacket(job);
}

void CProgramUploader::SendPacket(UploadJob& job) {
  job.packetSize = std::min<std::uint32_t>(job.packetSize, static_cast<std::uint32_t>(image_.size()) - job.offset);
  packetBuffer[0] = kCommandProgramPacket;
  packetBuffer[1] = 0;
  PutU16(packetBuffer + 2, job.packetSize);
  PutU32(packetBuffer + 4, job.offset);
  std::memcpy(packetBuffer + kProgramPacketHeaderSize, image_.data() + job.offset, job.packetSize);
  if (job.packetSize != 0) {
    listener_->OnPacketText(job.row, Printf("Sending Packet %d of %d (RPT: %d)", static_cast<int>(job.packetNumber),
                                            static_cast<int>(job.totalPackets), static_cast<int>(job.packetTries)));
    SendBuffer(std::span<const std::uint8_t>(packetBuffer, kProgramPacketHeaderSize + job.packetSize), AddressOf(job));
  }
  job.lastSendTime = TickCount();
  job.state = JobState::WaitPacketAnswer;
}

void CProgramUploader::SendIdentificationRequest(UploadJob& job, UploadEvent event) {
  SendPing(AddressOf(job));
  job.lastSendTime = TickCount();
  Event(job, event, job.attempts);
}

bool CProgramUploader::IsPacketAnswer(std::uint8_t answer) const {
  const std::uint8_t code = receiveBuffer[0];
  return receivedLength >= 2 && (code == kCommandProgramPacket || code == kPacketAnswerOtherType) &&
         receiveBuffer[1] == answer;
}

std::uint32_t CProgramUploader::ElapsedSeconds(const UploadJob& job) const {
  return (TickCount() - job.lastSendTime) / 1000;
}

std::uint32_t CProgramUploader::RebootWaitSeconds(const UploadJob& job) const {
  const std::uint32_t setting = params_->uploadMinWaitSysReboot;
  if (job.productType == kProductCad2 && setting < kCad2RebootSettingHonoured) return kCad2RebootWaitSeconds;
  return setting;
}

std::uint32_t CProgramUploader::GiveUpAbove() const { return 2u * params_->pingMaxResend; }

void CProgramUploader::Event(const UploadJob& job, UploadEvent event, int value) const {
  listener_->OnUploadEvent(event, job.row, value);
}

}  // namespace quenderlink
