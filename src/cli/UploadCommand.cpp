#include <chrono>
#include <iostream>
#include <map>
#include <nlohmann/json.hpp>

#include "cli/CliPrompts.h"
#include "cli/CommandJournal.h"
#include "cli/DeviceCommands.h"
#include "cli/EngineEventLog.h"
#include "cli/InterruptibleRun.h"
#include "cli/JsonText.h"
#include "cli/SiteListArgument.h"
#include "core/FixedText.h"
#include "core/RecordText.h"
#include "core/RunSite.h"
#include "core/ProgramFileIdentification.h"
#include "core/Utf8Text.h"
#include "journal/RunSettingsText.h"
#include "net/ReplyToSite.h"
#include "upload/JournalUploadRecorder.h"
#include "upload/UploadEngine.h"
#include "upload/UploadLog.h"
#include "upload/UploadOutcome.h"

namespace quenderlink::cli {
namespace {

struct UploadOptions {
  std::string program;
  std::string sites;
  std::string rows;
  bool all = false;
  bool yes = false;
  bool json = false;
};

// A unit's result in the summary; `failure` is why the engine could not serve it.
std::string ResultText(UploadOutcome outcome, const std::string& failure) {
  switch (outcome) {
    case UploadOutcome::NotStarted: return "NOT STARTED";
    case UploadOutcome::Running:
    case UploadOutcome::Loaded: return "NOT FINISHED";
    case UploadOutcome::Answered: return "SUCCESS";
    case UploadOutcome::NewProgramSilent: return "PROGRAM LOADED, NO RESPONSE FROM NEW PROGRAM";
    case UploadOutcome::NoDeviceAnswer: return "FAILED: NO RESPONSE FROM DEVICE";
    case UploadOutcome::NoRamLoaderAnswer: return "FAILED: NO RESPONSE FROM RAM LOADER";
    case UploadOutcome::NoPacketAnswer: return "FAILED: NO RESPONSE TO PACKET";
    case UploadOutcome::NotServed: return "FAILED: " + failure;
  }
  return {};
}

// Prints the run as the upload dialog's log (or as JSON lines), writes each new
// program's reply into its site record, and keeps how each unit ended.
class UploadReport : public UploadEngineListener {
 public:
  UploadReport(SiteTable& sites, const RuntimeParams& params, bool json)
      : sites_(sites),
        params_(params),
        json_(json),
        log_(params, [this](std::uint16_t row, LogClass, const std::string& text) { PrintLines(row, text); }),
        start_(std::chrono::steady_clock::now()) {
    units_.Take(sites, kFlagHighlighted);
  }

  // The highlighted sites, as the engine gets them.
  const std::vector<RunSite>& units() const { return units_.sites(); }

  void OnJobAddress(std::uint16_t row, const std::string& address) override {
    if (SiteRecord* site = units_.RecordOf(row)) SetFieldText(site->IpByNumber, address);
  }

  void OnUploadEvent(UploadEvent event, std::uint16_t row, int value) override {
    Follow(event, row);
    if (json_) return Print(MessageNumber(event), row, value);
    log_.OnUploadEvent(event, row, value);
  }

  void OnPacketText(std::uint16_t row, const std::string& text) override {
    if (json_) return Print(MessageNumber(UploadEvent::PacketText), row, 0, text);
    log_.OnPacketText(row, text);
  }

  void OnNewProgramAnswered(std::uint16_t row, const DeviceReply& reply) override {
    Follow(UploadEvent::NewProgramAnswered, row);
    if (SiteRecord* site = units_.RecordOf(row))
      CopyNewProgramReplyIntoSite(reply, params_.allowChangeSiteName, *site);
    if (json_) return Print(MessageNumber(UploadEvent::NewProgramAnswered), row, 0);
    log_.OnNewProgramAnswered(row, reply);
  }

  void OnUploadFailed(UploadFailure failure, std::uint16_t row, const std::string& text) override {
    failures_[row] = text;
    outcomes_[row] = UploadOutcome::NotServed;
    if (failure != UploadFailure::NoSocket) runFailed_ = true;
    if (json_) return Print(0, row, 0, text);
    log_.OnUploadFailed(failure, row, text);
  }

  void OnUploadDone() override {
    if (json_) Print(MessageNumber(UploadEvent::EngineDone), 0, 0);
  }

  bool runFailed() const { return runFailed_; }

