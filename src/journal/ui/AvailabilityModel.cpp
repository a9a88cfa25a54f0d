#include "journal/ui/AvailabilityModel.h"

#include <QBrush>

namespace quenderlink {

int AvailabilityModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int AvailabilityModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kAvailabilityColumnCount;
}

QVariant AvailabilityModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount() || index.column() >= kAvailabilityColumnCount) return {};
  const AvailabilityRow& row = rows_[static_cast<std::size_t>(index.row())];
  switch (role) {
    case Qt::DisplayRole: return QString::fromStdString(AvailabilityCellText(row, index.column()));
    case Qt::TextAlignmentRole:
      if (index.column() == kAvailColPings || index.column() == kAvailColShare || index.column() == kAvailColPort)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
      return {};
    case Qt::ForegroundRole:
      // A site that is down now stands out.
      if (row.figures.downSince) return QBrush(Qt::red);
      return {};
    default: return {};
  }
}

QVariant AvailabilityModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  const std::string_view header = AvailabilityColumnHeader(section);
  return QString::fromUtf8(header.data(), static_cast<qsizetype>(header.size()));
}

void AvailabilityModel::sort(int column, Qt::SortOrder order) {
  if (column < 0 || column >= kAvailabilityColumnCount) return;
  sortColumn_ = column;
  sortOrder_ = order;
  beginResetModel();
  SortAvailabilityRows(rows_, column, order == Qt::AscendingOrder);
  endResetModel();
}

void AvailabilityModel::SetRows(std::vector<AvailabilityRow> rows) {
  beginResetModel();
  rows_ = std::move(rows);
  if (sortColumn_ >= 0) SortAvailabilityRows(rows_, sortColumn_, sortOrder_ == Qt::AscendingOrder);
  endResetModel();
}

}  // namespace quenderlink
