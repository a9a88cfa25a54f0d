#include "journal/ui/HistoryModel.h"

#include <QBrush>

#include "journal/ReplyChart.h"

namespace quenderlink {

int HistoryModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int HistoryModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kHistoryColumnCount; }

QVariant HistoryModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount() || index.column() >= kHistoryColumnCount) return {};
  const auto row = static_cast<std::size_t>(index.row());
  switch (role) {
    case Qt::DisplayRole: return QString::fromStdString(rows_[row][static_cast<std::size_t>(index.column())]);
    case Qt::ForegroundRole:
      if (failed_[row]) return QBrush(Qt::red);
      return {};
    default: return {};
  }
}

QVariant HistoryModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  const std::string_view header = HistoryColumnHeader(section);
  return QString::fromUtf8(header.data(), static_cast<qsizetype>(header.size()));
}

void HistoryModel::SetEntries(const std::vector<HistoryEntry>& entries) {
  beginResetModel();
  rows_.clear();
  failed_.clear();
  for (const HistoryEntry& entry : entries) {
    rows_.push_back(HistoryRowOf(entry));
    failed_.push_back(IsChartFailure(entry.result.outcome));
  }
  endResetModel();
}

}  // namespace quenderlink
