#include "upload/UploadOutcome.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "upload/UploadTally.h"

namespace quenderlink {
namespace {

using enum UploadEvent;
using enum UploadOutcome;

// A unit's events in order: where they leave it, and what the totals counted of it.
TEST(UploadOutcomeTest, AUnitsEventsDecideItsOutcomeAndTheTotalsCountItOnce) {
  struct Case {
    const char* name;
    std::vector<UploadEvent> events;
    UploadOutcome outcome;
    unsigned successful, failed;
  };
  const Case cases[] = {
      {"no event yet", {}, NotStarted, 0, 0},
      {"the run's end is no unit's", {EngineDone}, NotStarted, 0, 0},
      {"under way", {Start, IdentificationTimeout, IdentificationSent, PacketText, Nak}, Running, 0, 0},
      {"loaded", {Start, Ack, LastPacketAcknowledged, NewProgramPingSent}, Loaded, 1, 0},
      {"answered", {Start, LastPacketAcknowledged, NewProgramPingSent, NewProgramAnswered}, Answered, 1, 0},
      {"new program silent", {Start, LastPacketAcknowledged, NewProgramGivenUp}, NewProgramSilent, 1, 0},
      {"silence counts only a loaded unit", {NewProgramGivenUp}, NewProgramSilent, 0, 0},
      {"no identification", {Start, IdentificationTimeout, IdentificationGivenUp}, NoDeviceAnswer, 0, 1},
      {"no RAM loader", {Start, RamLoaderPingSent, RamLoaderGivenUp}, NoRamLoaderAnswer, 0, 1},
      {"no packet answer", {Start, PacketTimeout, Fragmented, PacketGivenUp}, NoPacketAnswer, 0, 1},
  };
  for (const Case& c : cases) {
    UploadOutcome outcome = NotStarted;
    UploadTally tally;
    for (const UploadEvent event : c.events) {
      const UploadOutcome after = OutcomeAfter(outcome, event);
      tally.Count(outcome, after);
      outcome = after;
    }
    EXPECT_EQ(std::tuple(outcome, tally.successful, tally.failed), std::tuple(c.outcome, c.successful, c.failed))
        << c.name;
  }
}

}  // namespace
}  // namespace quenderlink
