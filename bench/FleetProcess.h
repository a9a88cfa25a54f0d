#pragma once

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "unitsim/UnitSimulator.h"

namespace quenderlink::bench {

// Unit `index` of a fleet on 127.<network>.0.0/16, 250 units to each third number.
inline std::string FleetAddress(int network, int index) {
  return "127." + std::to_string(network) + "." + std::to_string(index / 250) + "." + std::to_string(index % 250 + 1);
}

// `count` units on 127.<network>.x.y, each answering after `replyDelayMs`.
inline std::vector<unitsim::UnitConfig> DelayedFleet(int network, int count, int replyDelayMs) {
  std::vector<unitsim::UnitConfig> units(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    units[static_cast<std::size_t>(i)].address = FleetAddress(network, i);
    units[static_cast<std::size_t>(i)].faults.replyDelayMs = replyDelayMs;
  }
  return units;
}

// Serves the units from a child process, so that the CPU time measured in the
// benchmark is the measured program's alone. -1 when the fleet did not start.
inline pid_t StartFleetProcess(const std::vector<unitsim::UnitConfig>& units) {
  int ready[2];
  if (::pipe(ready) != 0) return -1;
  const pid_t child = ::fork();
  if (child == 0) {
    rlimit files{};
    ::getrlimit(RLIMIT_NOFILE, &files);
    files.rlim_cur = files.rlim_max;
    ::setrlimit(RLIMIT_NOFILE, &files);
    unitsim::UnitSimulator simulator(units);
    simulator.KeepRecords(false);
    std::string error;
    const char started = simulator.Start(error) ? 1 : 0;
    if (::write(ready[1], &started, 1) != 1 || !started) ::_exit(1);
    for (;;) ::pause();
  }
  char started = 0;
  const bool ok = ::read(ready[0], &started, 1) == 1 && started;
  ::close(ready[0]);
  ::close(ready[1]);
  return ok ? child : -1;
}

inline void StopFleetProcess(pid_t fleet) {
  ::kill(fleet, SIGKILL);
  ::waitpid(fleet, nullptr, 0);
}

inline double ProcessCpuSeconds() {
  timespec now{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

}  // namespace quenderlink::bench
