#pragma once

#include <chrono>
#include <functional>
#include <stop_token>
#include <string>
#include <vector>

#include "core/IniSettingsFile.h"

namespace quenderlink {

inline constexpr int kTelnetCommandsPerList = 20;

// The label of command list `list` (1 or 2): its "Name" key in section
// "TelnetCommand-<list>". A missing name is written as "Cmnd=????" and used.
std::string TelnetCommandListName(IniSettingsFile& ini, int list);

// The 20 commands of list `list`, in order. Missing "Cmnd<k>" and
// "Response<k>" keys are written as "NULL" and read as empty this time.
std::vector<std::string> LoadTelnetCommandList(IniSettingsFile& ini, int list);

// One entry of a command list as it is carried out: a command to send, or
// (with no command) a pause.
struct TelnetCommandStep {
  std::string command;
  std::chrono::milliseconds pause{0};
};

// The entries to carry out, in order: empty and "NULL" entries are dropped, an
// entry holding "SLEEP-<ms>" is a pause that long.
std::vector<TelnetCommandStep> TelnetCommandSteps(const std::vector<std::string>& commands);

// Sends the commands in order through `send` (which adds the line end): empty
// and "NULL" entries are skipped, an entry holding "SLEEP-<ms>" pauses that
// long. Ends early when `stop` is requested or `send` fails (not connected).
void RunTelnetCommands(const std::vector<std::string>& commands, const std::function<bool(const std::string&)>& send,
                       std::stop_token stop);

}  // namespace quenderlink
