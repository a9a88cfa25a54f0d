#include "terminal/TelnetCommandList.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <utility>

#include "core/DecimalText.h"
#include "core/Printf.h"

namespace quenderlink {
namespace {

constexpr char kMissing[] = "\x01missing";
constexpr char kNullEntry[] = "NULL";
constexpr char kSleep[] = "SLEEP-";

std::string Section(int list) { return Printf("TelnetCommand-%d", list); }

// Waits that long unless a stop is asked for first; false when it was.
bool Pause(std::chrono::milliseconds pause, std::stop_token stop) {
  std::mutex mutex;
  std::condition_variable_any never;
  std::unique_lock lock(mutex);
  return !never.wait_for(lock, stop, pause, [] { return false; }) && !stop.stop_requested();
}

}  // namespace

std::string TelnetCommandListName(IniSettingsFile& ini, int list) {
  const std::string section = Section(list);
  std::string name = ini.ReadString(section, "Name", kMissing);
  if (name != kMissing) return name;
  name = "Cmnd=????";
  (void)ini.WriteString(section, "Name", name);
  return name;
}

std::vector<std::string> LoadTelnetCommandList(IniSettingsFile& ini, int list) {
  const std::string section = Section(list);
  std::vector<std::string> commands;
  std::vector<std::pair<std::string, std::string>> missing;
  const IniDocument settings = ini.Contents();
  for (int k = 1; k <= kTelnetCommandsPerList; ++k) {
    const std::string command = settings.ReadString(section, Printf("Cmnd%d", k), kMissing);
    commands.push_back(command == kMissing ? std::string() : command);
    if (command == kMissing) missing.emplace_back(Printf("Cmnd%d", k), kNullEntry);
    if (settings.ReadString(section, Printf("Response%d", k), kMissing) == kMissing)
      missing.emplace_back(Printf("Response%d", k), kNullEntry);
  }
  if (!missing.empty()) (void)ini.WriteStrings(section, missing);
  return commands;
}

std::vector<TelnetCommandStep> TelnetCommandSteps(const std::vector<std::string>& commands) {
  std::vector<TelnetCommandStep> steps;
  for (const std::string& command : commands) {
    if (command.empty() || command == kNullEntry) continue;
    if (const auto sleep = command.find(kSleep); sleep != std::string::npos)
      steps.push_back({{}, std::chrono::milliseconds(LeadingDecimal(command.substr(sleep + sizeof kSleep - 1)))});
    else
      steps.push_back({command, {}});
  }
  return steps;
}

void RunTelnetCommands(const std::vector<std::string>& commands, const std::function<bool(const std::string&)>& send,
                       std::stop_token stop) {
  for (const TelnetCommandStep& step : TelnetCommandSteps(commands)) {
    if (stop.stop_requested()) return;
    if (step.command.empty()) {
      if (!Pause(step.pause, stop)) return;
      continue;
    }
    if (!send(step.command)) return;
  }
}

}  // namespace quenderlink
