#pragma once

#include <cstddef>
#include <span>

namespace quenderlink {

// The entries of a ping run that still wait for a reply, searched in order.
// Entries end roughly in the order they were sent and never wait again, so the
// search starts after the leading run of ended ones: a reply near the end of a
// run over 65,000 units costs no more than one near its start.
template <typename Entry>
class WaitingEntries {
 public:
  explicit WaitingEntries(std::span<Entry> entries) : entries_(entries) {}

  // The first waiting entry the predicate accepts, or none.
  template <typename Accepts>
  Entry* First(Accepts accepts) {
    while (firstWaiting_ < entries_.size() && entries_[firstWaiting_].done) ++firstWaiting_;
    for (Entry& entry : entries_.subspan(firstWaiting_))
      if (!entry.done && accepts(entry)) return &entry;
    return nullptr;
  }

 private:
  std::span<Entry> entries_;
  std::size_t firstWaiting_ = 0;
};

}  // namespace quenderlink
