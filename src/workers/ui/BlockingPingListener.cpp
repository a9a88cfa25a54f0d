#include "workers/ui/BlockingPingListener.h"

#include "workers/ui/UiThreadCalls.h"

namespace quenderlink {

BlockingPingListener::BlockingPingListener(QObject* context, PingEngineListener& target)
    : context_(context), target_(target) {}

void BlockingPingListener::Deliver(const std::function<void()>& call) { CallOnThreadOf(context_, call); }

void BlockingPingListener::OnPingSent(std::size_t id, int tries) {
  Deliver([&] { target_.OnPingSent(id, tries); });
}

void BlockingPingListener::OnPingReply(std::size_t id, const ReplyNotice& notice) {
  Deliver([&] { target_.OnPingReply(id, notice); });
}

void BlockingPingListener::OnPingTimeout(std::size_t id, int tries) {
  Deliver([&] { target_.OnPingTimeout(id, tries); });
}

void BlockingPingListener::OnPingFailed(std::size_t id, int tries) {
  Deliver([&] { target_.OnPingFailed(id, tries); });
}

void BlockingPingListener::OnPingStarted() {
  Deliver([&] { target_.OnPingStarted(); });
}

void BlockingPingListener::OnPingFinished() {
  Deliver([&] { target_.OnPingFinished(); });
}

void BlockingPingListener::OnPingBadAddress(std::uint16_t row) {
  Deliver([&] { target_.OnPingBadAddress(row); });
}

void BlockingPingListener::OnResetConfirmed(std::uint16_t row, const ReplyNotice& notice) {
  Deliver([&] { target_.OnResetConfirmed(row, notice); });
}

void BlockingPingListener::OnEngineMessage(const std::string& text) {
  Deliver([&] { target_.OnEngineMessage(text); });
}

}  // namespace quenderlink
