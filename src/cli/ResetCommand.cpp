#include <chrono>
#include <iostream>
#include <optional>
#include <thread>

#include "cli/DeviceCommands.h"
#include "core/FixedText.h"
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
  const ProgramState state = context.LoadProgramState();
  SiteRecord site = NewSiteRecord(options.port.value_or(state.params.defaultPortNum));
  SetFieldText(site.HostText, options.host);
  SetFieldText(site.IpByNumber, AddressForHost(options.host));

  ResetWait wait(site, state.params, [](LogClass, const std::string& line) { std::cout << line << std::flush; });
  if (!wait.socketReady()) std::cerr << "ERROR CREATE\n";
  wait.SendReset();
  // The desktop program ticks from a 100 ms timer; here a sleep between ticks does.
  ResetWait::State outcome = ResetWait::State::Waiting;
  while (outcome == ResetWait::State::Waiting) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ResetWait::kTickMs));
    outcome = wait.Tick();
  }
  return outcome == ResetWait::State::Confirmed ? kExitOk : kExitFailed;
}

}  // namespace

void AddResetCommand(CLI::App& app, CommandContext& context) {
  auto* reset = app.add_subcommand("reset", "Tell one unit to reset itself and wait for its confirmation");
  auto options = std::make_shared<ResetOptions>();
  reset->add_option("HOST", options->host, "Dotted address or DNS name of the unit")->required();
  reset->add_option("--port", options->port, "Datagram port (default: the setting Default Port Num)")
      ->check(CLI::Range(1, 65535));
  reset->footer("Exit code 0 when the unit confirmed, 1 when it did not answer within Max Wait Response.");
  reset->callback([&context, options] { context.exitCode = Reset(context, *options); });
}

}  // namespace quenderlink::cli
