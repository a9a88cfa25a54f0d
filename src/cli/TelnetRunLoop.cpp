#include "cli/TelnetRunLoop.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "cli/StopSignals.h"

namespace quenderlink::cli {
namespace {

int MillisecondsUntil(TelnetClock::time_point deadline, TelnetClock::time_point now) {
  if (deadline == TelnetClock::time_point::max()) return -1;
  const auto wait = std::chrono::ceil<std::chrono::milliseconds>(deadline - now).count();
  return static_cast<int>(std::clamp<decltype(wait)>(wait, 0, 24 * 3600 * 1000));
}

}  // namespace

bool RunTelnetUnits(const std::vector<std::unique_ptr<TelnetUnit>>& units, std::size_t maxParallel,
                    const std::function<void(const TelnetUnit&)>& finished) {
  StopSignals signals;
  const std::size_t slots = std::max<std::size_t>(maxParallel, 1);
  bool stopped = false;
  std::size_t started = 0;
  std::vector<TelnetUnit*> active;
  std::vector<pollfd> watched;
  for (;;) {
    const auto now = TelnetClock::now();
    std::erase_if(active, [&](TelnetUnit* unit) {
      if (unit->done()) finished(*unit);
      return unit->done();
    });
    while (!stopped && active.size() < slots && started < units.size()) {
      TelnetUnit& unit = *units[started++];
      unit.Start(now);
      if (unit.done())
        finished(unit);
      else
        active.push_back(&unit);
    }
    if (active.empty()) break;

    watched.assign(1, {signals.fd(), POLLIN, 0});
    auto deadline = TelnetClock::time_point::max();
    for (TelnetUnit* unit : active) {
      watched.push_back(unit->watch());
      deadline = std::min(deadline, unit->deadline());
    }
    if (::poll(watched.data(), watched.size(), MillisecondsUntil(deadline, TelnetClock::now())) < 0 && errno != EINTR)
      throw std::system_error(errno, std::generic_category(), "poll");

    const auto ready = TelnetClock::now();
    // Before a stop, so that a connect completed meanwhile counts and gets its "BYE".
    for (std::size_t i = 0; i < active.size(); ++i)
      if (watched[i + 1].revents != 0) active[i]->OnReady(ready);
    if (watched[0].revents != 0 && signals.Take() && !stopped) {
      stopped = true;
      for (TelnetUnit* unit : active) unit->Stop(ready);
      for (; started < units.size(); ++started) {
        units[started]->Stop(ready);
        finished(*units[started]);
      }
    }
    for (TelnetUnit* unit : active) unit->Advance(ready);
  }
  return stopped;
}

}  // namespace quenderlink::cli
