#pragma once

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/TempDir.h"

namespace quenderlink::testing {

struct CliResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

struct CliProcess {
  pid_t pid = -1;
};

// Runs quenderlink-cli with a temporary home, as a script would.
class CliRunner {
 public:
  const TempDir& home() const { return home_; }
  std::filesystem::path operator/(const std::string& name) const { return home_ / name; }

  CliResult Run(std::vector<std::string> arguments) const { return Finish(Start(std::move(arguments))); }

  // Starts the tool without waiting for it, for tests that signal it meanwhile.
  CliProcess Start(std::vector<std::string> arguments) const {
    arguments.insert(arguments.begin(), {QUENDERLINK_CLI_PATH, "--home", home_.path().string()});
    const pid_t child = ::fork();
    if (child == 0) {
      Redirect(output_ / "stdout", STDOUT_FILENO);
      Redirect(output_ / "stderr", STDERR_FILENO);
      std::vector<char*> argv;
      for (std::string& argument : arguments) argv.push_back(argument.data());
      argv.push_back(nullptr);
      ::execv(argv[0], argv.data());
      ::_exit(127);
    }
    return {child};
  }

  CliResult Finish(CliProcess process) const {
    int status = 0;
    ::waitpid(process.pid, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFileBytes(output_ / "stdout"),
            ReadFileBytes(output_ / "stderr")};
  }

 private:
  static void Redirect(const std::filesystem::path& file, int target) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ::dup2(fd, target);
    ::close(fd);
  }

  TempDir home_;
  TempDir output_;
};

}  // namespace quenderlink::testing
