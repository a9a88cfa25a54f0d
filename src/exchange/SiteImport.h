#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/RuntimeParams.h"
#include "core/SiteTable.h"
#include "exchange/ImportFile.h"
#include "exchange/ImportLine.h"
#include "net/EngineRequest.h"
#include "net/PingEngineListener.h"
#include "survey/RowOutcome.h"

namespace quenderlink {

// The import list's columns, in order.
enum ImportListColumn : int {
  kImportColSiteId,
  kImportColSubDiv,
  kImportColSiteName,
  kImportColMilepost,
  kImportColTrack,
  kImportColHost,
  kImportColIp,
  kImportColPort,
  kImportColProduct,
  kImportColVersion,
  kImportColStatus,
  kImportColumnCount
};

// A list holds at most this many rows: row numbers are 16 bits, and a site list holds no more.
inline constexpr std::size_t kMostImportRows = 65000;

struct ImportRow {
  int lineNumber = 0;
  std::array<std::string, kImportColumnCount> cells;
  std::uint16_t editedColumns = 0;  // a bit per column the user changed
  // A bit per column whose text had characters a site list cannot hold: they read "?".
  std::uint16_t replacedColumns = 0;
  RowOutcome outcome = RowOutcome::NotSent;
  std::optional<std::uint8_t> progress;  // per cent, while the row waits for its answer

  bool Edited(int column) const { return (editedColumns >> column) & 1u; }
};

// What the user is told of a row whose texts had characters a site list cannot
// hold: "line N: " and the columns' ReplacedCharactersText; empty for none.
std::string ReplacedCharactersNote(const ImportRow& row);

struct ImportTotals {
  int pinged = 0;
  int success = 0;
  int failed = 0;
};

// The display-free part of importing sites from a comma-separated file: the
// rows made from its lines, the user's corrections, the ping records built from
// the rows when a ping starts and what each engine notification does to them,
// and the records a save writes. The import view shows it; the command-line
// tool prints it.
class SiteImport : public PingEngineListener {
 public:
  explicit SiteImport(const RuntimeParams& params);

  using LogLine = std::function<void(const std::string& text)>;

  // A row for every line that is not a comment (";" first), each told to the
  // log as it is read and as it is imported, after a line naming how the file
  // was read. Rows past kMostImportRows are not made; the log says so. Returns
  // the rows added.
  std::size_t AddLines(const ImportFileText& file, const ImportColumns& columns, const HostLookup& lookup,
                       const LogLine& log);
  // Re-Do: no rows and no ping records, so a save cannot write an earlier list's records.
  void Clear();

  // Site name, host, address and port cells can be corrected; a changed cell is
  // marked, and shows at once the "?" its record will hold for a character a
  // site list cannot hold. False when the column cannot be edited or the text
  // is unchanged.
  static bool IsEditableColumn(int column);
  [[nodiscard]] bool EditCell(std::size_t row, int column, const std::string& text);

  // Builds a ping record from every row's cells, as they read now; false with no rows.
  [[nodiscard]] bool BuildPingRecords();
  void PrepareRequest(EngineRequest& request);
  // The user's abort: the engine stops after its current pass.
  void Abort(EngineRequest& request);
  // One 500 ms tick: every waiting row's bar moves on by the progress step.
  void AdvanceProgress();
  bool AnyWaiting() const;

  // The records of the chosen rows (all, or those that answered), row by row;
  // rows without a ping record of their own are never taken.
  std::vector<SiteRecord> ChosenRecords(bool successfulOnly) const;
  bool HasPingRecords() const { return !pingRecords_.empty(); }

  const std::vector<ImportRow>& rows() const { return rows_; }
  const ImportTotals& totals() const { return totals_; }
  const SiteTable& pingRecords() const { return pingRecords_; }
  // The header's totals: rows, answered, pinged, failed.
  std::string TotalsText() const;

  void OnPingSent(std::size_t row, int tries) override;
  void OnPingReply(std::size_t row, const ReplyNotice& notice) override;
  void OnPingTimeout(std::size_t row, int tries) override;
  void OnPingFailed(std::size_t row, int tries) override;
  void OnPingStarted() override;
  void OnPingFinished() override;
  void OnPingBadAddress(std::uint16_t row) override;
  void OnResetConfirmed(std::uint16_t row, const ReplyNotice& notice) override;
  void OnEngineMessage(const std::string& text) override;

  const std::vector<std::string>& engineMessages() const { return engineMessages_; }

 private:
  ImportRow* RowOf(std::size_t row);
  void EndRow(ImportRow& row, RowOutcome outcome, std::string status);

  const RuntimeParams& params_;
  std::uint8_t progressStep_;
  std::vector<ImportRow> rows_;
  SiteTable pingRecords_;
  ImportTotals totals_;
  std::atomic<bool> userAbort_{false};
  std::vector<std::string> engineMessages_;
};

}  // namespace quenderlink
