#pragma once

#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

namespace quenderlink::testing {

// The exit code of a child that could not make its mount namespace.
inline constexpr int kNoSmallDisk = 77;

// A disk of a few kilobytes in a child process of its own: a tmpfs mounted on
// `folder` in a private mount namespace, so filling it or making it read-only
// touches nothing outside the child. The child exits with what `body` returns.
class SmallDisk {
 public:
  explicit SmallDisk(std::filesystem::path folder) : folder_(std::move(folder)) {}

  // The child's exit code: kNoSmallDisk when it could not be set up, -1 when it did not end normally.
  int Run(const std::function<int(SmallDisk&)>& body) {
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child < 0) return -1;
    if (child == 0) {
      if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
          ::mount("tmpfs", folder_.c_str(), "tmpfs", 0, "size=256k") != 0)
        ::_exit(kNoSmallDisk);
      const int code = body(*this);
      std::fflush(nullptr);
      ::_exit(code);
    }
    int status = 0;
    return ::waitpid(child, &status, 0) == child && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  // Takes every byte still free.
  void Fill() {
    std::ofstream filler(folder_ / ".filler", std::ios::binary);
    const std::string block(4096, 'x');
    while (filler.write(block.data(), static_cast<std::streamsize>(block.size())) && filler.flush()) {
    }
    filler.clear();
    for (int byte = 0; byte < 4096 && filler.put('x') && filler.flush(); ++byte) {
    }
  }
  [[nodiscard]] bool MakeReadOnly() {
    return ::mount(nullptr, folder_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
  }

 private:
  std::filesystem::path folder_;
};

}  // namespace quenderlink::testing
