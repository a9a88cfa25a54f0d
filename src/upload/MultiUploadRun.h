#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include <vector>

#include "core/RunSite.h"
#include "core/SiteRecord.h"
#include "net/DeviceReply.h"
#include "upload/UploadEvent.h"
#include "upload/UploadTally.h"

namespace quenderlink {

// What a view of an upload to many sites does with each engine event: the
// list and the boxes show the same events their own way. Each handler returns
// the place (list row or box) it changed; none when the event's row is not shown.
// Both work on a copy of the highlighted sites taken when they are filled: the
// engine uploads to those, and results go back only into records that are
// still those sites.
class MultiUploadRun {
 public:
  virtual ~MultiUploadRun() = default;

  // The sites the engine uploads to.
  const std::vector<RunSite>& sites() const { return copy_.sites(); }
  // Writes the address the engine reaches a unit at into the unit's record.
  void OnJobAddress(std::uint16_t row, const std::string& address);
  std::size_t unplacedResults() const { return copy_.unplaced(); }

  virtual std::optional<std::size_t> OnUploadEvent(UploadEvent event, std::uint16_t row, int value) = 0;
  virtual std::optional<std::size_t> OnPacketText(std::uint16_t row, const std::string& text) = 0;
  virtual std::optional<std::size_t> OnNewProgramAnswered(std::uint16_t row, const DeviceReply& reply) = 0;
  // A job the engine could not serve: it failed before its first step.
  virtual std::optional<std::size_t> OnJobFailed(std::uint16_t row, const std::string& text) = 0;

  // Each unit's site as it was listed before the upload.
  virtual std::vector<SiteRecord> ListedSites() const = 0;
  virtual const UploadTally& tally() const = 0;
  // The headline once the engine has ended.
  virtual std::string EndHeadline() const = 0;

 protected:
  RunSiteCopy& copy() { return copy_; }
  // Writes the new program's answer into the unit's record, while the record
  // is still that unit's, so that the list and its file tell the truth after
  // the upload: that record, or none.
  SiteRecord* WriteNewProgramReply(std::uint16_t row, const DeviceReply& reply, bool allowChangeSiteName);

 private:
  RunSiteCopy copy_;
};

}  // namespace quenderlink
