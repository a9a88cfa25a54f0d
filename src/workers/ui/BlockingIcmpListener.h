#pragma once

#include <functional>

#include "net/IcmpJob.h"

class QObject;

namespace quenderlink {

// Hands each call of an ICMP engine's worker thread to a listener living on a
// window's thread (the thread of `context`) and returns once it was handled
// there, so the engine's texts and results stay valid throughout.
class BlockingIcmpListener : public IcmpListener {
 public:
  BlockingIcmpListener(QObject* context, IcmpListener& target);

  void OnIcmpReply(std::uint16_t index, const IcmpTryResult& result) override;
  void OnIcmpErrorText(std::uint16_t index, const std::string& text) override;
  void OnIcmpTryFailed(std::uint16_t index, const IcmpTryResult& result) override;
  void OnIcmpTry(std::uint16_t index, const std::string& text) override;
  void OnIcmpStatus(std::uint16_t index, const IcmpTryResult& result) override;
  void OnIcmpDone(std::uint16_t index, bool complete) override;
  void OnIcmpRawText(std::uint16_t index, const std::string& text) override;
  void OnIcmpRawReply(std::uint16_t index, const IcmpTryResult& result) override;
  void OnIcmpRawTryFailed(std::uint16_t index, const IcmpTryResult& result) override;
  void OnIcmpMessage(const std::string& text) override;

 private:
  void Deliver(const std::function<void()>& call);

  QObject* context_;
  IcmpListener& target_;
};

}  // namespace quenderlink
