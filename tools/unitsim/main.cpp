#include <signal.h>
#include <sys/resource.h>

#include <CLI/CLI.hpp>
#include <iostream>
#include <optional>

#include "core/Lookups.h"
#include "core/Printf.h"
#include "unitsim/FleetConfig.h"
#include "unitsim/UnitLifecycle.h"
#include "unitsim/UnitSimulator.h"

namespace {

using namespace quenderlink;
using namespace quenderlink::unitsim;

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitBadInput = 2;

constexpr const char* kExamples = R"(Examples:
  quenderlink-unitsim --sites UploaderSites.bin
      one unit per site whose address is a loopback address (127.x.y.z)
  quenderlink-unitsim --fleet fleet.json --port 9101
      the units a fleet file describes, all on port 9101
  quenderlink-unitsim --fleet big.json --quiet
      thousands of units without a line for each

A unit with a telnet port serves its terminal there (telnet 127.0.3.1 10001):
a banner and a menu; 1 or STATUS, 2 or VERSION, 3 or LOG, *MENU*, BYE, and
DUMP <n> for n bytes of lines. Its lines end with CR NUL. Site list units take
their record's telnet port; fleet file units take "telnetPort" where given.

A fleet file:
  {"defaults": {"product": "Cad-2", "version": "3.7-2", "railroad": "CSX", "telnetPort": 10001},
   "units":  [{"address": "127.0.3.1", "name": "EAST YARD", "drop": 0.1, "delayMs": 50},
              {"address": "127.0.3.2", "ramLoaderDelayMs": 2000, "rebootDelayMs": 5000,
               "nakEvery": 10, "newVersion": "3.8"}],
   "ranges": [{"from": "127.0.4.1", "count": 500, "name": "SIM {n}"}]})";

struct Options {
  std::string sites;
  std::string fleet;
  std::string railroad = "CSX";
  std::optional<std::uint16_t> port;
  bool quiet = false;
};

// Thousands of units need thousands of sockets.
void RaiseOpenFileLimit() {
  rlimit limit{};
  if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur >= limit.rlim_max) return;
  limit.rlim_cur = limit.rlim_max;
  ::setrlimit(RLIMIT_NOFILE, &limit);
}

std::string VersionText(const UnitIdentity& identity) {
  std::string text = std::to_string(identity.versionMajor) + "." + std::to_string(identity.versionMinor);
  if (identity.versionBuild) text += "-" + std::to_string(*identity.versionBuild);
  return text;
}

std::string FaultsText(const UnitFaults& faults) {
  if (faults.silent) return "silent";
  std::string text;
  if (faults.dropProbability > 0.0) text += Printf(" drop %.0f%%", faults.dropProbability * 100.0);
  if (faults.replyDelayMs > 0) text += Printf(" delay %d ms", faults.replyDelayMs);
  if (faults.garbageReplies) text += " garbage";
  if (faults.duplicateReplies > 0) text += Printf(" %d duplicates", faults.duplicateReplies);
  return text.empty() ? "no faults" : text.substr(1);
}

// Empty for a unit that goes through the upload procedure without delays or faults.
std::string UploadText(const UnitIdentity& identity, const UploadBehaviour& upload) {
  std::string text;
  if (upload.ramLoaderDelayMs > 0) text += Printf(", loader after %d ms", upload.ramLoaderDelayMs);
  if (upload.rebootDelayMs > 0) text += Printf(", re-boot %d ms", upload.rebootDelayMs);
  if (upload.nakEvery > 0) text += Printf(", NAK every %d", upload.nakEvery);
  if (upload.fragmentedAt > 0) text += Printf(", fragmented at packet %d", upload.fragmentedAt);
  if (upload.unansweredPackets > 0) text += Printf(", first %d packets lost", upload.unansweredPackets);
  if (upload.loaderNeverStarts) text += ", loader never starts";
  if (upload.silentAfterReboot) text += ", silent after re-boot";
  if (upload.newVersionMajor || upload.newVersionMinor)
    text += ", new version " + VersionText(NewProgramIdentity(identity, upload));
  return text.empty() ? text : "; upload" + text.substr(1);
}

// Empty for a unit that serves no terminal.
std::string TelnetText(const UnitConfig& unit) {
  if (unit.telnetPort == 0 || unit.faults.silent) return {};
  return Printf("; telnet %d", unit.telnetPort);
}

std::string SummaryLine(const UnitConfig& unit) {
  const std::string endpoint = unit.address + ":" + std::to_string(unit.port);
  return Printf("%-21s %-10s %-24s %-8s %-8s %s%s%s", endpoint.c_str(),
                ProductShortName(unit.identity.productType).c_str(), unit.identity.siteName.c_str(),
                VersionText(unit.identity).c_str(), unit.identity.ready ? "ready" : "power-up",
                FaultsText(unit.faults).c_str(), UploadText(unit.identity, unit.upload).c_str(),
                TelnetText(unit).c_str());
}

bool LoadFleet(const Options& options, std::vector<UnitConfig>& units, std::string& error) {
  if (options.sites.empty() == options.fleet.empty()) {
    error = "give either --sites FILE or --fleet FILE";
    return false;
  }
  const bool loaded = options.sites.empty() ? FleetFromJsonFile(options.fleet, units, error)
                                            : FleetFromSiteList(options.sites, options.railroad, units, error);
  if (loaded && options.port)
    for (UnitConfig& unit : units) unit.port = *options.port;
  return loaded;
}

// Blocked before the serving thread starts, so that it inherits the mask and
// only the waiting main thread takes the signal.
sigset_t BlockStopSignals() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  return signals;
}

int Run(const Options& options) {
  std::vector<UnitConfig> units;
  std::string error;
  if (!LoadFleet(options, units, error)) {
    std::cerr << "quenderlink-unitsim: " << error << '\n';
    return kExitBadInput;
  }
  RaiseOpenFileLimit();
  const sigset_t stopSignals = BlockStopSignals();
  UnitSimulator simulator(std::move(units));
  // Left running for hours, it must not keep every datagram it was sent.
  simulator.KeepRecords(false);
  if (!simulator.Start(error)) {
    std::cerr << "quenderlink-unitsim: " << error << '\n';
    return kExitFailed;
  }
  if (!options.quiet)
    for (const UnitConfig& unit : simulator.units()) std::cout << SummaryLine(unit) << '\n';
  std::cout << simulator.units().size() << " units running; Ctrl-C stops" << std::endl;
  int signal = 0;
  sigwait(&stopSignals, &signal);
  simulator.Stop();
  return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Simulated detector units on loopback addresses, answering the device ping and reset, "
               "taking program uploads and serving a telnet terminal on their telnet port.",
               "quenderlink-unitsim"};
  app.footer(kExamples);
  Options options;
  auto* sites = app.add_option("--sites", options.sites, "Site list file: one unit per site")->type_name("FILE");
  auto* fleet = app.add_option("--fleet", options.fleet, "Fleet file (JSON) describing the units")->type_name("FILE");
  sites->excludes(fleet);
  app.add_option("--port", options.port, "Port for every unit, instead of the file's")
      ->type_name("N")
      ->check(CLI::Range(1, 65535));
  app.add_option("--railroad", options.railroad, "Railroad field of units from a site list (default CSX)")
      ->type_name("NAME");
  app.add_flag("--quiet", options.quiet, "No line per unit at start");
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    return app.exit(error) == 0 ? kExitOk : kExitBadInput;
  }
  return Run(options);
}
