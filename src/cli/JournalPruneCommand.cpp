#include <charconv>
#include <iostream>

#include "cli/JournalArguments.h"
#include "cli/JournalCommands.h"
#include "journal/JournalPrune.h"
#include "journal/JournalTime.h"

namespace quenderlink::cli {
namespace {

// Days as a positive whole number, written with digits only.
std::optional<int> ParseDays(const std::string& text) {
  int days = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), days);
  if (error != std::errc() || end != text.data() + text.size() || days < 1 || text.front() == '+') return std::nullopt;
  return days;
}

[[nodiscard]] int Prune(const CommandContext& context, const std::string& olderThan) {
  const std::optional<int> days = ParseDays(olderThan);
  if (!days) return BadInput("--older-than takes a positive whole number of days, not \"" + olderThan + "\"");
  const ProgramState state = context.LoadProgramState();
  const std::filesystem::path file = JournalFileOf(state);
  const PruneOutcome outcome = PruneJournal(file, *days, JournalNow());
  if (!outcome.result) return Failed(outcome.result.reason());
  std::cout << "Removed " << outcome.resultsRemoved << (outcome.resultsRemoved == 1 ? " result" : " results")
            << " older than " << *days << (*days == 1 ? " day" : " days") << " from " << file.string() << '\n';
  return kExitOk;
}

}  // namespace

void AddJournalCommands(CLI::App& app, CommandContext& context) {
  auto* journal = app.add_subcommand("journal", "Keep the journal of runs (journal.sqlite in the program folder)");
  journal->require_subcommand(1);
  auto* prune = journal->add_subcommand("prune", "Remove the results older than some days, and the runs that "
                                                 "ended before then");
  auto olderThan = std::make_shared<std::string>();
  prune->add_option("--older-than", *olderThan, "DAYS, a positive whole number")->required();
  prune->footer("The desktop program prunes at start by the setting \"Journal Days\". Exit code 0 when pruned, 1 when "
                "the journal cannot be written, 2 for bad input.");
  prune->callback([&context, olderThan] { context.exitCode = Prune(context, *olderThan); });
}

}  // namespace quenderlink::cli
