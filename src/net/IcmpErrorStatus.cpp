#include "net/IcmpErrorStatus.h"

#include <netinet/ip_icmp.h>

#include <cerrno>

namespace quenderlink {

std::uint32_t IcmpErrorStatus(std::uint8_t type, std::uint8_t code) {
  switch (type) {
    case ICMP_DEST_UNREACH:
      switch (code) {
        case ICMP_NET_UNREACH: return 11002;
        case ICMP_HOST_UNREACH: return 11003;
        case ICMP_PROT_UNREACH: return 11004;
        case ICMP_PORT_UNREACH: return 11005;
        case ICMP_FRAG_NEEDED: return 11009;
        default: return kIcmpStatusGeneralFailure;
      }
    case ICMP_TIME_EXCEEDED:
      return code == ICMP_EXC_FRAGTIME ? 11014 : kIcmpStatusTimeExceededInTransit;
    case ICMP_PARAMETERPROB: return 11015;
    case ICMP_SOURCE_QUENCH: return 11016;
    default: return kIcmpStatusGeneralFailure;
  }
}

std::uint32_t LocalErrorStatus(int error) {
  switch (error) {
    case ENETUNREACH: return 11002;
    case EHOSTUNREACH: return 11003;
    case EMSGSIZE: return 11009;
    case ENOBUFS:
    case ENOMEM: return kIcmpStatusNoResources;
    default: return kIcmpStatusGeneralFailure;
  }
}

}  // namespace quenderlink
