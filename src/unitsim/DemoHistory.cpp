#include "unitsim/DemoHistory.h"

#include <string>
#include <vector>

#include "core/FixedText.h"
#include "core/RecordText.h"
#include "core/VersionText.h"
#include "journal/JournalUnits.h"

namespace quenderlink::unitsim {
namespace {

constexpr std::int64_t kHourMs = 60 * 60 * 1000;
constexpr std::int64_t kDayMs = 24 * kHourMs;
constexpr int kDays = 7;
constexpr int kPingsADay = 4;
// The units of a run answer one after another, this far apart.
constexpr std::int64_t kUnitSpacingMs = 40;
constexpr std::int64_t kUploadAgoMs = 3 * kDayMs - 5 * kHourMs;
// About one ping in this many is lost on the way, none in the last day: only
// SLATE RUN is down now.
constexpr unsigned kLostEvery = 70;
constexpr char kDemoSettings[] = "demo history";

bool IsSite(const SiteRecord& site, const char* name, int track) {
  return FieldText(site.SiteName) == name && site.TrackIndex == track;
}

// The site that the demo's upload updated: its pings before the upload answered the older release.
bool IsUpdatedByUpload(const SiteRecord& site) { return IsSite(site, "CAPE MARA", 11); }
bool IsFailedUpload(const SiteRecord& site) { return IsSite(site, kDemoFailedUploadSite, 11); }

// The oldest version among the fleet's units of the product.
std::string OlderVersionOf(const DemoFleet& fleet, std::uint8_t product) {
  const SiteRecord* oldest = nullptr;
  for (const SiteRecord& site : fleet.sites) {
    if (site.ProductType != product) continue;
    if (!oldest || site.VersionMajor * 100 + site.VersionMinor < oldest->VersionMajor * 100 + oldest->VersionMinor)
      oldest = &site;
  }
  return oldest ? VersionText(oldest->VersionMajor, oldest->VersionMinor) : std::string();
}

std::string BoardsOf(const SiteRecord& site) {
  return "comm " + RecordFieldUtf8(site.CommVersion) + " / reader " + RecordFieldUtf8(site.ReaderVersion) +
         " / speech " + RecordFieldUtf8(site.SpeechVersion);
}

// The same scattered number for the same unit and ping, each time the demo starts.
std::uint32_t Scattered(std::size_t unit, int ping) {
  std::uint32_t mixed = static_cast<std::uint32_t>(unit) * 73856093u ^ static_cast<std::uint32_t>(ping) * 19349663u;
  mixed ^= mixed >> 13;
  mixed *= 0x5bd1e995u;
  mixed ^= mixed >> 15;
  return mixed;
}

// A reply time that differs by unit, by time of day and from ping to ping, as loopback never would.
int ReplyMs(std::size_t unit, int ping, int delayMs) {
  const int base = 30 + static_cast<int>(unit % 7) * 9;
  const int busyHours = ping % kPingsADay == 2 ? 20 : 0;
  return delayMs + base + busyHours + static_cast<int>(Scattered(unit, ping) % 50);
}

JournalResult PingResult(const DemoFleet& fleet, std::size_t unit, int ping, std::int64_t time, std::int64_t now) {
  const SiteRecord& site = fleet.sites[unit];
  const UnitConfig& config = fleet.units[unit];
  const bool down = IsSite(site, kDemoDownSite, 0) ? time > now - kDayMs : config.faults.silent;
  const bool lost = ping < (kDays - 1) * kPingsADay && Scattered(unit, ping + 1000) % kLostEvery == 0;
  if (down || lost) return ResultOf(ResultOutcome::NoAnswer);
  JournalResult result;
  result.outcome = ResultOutcome::Answered;
  result.replyMs = ReplyMs(unit, ping, config.faults.replyDelayMs);
  result.versionAfter = IsUpdatedByUpload(site) && time < now - kUploadAgoMs
                            ? OlderVersionOf(fleet, site.ProductType)
                            : VersionText(site.VersionMajor, site.VersionMinor);
  result.boards = BoardsOf(site);
  return result;
}

void WritePings(Journal& journal, const DemoFleet& fleet, std::int64_t now) {
  const std::int64_t first = now - kDays * kDayMs + kHourMs / 2;
  for (int ping = 0; ping < kDays * kPingsADay; ++ping) {
    const std::int64_t started = first + ping * (kDayMs / kPingsADay);
    JournalRun run = journal.StartRunAt({RunKind::Ping, "DemoSites.bin", kDemoSettings}, started);
    JournalTotals totals;
    for (std::size_t unit = 0; unit < fleet.sites.size(); ++unit) {
      const std::int64_t time = started + static_cast<std::int64_t>(unit) * kUnitSpacingMs;
      JournalResult result = PingResult(fleet, unit, ping, time, now);
      ++totals.total;
      ++(result.outcome == ResultOutcome::Answered ? totals.succeeded : totals.failed);
      run.RecordAt(run.AddUnit(JournalUnitOf(fleet.sites[unit])), time, std::move(result));
    }
    run.EndAt(RunEnding::Finished, totals, started + static_cast<std::int64_t>(fleet.sites.size()) * kUnitSpacingMs);
  }
}

void WriteUpload(Journal& journal, const DemoFleet& fleet, std::int64_t now) {
  const std::int64_t started = now - kUploadAgoMs;
  JournalRun run = journal.StartRunAt({RunKind::Upload, "DemoSites.bin", kDemoSettings}, started);
  JournalTotals totals;
  std::int64_t time = started;
  for (const SiteRecord& site : fleet.sites) {
    const bool failed = IsFailedUpload(site);
    if (!failed && !IsUpdatedByUpload(site)) continue;
    time += 2 * 60 * 1000;
    JournalResult result = ResultOf(failed ? ResultOutcome::UploadFailed : ResultOutcome::UploadSucceeded,
                                    failed ? UploadStep::Packets : UploadStep::None);
    result.versionBefore = failed ? VersionText(site.VersionMajor, site.VersionMinor)
                                  : OlderVersionOf(fleet, site.ProductType);
    if (failed) {
      result.error = "no answer at the packets step";
    } else {
      result.versionAfter = VersionText(site.VersionMajor, site.VersionMinor);
      result.boards = BoardsOf(site);
    }
    ++totals.total;
    ++(failed ? totals.failed : totals.succeeded);
    run.RecordAt(run.AddUnit(JournalUnitOf(site)), time, std::move(result));
  }
  run.EndAt(RunEnding::Finished, totals, time);
}

}  // namespace

void WriteDemoHistory(Journal& journal, const DemoFleet& fleet, std::int64_t now) {
  WritePings(journal, fleet, now);
  WriteUpload(journal, fleet, now);
}

}  // namespace quenderlink::unitsim
