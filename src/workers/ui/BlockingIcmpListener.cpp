#include "workers/ui/BlockingIcmpListener.h"

#include "workers/ui/UiThreadCalls.h"

namespace quenderlink {

BlockingIcmpListener::BlockingIcmpListener(QObject* context, IcmpListener& target)
    : context_(context), target_(target) {}

void BlockingIcmpListener::Deliver(const std::function<void()>& call) { CallOnThreadOf(context_, call); }

void BlockingIcmpListener::OnIcmpReply(std::uint16_t index, const IcmpTryResult& result) {
  Deliver([&] { target_.OnIcmpReply(index, result); });
}

void BlockingIcmpListener::OnIcmpErrorText(std::uint16_t index, const std::string& text) {
  Deliver([&] { target_.OnIcmpErrorText(index, text); });
}

void BlockingIcmpListener::OnIcmpTryFailed(std::uint16_t index, const IcmpTryResult& result) {
  Deliver([&] { target_.OnIcmpTryFailed(index, result); });
}

void BlockingIcmpListener::OnIcmpTry(std::uint16_t index, const std::string& text) {
  Deliver([&] { target_.OnIcmpTry(index, text); });
}

void BlockingIcmpListener::OnIcmpStatus(std::uint16_t index, const IcmpTryResult& result) {
  Deliver([&] { target_.OnIcmpStatus(index, result); });
}

void BlockingIcmpListener::OnIcmpDone(std::uint16_t index, bool complete) {
  Deliver([&] { target_.OnIcmpDone(index, complete); });
}

void BlockingIcmpListener::OnIcmpRawText(std::uint16_t index, const std::string& text) {
  Deliver([&] { target_.OnIcmpRawText(index, text); });
}

void BlockingIcmpListener::OnIcmpRawReply(std::uint16_t index, const IcmpTryResult& result) {
  Deliver([&] { target_.OnIcmpRawReply(index, result); });
}

void BlockingIcmpListener::OnIcmpRawTryFailed(std::uint16_t index, const IcmpTryResult& result) {
  Deliver([&] { target_.OnIcmpRawTryFailed(index, result); });
}

void BlockingIcmpListener::OnIcmpMessage(const std::string& text) {
  Deliver([&] { target_.OnIcmpMessage(text); });
}

}  // namespace quenderlink