  // One result per unit; true when every unit answered with its new program.
  bool PrintSummary() const {
    bool allAnswered = true;
    for (const SiteRecord& site : sites_.records()) {
      if (!(site.SiteFlags & kFlagHighlighted)) continue;
      const std::uint16_t row = site.RowNumber;
      const auto found = outcomes_.find(row);
      const UploadOutcome outcome = found == outcomes_.end() ? UploadOutcome::NotStarted : found->second;
      const auto failure = failures_.find(row);
      const std::string result = ResultText(outcome, failure == failures_.end() ? "" : failure->second);
      allAnswered = allAnswered && outcome == UploadOutcome::Answered;
      if (json_)
        std::cout << nlohmann::ordered_json{{"summary",
                                             {{"RowNumber", row},
                                              {"HostText", JsonText(FieldText(site.HostText))},
                                              {"Result", result},
                                              {"VersionMajor", Number(site.VersionMajor)},
                                              {"VersionMinor", Number(site.VersionMinor)}}}}
                         .dump()
                  << '\n';
      else
        std::printf("%5d  %s  %s\n", row, PaddedToWidth(RecordFieldUtf8(site.HostText), 24).c_str(), result.c_str());
    }
    return allAnswered;
  }

 private:
  void Follow(UploadEvent event, std::uint16_t row) {
    UploadOutcome& outcome = outcomes_.try_emplace(row, UploadOutcome::NotStarted).first->second;
    outcome = OutcomeAfter(outcome, event);
  }

  void PrintLines(std::uint16_t row, std::string text) const {
    std::erase(text, '\r');
    std::size_t start = 0;
    while (start < text.size()) {
      const std::size_t end = std::min(text.find('\n', start), text.size());
      if (end > start) std::cout << "[row " << row << "] " << text.substr(start, end - start) << '\n';
      start = end + 1;
    }
    std::cout.flush();
  }

  void Print(int event, std::uint16_t row, int value, const std::string& text = {}) const {
    std::cout << EngineEventJson(start_, event, row, value, text) << '\n' << std::flush;
  }

  SiteTable& sites_;
  const RuntimeParams& params_;
  bool json_;
  UploadLog log_;
  RunSiteCopy units_;
  std::chrono::steady_clock::time_point start_;
  std::map<std::uint16_t, UploadOutcome> outcomes_;
  std::map<std::uint16_t, std::string> failures_;
  bool runFailed_ = false;
};

[[nodiscard]] int Upload(const CommandContext& context, const UploadOptions& options) {
  ProgramState state = context.LoadProgramState();
  if (const int marked = LoadAndMarkRows(options.sites, options.rows, kFlagTicked | kFlagHighlighted, state);
      marked != kExitOk)
    return marked;

  CliPrompts prompts(std::cerr, options.yes);
  if (!CheckProgramFile(options.program, prompts) ||
      !CheckProgramForSites(options.program, state.sites, state.params, prompts))
    return kExitFailed;

  CommandJournal journal(state);
  UploadReport report(state.sites, state.params, options.json);
  UploadRequest request;
  JournalUploadRecorder recorder(
      journal.StartRun(RunKind::Upload, state.currentSiteFile, UploadSettingsText(state.params)), report, request.stop);
  for (const SiteRecord& site : state.sites.records())
    if (site.SiteFlags & kFlagHighlighted) recorder.AddSite(site);
  request.listener = &recorder;
  request.sites = report.units();
  request.filePath = options.program;
  request.params = &state.params;
  (void)RunInterruptibly([&] { UploadEngine(request); }, [&] { request.stop = 1; });

  if (const int saved = SaveLoadedSiteList(options.sites, state); saved != kExitOk) return saved;
  const bool allAnswered = report.PrintSummary();
  return allAnswered && !report.runFailed() && request.stop == 0 ? kExitOk : kExitFailed;
}

}  // namespace

void AddUploadCommand(CLI::App& app, CommandContext& context) {
  auto* upload = app.add_subcommand("upload", "Upload a program file to the chosen units of a site list file");
  auto options = std::make_shared<UploadOptions>();
  upload->add_option("PROGRAM", options->program, "Program file (.bin image or .s19 S-records)")->required();
  upload->add_option("--sites", options->sites, "Site list file")->required();
  auto* rows = upload->add_option("--rows", options->rows, "Row numbers to upload to, like 1,3-5");
  auto* all = upload->add_flag("--all", options->all, "Upload to every site");
  rows->excludes(all);
  upload->add_flag("--yes", options->yes, "Proceed where the desktop program would ask (unknown or mismatched units)");
  upload->add_flag("--json", options->json, "Print every engine event and a summary per unit as JSON lines");
  upload->footer("Each unit's upload is kept in the journal. Exit code 0 only when every unit answered with its new "
                 "program; Ctrl-C stops the run.");
  upload->callback([&context, options] {
    if (options->rows.empty() && !options->all) {
      context.exitCode = BadInput("choose the units with --rows LIST or --all");
      return;
    }
    context.exitCode = Upload(context, *options);
  });
}

}  // namespace quenderlink::cli
