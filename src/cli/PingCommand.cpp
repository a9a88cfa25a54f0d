#include <cstdio>
#include <iostream>
#include <nlohmann/json.hpp>

#include "cli/CommandJournal.h"
#include "cli/DeviceCommands.h"
#include "cli/EngineEventLog.h"
#include "cli/InterruptibleRun.h"
#include "cli/JsonText.h"
#include "cli/SiteListArgument.h"
#include "core/FixedText.h"
#include "core/RecordText.h"
#include "core/Utf8Text.h"
#include "journal/JournalPingRecorder.h"
#include "journal/RunSettingsText.h"
#include "net/SiteEngine.h"
#include "survey/PingSitesRun.h"

namespace quenderlink::cli {
namespace {

struct PingOptions {
  std::string file;
  std::string rows;
  bool all = false;
  bool reset = false;
  bool json = false;
};

std::string WithoutCarriageReturns(std::string text) {
  std::erase(text, '\r');
  return text;
}

void PrintResults(const SiteTable& table, const PingSitesRun& run, bool json) {
  if (json) {
    nlohmann::ordered_json summary = nlohmann::ordered_json::array();
    for (const PingSiteRow& row : run.rows()) {
      const SiteRecord* site = table.FindByRow(row.rowNumber);
      summary.push_back({{"RowNumber", row.rowNumber},
                         {"HostText", site ? JsonText(FieldText(site->HostText)) : ""},
                         {"Results", row.results},
                         {"LastPing", site ? Number(site->LastPing) : 0}});
    }
    std::cout << nlohmann::ordered_json{{"summary", summary}}.dump() << '\n';
    return;
  }
  for (const PingSiteRow& row : run.rows()) {
    const SiteRecord* site = table.FindByRow(row.rowNumber);
    std::printf("%5d  %s  %s\n", row.rowNumber, PaddedToWidth(site ? RecordFieldUtf8(site->HostText) : "", 24).c_str(),
                row.results.c_str());
  }
  std::cout << WithoutCarriageReturns(run.TotalsText()) << '\n';
}

[[nodiscard]] int Ping(const CommandContext& context, const PingOptions& options) {
  ProgramState state = context.LoadProgramState();
  if (const int marked = LoadAndMarkRows(options.file, options.rows, kFlagMarked, state); marked != kExitOk)
    return marked;

  CommandJournal journal(state);
  PingSitesRun run(state.sites, state.params, options.reset ? PingMode::Reset : PingMode::Ping);
  run.FillList();
  EngineRequest request;
  run.PrepareRequest(request);
  EngineEventLog log(run, std::cout);
  if (options.json) request.listener = &log;
  JournalPingRecorder recorder(journal.StartRun(options.reset ? RunKind::Reset : RunKind::Ping, state.currentSiteFile,
                                                PingSettingsText(state.params)),
                               *request.listener, request.stop);
  recorder.AddSites(state.sites, request.sites);
  request.listener = &recorder;
  (void)RunInterruptibly([&] { SiteEngine(request); }, [&] { run.Abort(request); });

  for (const std::string& message : run.engineMessages()) std::cerr << message << '\n';
  // A ping run saves what the units said; a reset run leaves the records alone.
  if (!options.reset) {
    if (const int saved = SaveLoadedSiteList(options.file, state); saved != kExitOk) return saved;
  }
  PrintResults(state.sites, run, options.json);
  return run.totals().success == run.totals().total ? kExitOk : kExitFailed;
}

}  // namespace

void AddPingCommand(CLI::App& app, CommandContext& context) {
  auto* ping = app.add_subcommand("ping", "Ping (or reset) the sites of a site list file and save what they report");
  auto options = std::make_shared<PingOptions>();
  ping->add_option("FILE", options->file, "Site list file")->required();
  auto* rows = ping->add_option("--rows", options->rows, "Row numbers to ping, like 1,3-5");
  ping->add_flag("--all", options->all, "Ping every site (the default)")->excludes(rows);
  ping->add_flag("--reset", options->reset, "Send the reset command instead of the ping; the file is not changed");
  ping->add_flag("--json", options->json, "Print every engine notification and a summary as JSON lines");
  ping->footer("Every site's result is kept in the journal (journal.sqlite in the program folder). Exit code 0 when "
               "every site answered, 1 when some did not or the run was stopped (Ctrl-C).");
  ping->callback([&context, options] { context.exitCode = Ping(context, *options); });
}

}  // namespace quenderlink::cli
