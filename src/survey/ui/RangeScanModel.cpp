#include "survey/ui/RangeScanModel.h"

namespace quenderlink {

RangeScanModel::RangeScanModel(QObject* parent) : QAbstractTableModel(parent) {}

int RangeScanModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() || run_ == nullptr ? 0 : static_cast<int>(run_->rows().size());
}

int RangeScanModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kRangeColumnCount; }

const RangeRow* RangeScanModel::RowAt(const QModelIndex& index) const {
  if (!index.isValid() || run_ == nullptr || index.row() >= rowCount()) return nullptr;
  return &run_->rows()[static_cast<std::size_t>(index.row())];
}

QVariant RangeScanModel::Progress(std::size_t row) const {
  const RangeEntry& entry = run_->entry(row);
  // A bar only while the address waits for its answer.
  if (entry.tries == 0 || entry.done || run_->rows()[row].outcome != RowOutcome::Sending) return {};
  return static_cast<int>(entry.progress);
}

QVariant RangeScanModel::data(const QModelIndex& index, int role) const {
  const RangeRow* row = RowAt(index);
  if (row == nullptr) return {};
  const int column = index.column();
  switch (role) {
    case Qt::DisplayRole:
      if (column == kRangeColCnt) return index.row() + 1;
      if (const std::string* text = RangeCellText(*row, column)) return QString::fromStdString(*text);
      return {};
    case Qt::CheckStateRole:
      if (column != kRangeColCheck) return {};
      return static_cast<int>(row->checked ? Qt::Checked : Qt::Unchecked);
    case kProgressRole:
      if (column != kRangeColStatus) return {};
      return Progress(static_cast<std::size_t>(index.row()));
    default:
      return {};
  }
}

bool RangeScanModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::CheckStateRole || index.column() != kRangeColCheck || RowAt(index) == nullptr) return false;
  run_->rows()[static_cast<std::size_t>(index.row())].checked = value.toInt() == Qt::Checked;
  emit dataChanged(index, index, {Qt::CheckStateRole});
  return true;
}

QVariant RangeScanModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= kRangeColumnCount)
    return {};
  const std::string_view header = RangeColumnHeader(section);
  return QString::fromLatin1(header.data(), static_cast<qsizetype>(header.size()));
}

Qt::ItemFlags RangeScanModel::flags(const QModelIndex& index) const {
  if (RowAt(index) == nullptr) return Qt::NoItemFlags;
  const Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  return index.column() == kRangeColCheck ? flags | Qt::ItemIsUserCheckable : flags;
}

void RangeScanModel::SetRun(RangeScanRun* run) {
  beginResetModel();
  run_ = run;
  endResetModel();
}

void RangeScanModel::RowChanged(std::size_t row) {
  if (static_cast<int>(row) >= rowCount()) return;
  emit dataChanged(index(static_cast<int>(row), 0), index(static_cast<int>(row), kRangeColumnCount - 1));
}

void RangeScanModel::AllRowsChanged() {
  if (rowCount() == 0) return;
  emit dataChanged(index(0, 0), index(rowCount() - 1, kRangeColumnCount - 1));
}

void RangeScanModel::ProgressChanged() {
  if (rowCount() == 0) return;
  emit dataChanged(index(0, kRangeColStatus), index(rowCount() - 1, kRangeColStatus), {kProgressRole});
}

}  // namespace quenderlink
