#include "survey/IcmpScanMethod.h"

#include "net/IcmpJob.h"

namespace quenderlink {

std::string IcmpScanTitle(IcmpScanMode mode) {
  switch (mode) {
    case IcmpScanMode::SystemLibrary: return "ICMP Use Datagram Sockets";
    case IcmpScanMode::RawSockets: return "ICMP Use Raw Socket";
    case IcmpScanMode::ListedSites: return "ICMP Cadmarin's";
    case IcmpScanMode::RoundTrip: return "ICMP Growing-TTL RTT";
  }
  return {};
}

const char* IcmpMethodWord(IcmpScanMode mode) {
  switch (mode) {
    case IcmpScanMode::SystemLibrary: return "library";
    case IcmpScanMode::RawSockets:
    case IcmpScanMode::ListedSites: return "raw";
    case IcmpScanMode::RoundTrip: return "route";
  }
  return "";
}

bool CanPingWith(IcmpScanMode mode) {
  switch (mode) {
    case IcmpScanMode::SystemLibrary: return static_cast<bool>(CanOpenLibraryIcmp());
    case IcmpScanMode::RawSockets:
    case IcmpScanMode::ListedSites: return static_cast<bool>(CanOpenRawIcmp());
    case IcmpScanMode::RoundTrip: return true;
  }
  return true;
}

std::string IcmpAccessFailureText(IcmpScanMode mode) {
  if (mode == IcmpScanMode::SystemLibrary)
    return "ERROR:\nFAILED to open an ICMP socket.\nPlease start the program as root\n"
           "or set net.ipv4.ping_group_range to include your group\n";
  return "ERROR:\nFAILED to open Raw Socket.\nPlease start the program as root\n"
         "or give it the cap_net_raw capability\n";
}

}  // namespace quenderlink
