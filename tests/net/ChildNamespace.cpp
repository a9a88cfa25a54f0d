#include "net/ChildNamespace.h"

#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace quenderlink::testing {

namespace {

bool WriteProc(const char* path, const char* value) {
  std::ofstream file(path);
  return static_cast<bool>(file << value << std::flush);
}

}  // namespace

int RunInOwnNetworkNamespace(const std::function<int()>& body, const std::function<void(int)>& afterChild) {
  std::fflush(nullptr);
  const pid_t child = ::fork();
  if (child < 0) return -1;
  if (child == 0) {
    if (::unshare(CLONE_NEWNET) != 0) ::_exit(kCannotUnshare);
    if (!WriteProc("/proc/sys/net/ipv4/ping_group_range", "0 2147483647")) ::_exit(kCannotUnshare);
    if (std::system("ip link set lo up") != 0) ::_exit(kCannotUnshare);
    const int code = body();
    std::fflush(nullptr);
    ::_exit(code);
  }
  int status = 0;
  const bool waited = ::waitpid(child, &status, 0) == child;
  if (afterChild) afterChild(child);
  return waited && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace quenderlink::testing
