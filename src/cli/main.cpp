#include <CLI/CLI.hpp>

#include "cli/CommandContext.h"
#include "cli/DeviceCommands.h"
#include "cli/JournalCommands.h"
#include "cli/ProgramCommands.h"
#include "cli/SettingsCommands.h"
#include "cli/SitesCommands.h"

int main(int argc, char** argv) {
  using namespace quenderlink::cli;

  CLI::App app{"Quenderlink command-line tool: site lists, program files, settings and the journal of runs.",
               "quenderlink-cli"};
  app.set_version_flag("--version", "Quenderlink 9.0");
  app.require_subcommand(1);
  app.fallthrough();

  CommandContext context;
  app.add_option("--home", context.home,
                 "Program folder holding Quenderlink.ini and the default site list "
                 "(default: the folder of this program when writable and not installed, else $XDG_DATA_HOME/quenderlink)");
  AddSitesCommands(app, context);
  AddProgramCommands(app, context);
  AddSettingsCommands(app, context);
  AddDecodeCommand(app, context);
  AddPingCommand(app, context);
  AddScanCommand(app, context);
  AddIcmpCommand(app, context);
  AddResetCommand(app, context);
  AddUploadCommand(app, context);
  AddTelnetCommand(app, context);
  AddImportCommand(app, context);
  AddHistoryCommand(app, context);
  AddReportCommands(app, context);
  AddJournalCommands(app, context);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    const int code = app.exit(error);
    return code == 0 ? kExitOk : kExitBadInput;
  } catch (const std::exception& error) {
    return Failed(error.what());
  }
  return context.exitCode;
}
