#include "shell/ui/SiteListModel.h"

#include <QBrush>

#include "controls/ui/ColorRefColor.h"
#include "shell/SiteCellText.h"
#include "shell/SiteListColumns.h"

namespace quenderlink {
namespace {

bool IsCellButton(int column) { return column == kColPing || column == kColLoad || column == kColTelnetButton; }

}  // namespace

SiteListModel::SiteListModel(ProgramState& state, QObject* parent) : QAbstractTableModel(parent), state_(state) {}

int SiteListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(written_.size());
}

int SiteListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kSiteColumnCount; }

const SiteRecord* SiteListModel::RecordAt(int row) const {
  if (row < 0 || static_cast<std::size_t>(row) >= written_.size()) return nullptr;
  return &written_[static_cast<std::size_t>(row)];
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

void SiteListModel::WriteRow(std::size_t row) {
  written_[row] = state_.sites[row];
  paints_[row] = WrittenRowPaint(written_[row].ProductType, state_.params.deviceColors);
}

void SiteListModel::Refill() {
  beginResetModel();
  const std::size_t rows = state_.sites.size();
  written_.resize(rows);
  paints_.resize(rows);
  for (std::size_t row = 0; row < rows; ++row) WriteRow(row);
  checks_.Reset(rows);
  endResetModel();
}

void SiteListModel::AppendRows() {
  const std::size_t first = written_.size();
  const std::size_t total = state_.sites.size();
  if (total <= first) return;
  beginInsertRows(QModelIndex(), static_cast<int>(first), static_cast<int>(total - 1));
  written_.resize(total);
  paints_.resize(total);
  for (std::size_t row = first; row < total; ++row) WriteRow(row);
  checks_.Append(total - first);
  endInsertRows();
}

void SiteListModel::RewriteRow(int row) {
  if (RecordAt(row) == nullptr || static_cast<std::size_t>(row) >= state_.sites.size()) return;
  WriteRow(static_cast<std::size_t>(row));
  EmitRowsChanged(row, row, 0, kSiteColumnCount - 1);
}

void SiteListModel::RewriteAllRows() {
  // A reload that changed the number of records cannot keep the rows it had.
  if (written_.size() != state_.sites.size()) {
    Refill();
    return;
  }
  for (std::size_t row = 0; row < written_.size(); ++row) WriteRow(row);
  EmitRowsChanged(0, rowCount() - 1, 0, kSiteColumnCount - 1);
}

void SiteListModel::Recolour() {
  for (std::size_t row = 0; row < written_.size(); ++row)
    paints_[row] = RecolouredRowPaint(written_[row].ProductType, state_.params.deviceColors);
  EmitRowsChanged(0, rowCount() - 1, 0, kSiteColumnCount - 1, {Qt::ForegroundRole, Qt::BackgroundRole});
}

void SiteListModel::Clear() {
  beginResetModel();
  written_.clear();
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
  if (RecordAt(row) == nullptr) return;
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
