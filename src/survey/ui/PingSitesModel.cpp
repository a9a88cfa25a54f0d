#include "survey/ui/PingSitesModel.h"

#include <QBrush>
#include <QColor>

#include "survey/PingRowLook.h"
#include "survey/PingSitesColumns.h"

namespace quenderlink {
namespace {

QVariant RowBackground(PingRowLook look) {
  switch (look) {
    case PingRowLook::Sending: return QBrush(QColor(255, 250, 205));
    case PingRowLook::Success: return QBrush(QColor(204, 255, 204));
    case PingRowLook::Failed: return QBrush(QColor(255, 204, 204));
    case PingRowLook::Plain: break;
  }
  return {};
}

}  // namespace

PingSitesModel::PingSitesModel(const PingSitesRun& run, const ProgramState& state, QObject* parent)
    : QAbstractTableModel(parent), run_(run), state_(state) {}

int PingSitesModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int PingSitesModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kPingSitesColumnCount;
}

QVariant PingSitesModel::data(const QModelIndex& index, int role) const {
  // The run refills its list just before the model hears of it.
  if (!index.isValid() || index.row() >= rows_ || static_cast<std::size_t>(index.row()) >= run_.rows().size())
    return {};
  const PingSiteRow& row = run_.rows()[static_cast<std::size_t>(index.row())];
  const int column = index.column();
  switch (role) {
    case Qt::DisplayRole: {
      if (column == kPingColResults) return QString::fromStdString(row.results);
      return QString::fromStdString(PingSitesCellText(row.site, column, index.row(), state_.params));
    }
    case Qt::BackgroundRole: return RowBackground(PingRowLookOf(row.outcome));
    case kProgressRole:
      if (column != kPingColResults || !row.progress) return {};
      return static_cast<int>(*row.progress);
    default: return {};
  }
}

QVariant PingSitesModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  const std::string_view header = PingSitesColumnHeader(section);
  if (header.empty()) return {};
  return QString::fromUtf8(header.data(), static_cast<qsizetype>(header.size()));
}

void PingSitesModel::Refill() {
  beginResetModel();
  rows_ = static_cast<int>(run_.rows().size());
  endResetModel();
}

void PingSitesModel::SiteChanged(std::uint16_t rowNumber) {
  const std::optional<std::size_t> listed = run_.ListIndexOf(rowNumber);
  if (!listed || *listed >= static_cast<std::size_t>(rows_)) return;
  const int row = static_cast<int>(*listed);
  emit dataChanged(index(row, 0), index(row, kPingSitesColumnCount - 1));
}

void PingSitesModel::ResultsChanged() {
  if (rows_ == 0) return;
  emit dataChanged(index(0, kPingColResults), index(rows_ - 1, kPingColResults));
}

void PingSitesModel::Clear() {
  beginResetModel();
  rows_ = 0;
  endResetModel();
}

}  // namespace quenderlink
