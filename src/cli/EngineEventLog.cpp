#include "cli/EngineEventLog.h"

#include <nlohmann/json.hpp>
#include <ostream>

namespace quenderlink::cli {

std::string EngineEventJson(std::chrono::steady_clock::time_point start, int message, std::size_t id, long long value,
                            const std::string& text) {
  const auto elapsed = std::chrono::steady_clock::now() - start;
  nlohmann::ordered_json line{{"ms", std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count()},
                              {"msg", message},
                              {"row", id},
                              {"value", value}};
  if (!text.empty()) line["text"] = text;
  return line.dump();
}

EngineEventLog::EngineEventLog(PingEngineListener& next, std::ostream& out)
    : next_(next), out_(out), start_(std::chrono::steady_clock::now()) {}

void EngineEventLog::Print(int message, std::size_t id, long long value) {
  out_ << EngineEventJson(start_, message, id, value) << '\n' << std::flush;
}

void EngineEventLog::OnPingSent(std::size_t id, int tries) {
  Print(WM_PING_SENT, id, tries);
  next_.OnPingSent(id, tries);
}

void EngineEventLog::OnPingReply(std::size_t id, const ReplyNotice& notice) {
  // The site engine stamps the reply with its limited tenths; the range engine
  // leaves that 0, and the notice's own count since the first send stands.
  const int tenths = notice.reply->ReplyTenths != 0 ? notice.reply->ReplyTenths : notice.tenths;
  Print(WM_PING_REPLY, id, tenths);
  next_.OnPingReply(id, notice);
}

void EngineEventLog::OnPingTimeout(std::size_t id, int tries) {
  Print(WM_PING_TIMEOUT, id, tries);
  next_.OnPingTimeout(id, tries);
}

void EngineEventLog::OnPingFailed(std::size_t id, int tries) {
  Print(WM_PING_FAILED, id, tries);
  next_.OnPingFailed(id, tries);
}

void EngineEventLog::OnPingStarted() {
  Print(WM_PING_STARTED, 0, 0);
  next_.OnPingStarted();
}

void EngineEventLog::OnPingFinished() {
  Print(WM_PING_FINISHED, 0, 0);
  next_.OnPingFinished();
}

void EngineEventLog::OnPingBadAddress(std::uint16_t row) {
  Print(WM_PING_BAD_ADDRESS, row, 0);
  next_.OnPingBadAddress(row);
}

void EngineEventLog::OnResetConfirmed(std::uint16_t row, const ReplyNotice& notice) {
  Print(WM_RESET_CONFIRMED, row, notice.reply->ReplyTenths);
  next_.OnResetConfirmed(row, notice);
}

void EngineEventLog::OnEngineMessage(const std::string& text) { next_.OnEngineMessage(text); }

}  // namespace quenderlink::cli
