#include "net/ChildNamespace.h"

#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace quenderlink::testing {

bool EnterOwnNetworkNamespace() {
  if (::unshare(CLONE_NEWNET) != 0) return false;
  std::ofstream pingGroups("/proc/sys/net/ipv4/ping_group_range");
  if (!(pingGroups << "0 2147483647" << std::flush)) return false;
  return std::system("ip link set lo up") == 0;
}

int RunInOwnNetworkNamespace(const std::function<int()>& body, const std::function<void(int)>& afterChild) {
  std::fflush(nullptr);
  const pid_t child = ::fork();
  if (child < 0) return -1;
  if (child == 0) {
    if (!EnterOwnNetworkNamespace()) ::_exit(kCannotUnshare);
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
