#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
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

inline constexpr std::size_t kMaxUploadBoxes = 16;

// How a box's log is marked: light red once its unit failed, light green once
// its last packet was acknowledged.
enum class BoxMark { None, Failed, Good };

// One unit of the upload boxes view: its site, the caption of its button, its
// mark and where its upload stands.
struct UploadBox {
  SiteRecord site;
  std::string caption;
  BoxMark mark = BoxMark::None;
  UploadOutcome outcome = UploadOutcome::NotStarted;
};

// What each event of the upload engine does to the upload boxes view: the
// lines it writes into the unit's box, the box's caption and mark, and the
// totals. Events are matched to boxes by RowNumber; an event for no box
// changes nothing. As the list does, the boxes write the new program's reply
// and the addresses the engine reaches the units at into the site records.
class UploadBoxesRun : public MultiUploadRun {
 public:
  using LineSink = std::function<void(std::size_t box, LogClass kind, const std::string& text)>;

  UploadBoxesRun(SiteTable& sites, const RuntimeParams& params, LineSink sink);

  // One box per highlighted record, in table order, at most 16.
  void FillBoxes();

  // Each returns the box it wrote into.
  std::optional<std::size_t> OnUploadEvent(UploadEvent event, std::uint16_t row, int value) override;
  std::optional<std::size_t> OnPacketText(std::uint16_t row, const std::string& text) override;
  std::optional<std::size_t> OnNewProgramAnswered(std::uint16_t row, const DeviceReply& reply) override;
  std::optional<std::size_t> OnJobFailed(std::uint16_t row, const std::string& text) override;
  std::vector<SiteRecord> ListedSites() const override;
  const UploadTally& tally() const override { return tally_; }
  std::string EndHeadline() const override { return tally_.BoxesEndHeadline(); }

  const std::vector<UploadBox>& boxes() const { return boxes_; }

 private:
  std::optional<std::size_t> Find(std::uint16_t row) const;
  std::optional<std::size_t> Write(std::uint16_t row, LogClass kind, const std::string& text);
  // The box's caption and mark follow its unit's outcome, and the totals count it.
  void Settle(std::size_t box, UploadOutcome outcome);

  SiteTable& sites_;
  const RuntimeParams& params_;
  LineSink sink_;
  std::vector<UploadBox> boxes_;
  UploadTally tally_;
};

// The log font of the boxes: larger and bold for fewer than four boxes.
struct BoxFont {
  int height;
  bool bold;
};
BoxFont BoxFontFor(std::size_t boxCount);

// Columns of the grid the boxes share: as square as the count allows.
int BoxGridColumns(std::size_t boxCount);

}  // namespace quenderlink
