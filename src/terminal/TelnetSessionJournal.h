#pragma once

#include <cstddef>

#include "core/SiteRecord.h"
#include "journal/JournalRun.h"

namespace quenderlink {

// A telnet session's journal run, one connect to one unit: "session opened"
// once connected, or "session failed" with the connect's error in the
// maintainers' words; the run ends when the session is closed again.
class TelnetSessionJournal {
 public:
  // A connect to the unit of `site` begins.
  void Start(JournalRun run, const SiteRecord& site);
  // The session's connection changed; `connectError` is the session's
  // connectError(). True when that ended the run.
  bool OnConnectionChanged(bool connected, int connectError);

 private:
  JournalRun run_;
  std::size_t unit_ = 0;
  bool opened_ = false;
  bool running_ = false;
};

}  // namespace quenderlink
