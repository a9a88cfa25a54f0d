#include "terminal/ui/TelnetCommandWorker.h"

#include "terminal/TelnetCommandList.h"
#include "workers/ui/UiThreadCalls.h"

namespace quenderlink {

TelnetCommandWorker::TelnetCommandWorker(Send send, QObject* parent) : QObject(parent), send_(std::move(send)) {}

TelnetCommandWorker::~TelnetCommandWorker() { Finish(); }

void TelnetCommandWorker::Start(std::vector<std::string> commands) {
  Finish();
  stop_ = std::stop_source();
  done_ = false;
  worker_ = std::thread([this, commands = std::move(commands), stop = stop_.get_token()] {
    RunTelnetCommands(
        commands,
        [this, &stop](const std::string& command) {
          bool sent = false;
          CallOnThreadOf(this, [&] { sent = !stop.stop_requested() && send_(command); });
          return sent;
        },
        stop);
    // Its last call, so that the wait in Finish wakes up.
    CallOnThreadOf(this, [this] { done_ = true; });
  });
}

void TelnetCommandWorker::Finish() {
  Stop();
  JoinServingCalls(worker_, [this] { return done_; });
}

}  // namespace quenderlink
