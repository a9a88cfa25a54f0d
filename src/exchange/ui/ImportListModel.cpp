#include "exchange/ui/ImportListModel.h"

#include <QBrush>
#include <QColor>

#include "exchange/ImportListColumns.h"

namespace quenderlink {

ImportListModel::ImportListModel(SiteImport& import, const OperationState& operations, QObject* parent)
    : QAbstractTableModel(parent), import_(import), operations_(operations) {}

int ImportListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int ImportListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kImportColumnCount; }

QVariant ImportListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rows_ || static_cast<std::size_t>(index.row()) >= import_.rows().size())
    return {};
  const ImportRow& row = import_.rows()[static_cast<std::size_t>(index.row())];
  const int column = index.column();
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: return QString::fromStdString(row.cells[static_cast<std::size_t>(column)]);
    case Qt::ForegroundRole: return row.Edited(column) ? QBrush(Qt::red) : QVariant();
    case kProgressRole:
      return column == kImportColStatus && row.progress ? QVariant(static_cast<int>(*row.progress)) : QVariant();
    default: return {};
  }
}

QVariant ImportListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  return QString::fromLatin1(ImportColumnHeader(section).data(), static_cast<qsizetype>(ImportColumnHeader(section).size()));
}

Qt::ItemFlags ImportListModel::flags(const QModelIndex& index) const {
  Qt::ItemFlags flags = QAbstractTableModel::flags(index);
  if (index.isValid() && SiteImport::IsEditableColumn(index.column()) && !operations_.pingInProgress)
    flags |= Qt::ItemIsEditable;
  return flags;
}

bool ImportListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  // The editor may have opened before a ping started elsewhere.
  if (role != Qt::EditRole || !index.isValid() || operations_.pingInProgress) return false;
  if (!import_.EditCell(static_cast<std::size_t>(index.row()), index.column(), value.toString().toStdString()))
    return false;
  emit dataChanged(index, index);
  return true;
}

void ImportListModel::Refill() {
  beginResetModel();
  rows_ = static_cast<int>(import_.rows().size());
  endResetModel();
}

void ImportListModel::RowChanged(std::size_t row) {
  if (static_cast<int>(row) >= rows_) return;
  emit dataChanged(index(static_cast<int>(row), 0), index(static_cast<int>(row), kImportColumnCount - 1));
}

void ImportListModel::AllRowsChanged() {
  if (rows_ == 0) return;
  emit dataChanged(index(0, 0), index(rows_ - 1, kImportColumnCount - 1));
}

}  // namespace quenderlink
