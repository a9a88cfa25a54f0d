#include "journal/ui/AvailabilityWorker.h"

#include "workers/ui/UiThreadCalls.h"

namespace quenderlink {

AvailabilityWorker::AvailabilityWorker(std::filesystem::path journal, Receive receive, QObject* parent)
    : QObject(parent), journal_(std::move(journal)), receive_(std::move(receive)) {}

AvailabilityWorker::~AvailabilityWorker() { Finish(); }

void AvailabilityWorker::Start(std::vector<ListedSite> sites, JournalPeriod period) {
  Finish();
  stop_ = false;
  done_ = false;
  worker_ = std::thread([this, sites = std::move(sites), period] {
    // A connection of the worker's own: a reader is used on one thread.
    JournalReader reader(journal_);
    std::vector<AvailabilityRow> rows = AvailabilityOfSites(reader, sites, period);
    const std::string failure = reader.opened() ? std::string() : reader.opened().reason();
    // Its last call, so that the wait in Finish wakes up.
    CallOnThreadOf(this, [this, &rows, &failure] {
      done_ = true;
      if (!stop_) receive_(std::move(rows), failure);
    });
  });
}

void AvailabilityWorker::Finish() {
  stop_ = true;
  JoinServingCalls(worker_, [this] { return done_; });
}

}  // namespace quenderlink
