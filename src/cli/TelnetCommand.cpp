#include <cmath>
#include <filesystem>
#include <iostream>
#include <nlohmann/json.hpp>
#include <unordered_map>

#include "cli/CommandJournal.h"
#include "cli/DeviceCommands.h"
#include "cli/JsonText.h"
#include "cli/SiteListArgument.h"
#include "cli/TelnetRunLoop.h"
#include "core/FixedText.h"
#include "core/IniSettingsFile.h"
#include "core/RegularFile.h"
#include "journal/JournalUnits.h"
#include "net/HostAddress.h"

namespace quenderlink::cli {
namespace {

constexpr std::uint16_t kDefaultTelnetPort = 10001;

struct TelnetOptions {
  std::string host;
  std::optional<std::uint16_t> port;
  std::string sites;
  std::string rows;
  bool all = false;
  std::optional<int> list;
  std::string commandsFile;
  double waitSeconds = 2;
  bool capture = false;
  bool json = false;
};

// Longer than any list of commands a maintainer would type.
constexpr std::uint64_t kLargestCommandFile = 1u << 20;

// One command a line; a CR before the line end is not part of the command.
std::vector<std::string> CommandLines(std::string_view text) {
  std::vector<std::string> commands;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (line.ends_with('\r')) line.remove_suffix(1);
    commands.emplace_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return commands;
}

// Host names are resolved here, before the run: a slow name server must not hold up the loop.
TelnetUnitTarget TargetOf(std::optional<std::uint16_t> row, const SiteRecord& site, std::uint16_t port) {
  const std::string host(FieldText(site.HostText));
  return {row, site, {host, AddressOfHost(host).value_or(""), port}};
}

[[nodiscard]] int ChooseUnits(const TelnetOptions& options, ProgramState& state, std::vector<TelnetUnitTarget>& units) {
  if (options.sites.empty()) {
    SiteRecord site{};
    SetFieldText(site.HostText, options.host);
    units.push_back(TargetOf(std::nullopt, site, options.port.value_or(kDefaultTelnetPort)));
    return kExitOk;
  }
  if (const int marked = LoadAndMarkRows(options.sites, options.rows, kFlagHighlighted, state); marked != kExitOk)
    return marked;
  // Packed fields are copied out, never bound to a reference.
  for (const SiteRecord& site : state.sites.records())
    if (site.SiteFlags & kFlagHighlighted)
      units.push_back(
          TargetOf(static_cast<std::uint16_t>(site.RowNumber), site, static_cast<std::uint16_t>(site.TelnetPort)));
  return kExitOk;
}

std::string NameOf(const TelnetUnitTarget& unit) {
  return unit.row ? "row " + std::to_string(*unit.row) + " (" + unit.target.host + ")" : unit.target.host;
}

// A listed unit as its record names it; a unit named on the command line by its host and telnet port.
JournalUnit JournalUnitOfTarget(const TelnetUnitTarget& unit) {
  if (unit.row) return JournalUnitOf(unit.site);
  JournalUnit named;
  named.address = unit.target.address;
  named.port = unit.target.port;
  named.host = unit.target.host;
  return named;
}

JournalResult SessionResult(const TelnetUnit& unit) {
  if (unit.connected()) return ResultOf(ResultOutcome::SessionOpened);
  JournalResult result = ResultOf(ResultOutcome::SessionFailed);
  result.error = unit.error();
  return result;
}

// A unit failed when it did not connect or went off-line before its list was sent.
bool UnitFailed(const TelnetUnit& unit) { return !unit.connected() || !unit.commandsSent(); }

void Report(const TelnetUnit& unit, bool json) {
  if (UnitFailed(unit))
    std::cerr << "quenderlink-cli: " << NameOf(unit.unit()) << ": "
              << (unit.connected() ? "off-line before its commands were sent" : unit.error()) << '\n';
  if (!json) return;
  const std::optional<std::filesystem::path> capture = unit.capturePath();
  const std::optional<std::uint16_t>& row = unit.unit().row;
  std::cout << nlohmann::ordered_json{{"row", row ? nlohmann::ordered_json(*row) : nlohmann::ordered_json()},
                                      {"host", JsonText(unit.unit().target.host)},
                                      {"connected", unit.connected()},
                                      {"error", JsonText(unit.error())},
                                      {"commandsSent", unit.commandsSent()},
                                      {"bytesReceived", unit.bytesReceived()},
                                      {"capture",
                                       capture ? nlohmann::ordered_json(capture->string()) : nlohmann::ordered_json()}}
                   .dump()
            << '\n'
            << std::flush;
}

[[nodiscard]] int Telnet(const CommandContext& context, const TelnetOptions& options) {
  if (options.host.empty() && options.sites.empty()) return BadInput("name a HOST or a site list with --sites FILE");
  if (!options.sites.empty() && options.rows.empty() && !options.all)
    return BadInput("choose the units with --rows LIST or --all");
  if (options.sites.empty() && options.host.size() >= sizeof(SiteRecord::HostText))
    return BadInput("HOST takes 1 to 46 characters");
  std::vector<std::string> commands;
  if (!options.commandsFile.empty()) {
    const RegularFileBytes read = ReadRegularFile(options.commandsFile, kLargestCommandFile);
    if (!read.ok()) return BadInput(read.refusal);
    commands = CommandLines(read.bytes);
  }

  ProgramState state = context.LoadProgramState();
  if (options.list) {
    IniSettingsFile ini(state.programFolder);
    commands = LoadTelnetCommandList(ini, *options.list);
  }
  std::vector<TelnetUnitTarget> targets;
  if (const int chosen = ChooseUnits(options, state, targets); chosen != kExitOk) return chosen;

  TelnetRunPlan plan;
  plan.steps = TelnetCommandSteps(commands);
  plan.answerWait = std::chrono::milliseconds(std::llround(options.waitSeconds * 1000));
  plan.railroadCode = state.params.railroadCode;
  if (options.capture) plan.captureHome = state.programFolder;
  plan.printText = !options.json;
  CommandJournal journal(state);
  JournalRun run =
      journal.StartRun(RunKind::TelnetSession, options.sites.empty() ? std::string() : state.currentSiteFile, {});
  std::unordered_map<const TelnetUnit*, std::size_t> journalUnits;
  std::vector<std::unique_ptr<TelnetUnit>> units;
  for (TelnetUnitTarget& target : targets) {
    const std::size_t journalUnit = run.AddUnit(JournalUnitOfTarget(target));
    units.push_back(std::make_unique<TelnetUnit>(std::move(target), plan, std::cout));
    journalUnits.emplace(units.back().get(), journalUnit);
  }

  bool anyFailed = false;
  JournalTotals totals{static_cast<std::int64_t>(units.size()), 0, 0};
  const bool stopped = RunTelnetUnits(units, state.params.pingMaxInParallel, [&](const TelnetUnit& unit) {
    anyFailed = anyFailed || UnitFailed(unit);
    ++(unit.connected() ? totals.succeeded : totals.failed);
    run.Record(journalUnits.at(&unit), SessionResult(unit));
    Report(unit, options.json);
  });
  run.End(stopped ? RunEnding::Aborted : RunEnding::Finished, totals);
  if (stopped) return Failed("stopped");
  return anyFailed ? kExitFailed : kExitOk;
}

}  // namespace

void AddTelnetCommand(CLI::App& app, CommandContext& context) {
  auto* telnet = app.add_subcommand(
      "telnet",
      "Open a terminal session to one unit, or to the chosen units of a site list file, and run a command list");
  auto options = std::make_shared<TelnetOptions>();
  auto* host = telnet->add_option("HOST", options->host, "Dotted address or DNS name of the unit");
  auto* port =
      telnet->add_option("--port", options->port, "Telnet port of HOST (default: 10001)")->check(CLI::Range(1, 65535));
  auto* sites = telnet->add_option("--sites", options->sites, "Site list file: each unit on its record's telnet port");
  host->excludes(sites);
  port->excludes(sites);
  auto* rows = telnet->add_option("--rows", options->rows, "Row numbers of the site list, like 1,3-5")->needs(sites);
  telnet->add_flag("--all", options->all, "Every site of the site list")->needs(sites)->excludes(rows);
  auto* list = telnet->add_option("--list", options->list, "Run command list 1 or 2 of the settings file")
                   ->check(CLI::IsMember({1, 2}));
  telnet
      ->add_option("--commands", options->commandsFile,
                   "Run the commands of a file: one a line, \"SLEEP-N\" pauses N ms, empty lines are skipped")
      ->excludes(list);
  telnet->add_option("--wait", options->waitSeconds, "Seconds to keep reading after the last command (default: 2)")
      ->check(CLI::Range(0.0, 86400.0));
  telnet->add_flag("--capture,!--no-capture", options->capture,
                   "Write what each unit sends into a capture file in the Capture folder (default: no capture)");
  telnet->add_flag("--json", options->json, "Print one JSON object per unit as it ends instead of its text");
  telnet->footer(
      "Units of a site list run at once, \"Max in Parallel\" (Ping Sites) at a time; their lines are prefixed "
      "\"[row N] \". Whether each unit's session opened is kept in the journal. Exit code 0 when every unit "
      "connected and its commands were sent, 1 when one did not or the run was stopped (Ctrl-C).");
  telnet->callback([&context, options] { context.exitCode = Telnet(context, *options); });
}

}  // namespace quenderlink::cli
