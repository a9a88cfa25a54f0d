#pragma once

#include <filesystem>
#include <future>
#include <memory>
#include <string>
#include <thread>

#include "journal/JournalRun.h"

namespace quenderlink {

// The journal of every run and unit result, written by a thread of its own so
// that no run waits for the database. A journal that cannot be opened or
// written takes nothing more; the runs go on, and the first one to end after
// that tells the user once why (`TakeUntoldFailure`).
class Journal {
 public:
  // Opens `file` on the writer thread, created when missing.
  explicit Journal(std::filesystem::path file);
  // Writes everything queued, then stops the writer.
  ~Journal();
  Journal(const Journal&) = delete;
  Journal& operator=(const Journal&) = delete;

  JournalRun StartRun(const JournalRunInfo& info);
  // A run that started at the time given (milliseconds since 1970 UTC).
  JournalRun StartRunAt(const JournalRunInfo& info, std::int64_t started);
  // Waits until everything handed over so far is committed, or dropped by a failure.
  void Flush();
  // Waits until the writer has opened the file (or failed to), so that another
  // connection opened after it never finds a file the writer is still moving
  // aside or creating.
  void WaitOpened() const { opened_.wait(); }
  // "Journal not written: <reason>" the first time the journal failed; empty otherwise.
  std::string TakeUntoldFailure();
  const std::filesystem::path& file() const { return file_; }

 private:
  void WriteUntilStopped();

  std::filesystem::path file_;
  std::shared_ptr<JournalQueue> queue_;
  std::promise<void> opening_;
  std::shared_future<void> opened_ = opening_.get_future().share();
  std::thread writer_;
};

}  // namespace quenderlink
