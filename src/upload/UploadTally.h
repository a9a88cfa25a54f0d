#pragma once

#include <string>

#include "upload/UploadOutcome.h"

namespace quenderlink {

// The running totals of an upload to many sites and the headlines that show
// them. A unit counts as successful once its last packet is acknowledged (the
// new program's answer or silence does not change the totals), and as failed
// once it fails at any step.
struct UploadTally {
  unsigned total = 0;
  unsigned successful = 0;
  unsigned failed = 0;

  // Counts a unit whose outcome changed from `before` to `after`.
  void Count(UploadOutcome before, UploadOutcome after);

  std::string RunningHeadline() const;
  // The list view's headline at the end, on one line.
  std::string ListEndHeadline() const;
  // The boxes view's headline at the end, on two indented lines.
  std::string BoxesEndHeadline() const;
};

}  // namespace quenderlink
