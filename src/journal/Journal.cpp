#include "journal/Journal.h"

#include "journal/JournalFile.h"
#include "journal/JournalTime.h"
#include "journal/JournalWriter.h"

namespace quenderlink {

namespace {

// How often a batch is tried while another program holds the journal, each
// try waiting up to the busy time-out, before the journal is given up.
constexpr int kBusyTries = 6;

}  // namespace

Journal::Journal(std::filesystem::path file)
    : file_(std::move(file)), queue_(std::make_shared<JournalQueue>()), writer_([this] { WriteUntilStopped(); }) {}

Journal::~Journal() {
  queue_->Stop();
  writer_.join();
}

JournalRun Journal::StartRun(const JournalRunInfo& info) { return StartRunAt(info, JournalNow()); }

JournalRun Journal::StartRunAt(const JournalRunInfo& info, std::int64_t started) {
  const std::uint64_t run = queue_->NextRun();
  queue_->Push(StartRunCommand{run, started, info});
  return JournalRun(queue_, run);
}

void Journal::Flush() { queue_->WaitDrained(); }

std::string Journal::TakeUntoldFailure() { return queue_->TakeUntoldFailure(); }

void Journal::WriteUntilStopped() {
  OpenedJournal opened = OpenJournalForWriting(file_);
  if (!opened.result) queue_->Fail(opened.result.reason());
  opening_.set_value();
  JournalWriter writer(std::move(opened.connection), OriginOfThisProcess());
  for (;;) {
    const std::vector<JournalCommand> batch = queue_->TakeAll();
    if (batch.empty()) return;
    Result written;
    bool busy = true;
    for (int tries = 0; busy && tries < kBusyTries; ++tries) written = writer.Write(batch, busy);
    if (!written) queue_->Fail(written.reason());
    queue_->Done(batch.size());
  }
}

}  // namespace quenderlink
