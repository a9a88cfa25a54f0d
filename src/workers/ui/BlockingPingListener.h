#pragma once

#include <functional>

#include "net/PingEngineListener.h"

class QObject;

namespace quenderlink {

// Hands each notification of an engine's worker thread to a listener living on
// a window's thread (the thread of `context`) and returns once it was handled
// there: the engine's notices stay valid and the window may write into the site
// table. Called on the window's thread itself, it calls the listener directly.
class BlockingPingListener : public PingEngineListener {
 public:
  BlockingPingListener(QObject* context, PingEngineListener& target);

  void OnPingSent(std::size_t id, int tries) override;
  void OnPingReply(std::size_t id, const ReplyNotice& notice) override;
  void OnPingTimeout(std::size_t id, int tries) override;
  void OnPingFailed(std::size_t id, int tries) override;
  void OnPingStarted() override;
  void OnPingFinished() override;
  void OnPingBadAddress(std::uint16_t row) override;
  void OnResetConfirmed(std::uint16_t row, const ReplyNotice& notice) override;
  void OnEngineMessage(const std::string& text) override;

 private:
  void Deliver(const std::function<void()>& call);

  QObject* context_;
  PingEngineListener& target_;
};

}  // namespace quenderlink
