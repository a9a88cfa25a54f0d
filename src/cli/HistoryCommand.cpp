#include <algorithm>
#include <iostream>
#include <set>
#include <utility>

#include "cli/JournalArguments.h"
#include "cli/JournalCommands.h"
#include "cli/SiteListArgument.h"
#include "core/RecordText.h"
#include "journal/JournalReader.h"

namespace quenderlink::cli {
namespace {

struct HistoryOptions {
  std::string host;
  std::string sites;
  std::string rows;
  bool all = false;
  std::string since;
  std::string until;
  std::string kind;
  bool json = false;
  bool csv = false;
};

constexpr RunKind kAllKinds[] = {RunKind::Ping,       RunKind::Reset,      RunKind::RangeScan,
                                 RunKind::IcmpScan,   RunKind::Upload,     RunKind::ImportPing,
                                 RunKind::ManualPing, RunKind::TelnetSession};

std::string KindChoices() {
  std::string choices;
  for (const RunKind kind : kAllKinds)
    choices += std::string(choices.empty() ? "" : ", ") + "\"" + RunKindText(kind) + "\"";
  return choices;
}

// A text that may be missing: nothing in the table, null for scripts.
ReportCell OptionalText(const std::string& text) { return text.empty() ? EmptyCell() : TextCell(text); }

std::string OutcomeColumn(const JournalResult& result) {
  std::string text = OutcomeText(result.outcome);
  if (result.outcome == ResultOutcome::UploadFailed && result.step != UploadStep::None)
    text += std::string(" at ") + UploadStepText(result.step);
  return text;
}

ReportTable HistoryTable(const std::vector<HistoryEntry>& entries) {
  ReportTable table({{"Time", "time"},
                     {"Site", "site"},
                     {"Host", "host"},
                     {"Port", "port"},
                     {"Kind", "kind"},
                     {"Outcome", "outcome"},
                     {"Reply (ms)", "replyMs"},
                     {"Version before", "versionBefore"},
                     {"Version after", "versionAfter"},
                     {"Boards", "boards"},
                     {"User", "user"},
                     {"Error", "error"}});
  for (const HistoryEntry& entry : entries) {
    const JournalResult& result = entry.result;
    table.AddRow({TimeCell(entry.time), TextCell(entry.unit.siteName), TextCell(entry.unit.host),
                  NumberCell(entry.unit.port), TextCell(RunKindText(entry.kind)), TextCell(OutcomeColumn(result)),
                  result.replyMs >= 0 ? NumberCell(result.replyMs) : EmptyCell(), OptionalText(result.versionBefore),
                  OptionalText(result.versionAfter), OptionalText(result.boards), TextCell(entry.user),
                  OptionalText(result.error)});
  }
  return table;
}

// The chosen rows' sites, each host text and port once.
std::vector<SiteKey> ChosenSites(const SiteTable& table) {
  std::set<std::pair<std::string, std::uint16_t>> seen;
  std::vector<SiteKey> sites;
  for (const SiteRecord& site : table.records()) {
    if (!(site.SiteFlags & kFlagMarked)) continue;
    SiteKey key{RecordFieldUtf8(site.HostText), site.DevicePort};
    if (seen.emplace(key.host, key.port).second) sites.push_back(std::move(key));
  }
  return sites;
}

[[nodiscard]] int History(const CommandContext& context, const HistoryOptions& options) {
  if (options.host.empty() && options.sites.empty()) return BadInput("history takes a HOST or --sites FILE");
  ReportFormat format = ReportFormat::Table;
  if (const int chosen = ChooseReportFormat(options.json, options.csv, format); chosen != kExitOk) return chosen;
  JournalPeriod period;
  if (const int parsed = ParsePeriod(options.since, options.until, period); parsed != kExitOk) return parsed;
  std::optional<RunKind> kind;
  if (!options.kind.empty()) {
    RunKind named = RunKind::Ping;
    if (!RunKindFromText(options.kind, named)) return BadInput("--kind takes one of " + KindChoices());
    kind = named;
  }

  ProgramState state = context.LoadProgramState();
  std::vector<SiteKey> sites;
  if (!options.sites.empty()) {
    if (const int marked = LoadAndMarkRows(options.sites, options.rows, kFlagMarked, state); marked != kExitOk)
      return marked;
    sites = ChosenSites(state.sites);
  }
  JournalReader reader(JournalFileOf(state));
  if (!reader.opened()) return Failed(reader.opened().reason());

  std::vector<HistoryEntry> entries;
  if (options.sites.empty()) entries = reader.HistoryOfHost(options.host, period, kind);
  for (const SiteKey& site : sites) {
    std::vector<HistoryEntry> more = reader.HistoryOfSite(site, period, kind);
    entries.insert(entries.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
  }
  if (sites.size() > 1)
    std::stable_sort(entries.begin(), entries.end(),
                     [](const HistoryEntry& a, const HistoryEntry& b) { return a.time > b.time; });
  HistoryTable(entries).Print(std::cout, format);
  return kExitOk;
}

}  // namespace

void AddHistoryCommand(CLI::App& app, CommandContext& context) {
  auto* history = app.add_subcommand("history", "Show the journal's results of a unit, or of the sites of a site list "
                                                "file, newest first");
  auto options = std::make_shared<HistoryOptions>();
  auto* host = history->add_option("HOST", options->host, "Host text or dotted address of the unit, on any port");
  auto* sites = history->add_option("--sites", options->sites, "Site list file: each site by its host text and port");
  host->excludes(sites);
  auto* rows = history->add_option("--rows", options->rows, "Row numbers of the site list, like 1,3-5")->needs(sites);
  history->add_flag("--all", options->all, "Every site of the site list (the default)")->needs(sites)->excludes(rows);
  history->add_option("--since", options->since,
                      "First day or time shown: ISO 8601, 2026-12-01 or 2026-12-01T06:00, local unless it ends in Z");
  history->add_option("--until", options->until, "Last day (the whole day) or time shown, written as for --since");
  history->add_option("--kind", options->kind, "Only the results of one kind of run: " + KindChoices());
  history->add_flag("--json", options->json, "Print a JSON array of objects, times in UTC");
  history->add_flag("--csv", options->csv, "Print comma-separated UTF-8 lines under a header line, times in UTC");
  history->footer("Columns: time (local in the table), site, host, port, kind of run, outcome (with the step where an "
                  "upload failed), reply time in ms, versions before and after, board versions, user, error. Exit "
                  "code 0 when the journal was read, 1 when it cannot be, 2 for bad input.");
  history->callback([&context, options] { context.exitCode = History(context, *options); });
}

}  // namespace quenderlink::cli
