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

// Runs quenderlink-cli with a temporary home, as a script would.
class CliRunner {
 public:
  const TempDir& home() const { return home_; }
  std::filesystem::path operator/(const std::string& name) const { return home_ / name; }

  CliResult Run(std::vector<std::string> arguments) const {
    arguments.insert(arguments.begin(), {QUENDERLINK_CLI_PATH, "--home", home_.path().string()});
    const std::filesystem::path outPath = output_ / "stdout";
    const std::filesystem::path errPath = output_ / "stderr";
    const pid_t child = ::fork();
    if (child == 0) {
      Redirect(outPath, STDOUT_FILENO);
      Redirect(errPath, STDERR_FILENO);
      std::vector<char*> argv;
      for (std::string& argument : arguments) argv.push_back(argument.data());
      argv.push_back(nullptr);
      ::execv(argv[0], argv.data());
      ::_exit(127);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFileBytes(outPath), ReadFileBytes(errPath)};
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
