#pragma once

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/FixedText.h"
#include "core/SiteRecord.h"
#include "unitsim/UnitSimulator.h"

namespace quenderlink::bench {

// Unit `index` of a fleet on 127.<network>.0.0/16, 255 units to each third
// number, so that a network holds the 65,000 sites a site list can number.
inline std::string FleetAddress(int network, int index) {
  return "127." + std::to_string(network) + "." + std::to_string(index / 255) + "." + std::to_string(index % 255 + 1);
}

// `count` units on 127.<network>.x.y, each answering after `replyDelayMs` and
// losing each reply with the probability `dropProbability`.
inline std::vector<unitsim::UnitConfig> DelayedFleet(int network, int count, int replyDelayMs,
                                                     double dropProbability = 0.0) {
  std::vector<unitsim::UnitConfig> units(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    units[static_cast<std::size_t>(i)].address = FleetAddress(network, i);
    units[static_cast<std::size_t>(i)].faults.replyDelayMs = replyDelayMs;
    units[static_cast<std::size_t>(i)].faults.dropProbability = dropProbability;
  }
  return units;
}

// A site record for each unit of such a fleet, numbered from 1 and marked for a ping run.
inline std::vector<SiteRecord> MarkedFleetSites(int network, int count) {
  std::vector<SiteRecord> records(static_cast<std::size_t>(count), NewSiteRecord(9001));
  for (int i = 0; i < count; ++i) {
    SiteRecord& site = records[static_cast<std::size_t>(i)];
    SetFieldText(site.HostText, FleetAddress(network, i));
    SetFieldText(site.IpByNumber, FleetAddress(network, i));
    site.RowNumber = static_cast<std::uint16_t>(i + 1);
    site.SiteFlags = kFlagMarked;
  }
  return records;
}

// Serves the units from child processes, so that the CPU time measured in the
// benchmark is the measured program's alone; a child serves at most
// kUnitsPerProcess units, each on a socket of its own, to stay within the
// open-file limit a process may have. Stops them when it goes.
class FleetProcesses {
 public:
  static constexpr std::size_t kUnitsPerProcess = 15000;

  explicit FleetProcesses(const std::vector<unitsim::UnitConfig>& units) {
    for (std::size_t first = 0; first < units.size(); first += kUnitsPerProcess) {
      const auto end = units.begin() + static_cast<std::ptrdiff_t>(std::min(units.size(), first + kUnitsPerProcess));
      const pid_t child = StartOne({units.begin() + static_cast<std::ptrdiff_t>(first), end});
      if (child < 0) {
        started_ = false;
        return;
      }
      children_.push_back(child);
    }
  }
  ~FleetProcesses() {
    for (const pid_t child : children_) {
      ::kill(child, SIGKILL);
      ::waitpid(child, nullptr, 0);
    }
  }
  FleetProcesses(const FleetProcesses&) = delete;
  FleetProcesses& operator=(const FleetProcesses&) = delete;

  bool started() const { return started_; }

 private:
  static pid_t StartOne(const std::vector<unitsim::UnitConfig>& units) {
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
      if (!started) std::fprintf(stderr, "the simulated fleet: %s\n", error.c_str());
      if (::write(ready[1], &started, 1) != 1 || !started) ::_exit(1);
      for (;;) ::pause();
    }
    char started = 0;
    const bool ok = ::read(ready[0], &started, 1) == 1 && started;
    ::close(ready[0]);
    ::close(ready[1]);
    return ok ? child : -1;
  }

  std::vector<pid_t> children_;
  bool started_ = true;
};

// The process's resident memory, in kB, as the kernel counts it.
inline long ResidentKb() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.starts_with("VmRSS:")) return std::stol(line.substr(6));
  return -1;
}

inline int OpenDescriptors() {
  int count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) ++count;
  return count;
}

inline double ProcessCpuSeconds() {
  timespec now{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

}  // namespace quenderlink::bench
