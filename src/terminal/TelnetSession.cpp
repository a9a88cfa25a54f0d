#include "terminal/TelnetSession.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "core/Lookups.h"
#include "core/Printf.h"
#include "terminal/ConnectErrorText.h"

namespace quenderlink {
namespace {

constexpr std::size_t kReceiveBlock = 4096;
// Blocks taken per readable event: a burst is shown in large pieces, and other events still get their turn.
constexpr int kBlocksPerEvent = 16;
constexpr char kMenuCommand[] = "*MENU*\r\n";
constexpr char kBye[] = "BYE\r\n";

int LastError() { return errno; }

}  // namespace

TelnetSession::TelnetSession(TelnetTarget target, std::uint8_t railroadCode, TelnetSessionListener& listener,
                             std::chrono::milliseconds connectTimeout)
    : target_(std::move(target)), railroadCode_(railroadCode), listener_(listener), connectTimeout_(connectTimeout) {}

TelnetSession::~TelnetSession() {
  if (fd_ >= 0) ::close(fd_);
}

void TelnetSession::Show(std::string_view sessionText) {
  // The session's own texts end their lines as the unit's do; each is whole.
  TerminalText lines;
  listener_.OnTerminalText(lines.Feed(sessionText));
}

void TelnetSession::ShowReceived(std::string_view bytes) {
  bytesReceived_ += bytes.size();
  const std::string shown = received_.Feed(bytes);
  if (shown.empty()) return;
  listener_.OnTerminalText(shown);
  for (auto& capture : captures_)
    if (const Result written = capture->Write(shown); !written) Show("\r\n***** " + written.reason() + "\r\n");
}

void TelnetSession::Connect() {
  if (state_ != State::Idle) return;
  connectError_ = 0;
  Show(Printf("\r\nConnecting to %s (%s) Port %d\r\n", target_.host.c_str(), target_.address.c_str(), target_.port));
  Show("Please Wait .. .. ..\r\n");
  sockaddr_in unit{};
  unit.sin_family = AF_INET;
  unit.sin_port = htons(target_.port);
  if (::inet_pton(AF_INET, target_.address.c_str(), &unit.sin_addr) != 1) return FailConnect(EDESTADDRREQ);
  fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd_ < 0) return FailConnect(LastError());
  state_ = State::Connecting;
  connectDeadline_ = std::chrono::steady_clock::now() + connectTimeout_;
  if (::connect(fd_, reinterpret_cast<const sockaddr*>(&unit), sizeof unit) == 0) return Connected();
  if (errno != EINPROGRESS) FailConnect(LastError());
}

void TelnetSession::OnConnectReady() {
  if (state_ != State::Connecting) return;
  int error = 0;
  socklen_t length = sizeof error;
  if (::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &length) != 0) error = LastError();
  if (error != 0) return FailConnect(error);
  Connected();
}

void TelnetSession::OnConnectTimeout() {
  if (state_ == State::Connecting) FailConnect(ETIMEDOUT);
}

void TelnetSession::FailConnect(int error) {
  connectError_ = error;
  Show("\r\n************");
  Show(Printf("\r\n***** ERROR: FAILED TO CONNECT TO %s Port %d", target_.address.c_str(), target_.port));
  Show("\r\n***** Msg:   " + ConnectErrorText(error));
  Show("\r\n************\r\n");
  Drop();
  listener_.OnConnectionChanged(false);
}

void TelnetSession::Connected() {
  state_ = State::Connected;
  Show("\r\n**************");
  Show(Printf("\r\n***** Success: Connected to %s Port %d", target_.address.c_str(), target_.port));
  Show("\r\n**************\r\n");
  listener_.OnConnectionChanged(true);
  if (railroadCode_ == kRailroadNs) (void)Send(kMenuCommand);
}

void TelnetSession::OnReadable() {
  if (state_ != State::Connected && state_ != State::Closing) return;
  char block[kReceiveBlock];
  for (int taken = 0; taken < kBlocksPerEvent; ++taken) {
    const ssize_t received = ::recv(fd_, block, sizeof block, 0);
    if (received > 0) {
      ShowReceived({block, static_cast<std::size_t>(received)});
      continue;
    }
    if (received < 0 && (errno == EAGAIN || errno == EINTR)) return;
    // While disconnecting the unit's goodbye is expected: no off-line message.
    if (state_ == State::Closing) {
      Drop();
      listener_.OnConnectionChanged(false);
      return;
    }
    return Offline(received < 0);
  }
}

void TelnetSession::Offline(bool withError) {
  if (withError) {
    Show("\r\n************");
    Show("\r\n***** OFF-LINE!!!!!!");
    Show("\r\n************\r\n");
  } else {
    Show("\r\n**************");
    Show("\r\n***** OFF-LINE!");
    Show("\r\n**************\r\n");
  }
  Drop();
  listener_.OnConnectionChanged(false);
}

bool TelnetSession::Send(std::string_view bytes) {
  if (state_ != State::Connected) return false;
  if (unsent_.size() + bytes.size() > kMaxUnsentBytes) {
    if (!refusalShown_)
      Show(Printf("\r\n***** NOT SENT: the unit has not taken the last %d KiB sent to it\r\n",
                  static_cast<int>(unsent_.size() / 1024)));
    refusalShown_ = true;
    return false;
  }
  unsent_.append(bytes);
  return Flush();
}

// Writes what the socket takes now; the rest waits for OnWritable. The window
// never waits for a unit that has stopped reading.
bool TelnetSession::Flush() {
  while (!unsent_.empty()) {
    const ssize_t sent = ::send(fd_, unsent_.data(), unsent_.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    if (sent > 0) {
      unsent_.erase(0, static_cast<std::size_t>(sent));
      continue;
    }
    if (sent < 0 && errno == EINTR) continue;
    if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return true;
    unsent_.clear();
    return false;
  }
  refusalShown_ = false;
  return true;
}

void TelnetSession::OnWritable() {
  if (state_ == State::Connected || state_ == State::Closing) (void)Flush();
}

bool TelnetSession::SendTyped(char character, int repeatCount) {
  return Send(std::string(static_cast<std::size_t>(std::clamp(repeatCount, 1, kMaxKeyRepeat)), character));
}

void TelnetSession::SendBye() {
  if (state_ != State::Connected) return;
  (void)Send(kBye);
  state_ = State::Closing;
}

void TelnetSession::Close() {
  if (fd_ >= 0) ::shutdown(fd_, SHUT_RDWR);
  const bool wasConnected = state_ != State::Idle;
  Drop();
  if (wasConnected) listener_.OnConnectionChanged(false);
}

void TelnetSession::Drop() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  state_ = State::Idle;
  unsent_.clear();
  refusalShown_ = false;
}

Result TelnetSession::CaptureTo(const std::filesystem::path& file) {
  auto capture = std::make_unique<CaptureFile>();
  Result opened = capture->Open(file);
  if (!opened) {
    Show("\r\n***** " + opened.reason() + "\r\n");
    return opened;
  }
  captures_.push_back(std::move(capture));
  return {};
}

std::vector<std::filesystem::path> TelnetSession::capturePaths() const {
  std::vector<std::filesystem::path> paths;
  for (const auto& capture : captures_)
    if (capture->isOpen()) paths.push_back(capture->path());
  return paths;
}

}  // namespace quenderlink
