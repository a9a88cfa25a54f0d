#include "shell/ui/SiteListModel.h"

#include <QBrush>

#include <algorithm>

#include "controls/ui/ColorRefColor.h"
#include "shell/SiteCellText.h"
#include "shell/SiteListColumns.h"

namespace quenderlink {
namespace {

bool IsCellButton(int column) { return column == kColPing || column == kColLoad || column == kColTelnetButton; }

}  // namespace

SiteListModel::SiteListModel(ProgramState& state, QObject* parent) : QAbstractTableModel(parent), state_(state) {}

int SiteListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int SiteListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kSiteColumnCount; }

const SiteRecord* SiteListModel::RecordAt(int row) const {
  // The table may be released a moment before the list is cleared.
  if (row < 0 || row >= rows_ || static_cast<std::size_t>(row) >= state_.sites.size()) return nullptr;
  return &state_.sites[static_cast<std::size_t>(row)];
}

QVariant SiteListModel::data(const QModelIndex& index, int role) const {
  const SiteRecord* site = index.isValid() ? RecordAt(index.row()) : nullptr;
  if (site == nullptr) return {};
  const int column = index.column();
  const auto row = static_cast<std::size_t>(index.row());
  switch (role) {
    case Qt::DisplayRole:
      if (column == kColCheck) return {};
      return QString::fromStdString(SiteCellText(*site, column, state_.params));
    case Qt::CheckStateRole:
      if (column != kColCheck) return {};
      return static_cast<int>(checks_.IsChecked(row) ? Qt::Checked : Qt::Unchecked);
    case Qt::ForegroundRole:
    case Qt::BackgroundRole: {
      const CellColors colors =
          column == kColLastPing ? LastPingCellPaint(paints_[row], site->LastPing) : paints_[row].row;
      return QBrush(ColorFromRef(role == Qt::ForegroundRole ? colors.text : colors.back));
    }
    case Qt::TextAlignmentRole:
      return static_cast<int>(column == kColCheck ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
    case kCellButtonRole:
      return IsCellButton(column) ? QVariant(true) : QVariant();
    default:
      return {};
  }
}

QVariant SiteListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= kSiteColumnCount) {
    return {};
  }
  const std::string_view header = SiteColumnHeader(section);
  return QString::fromUtf8(header.data(), static_cast<qsizetype>(header.size()));
}

Qt::ItemFlags SiteListModel::flags(const QModelIndex& index) const {
  // Not user-checkable: a box changes only through ApplyClick, which knows the Ctrl rule.
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

RowPaint SiteListModel::WrittenPaint(std::size_t row) const {
  return WrittenRowPaint(state_.sites[row].ProductType, state_.params.deviceColors);
}

void SiteListModel::Refill() {
  beginResetModel();
  rows_ = static_cast<int>(state_.sites.size());
  checks_.Reset(state_.sites.size());
  paints_.clear();
  paints_.reserve(state_.sites.size());
  for (std::size_t row = 0; row < state_.sites.size(); ++row) paints_.push_back(WrittenPaint(row));
  endResetModel();
}

void SiteListModel::AppendRows() {
  const int total = static_cast<int>(state_.sites.size());
  if (total <= rows_) return;
  beginInsertRows(QModelIndex(), rows_, total - 1);
  checks_.Append(static_cast<std::size_t>(total - rows_));
  for (auto row = static_cast<std::size_t>(rows_); row < state_.sites.size(); ++row) {
    paints_.push_back(WrittenPaint(row));
  }
  rows_ = total;
  endInsertRows();
}

void SiteListModel::RewriteRow(int row) {
  if (RecordAt(row) == nullptr) return;
  paints_[static_cast<std::size_t>(row)] = WrittenPaint(static_cast<std::size_t>(row));
  EmitRowsChanged(row, row, 0, kSiteColumnCount - 1);
}

void SiteListModel::RewriteAllRows() {
  // A reload that changed the number of records cannot keep the rows it had.
  if (static_cast<std::size_t>(rows_) != state_.sites.size()) {
    Refill();
    return;
  }
  for (std::size_t row = 0; row < paints_.size(); ++row) paints_[row] = WrittenPaint(row);
  EmitRowsChanged(0, rows_ - 1, 0, kSiteColumnCount - 1);
}

void SiteListModel::Recolour() {
  const int rows = std::min(rows_, static_cast<int>(state_.sites.size()));
  for (int row = 0; row < rows; ++row) {
    const auto at = static_cast<std::size_t>(row);
    paints_[at] = RecolouredRowPaint(state_.sites[at].ProductType, state_.params.deviceColors);
  }
  EmitRowsChanged(0, rows - 1, 0, kSiteColumnCount - 1, {Qt::ForegroundRole, Qt::BackgroundRole});
}

void SiteListModel::Clear() {
  beginResetModel();
  rows_ = 0;
  paints_.clear();
  checks_.Reset(0);
  endResetModel();
}

void SiteListModel::ApplyClick(int row, int column, Qt::KeyboardModifiers modifiers) {
  if (row < 0) return;
  const bool ctrl = modifiers.testFlag(Qt::ControlModifier);
  const bool shift = modifiers.testFlag(Qt::ShiftModifier);
  const auto changed = checks_.ApplyClick(static_cast<std::size_t>(row), column, ctrl, shift);
  if (changed) {
    EmitRowsChanged(static_cast<int>(changed->first), static_cast<int>(changed->second), kColCheck, kColCheck,
                    {Qt::CheckStateRole});
  }
}

void SiteListModel::SetChecked(int row, bool checked) {
  if (row < 0 || row >= rows_) return;
  checks_.SetChecked(static_cast<std::size_t>(row), checked);
  EmitRowsChanged(row, row, kColCheck, kColCheck, {Qt::CheckStateRole});
}

std::uint16_t SiteListModel::RowNumberAt(int row) const {
  const SiteRecord* site = RecordAt(row);
  return site == nullptr ? kNoRow : static_cast<std::uint16_t>(site->RowNumber);
}

void SiteListModel::EmitRowsChanged(int first, int last, int firstColumn, int lastColumn, const QList<int>& roles) {
  if (first > last) return;
  emit dataChanged(index(first, firstColumn), index(last, lastColumn), roles);
}

}  // namespace quenderlink
