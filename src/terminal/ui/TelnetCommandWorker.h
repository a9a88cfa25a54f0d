#pragma once

#include <QObject>

#include <functional>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

namespace quenderlink {

// Runs a command list on a worker thread, its pauses included, while the
// window stays live. The worker never touches the socket: each command is
// handed to this object's thread, which sends it through `send` (adding the
// line end) unless the list was stopped meanwhile.
class TelnetCommandWorker : public QObject {
 public:
  using Send = std::function<bool(const std::string& command)>;

  explicit TelnetCommandWorker(Send send, QObject* parent = nullptr);
  // Stops a list still running and waits for its worker.
  ~TelnetCommandWorker() override;

  // A list still running is stopped first.
  void Start(std::vector<std::string> commands);
  // Asks the list to stop; nothing more of it goes out.
  void Stop() { stop_.request_stop(); }
  // Stops the list and waits for its worker.
  void Finish();
  // Whether a list is still going out (its pauses included).
  bool running() const { return !done_; }

 private:
  Send send_;
  std::stop_source stop_;
  std::thread worker_;
  // Set on this object's thread, as the worker's last call.
  bool done_ = true;
};

}  // namespace quenderlink
