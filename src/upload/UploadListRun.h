#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/LogClass.h"
#include "core/RuntimeParams.h"
#include "core/SiteRecord.h"
#include "core/SiteTable.h"
#include "net/DeviceReply.h"
#include "upload/MultiUploadRun.h"
#include "upload/UploadEngineListener.h"
#include "upload/UploadOutcome.h"

namespace quenderlink {

inline constexpr char kUploadWaitingText[] = "Waiting . . .";

// One unit of the multi-site upload list: its site as listed, the time and
// text of its last status, the status's kind (none while it waits) and where
// its upload stands.
struct UploadListRow {
  SiteRecord site;
  std::string time;
  std::string status = kUploadWaitingText;
  std::optional<LogClass> kind;
  UploadOutcome outcome = UploadOutcome::NotStarted;
};

// What each event of the upload engine does to the multi-site upload list and
// its totals. Events are matched to rows by RowNumber; an event for a row that
// is not listed changes nothing. Each handler returns the list position of the
// row it rewrote.
class UploadListRun : public MultiUploadRun {
 public:
  UploadListRun(SiteTable& sites, const RuntimeParams& params);

  // One row per highlighted record, in table order.
  void FillList();

  std::optional<std::size_t> OnUploadEvent(UploadEvent event, std::uint16_t row, int value) override;
  std::optional<std::size_t> OnPacketText(std::uint16_t row, const std::string& text) override;
  // Also writes the reply into the site's record in the table, while it is still that site.
  std::optional<std::size_t> OnNewProgramAnswered(std::uint16_t row, const DeviceReply& reply) override;
  std::optional<std::size_t> OnJobFailed(std::uint16_t row, const std::string& text) override;
  std::vector<SiteRecord> ListedSites() const override;
  const UploadTally& tally() const override { return tally_; }
  std::string EndHeadline() const override { return tally_.ListEndHeadline(); }

  const std::vector<UploadListRow>& rows() const { return rows_; }
  unsigned totalPackets() const { return totalPackets_; }

 private:
  std::optional<std::size_t> Find(std::uint16_t row) const;
  // Counts the row's unit into the totals as its outcome changes.
  void Settle(std::size_t at, UploadOutcome outcome);
  std::size_t SetStatus(std::size_t at, std::string text, LogClass kind, bool stampTime = true);

  SiteTable& sites_;
  const RuntimeParams& params_;
  std::vector<UploadListRow> rows_;
  UploadTally tally_;
  unsigned totalPackets_ = 0;
};

}  // namespace quenderlink
