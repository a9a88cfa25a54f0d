#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/CommandJournal.h"
#include "cli/DeviceCommands.h"
#include "cli/IcmpRowJson.h"
#include "cli/InterruptibleRun.h"
#include "cli/SiteListArgument.h"
#include "cli/ThreadedIcmpScan.h"
#include "core/IniSettingsFile.h"
#include "journal/JournalUnits.h"
#include "journal/RunSettingsText.h"
#include "survey/IcmpScanSave.h"
#include "survey/ListedSiteAddresses.h"

namespace quenderlink::cli {
namespace {

struct IcmpOptions {
  std::string range;
  std::string sites;
  std::optional<std::string> method;
  std::size_t parallel = kIcmpJobSlots;
  bool json = false;
};

std::string MethodOf(const IcmpOptions& options) {
  return options.method.value_or(options.sites.empty() ? "library" : "raw");
}

// The listed sites run the raw method with continue-on-failure unless another
// method is asked for.
IcmpScanMode ModeOf(const IcmpOptions& options) {
  const std::string method = MethodOf(options);
  if (method == "library") return IcmpScanMode::SystemLibrary;
  if (method == "route") return IcmpScanMode::RoundTrip;
  return options.sites.empty() ? IcmpScanMode::RawSockets : IcmpScanMode::ListedSites;
}

// The raw methods need a raw socket; the others the datagram ICMP socket, or a
// raw one in its place.
Result CanRun(IcmpScanMode mode) {
  if (mode == IcmpScanMode::RawSockets || mode == IcmpScanMode::ListedSites) return CanOpenRawIcmp();
  return CanOpenLibraryIcmp();
}

void PrintRows(const ThreadedIcmpScan& scan, bool json) {
  const std::vector<IcmpRow>& rows = scan.run().rows();
  std::string totals = scan.run().TotalsText();
  std::erase(totals, '\r');
  if (!json) {
    std::cout << FormatIcmpRows(rows, AllIcmpRows(rows.size()), IcmpListFormat::Text) << totals;
    return;
  }
  for (std::size_t i = 0; i < rows.size(); ++i)
    std::cout << IcmpRowJson(rows[i], scan.StatusOf(i), scan.HopsOf(i)).dump() << '\n';
  // With --json, standard output carries JSON lines only.
  std::cerr << totals;
}

[[nodiscard]] int Icmp(const CommandContext& context, const IcmpOptions& options) {
  std::optional<AddressRange> range;
  if (options.sites.empty()) {
    if (options.range.empty()) return BadInput("icmp takes a range A.B.C.D-E or --sites FILE");
    range = AddressRange::Parse(options.range);
    if (!range) return BadInput("the range is written A.B.C.D-E, each of A to D from 0 to 255");
  }
  ProgramState state = context.LoadProgramState();
  if (!options.sites.empty())
    if (const int loaded = LoadSiteListArgument(options.sites, state); loaded != kExitOk) return loaded;
  const IcmpScanMode mode = ModeOf(options);
  if (const Result can = CanRun(mode); !can) return Failed("this method cannot run here: " + can.reason());
  IniSettingsFile(state.programFolder).LoadIcmpParams(state.params.icmp);

  CommandJournal journal(state);
  ThreadedIcmpScan scan(mode, options.parallel, state.params.icmp, std::cerr);
  const std::vector<std::string> addresses = range ? std::vector<std::string>{} : ListedSiteAddresses(state.sites);
  // The listed sites are the run's units, answered or not; a range keeps only the addresses that answered.
  std::vector<JournalUnit> units;
  if (!range)
    for (const SiteRecord& site : state.sites.records()) units.push_back(JournalUnitOf(site));
  scan.JournalTo(journal.StartRun(RunKind::IcmpScan, range ? std::string() : state.currentSiteFile,
                                  IcmpSettingsText(state.params.icmp, MethodOf(options))),
                 std::move(units));
  (void)RunInterruptibly([&] { range ? scan.RunRange(*range) : scan.RunAddresses(addresses); }, [&] { scan.Abort(); });

  PrintRows(scan, options.json);
  return scan.run().totals().success == scan.run().totals().total ? kExitOk : kExitFailed;
}

}  // namespace

void AddIcmpCommand(CLI::App& app, CommandContext& context) {
  auto* icmp = app.add_subcommand("icmp", "Send ICMP echo, five tries per address, to a range or to the listed sites");
  auto options = std::make_shared<IcmpOptions>();
  auto* range = icmp->add_option("RANGE", options->range, "A.B.C.D-E: from A.B.C.D to A.B.C.E (E modulo 256; raised "
                                                          "to D when 0 or smaller)");
  auto* sites = icmp->add_option("--sites", options->sites, "Ping the address of every record of this site list file");
  range->excludes(sites);
  icmp->add_option("--method", options->method,
                   "library: the system's unprivileged echo (default for a range); raw: a raw socket (default for "
                   "--sites, where a stray reply does not end the address); route: round-trip time and hop count")
      ->check(CLI::IsMember({"library", "raw", "route"}));
  icmp->add_option("--parallel", options->parallel, "How many addresses are pinged at once, with any method")
      ->capture_default_str()
      ->check(CLI::Range(1, 255));
  icmp->add_flag("--json", options->json, "Print one JSON object per address instead of the text listing");
  icmp->footer("Each address's end is kept in the journal. Exit code 0 when every address answered at least once, 1 "
               "when some did not, the run was stopped (Ctrl-C) or the method cannot run here, 2 on bad input.");
  icmp->callback([&context, options] { context.exitCode = Icmp(context, *options); });
}

}  // namespace quenderlink::cli
