#include <cstdio>
#include <iostream>
#include <nlohmann/json.hpp>

#include "cli/CommandJournal.h"
#include "cli/DeviceCommands.h"
#include "cli/InterruptibleRun.h"
#include "core/SiteListLoader.h"
#include "core/Utf8Text.h"
#include "exchange/ImportSave.h"
#include "exchange/SiteImport.h"
#include "journal/JournalPingRecorder.h"
#include "journal/RunSettingsText.h"
#include "net/SiteEngine.h"

namespace quenderlink::cli {
namespace {

struct ImportOptions {
  std::string csv;
  ImportColumns columns;
  std::string appendTo;
  std::string newFile;
  bool ping = false;
  bool successfulOnly = false;
  bool json = false;
};

// What became of one row.
struct RowResult {
  const ImportRow* row = nullptr;
  std::string result;
  bool written = false;
};

std::vector<RowResult> RowResults(const SiteImport& import, const ImportOptions& options,
                                  const ImportSaveResult& saved) {
  std::vector<RowResult> results;
  std::size_t chosen = 0;
  for (const ImportRow& row : import.rows()) {
    RowResult& result = results.emplace_back(RowResult{&row, {}, false});
    if (options.successfulOnly && row.outcome != RowOutcome::Success) {
      result.result = "not answered";
      continue;
    }
    const bool listed = chosen < saved.alreadyListed.size() && saved.alreadyListed[chosen];
    ++chosen;
    result.written = saved.error.empty() && !listed;
    result.result = listed ? "already listed" : result.written ? "written" : "not written";
  }
  return results;
}

void PrintRows(const std::vector<RowResult>& results, bool pinged, bool json) {
  for (const RowResult& result : results) {
    const ImportRow& row = *result.row;
    const std::string& status = row.cells[kImportColStatus];
    if (json) {
      nlohmann::ordered_json object{{"line", row.lineNumber},
                                    {"host", row.cells[kImportColHost]},
                                    {"port", row.cells[kImportColPort]},
                                    {"name", row.cells[kImportColSiteName]},
                                    {"result", result.result}};
      if (pinged) object["status"] = status;
      std::cout << object.dump() << '\n';
    } else {
      std::printf("line %5d  %s %5s  %s  %s%s%s\n", row.lineNumber, PaddedToWidth(row.cells[kImportColHost], 24).c_str(),
                  row.cells[kImportColPort].c_str(), PaddedToWidth(row.cells[kImportColSiteName], 23).c_str(),
                  result.result.c_str(),
                  pinged ? "  " : "", pinged ? status.c_str() : "");
    }
  }
}

void PrintTotals(const std::vector<RowResult>& results, const SiteImport& import, bool pinged, bool json) {
  int written = 0;
  for (const RowResult& result : results) written += result.written ? 1 : 0;
  const int rows = static_cast<int>(results.size());
  if (json) {
    nlohmann::ordered_json totals{{"rows", rows}, {"written", written}, {"not_written", rows - written}};
    if (pinged) {
      totals["pinged"] = import.totals().pinged;
      totals["success"] = import.totals().success;
      totals["failed"] = import.totals().failed;
    }
    std::cout << nlohmann::ordered_json{{"totals", totals}}.dump() << '\n';
    return;
  }
  if (pinged) {
    std::string text = import.TotalsText();
    std::erase(text, '\r');
    std::cout << text << '\n';
  }
  std::printf("Rows: %d  Written: %d  Not written: %d\n", rows, written, rows - written);
}

// What the import view's log says of the file's texts, on stderr: a file read
// as Windows-1252 and the texts a site list could not hold whole.
void TellHowTextsWereRead(const std::string& csv, const ImportFileText& file, const SiteImport& import) {
  if (file.encoding != ImportEncoding::Utf8)
    std::cerr << csv << ": read as " << ImportEncodingName(file.encoding) << " text\n";
  for (const ImportRow& row : import.rows())
    if (const std::string note = ReplacedCharactersNote(row); !note.empty()) std::cerr << csv << ": " << note << '\n';
}

// True when the ping ran to its end; false when it was interrupted.
[[nodiscard]] bool Ping(SiteImport& import, CommandJournal& journal, const RuntimeParams& params) {
  EngineRequest request;
  import.PrepareRequest(request);
  JournalPingRecorder recorder(journal.StartRun(RunKind::ImportPing, {}, PingSettingsText(params)), import,
                               request.stop);
  recorder.AddSites(import.pingRecords(), request.sites);
  request.listener = &recorder;
  const bool interrupted = RunInterruptibly([&] { SiteEngine(request); }, [&] { import.Abort(request); });
  for (const std::string& message : import.engineMessages()) std::cerr << message << '\n';
  return !interrupted;
}

ImportSaveResult Save(const SiteImport& import, const ImportOptions& options, const ProgramState& state) {
  const std::vector<SiteRecord> records = import.ChosenRecords(options.successfulOnly);
  if (!options.newFile.empty()) return SaveImportedSitesAs(options.newFile, records);
  SiteTable listed;
  // A missing file is created by the append; one that is not a site list is refused there.
  std::optional<SiteFileStamp> loaded;
  if (std::filesystem::exists(options.appendTo) &&
      LoadSiteTable(options.appendTo, listed, state.params.telnetPortTrk1, loaded.emplace()) != 0)
    loaded.reset();
  return AppendImportedSites(options.appendTo, records, listed, loaded);
}

[[nodiscard]] int Import(const CommandContext& context, const ImportOptions& options) {
  const ImportFileText file = ReadImportFile(options.csv);
  if (!file.ok()) return BadInput(options.csv + ": " + file.error);
  ProgramState state = context.LoadProgramState();
  SiteImport import(state.params);
  (void)import.AddLines(file, options.columns, ResolveIpv4, [](const std::string&) {});
  TellHowTextsWereRead(options.csv, file, import);
  if (!import.BuildPingRecords()) {
    PrintTotals({}, import, false, options.json);
    return kExitOk;
  }
  // Rows never pinged must not be written as if they had been.
  std::optional<CommandJournal> journal;
  if (options.ping) journal.emplace(state);
  if (options.ping && !Ping(import, *journal, state.params))
    return Failed("the ping was interrupted; nothing was written");

  const ImportSaveResult saved = Save(import, options, state);
  const std::vector<RowResult> results = RowResults(import, options, saved);
  PrintRows(results, options.ping, options.json);
  PrintTotals(results, import, options.ping, options.json);
  if (!saved.error.empty()) {
    std::string error = saved.error;
    std::replace(error.begin(), error.end(), '\r', ' ');
    std::replace(error.begin(), error.end(), '\n', ' ');
    return Failed(error);
  }
  for (const RowResult& result : results)
    if (!result.written) return kExitFailed;
  return kExitOk;
}

}  // namespace

void AddImportCommand(CLI::App& app, CommandContext& context) {
  auto* command = app.add_subcommand("import", "Import sites from a comma-separated file into a site list file");
  auto options = std::make_shared<ImportOptions>();
  const auto column = CLI::Range(1, kMostImportColumns);
  command->add_option("CSV", options->csv, "Comma-separated file, one site per line")->required();
  command->add_option("--ip-col", options->columns.ip, "Column of the IP address or DNS name (1-12)")
      ->required()
      ->check(column);
  command->add_option("--port-col", options->columns.port, "Column of the datagram port (1-12)")->check(column);
  command->add_option("--name-col", options->columns.name, "Column of the site name (1-12)")->check(column);
  auto* append = command->add_option("--append", options->appendTo,
                                     "Site list file to append to; sites it lists already are skipped");
  auto* fresh = command->add_option("--new", options->newFile, "Site list file to write anew (replaced)");
  append->excludes(fresh);
  command->require_option(1, 0);
  auto* ping = command->add_flag("--ping", options->ping,
                                 "Ping the sites first and write what each unit reports; the results are kept in the "
                                 "journal");
  command->add_flag("--successful-only", options->successfulOnly, "Write only the sites that answered")->needs(ping);
  command->add_flag("--json", options->json, "Print one JSON object per row, then the totals");
  command->footer(
      "Exit code 0 when every row was written; 1 when some row was already listed, did not answer\n"
      "(with --successful-only) or the file could not be written; 2 for bad input.");
  command->callback([&context, options] {
    if (options->appendTo.empty() == options->newFile.empty()) {
      context.exitCode = BadInput("import needs one of --append FILE and --new FILE");
      return;
    }
    context.exitCode = Import(context, *options);
  });
}

}  // namespace quenderlink::cli
