#pragma once

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include <chrono>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/TempDir.h"

namespace quenderlink::testing {

// The exit code of a tool's child whose set-up failed before the tool started.
inline constexpr int kChildSetupFailed = 77;

// Runs in the child, before the tool starts (e.g. a network namespace of its own); false ends the child.
using ChildSetup = std::function<bool()>;

struct CliResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// Runs quenderlink-cli with a temporary home, as a script would.
class CliRunner {
 public:
  const std::filesystem::path& home() const { return home_.path(); }
  std::filesystem::path operator/(const std::string& name) const { return home_ / name; }

  CliResult Run(std::vector<std::string> arguments, const ChildSetup& setup = {}) const {
    return Finish(Start(std::move(arguments), setup));
  }

  // Starts the tool without waiting for it, for tests that signal or watch it meanwhile.
  pid_t Start(std::vector<std::string> arguments, const ChildSetup& setup = {}) const {
    arguments.insert(arguments.begin(), {QUENDERLINK_CLI_PATH, "--home", home().string()});
    const pid_t child = ::fork();
    if (child == 0) {
      for (const auto& [name, target] : {std::pair{"stdout", STDOUT_FILENO}, std::pair{"stderr", STDERR_FILENO}})
        ::dup2(::open((output_ / name).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644), target);
      if (setup && !setup()) ::_exit(kChildSetupFailed);
      std::vector<char*> argv;
      for (std::string& argument : arguments) argv.push_back(argument.data());
      argv.push_back(nullptr);
      ::execv(argv[0], argv.data());
      ::_exit(127);
    }
    return child;
  }

  // Waits until a started tool has printed a whole line on its standard output; false after the limit.
  bool WaitForFirstLine(std::chrono::seconds limit) const {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (ReadFileBytes(output_ / "stdout").find('\n') == std::string::npos) {
      if (std::chrono::steady_clock::now() > end) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
  }

  CliResult Finish(pid_t child) const {
    int status = 0;
    ::waitpid(child, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFileBytes(output_ / "stdout"),
            ReadFileBytes(output_ / "stderr")};
  }

 private:
  TempDir home_;
  TempDir output_;
};

inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Each line of --json output as its object, keys in the order printed.
inline std::vector<nlohmann::ordered_json> JsonLines(const std::string& out) {
  std::vector<nlohmann::ordered_json> objects;
  for (const std::string& line : Lines(out)) objects.push_back(nlohmann::ordered_json::parse(line));
  return objects;
}

}  // namespace quenderlink::testing
