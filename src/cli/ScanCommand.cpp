#include <filesystem>
#include <cstdio>
#include <iostream>
#include <nlohmann/json.hpp>
#include <optional>

#include "cli/CommandJournal.h"
#include "cli/DeviceCommands.h"
#include "cli/EngineEventLog.h"
#include "cli/InterruptibleRun.h"
#include "core/AtomicFileWriter.h"
#include "core/IniSettingsFile.h"
#include "core/SettingsKeys.h"
#include "core/SiteListLoader.h"
#include "core/Utf8Text.h"
#include "journal/RunSettingsText.h"
#include "net/RangeEngine.h"
#include "survey/RangeScanRun.h"
#include "survey/RangeScanSave.h"

namespace quenderlink::cli {
namespace {

struct ScanOptions {
  std::string range;
  std::optional<std::uint16_t> port;
  bool json = false;
  std::string append, newFile, csv, txt;
};

using settings::kPingRangeEndIpKey;
using settings::kPingRangeFromIpKey;
using settings::kPingRangePortNumKey;
using settings::kSectionPingRange;

// The port a range view starts with: the last scan's, else the default device port.
std::uint16_t RememberedPort(const IniSettingsFile& ini, const RuntimeParams& params) {
  return static_cast<std::uint16_t>(ini.ReadInt(kSectionPingRange, kPingRangePortNumKey, params.defaultPortNum));
}

// A scan remembers its inputs for the next one, as the range view does; one
// that cannot remember them says so and still runs.
void RememberInputs(IniSettingsFile& ini, const AddressRange& range, std::uint16_t port) {
  if (!ini.WriteString(kSectionPingRange, kPingRangeFromIpKey, range.FirstAddress()) ||
      !ini.WriteInt(kSectionPingRange, kPingRangeEndIpKey, range.last) ||
      !ini.WriteInt(kSectionPingRange, kPingRangePortNumKey, port))
    std::cerr << ini.Path().string() << ": could not be written\n";
}

void PrintRows(const RangeScanRun& run, bool json) {
  if (json) {
    nlohmann::ordered_json summary = nlohmann::ordered_json::array();
    int count = 0;
    for (const RangeRow& row : run.rows())
      summary.push_back({{"Cnt", ++count},          {"IpAddress", row.address}, {"Status", row.status},
                         {"SiteName", row.siteName}, {"Milepost", row.milepost}, {"Track", row.track},
                         {"SubDiv", row.subdivision}, {"Version", row.version},  {"Comm", row.comm},
                         {"Reader", row.reader},      {"Speech", row.speech}});
    std::cout << nlohmann::ordered_json{{"summary", summary}}.dump() << '\n';
    return;
  }
  for (const RangeRow& row : run.rows())
    std::printf("%-15s  %-22s  %s  %s  %s\n", row.address.c_str(), row.status.c_str(),
                PaddedToWidth(row.siteName, 20).c_str(), PaddedToWidth(row.milepost, 10).c_str(), row.version.c_str());
  std::string totals = run.TotalsText();
  std::erase(totals, '\r');
  std::cout << totals;
}

// The save the options ask for; the report line, or a failure.
[[nodiscard]] int Save(const ScanOptions& options, RangeScanRun& run, const RuntimeParams& params) {
  for (RangeRow& row : run.rows()) row.checked = row.outcome == RowOutcome::Success;
  std::string report;
  if (!options.append.empty()) {
    const std::string file = std::filesystem::absolute(options.append).string();
    SiteTable listed;
    std::optional<SiteFileStamp> loaded(std::in_place);
    // A file that cannot be loaded holds no address to skip; the append reports its own failure.
    if (LoadSiteTable(file, listed, params.telnetPortTrk1, *loaded) != 0) loaded.reset();
    const int appended = AppendCheckedRows(run.rows(), run.port(), params, listed, file, loaded);
    if (appended == kRangeFileChangedElsewhere)
      return Failed(options.append + ": the file was changed by another program while it was scanned; nothing was appended");
    if (appended < 0) return Failed(options.append + ": could not be written");
    report = AppendedReport(appended, file);
  } else if (!options.newFile.empty()) {
    const int saved = SaveCheckedRows(run.rows(), run.port(), params, options.newFile);
    if (saved < 0) return Failed(options.newFile + ": could not be written");
    report = SavedReport(saved, options.newFile);
  } else if (!options.csv.empty() || !options.txt.empty()) {
    const bool csv = !options.csv.empty();
    const std::string& file = csv ? options.csv : options.txt;
    if (!WriteFileAtomically(file, FormatRangeList(run.rows(), run.port(),
                                                   csv ? RangeListFormat::Csv : RangeListFormat::Text)))
      return Failed(file + ": could not be written");
    report = ListSavedReport(true, file);
  } else {
    return kExitOk;
  }
  std::erase(report, '\r');
  // With --json, standard output carries JSON lines only.
  (options.json ? std::cerr : std::cout) << report.substr(report.find_first_not_of('\n')) << '\n';
  return kExitOk;
}

[[nodiscard]] int Scan(const CommandContext& context, const ScanOptions& options) {
  const std::optional<AddressRange> range = AddressRange::Parse(options.range);
  if (!range) return BadInput("the range is written A.B.C.D-E, each of A to D from 0 to 255");
  ProgramState state = context.LoadProgramState();
  IniSettingsFile settings(state.programFolder);
  const std::uint16_t port = options.port ? *options.port : RememberedPort(settings, state.params);
  RememberInputs(settings, *range, port);

  CommandJournal journal(state);
  RangeScanRun run(*range, port, state.params);
  run.JournalTo(journal.StartRun(RunKind::RangeScan, {}, PingSettingsText(state.params)));
  EngineRequest request;
  run.PrepareRequest(request);
  EngineEventLog log(run, std::cout);
  if (options.json) request.listener = &log;
  (void)RunInterruptibly([&] { RangeEngine(request); }, [&] { run.Abort(request); });

  for (const std::string& message : run.engineMessages()) std::cerr << message << '\n';
  PrintRows(run, options.json);
  return Save(options, run, state.params);
}

}  // namespace

void AddScanCommand(CLI::App& app, CommandContext& context) {
  auto* scan = app.add_subcommand("scan", "Ping every address of a range and keep the units found");
  auto options = std::make_shared<ScanOptions>();
  scan->add_option("RANGE", options->range, "A.B.C.D-E: from A.B.C.D to A.B.C.E (E modulo 256; raised to D "
                                            "when 0 or smaller)")
      ->required();
  scan->add_option("--port", options->port, "Datagram port of the units (default: the last scan's)")
      ->check(CLI::Range(1, 65535));
  scan->add_flag("--json", options->json, "Print every engine notification and a summary as JSON lines");
  auto* group = scan->add_option_group("save", "What to do with the units found (one at most)");
  group->add_option("--append", options->append, "Append the units found to this site list file, skipping "
                                                 "addresses it already holds");
  group->add_option("--new", options->newFile, "Save the units found as a new site list file");
  group->add_option("--csv", options->csv, "Write every address as comma-separated text");
  group->add_option("--txt", options->txt, "Write every address as fixed-width text");
  group->require_option(0, 1);
  scan->footer("Each unit found is kept in the journal.");
  scan->callback([&context, options] { context.exitCode = Scan(context, *options); });
}

}  // namespace quenderlink::cli
