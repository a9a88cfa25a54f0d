#include "workers/ui/BlockingUploadListener.h"

#include <QObject>

#include "workers/ui/UiThreadCalls.h"

namespace quenderlink {

BlockingUploadListener::BlockingUploadListener(QObject* context, UploadEngineListener& target)
    : context_(context), target_(target) {}

void BlockingUploadListener::Deliver(const std::function<void()>& call) { CallOnThreadOf(context_, call); }

void BlockingUploadListener::OnJobAddress(std::uint16_t row, const std::string& address) {
  Deliver([&] { target_.OnJobAddress(row, address); });
}

void BlockingUploadListener::OnUploadEvent(UploadEvent event, std::uint16_t row, int value) {
  Deliver([&] { target_.OnUploadEvent(event, row, value); });
}

void BlockingUploadListener::OnPacketText(std::uint16_t row, const std::string& text) {
  Deliver([&] { target_.OnPacketText(row, text); });
}

void BlockingUploadListener::OnNewProgramAnswered(std::uint16_t row, const DeviceReply& reply) {
  Deliver([&] { target_.OnNewProgramAnswered(row, reply); });
}

void BlockingUploadListener::OnUploadFailed(UploadFailure failure, std::uint16_t row, const std::string& text) {
  Deliver([&] { target_.OnUploadFailed(failure, row, text); });
}

void BlockingUploadListener::OnUploadDone() {
  UploadEngineListener& target = target_;
  PostToThreadOf(context_, [&target] { target.OnUploadDone(); });
}

}  // namespace quenderlink
