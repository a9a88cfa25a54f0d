#include <cstdio>
#include <iostream>

#include "cli/JournalArguments.h"
#include "cli/JournalCommands.h"
#include "cli/SiteListArgument.h"
#include "core/RecordText.h"
#include "journal/FleetVersions.h"
#include "journal/JournalReader.h"
#include "journal/JournalTime.h"

namespace quenderlink::cli {
namespace {

// The period an availability report covers unless --since says otherwise.
constexpr std::int64_t kDefaultReportDays = 30;
constexpr std::int64_t kDayMs = 24LL * 60 * 60 * 1000;

struct ReportOptions {
  std::string sites;
  std::string since;
  bool json = false;
  bool csv = false;
};

// The share of pings answered, in percent with one decimal; empty without pings.
ReportCell ShareCell(std::optional<double> share) {
  if (!share) return EmptyCell();
  char text[16];
  std::snprintf(text, sizeof text, "%.1f", *share * 100);
  return {text, std::stod(text)};
}

[[nodiscard]] int Availability(const CommandContext& context, const ReportOptions& options) {
  ReportFormat format = ReportFormat::Table;
  if (const int chosen = ChooseReportFormat(options.json, options.csv, format); chosen != kExitOk) return chosen;
  JournalPeriod period;
  period.since = JournalNow() - kDefaultReportDays * kDayMs;
  if (const int parsed = ParsePeriod(options.since, {}, period); parsed != kExitOk) return parsed;
  ProgramState state = context.LoadProgramState();
  if (const int loaded = LoadSiteListArgument(options.sites, state); loaded != kExitOk) return loaded;
  JournalReader reader(JournalFileOf(state));
  if (!reader.opened()) return Failed(reader.opened().reason());

  ReportTable table({{"Row", "row"},
                     {"Site", "site"},
                     {"Host", "host"},
                     {"Port", "port"},
                     {"Pings", "pings"},
                     {"Answered", "answered"},
                     {"Share %", "share"},
                     {"Last answer", "lastAnswer"},
                     {"Down since", "downSince"}});
  std::vector<SiteKey> keys;
  for (const SiteRecord& site : state.sites.records()) keys.push_back({RecordFieldUtf8(site.HostText), site.DevicePort});
  // The whole list in one pass over the period's results.
  const std::vector<SiteAvailability> figures = reader.AvailabilityOf(keys, period);
  for (std::size_t index = 0; index < keys.size(); ++index) {
    const SiteRecord& site = state.sites[index];
    const SiteAvailability& availability = figures[index];
    table.AddRow({NumberCell(site.RowNumber), TextCell(RecordFieldUtf8(site.SiteName)), TextCell(keys[index].host),
                  NumberCell(keys[index].port), NumberCell(availability.pings), NumberCell(availability.answered),
                  ShareCell(availability.Share()), TimeCell(availability.lastAnswer),
                  TimeCell(availability.downSince)});
  }
  table.Print(std::cout, format);
  return kExitOk;
}

const char* SourceText(const FleetUnit& unit) { return unit.fromJournal ? "journal" : "list"; }

nlohmann::ordered_json VersionsJson(const std::vector<ProductVersions>& fleet) {
  nlohmann::ordered_json products = nlohmann::ordered_json::array();
  for (const ProductVersions& product : fleet) {
    nlohmann::ordered_json versions = nlohmann::ordered_json::array();
    for (const VersionCount& count : product.versions)
      versions.push_back({{"version", count.version.Text()}, {"units", count.units}});
    nlohmann::ordered_json behind = nlohmann::ordered_json::array();
    for (const FleetUnit& unit : product.units)
      if (product.IsBehind(unit))
        behind.push_back({{"row", unit.row},
                          {"site", unit.siteName},
                          {"host", unit.host},
                          {"port", unit.port},
                          {"version", unit.version.Text()},
                          {"from", SourceText(unit)}});
    products.push_back({{"product", product.productName},
                        {"newest", product.newest().Text()},
                        {"versions", std::move(versions)},
                        {"behind", std::move(behind)}});
  }
  return products;
}

// The aligned report: the versions of each product, then the units behind.
void PrintVersionsTable(const std::vector<ProductVersions>& fleet) {
  ReportTable counts({{"Product", "product"}, {"Version", "version"}, {"Units", "units"}});
  ReportTable behind({{"Row", "row"},
                      {"Site", "site"},
                      {"Host", "host"},
                      {"Port", "port"},
                      {"Product", "product"},
                      {"Version", "version"},
                      {"Newest", "newest"},
                      {"From", "from"}});
  bool anyBehind = false;
  for (const ProductVersions& product : fleet) {
    for (const VersionCount& count : product.versions)
      counts.AddRow({TextCell(product.productName), TextCell(count.version.Text()), NumberCell(count.units)});
    for (const FleetUnit& unit : product.units) {
      if (!product.IsBehind(unit)) continue;
      anyBehind = true;
      behind.AddRow({NumberCell(unit.row), TextCell(unit.siteName), TextCell(unit.host), NumberCell(unit.port),
                     TextCell(product.productName), TextCell(unit.version.Text()), TextCell(product.newest().Text()),
                     TextCell(SourceText(unit))});
    }
  }
  counts.Print(std::cout, ReportFormat::Table);
  std::cout << '\n';
  if (!anyBehind) {
    std::cout << "Every unit runs the newest version seen for its product.\n";
    return;
  }
  std::cout << "Behind the newest version seen for their product:\n";
  behind.Print(std::cout, ReportFormat::Table);
}

// One line per unit, so that a script can count and pick as it needs.
void PrintVersionsCsv(const std::vector<ProductVersions>& fleet) {
  ReportTable units({{"Product", "product"},
                     {"Version", "version"},
                     {"Newest", "newest"},
                     {"Row", "row"},
                     {"Site", "site"},
                     {"Host", "host"},
                     {"Port", "port"},
                     {"From", "from"}});
  for (const ProductVersions& product : fleet)
    for (const VersionCount& count : product.versions)
      for (const FleetUnit& unit : product.units)
        if (unit.version == count.version)
          units.AddRow({TextCell(product.productName), TextCell(unit.version.Text()),
                        TextCell(product.newest().Text()), NumberCell(unit.row), TextCell(unit.siteName),
                        TextCell(unit.host), NumberCell(unit.port), TextCell(SourceText(unit))});
  units.Print(std::cout, ReportFormat::Csv);
}

[[nodiscard]] int Versions(const CommandContext& context, const ReportOptions& options) {
  ReportFormat format = ReportFormat::Table;
  if (const int chosen = ChooseReportFormat(options.json, options.csv, format); chosen != kExitOk) return chosen;
  ProgramState state = context.LoadProgramState();
  if (const int loaded = LoadSiteListArgument(options.sites, state); loaded != kExitOk) return loaded;
  JournalReader reader(JournalFileOf(state));
  if (!reader.opened()) return Failed(reader.opened().reason());

  const std::vector<ProductVersions> fleet =
      FleetVersionsOf(state.sites, [&reader](const SiteKey& site) -> std::optional<std::string> {
        const std::optional<LastAnswer> answer = reader.LastAnswerOf(site);
        if (!answer) return std::nullopt;
        return answer->version;
      });
  switch (format) {
    case ReportFormat::Table: PrintVersionsTable(fleet); break;
    case ReportFormat::Json: std::cout << VersionsJson(fleet).dump() << '\n'; break;
    case ReportFormat::Csv: PrintVersionsCsv(fleet); break;
  }
  return kExitOk;
}

void AddFormatFlags(CLI::App& command, ReportOptions& options) {
  command.add_flag("--json", options.json, "Print JSON, times in UTC");
  command.add_flag("--csv", options.csv, "Print comma-separated UTF-8 lines under a header line, times in UTC");
}

}  // namespace

void AddReportCommands(CLI::App& app, CommandContext& context) {
  auto* report = app.add_subcommand("report", "Reports of the sites of a site list file from the journal");
  report->require_subcommand(1);

  auto* availability = report->add_subcommand(
      "availability", "Per site: the pings over the period, how many were answered and since when it is down");
  auto availabilityOptions = std::make_shared<ReportOptions>();
  availability->add_option("--sites", availabilityOptions->sites, "Site list file")->required();
  availability->add_option("--since", availabilityOptions->since,
                           "Start of the period: ISO 8601, 2026-12-01 or 2026-12-01T06:00, local unless it ends in Z "
                           "(default: 30 days ago)");
  AddFormatFlags(*availability, *availabilityOptions);
  availability->footer("Columns: row, site, host, port, pings, answered, share answered in percent (empty without "
                       "pings), last answer, down since (the first ping not answered after the last answer). Exit "
                       "code 0 when the journal was read, 1 when it cannot be, 2 for bad input.");
  availability->callback(
      [&context, availabilityOptions] { context.exitCode = Availability(context, *availabilityOptions); });

  auto* versions = report->add_subcommand(
      "versions", "Per product: the versions in the field with their counts, and the units behind the newest one");
  auto versionsOptions = std::make_shared<ReportOptions>();
  versions->add_option("--sites", versionsOptions->sites, "Site list file")->required();
  AddFormatFlags(*versions, *versionsOptions);
  versions->footer("A unit's version is the one it last answered with in the journal, else the site list's. "
                   "Versions compare as numbers, major then minor. --csv prints one line per unit. Exit code 0 when "
                   "the journal was read, 1 when it cannot be, 2 for bad input.");
  versions->callback([&context, versionsOptions] { context.exitCode = Versions(context, *versionsOptions); });
}

}  // namespace quenderlink::cli
