#include "survey/ui/IcmpScanModel.h"

namespace quenderlink {

IcmpScanModel::IcmpScanModel(const IcmpScanRun& run, QObject* parent) : QAbstractTableModel(parent), run_(run) {}

int IcmpScanModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(ticked_.size());
}

int IcmpScanModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kIcmpColumnCount; }

QVariant IcmpScanModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const auto row = static_cast<std::size_t>(index.row());
  if (role == Qt::CheckStateRole && index.column() == kIcmpColCheck)
    return static_cast<int>(ticked_[row] ? Qt::Checked : Qt::Unchecked);
  if (role != Qt::DisplayRole) return {};
  const std::string* text = IcmpCellText(run_.rows()[row], index.column());
  return text ? QVariant(QString::fromStdString(*text)) : QVariant();
}

bool IcmpScanModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::CheckStateRole || index.column() != kIcmpColCheck || !index.isValid() || index.row() >= rowCount())
    return false;
  ticked_[static_cast<std::size_t>(index.row())] = value.toInt() == Qt::Checked;
  emit dataChanged(index, index, {Qt::CheckStateRole});
  return true;
}

QVariant IcmpScanModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= kIcmpColumnCount)
    return {};
  const std::string_view header = IcmpColumnHeader(section);
  return QString::fromLatin1(header.data(), static_cast<qsizetype>(header.size()));
}

Qt::ItemFlags IcmpScanModel::flags(const QModelIndex& index) const {
  if (!index.isValid() || index.row() >= rowCount()) return Qt::NoItemFlags;
  const Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  return index.column() == kIcmpColCheck ? flags | Qt::ItemIsUserCheckable : flags;
}

void IcmpScanModel::Reset() {
  beginResetModel();
  ticked_.assign(run_.rows().size(), false);
  endResetModel();
}

void IcmpScanModel::RowsChanged(std::size_t first, std::size_t last) {
  if (last >= ticked_.size() || first > last) return;
  emit dataChanged(index(static_cast<int>(first), 0), index(static_cast<int>(last), kIcmpColumnCount - 1),
                   {Qt::DisplayRole});
}

std::vector<std::size_t> IcmpScanModel::TickedRows() const {
  std::vector<std::size_t> rows;
  for (std::size_t row = 0; row < ticked_.size(); ++row)
    if (ticked_[row]) rows.push_back(row);
  return rows;
}

}  // namespace quenderlink
