#pragma once

#include <string>
#include <vector>

namespace quenderlink::testing {

// A small routed network around the calling process, which must already sit in
// a network namespace of its own (the client's):
//
//   client 10.201.0.2 --- 10.201.0.1 router 10.202.0.1 --- 10.202.0.2 hosts
//
// The router forwards, sends its ICMP errors without a rate limit and gives up
// on a missing neighbour after 0.3 s; its link to the hosts has an MTU of 576.
// The client's default route and the router's route to 10.203.0.0/24 go
// onward; nothing routes 10.204.0.0/16. Router and hosts are named namespaces
// named after the building process, removed again by the destructor.
class IcmpTopology {
 public:
  static constexpr char kRouter[] = "10.201.0.1";
  static constexpr char kHost[] = "10.202.0.2";
  static constexpr char kAbsentHost[] = "10.202.0.99";

  IcmpTopology();
  ~IcmpTopology();
  IcmpTopology(const IcmpTopology&) = delete;
  IcmpTopology& operator=(const IcmpTopology&) = delete;

  // Empty when the topology stands, else what failed.
  [[nodiscard]] const std::string& failure() const { return failure_; }
  // Runs a command (a shell line) in the hosts' namespace; false when it fails.
  [[nodiscard]] bool InHosts(const std::string& command) const;

  // Removes what a process of id `owner` left behind (one that died before its
  // destructor ran).
  static void RemoveLeftovers(int owner);

 private:
  bool Run(const std::string& command);

  std::string router_;
  std::string hosts_;
  std::string failure_;
};

}  // namespace quenderlink::testing
