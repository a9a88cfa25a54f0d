#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

#include "core/LogClass.h"
#include "core/RuntimeParams.h"
#include "net/DeviceReply.h"
#include "upload/UploadEngineListener.h"

namespace quenderlink {

// The log lines the single-site upload dialog writes for the engine's events,
// without the dialog's own parts (status line, buttons). Each line goes to the
// sink with the job's row; texts end with their line breaks, as the log shows them.
class UploadLog : public UploadEngineListener {
 public:
  using LineSink = std::function<void(std::uint16_t row, LogClass kind, const std::string& text)>;

  UploadLog(const RuntimeParams& params, LineSink sink);

  // The log says nothing of the address until the job's first step names it.
  void OnJobAddress(std::uint16_t, const std::string&) override {}
  void OnUploadEvent(UploadEvent event, std::uint16_t row, int value) override;
  void OnPacketText(std::uint16_t row, const std::string& text) override;
  void OnNewProgramAnswered(std::uint16_t row, const DeviceReply& reply) override;
  void OnUploadFailed(UploadFailure failure, std::uint16_t row, const std::string& text) override;
  void OnUploadDone() override;

 private:
  void Line(std::uint16_t row, LogClass kind, const std::string& text) const { sink_(row, kind, text); }

  const RuntimeParams& params_;
  LineSink sink_;
};

// The reply summary the dialog logs after the new program answered (and after
// a ping, with the reply time): the firmware result box for railroad CPR, then
// response type, address, milepost, product and version, site name and track.
std::string ReplySummary(const DeviceReply& reply, unsigned railroadCode, bool withReplyTime);

}  // namespace quenderlink
