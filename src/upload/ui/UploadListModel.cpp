#include "upload/ui/UploadListModel.h"

#include <QBrush>
#include <QColor>

#include "upload/UploadListColumns.h"

namespace quenderlink {
namespace {

QVariant Foreground(const std::optional<LogClass>& kind) {
  if (!kind) return {};
  switch (*kind) {
    case LogClass::Caution: return QBrush(QColor(153, 76, 0));
    case LogClass::Error: return QBrush(QColor(160, 0, 0));
    case LogClass::Success: return QBrush(QColor(0, 100, 0));
    case LogClass::Progress:
    case LogClass::Response: return QBrush(QColor(0, 0, 128));
  }
  return {};
}

QVariant Background(const std::optional<LogClass>& kind) {
  if (!kind) return {};
  switch (*kind) {
    case LogClass::Caution: return QBrush(QColor(255, 250, 205));
    case LogClass::Error: return QBrush(QColor(255, 204, 204));
    case LogClass::Success: return QBrush(QColor(204, 255, 204));
    case LogClass::Progress:
    case LogClass::Response: return QBrush(QColor(230, 240, 255));
  }
  return {};
}

}  // namespace

UploadListModel::UploadListModel(const UploadListRun& run, QObject* parent) : QAbstractTableModel(parent), run_(run) {}

int UploadListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int UploadListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kUploadListColumnCount;
}

QVariant UploadListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rows_) return {};
  const UploadListRow& row = run_.rows()[static_cast<std::size_t>(index.row())];
  switch (role) {
    case Qt::DisplayRole: return QString::fromStdString(UploadListCellText(row, index.column()));
    case Qt::ForegroundRole: return Foreground(row.kind);
    case Qt::BackgroundRole: return Background(row.kind);
    default: return {};
  }
}

QVariant UploadListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  const std::string_view header = UploadListColumnHeader(section);
  return QString::fromUtf8(header.data(), static_cast<qsizetype>(header.size()));
}

void UploadListModel::Refill() {
  beginResetModel();
  rows_ = static_cast<int>(run_.rows().size());
  endResetModel();
}

void UploadListModel::RowsChanged(std::size_t first, std::size_t last) {
  emit dataChanged(index(static_cast<int>(first), 0), index(static_cast<int>(last), kUploadListColumnCount - 1));
}

}  // namespace quenderlink
