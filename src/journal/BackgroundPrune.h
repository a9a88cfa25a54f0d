#pragma once

#include <thread>

namespace quenderlink {

class Journal;

// The journal's results older than "Journal Days" removed on a thread of its
// own, so that the program's start never waits for them. The prune works in
// short transactions, so runs writing meanwhile are not held up either; its
// end is waited for when this goes.
class BackgroundPrune {
 public:
  // A `days` of 0, which a slip in the settings file also reads as, prunes
  // nothing rather than everything.
  BackgroundPrune(Journal& journal, int days);
  ~BackgroundPrune();
  BackgroundPrune(const BackgroundPrune&) = delete;
  BackgroundPrune& operator=(const BackgroundPrune&) = delete;

 private:
  std::thread thread_;
};

}  // namespace quenderlink
