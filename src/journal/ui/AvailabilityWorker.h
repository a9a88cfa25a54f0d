#pragma once

#include <QObject>

#include <atomic>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "journal/AvailabilityRows.h"

namespace quenderlink {

// Works out the availability of a list of sites on a worker thread, a list of
// 65,000 taking about a second, and hands the rows to this object's thread.
class AvailabilityWorker : public QObject {
 public:
  // The rows, and why the journal could not be read when it could not (empty when it could).
  using Receive = std::function<void(std::vector<AvailabilityRow> rows, const std::string& failure)>;

  AvailabilityWorker(std::filesystem::path journal, Receive receive, QObject* parent = nullptr);
  // Waits for a count still going; its rows are not handed over.
  ~AvailabilityWorker() override;

  // A count still going is waited for first; its rows are not handed over.
  void Start(std::vector<ListedSite> sites, JournalPeriod period);
  bool running() const { return !done_; }

 private:
  void Finish();

  std::filesystem::path journal_;
  Receive receive_;
  // The rows of the count going are no longer wanted.
  std::atomic<bool> stop_{false};
  std::thread worker_;
  // Set on this object's thread, as the worker's last call.
  bool done_ = true;
};

}  // namespace quenderlink
