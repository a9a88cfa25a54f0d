#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/Result.h"
#include "terminal/CaptureFile.h"
#include "terminal/TerminalText.h"

namespace quenderlink {

// What a session tells its terminal. Texts come with '\n' line breaks.
class TelnetSessionListener {
 public:
  virtual ~TelnetSessionListener() = default;

  // The session's own messages and what the unit sent, in order.
  virtual void OnTerminalText(const std::string& text) = 0;
  // Connected now, or not any more (the connect failed, the unit closed, a disconnect).
  virtual void OnConnectionChanged(bool connected) = 0;
};

// A held key repeats a typed character at most this many times, on the wire and in the echo.
inline constexpr int kMaxKeyRepeat = 250;

// What may wait for a unit that has stopped reading; more is refused.
inline constexpr std::size_t kMaxUnsentBytes = std::size_t{1} << 20;

// Where a session connects: the site's host text names it in messages, its
// address by number is connected to.
struct TelnetTarget {
  std::string host;
  std::string address;
  std::uint16_t port = 0;
};

// A plain TCP terminal connection to a unit, without a window: the owner
// watches `fd()` (for writing while connecting or while sent bytes wait, for
// reading while connected) and calls back, and keeps the time of the connect's deadline and of the
// disconnect's pause. No telnet option is negotiated: what the unit sends is
// shown as it comes, its NUL bytes dropped, and captured as shown.
class TelnetSession {
 public:
  enum class State { Idle, Connecting, Connected, Closing };

  TelnetSession(TelnetTarget target, std::uint8_t railroadCode, TelnetSessionListener& listener,
                std::chrono::milliseconds connectTimeout = std::chrono::seconds(20));
  ~TelnetSession();
  TelnetSession(const TelnetSession&) = delete;
  TelnetSession& operator=(const TelnetSession&) = delete;

  // Starts connecting; a failure known at once is reported at once.
  void Connect();
  // The socket became writable while connecting: the connect's result.
  void OnConnectReady();
  // No result by the deadline.
  void OnConnectTimeout();
  // Data (or the unit's close) is waiting.
  void OnReadable();

  // The socket has room again for what waits to be sent.
  void OnWritable();

  // Sends the bytes, or queues what the socket cannot take now; false when not
  // connected, the send failed, or kMaxUnsentBytes already wait (then the
  // terminal is told, once until the queue has gone out).
  [[nodiscard]] bool Send(std::string_view bytes);
  // A typed character, repeated as the key repeats, at most kMaxKeyRepeat times.
  [[nodiscard]] bool SendTyped(char character, int repeatCount);

  // The disconnect: "BYE" goes out now; Close follows after the pause.
  void SendBye();
  void Close();

  // Captures what is shown into `file` from now on (replacing it), besides any
  // capture already running. A failure's reason is also shown in the terminal.
  Result CaptureTo(const std::filesystem::path& file);

  int fd() const { return fd_; }
  State state() const { return state_; }
  bool connected() const { return state_ == State::Connected; }
  // Bytes wait for the socket to take them.
  bool hasUnsent() const { return !unsent_.empty(); }
  std::chrono::steady_clock::time_point connectDeadline() const { return connectDeadline_; }
  std::uint64_t bytesReceived() const { return bytesReceived_; }
  // The system error of the last connect that failed (ConnectErrorText words it); 0 when none did.
  int connectError() const { return connectError_; }
  std::vector<std::filesystem::path> capturePaths() const;

 private:
  void Show(std::string_view sessionText);
  void ShowReceived(std::string_view bytes);
  void FailConnect(int error);
  void Connected();
  void Offline(bool withError);
  void Drop();
  bool Flush();

  TelnetTarget target_;
  std::uint8_t railroadCode_;
  TelnetSessionListener& listener_;
  std::chrono::milliseconds connectTimeout_;
  std::chrono::steady_clock::time_point connectDeadline_{};
  int fd_ = -1;
  State state_ = State::Idle;
  TerminalText received_;
  std::vector<std::unique_ptr<CaptureFile>> captures_;
  std::uint64_t bytesReceived_ = 0;
  int connectError_ = 0;
  std::string unsent_;
  bool refusalShown_ = false;
};

}  // namespace quenderlink
