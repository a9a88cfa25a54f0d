#include "unitsim/TerminalPages.h"

#include <algorithm>

#include "core/Lookups.h"
#include "core/Printf.h"
#include "core/VersionText.h"

namespace quenderlink::unitsim {
namespace {

constexpr auto kMinutesPerTrain = std::chrono::minutes(20);
constexpr int kMinutesBetweenEvents = 97;
constexpr std::size_t kLongestDumpLine = 64;

std::string Version(const UnitIdentity& identity) {
  return VersionText(identity.versionMajor, identity.versionMinor, identity.versionBuild.value_or(0),
                     identity.versionBuild.has_value());
}

std::string Product(const UnitIdentity& identity) { return ProductShortName(identity.productType); }

std::string UptimeText(std::chrono::seconds uptime) {
  const long long total = uptime.count();
  return Printf("%lld DAYS %02lld:%02lld:%02lld", total / 86400, total / 3600 % 24, total / 60 % 60, total % 60);
}

// Axle counts and speeds that vary from event to event but never from run to run.
int AxlesOf(int event) { return 24 + (event * 37) % 400; }
int SpeedOf(int event) { return 10 + (event * 13) % 60; }

std::string EventLine(int event) {
  // Now and then a train sets an alarm off, so that a log is not all alike.
  const std::string finding = event % 37 == 0 ? Printf("HOT BEARING AXLE %d R", 1 + event % AxlesOf(event))
                                               : std::string("NO DEFECTS");
  const int minute = event * kMinutesBetweenEvents;
  return Printf("%03d  DAY %03d %02d:%02d  TRAIN  AXLES %3d  SPEED %2d MPH  %s", event, 1 + minute / 1440,
                minute / 60 % 24, minute % 60, AxlesOf(event), SpeedOf(event), finding.c_str());
}

}  // namespace

std::string TerminalLine(std::string_view text) {
  std::string line(text);
  line += kLineEnd;
  return line;
}

std::string BannerLine(const UnitIdentity& identity) {
  return TerminalLine("*** " + identity.siteName + "  MP " + identity.milepost + "  " + Product(identity) + " " +
                      Version(identity) + " ***");
}

std::string MenuLines() {
  return TerminalLine("1 - Status") + TerminalLine("2 - Version") + TerminalLine("3 - Event Log") +
         TerminalLine("BYE - End Session");
}

std::string VersionLine(const UnitIdentity& identity) {
  return TerminalLine(Product(identity) + " VERSION " + Version(identity));
}

std::string StatusLines(const UnitIdentity& identity, std::chrono::seconds uptime) {
  const long long trains = uptime / kMinutesPerTrain;
  const long long earlierTrains = 1000 + identity.number % 9000;
  std::string page = TerminalLine("STATUS  " + identity.siteName + "  MP " + identity.milepost + "  TRACK " +
                                  identity.track);
  page += TerminalLine(identity.ready ? "MODE: NORMAL" : "MODE: POWER-UP");
  page += TerminalLine("RAILROAD: " + identity.railroad);
  page += TerminalLine("PROGRAM: " + Product(identity) + " " + Version(identity));
  page += TerminalLine("UPTIME: " + UptimeText(uptime));
  page += TerminalLine(Printf("TRAINS SINCE START: %lld", trains));
  page += TerminalLine(Printf("TRAINS TOTAL: %lld", earlierTrains + trains));
  page += TerminalLine(Printf("AXLES LAST TRAIN: %d", AxlesOf(static_cast<int>(earlierTrains + trains))));
  page += TerminalLine("ALARMS: NONE");
  page += TerminalLine("BATTERY: 13.6 V");
  return page;
}

std::string EventLogLines(const UnitIdentity& identity) {
  std::string page = TerminalLine(Printf("EVENT LOG  %s  %d EVENTS", identity.siteName.c_str(), kEventLogLines));
  for (int event = 1; event <= kEventLogLines; ++event) page += TerminalLine(EventLine(event));
  return page + TerminalLine("END OF LOG");
}

std::string DumpLines(std::size_t bytes) {
  constexpr std::string_view kFiller = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  std::string dump;
  dump.reserve(bytes);
  for (std::size_t number = 1; dump.size() < bytes; ++number) {
    const std::size_t left = bytes - dump.size();
    std::size_t length = std::min(left, kLongestDumpLine);
    // A single byte left over could not hold a line end; the line before gives it one.
    if (left - length == 1) --length;
    const std::string body = Printf("%07zu ", number) + std::string(kFiller);
    dump += TerminalLine(std::string_view(body).substr(0, length - kLineEnd.size()));
  }
  return dump;
}

}  // namespace quenderlink::unitsim
