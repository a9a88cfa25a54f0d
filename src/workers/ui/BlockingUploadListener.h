#pragma once

#include <functional>

#include "upload/UploadEngineListener.h"

class QObject;

namespace quenderlink {

// Hands each event of the upload engine's worker thread to a listener living on
// a window's thread (the thread of `context`): every event returns once it was
// handled there, so texts and replies stay valid and the window may write into
// the site table, which only its thread touches. The engine's last event is posted instead, as the window may
// close itself on it; it is dropped when the window is gone by then.
class BlockingUploadListener : public UploadEngineListener {
 public:
  BlockingUploadListener(QObject* context, UploadEngineListener& target);

  void OnJobAddress(std::uint16_t row, const std::string& address) override;
  void OnUploadEvent(UploadEvent event, std::uint16_t row, int value) override;
  void OnPacketText(std::uint16_t row, const std::string& text) override;
  void OnNewProgramAnswered(std::uint16_t row, const DeviceReply& reply) override;
  void OnUploadFailed(UploadFailure failure, std::uint16_t row, const std::string& text) override;
  void OnUploadDone() override;

 private:
  void Deliver(const std::function<void()>& call);

  QObject* context_;
  UploadEngineListener& target_;
};

}  // namespace quenderlink
