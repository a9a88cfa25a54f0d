#pragma once

#include <functional>

namespace quenderlink::testing {

// The exit code of a child that could not make its network namespace.
inline constexpr int kCannotUnshare = 77;

// Moves the calling process into a network namespace of its own, brings its
// loopback up and opens the datagram ICMP socket to every group; false when
// it cannot.
[[nodiscard]] bool EnterOwnNetworkNamespace();

// Forks a child that enters a network namespace of its own (as above) and
// exits with what `body` returns. Returns the child's exit code
// (kCannotUnshare when it could not set itself up, -1 when it did not end
// normally); `afterChild`, when given, runs in this process with the child's
// id once it has ended.
int RunInOwnNetworkNamespace(const std::function<int()>& body, const std::function<void(int)>& afterChild = {});

}  // namespace quenderlink::testing
