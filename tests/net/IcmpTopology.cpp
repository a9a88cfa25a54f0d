#include "net/IcmpTopology.h"

#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace quenderlink::testing {

namespace {

std::string RouterName(int owner) { return "qlk" + std::to_string(owner) + "r"; }
std::string HostsName(int owner) { return "qlk" + std::to_string(owner) + "h"; }

void Delete(const std::string& name) { (void)std::system(("ip netns del " + name + " 2>/dev/null").c_str()); }

}  // namespace

IcmpTopology::IcmpTopology() : router_(RouterName(::getpid())), hosts_(HostsName(::getpid())) {
  const std::string r = "ip -n " + router_ + " ";
  const std::string h = "ip -n " + hosts_ + " ";
  const std::string inRouter = "ip netns exec " + router_ + " sh -c ";
  const std::string inHosts = "ip netns exec " + hosts_ + " sh -c ";
  if (!Run("ip netns add " + router_) || !Run("ip netns add " + hosts_)) return;
  const std::vector<std::string> commands = {
      "ip link add qc0 type veth peer name qr0 netns " + router_,
      r + "link add qr1 type veth peer name qh0 netns " + hosts_,
      "ip addr add 10.201.0.2/24 dev qc0",
      "ip link set qc0 up",
      "ip route add default via 10.201.0.1",
      r + "addr add 10.201.0.1/24 dev qr0",
      r + "addr add 10.202.0.1/24 dev qr1",
      r + "link set lo up",
      r + "link set qr0 up",
      r + "link set qr1 mtu 576 up",
      r + "route add 10.203.0.0/24 via 10.202.0.2",
      // No ICMP error may be held back by a rate limit: the tests count on each one.
      inRouter +
          "'echo 1 > /proc/sys/net/ipv4/ip_forward && echo 0 > /proc/sys/net/ipv4/icmp_ratelimit && "
          "echo 100 > /proc/sys/net/ipv4/neigh/qr1/retrans_time_ms'",
      h + "addr add 10.202.0.2/24 dev qh0",
      h + "link set lo up",
      h + "link set qh0 mtu 576 up",
      h + "route add default via 10.202.0.1",
      inHosts + "'echo 0 > /proc/sys/net/ipv4/icmp_ratelimit'",
  };
  for (const std::string& command : commands)
    if (!Run(command)) return;
}

IcmpTopology::~IcmpTopology() {
  Delete(hosts_);
  Delete(router_);
}

bool IcmpTopology::Run(const std::string& command) {
  if (std::system((command + " >/dev/null 2>&1").c_str()) == 0) return true;
  if (failure_.empty()) failure_ = "failed: " + command;
  return false;
}

bool IcmpTopology::InHosts(const std::string& command) const {
  return std::system(("ip netns exec " + hosts_ + " " + command + " >/dev/null 2>&1").c_str()) == 0;
}

void IcmpTopology::RemoveLeftovers(int owner) {
  Delete(HostsName(owner));
  Delete(RouterName(owner));
}

}  // namespace quenderlink::testing
