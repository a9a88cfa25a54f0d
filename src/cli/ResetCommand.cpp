#include <atomic>
#include <chrono>
#include <iostream>
#include <optional>
#include <thread>

#include "cli/CommandJournal.h"
#include "cli/DeviceCommands.h"
#include "cli/InterruptibleRun.h"
#include "core/FixedText.h"
#include "journal/JournalRecords.h"
#include "journal/RunSettingsText.h"
#include "net/HostAddress.h"
#include "upload/ResetWait.h"

namespace quenderlink::cli {
namespace {

struct ResetOptions {
  std::string host;
  std::optional<std::uint16_t> port;
};

[[nodiscard]] int Reset(const CommandContext& context, const ResetOptions& options) {
  if (options.host.empty() || options.host.size() >= sizeof(SiteRecord::HostText))
    return BadInput("HOST takes 1 to 46 characters");
  ProgramState state = context.LoadProgramState();
  SiteRecord site = NewSiteRecord(options.port.value_or(state.params.defaultPortNum));
  SetFieldText(site.HostText, options.host);
  SetFieldText(site.IpByNumber, AddressForHost(options.host));

  CommandJournal journal(state);
  JournalRun run = journal.StartRun(RunKind::Reset, {}, PingSettingsText(state.params));
  // A unit named on the command line has no site name or milepost of its own.
  JournalUnit named;
  named.address = std::string(FieldText(site.IpByNumber));
  named.port = site.DevicePort;
  named.host = options.host;
  const std::size_t unit = run.AddUnit(std::move(named));
  ResetWait wait(site, state.params, [](LogClass, const std::string& line) { std::cout << line << std::flush; });
  if (!wait.socketReady()) std::cerr << "ERROR CREATE\n";
  std::atomic<bool> stop{false};
  ResetWait::State outcome = ResetWait::State::Waiting;
  const bool interrupted = RunInterruptibly(
      [&] {
        wait.SendReset();
        // The desktop program ticks from a 100 ms timer; here a sleep between ticks does.
        while (outcome == ResetWait::State::Waiting && !stop) {
          std::this_thread::sleep_for(std::chrono::milliseconds(ResetWait::kTickMs));
          outcome = wait.Tick();
        }
      },
      [&] { stop = true; });

  const bool confirmed = outcome == ResetWait::State::Confirmed;
  if (interrupted && !confirmed) {
    run.End(RunEnding::Aborted, {1, 0, 0});
    return kExitFailed;
  }
  run.Record(unit, ResultOf(confirmed ? ResultOutcome::ResetConfirmed : ResultOutcome::NoAnswer));
  run.End(RunEnding::Finished, {1, confirmed ? 1 : 0, confirmed ? 0 : 1});
  return confirmed ? kExitOk : kExitFailed;
}

}  // namespace

void AddResetCommand(CLI::App& app, CommandContext& context) {
  auto* reset = app.add_subcommand("reset", "Tell one unit to reset itself and wait for its confirmation");
  auto options = std::make_shared<ResetOptions>();
  reset->add_option("HOST", options->host, "Dotted address or DNS name of the unit")->required();
  reset->add_option("--port", options->port, "Datagram port (default: the setting Default Port Num)")
      ->check(CLI::Range(1, 65535));
  reset->footer("The result is kept in the journal. Exit code 0 when the unit confirmed, 1 when it did not answer "
                "within Max Wait Response or the wait was stopped (Ctrl-C).");
  reset->callback([&context, options] { context.exitCode = Reset(context, *options); });
}

}  // namespace quenderlink::cli
