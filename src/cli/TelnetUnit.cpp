#include "cli/TelnetUnit.h"

#include <ctime>

#include "terminal/CaptureFile.h"
#include "terminal/ConnectErrorText.h"

namespace quenderlink::cli {
namespace {

constexpr std::chrono::seconds kCloseWait{1};

std::string PrefixOf(const std::optional<std::uint16_t>& row) {
  return row ? "[row " + std::to_string(*row) + "] " : std::string();
}

}  // namespace

TelnetUnit::TelnetUnit(TelnetUnitTarget unit, const TelnetRunPlan& plan, std::ostream& out)
    : unit_(std::move(unit)),
      plan_(plan),
      lines_(out, PrefixOf(unit_.row)),
      session_(unit_.target, plan.railroadCode, *this) {}

void TelnetUnit::Start(TelnetClock::time_point now) {
  if (phase_ != Phase::Waiting) return;
  if (unit_.target.address.empty()) {
    error_ = "Failed to convert DNS " + unit_.target.host + " to an IP address.";
    OnTerminalText(error_ + "\n");
    return Finish();
  }
  phase_ = Phase::Connecting;
  session_.Connect();
  Advance(now);
}

void TelnetUnit::Stop(TelnetClock::time_point now) {
  switch (phase_) {
    case Phase::Waiting: error_ = "stopped before connecting"; return Finish();
    case Phase::Connecting:
      session_.Close();
      error_ = "stopped while connecting";
      return Finish();
    case Phase::Sending:
    case Phase::Answering:
      session_.SendBye();
      phase_ = Phase::Closing;
      due_ = now + kCloseWait;
      return;
    case Phase::Closing:
    case Phase::Done: return;
  }
}

pollfd TelnetUnit::watch() const {
  if (phase_ == Phase::Waiting || phase_ == Phase::Done) return {-1, 0, 0};
  if (phase_ == Phase::Connecting) return {session_.fd(), POLLOUT, 0};
  // What the unit has not taken yet goes out when its socket has room.
  return {session_.fd(), static_cast<short>(session_.hasUnsent() ? POLLIN | POLLOUT : POLLIN), 0};
}

TelnetClock::time_point TelnetUnit::deadline() const {
  if (phase_ == Phase::Connecting) return session_.connectDeadline();
  if (phase_ == Phase::Waiting || phase_ == Phase::Done) return TelnetClock::time_point::max();
  return due_;
}

void TelnetUnit::OnReady(TelnetClock::time_point now) {
  if (phase_ == Phase::Waiting || phase_ == Phase::Done) return;
  if (phase_ == Phase::Connecting) {
    session_.OnConnectReady();
  } else {
    session_.OnWritable();
    session_.OnReadable();
  }
  Advance(now);
}

void TelnetUnit::Advance(TelnetClock::time_point now) {
  if (phase_ == Phase::Waiting || phase_ == Phase::Done) return;
  // The connect failed, the unit closed the connection, or it was closed here.
  if (session_.fd() < 0) return Finish();
  if (phase_ == Phase::Connecting) {
    if (!session_.connected()) {
      if (now < session_.connectDeadline()) return;
      session_.OnConnectTimeout();
      return Finish();
    }
    StartCommands(now);
  }
  while (phase_ == Phase::Sending && now >= due_) {
    if (nextStep_ == plan_.steps.size()) {
      commandsSent_ = true;
      phase_ = Phase::Answering;
      due_ = now + plan_.answerWait;
    } else if (const TelnetCommandStep& step = plan_.steps[nextStep_++]; step.command.empty()) {
      due_ = now + step.pause;
    } else if (!session_.Send(step.command + "\r\n")) {
      session_.Close();
      return Finish();
    }
  }
  if (phase_ == Phase::Answering && now >= due_) {
    session_.SendBye();
    phase_ = Phase::Closing;
    due_ = now + kCloseWait;
  }
  if (phase_ == Phase::Closing && now >= due_) {
    session_.Close();
    Finish();
  }
}

void TelnetUnit::StartCommands(TelnetClock::time_point now) {
  everConnected_ = true;
  if (plan_.captureHome) StartCapture();
  phase_ = Phase::Sending;
  due_ = now;
}

void TelnetUnit::StartCapture() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  ::localtime_r(&now, &local);
  std::filesystem::path file = CaptureFilePath(*plan_.captureHome, unit_.site, local);
  // Units on one milepost and track started in the same minute would otherwise share a file.
  if (unit_.row)
    file.replace_filename(file.stem().string() + "_R" + std::to_string(*unit_.row) + file.extension().string());
  // A file that cannot be opened is reported in the unit's text by the session.
  (void)session_.CaptureTo(file);
}

void TelnetUnit::Finish() {
  phase_ = Phase::Done;
  if (!everConnected_ && error_.empty()) error_ = ConnectErrorText(session_.connectError());
  lines_.Finish();
}

void TelnetUnit::OnTerminalText(const std::string& text) {
  if (plan_.printText) lines_.Feed(text);
}

std::optional<std::filesystem::path> TelnetUnit::capturePath() const {
  const std::vector<std::filesystem::path> paths = session_.capturePaths();
  if (paths.empty()) return std::nullopt;
  return paths.front();
}

}  // namespace quenderlink::cli
