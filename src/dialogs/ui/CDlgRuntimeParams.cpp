#include "dialogs/ui/CDlgRuntimeParams.h"

#include <QColorDialog>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include "controls/ui/ColorRefColor.h"
#include "core/ErrorMessages.h"
#include "core/IniSettingsFile.h"

namespace quenderlink {
namespace {

constexpr int kRailroadLinesShown = 7;
constexpr int kYesNoLinesShown = 2;
// As many as the widest setting's largest value, 65535, has.
constexpr int kMostDigits = 5;

QString FromView(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

ColorRef RefFromColor(const QColor& color) {
  return static_cast<ColorRef>(color.red()) | static_cast<ColorRef>(color.green()) << 8 |
         static_cast<ColorRef>(color.blue()) << 16;
}

ColourChooser StandardColourChooser(QWidget* parent) {
  return [parent](ColorRef current) -> std::optional<ColorRef> {
    const QColor chosen = QColorDialog::getColor(ColorFromRef(current), parent);
    if (!chosen.isValid()) return std::nullopt;
    return RefFromColor(chosen);
  };
}

const RuntimeParamRow& RowAt(int row) { return RuntimeParamRows()[static_cast<std::size_t>(row)]; }

}  // namespace

CDlgRuntimeParams::CDlgRuntimeParams(ProgramState& state, UserPrompts& prompts, MainViewTarget& mainView,
                                     QWidget* parent, ColourChooser chooser)
    : QDialog(parent),
      state_(state),
      prompts_(prompts),
      mainView_(mainView),
      chooser_(chooser ? std::move(chooser) : StandardColourChooser(this)),
      grid_(state.params) {
  setModal(true);
  setWindowTitle("Runtime Parameters");

  saveButton_ = new QPushButton("Save", this);
  saveButton_->setObjectName("saveButton");
  saveButton_->setEnabled(false);
  // Return ends a cell's edit; it must not close the dialog as well.
  saveButton_->setAutoDefault(false);
  connect(saveButton_, &QPushButton::clicked, this, &CDlgRuntimeParams::Save);
  auto* cancel = new QPushButton("Cancel", this);
  cancel->setObjectName("cancelButton");
  cancel->setAutoDefault(false);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  reason_ = new QLabel(this);
  reason_->setObjectName("reasonText");
  QPalette reasonPalette = reason_->palette();
  reasonPalette.setColor(QPalette::WindowText, Qt::red);
  reason_->setPalette(reasonPalette);

  const auto columns = RuntimeParamColumns();
  table_ = new QTableWidget(kRuntimeParamRowCount, static_cast<int>(columns.size()), this);
  table_->setObjectName("paramsGrid");
  table_->verticalHeader()->hide();
  table_->setSelectionMode(QAbstractItemView::NoSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  QStringList headings;
  int gridWidth = 0;
  for (std::size_t column = 0; column < columns.size(); ++column) {
    headings << FromView(columns[column].heading);
    table_->setColumnWidth(static_cast<int>(column), columns[column].width);
    gridWidth += columns[column].width;
  }
  table_->setHorizontalHeaderLabels(headings);
  table_->setMinimumWidth(gridWidth + 2 * table_->frameWidth() + table_->verticalScrollBar()->sizeHint().width());
  for (int row = 0; row < kRuntimeParamRowCount; ++row) FillRow(row);
  connect(table_, &QTableWidget::cellClicked, this, &CDlgRuntimeParams::ChangeColour);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(reason_, 1);
  buttons->addWidget(saveButton_);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(table_);
  layout->addLayout(buttons);
  resize(table_->minimumWidth() + 2 * layout->contentsMargins().left(), 640);
}

void CDlgRuntimeParams::FillRow(int row) {
  const RuntimeParamRow& shown = RowAt(row);
  const std::string_view texts[] = {shown.section, shown.number, shown.name, shown.defaultText};
  for (int column = 0; column <= kDefaultColumn; ++column) {
    auto* item = new QTableWidgetItem(FromView(texts[column]));
    item->setFlags(Qt::ItemIsEnabled);
    table_->setItem(row, column, item);
  }
  switch (shown.kind) {
    case ParamCellKind::Number: AddNumberCell(row); break;
    case ParamCellKind::YesNo:
    case ParamCellKind::Railroad: AddChoiceCell(row); break;
    case ParamCellKind::Colors: {
      auto* item = new QTableWidgetItem("BackGrnd");
      item->setFlags(Qt::ItemIsEnabled);
      table_->setItem(row, kUserColumn, item);
      ShowColours(row);
      break;
    }
    case ParamCellKind::None: break;
  }
}

void CDlgRuntimeParams::AddNumberCell(int row) {
  auto* edit = new QLineEdit(QString::fromStdString(grid_.UserText(row)));
  edit->setObjectName(QString("userCell%1").arg(row));
  edit->setFrame(false);
  const QRegularExpression digits(QString("[0-9]{0,%1}").arg(kMostDigits));
  edit->setValidator(new QRegularExpressionValidator(digits, edit));
  // Typing counts as a change already: the click on "Save" is what ends the edit.
  connect(edit, &QLineEdit::textEdited, this, [this] { saveButton_->setEnabled(true); });
  connect(edit, &QLineEdit::editingFinished, this, [this, edit, row] {
    const std::optional<std::string> refusal = grid_.EndNumberEdit(row, edit->text().toStdString());
    edit->setToolTip(QString::fromStdString(refusal.value_or("")));
    ShowFirstRefusal();
    ShowChanged(*edit, row);
  });
  table_->setCellWidget(row, kUserColumn, edit);
}

void CDlgRuntimeParams::AddChoiceCell(int row) {
  const bool railroad = RowAt(row).kind == ParamCellKind::Railroad;
  auto* combo = new QComboBox;
  combo->setObjectName(QString("userCell%1").arg(row));
  for (std::string_view choice : railroad ? RailroadChoices() : YesNoChoices()) combo->addItem(FromView(choice));
  combo->setMaxVisibleItems(railroad ? kRailroadLinesShown : kYesNoLinesShown);
  combo->setCurrentIndex(grid_.ChoiceIndex(row));
  connect(combo, &QComboBox::activated, this, [this, combo, row] {
    grid_.Choose(row, combo->currentIndex());
    combo->setCurrentIndex(grid_.ChoiceIndex(row));
    ShowChanged(*combo, row);
  });
  table_->setCellWidget(row, kUserColumn, combo);
}

// Both cells show the row's text colour on its background colour.
void CDlgRuntimeParams::ShowColours(int row) {
  for (int column : {kDefaultColumn, kUserColumn}) {
    QTableWidgetItem* item = table_->item(row, column);
    item->setForeground(ColorFromRef(grid_.Colour(row, ColourPart::Text)));
    item->setBackground(ColorFromRef(grid_.Colour(row, ColourPart::Back)));
  }
}

void CDlgRuntimeParams::ChangeColour(int row, int column) {
  if (RowAt(row).kind != ParamCellKind::Colors || column < kDefaultColumn) return;
  const ColourPart part = column == kDefaultColumn ? ColourPart::Text : ColourPart::Back;
  const std::optional<ColorRef> chosen = chooser_(grid_.Colour(row, part));
  if (!chosen) return;
  grid_.SetColour(row, part, *chosen);
  ShowColours(row);
  saveButton_->setEnabled(true);
  mainView_.OnRecolour();
}

void CDlgRuntimeParams::ShowChanged(QWidget& cell, int row) {
  const bool red = grid_.Changed(row) || grid_.Refusal(row);
  const QColor colour = red ? QColor(Qt::red) : table_->palette().color(QPalette::Text);
  QPalette palette = cell.palette();
  palette.setColor(QPalette::Text, colour);
  palette.setColor(QPalette::ButtonText, colour);
  cell.setPalette(palette);
  saveButton_->setEnabled(grid_.modified());
}

// The refusal that stops the save, named by its row: other cells may be refused as well.
void CDlgRuntimeParams::ShowFirstRefusal() {
  const std::optional<int> row = grid_.FirstRefusedRow();
  if (!row) {
    reason_->clear();
    return;
  }
  const QString reason = QString::fromStdString(grid_.Refusal(*row).value_or(""));
  reason_->setText(QString("%1: %2").arg(FromView(RowAt(*row).number), reason));
}

void CDlgRuntimeParams::Save() {
  IniSettingsFile ini(state_.programFolder);
  switch (grid_.Save(ini)) {
    case ParamsSaveOutcome::Refused: {
      const int row = *grid_.FirstRefusedRow();
      auto* edit = qobject_cast<QLineEdit*>(table_->cellWidget(row, kUserColumn));
      table_->scrollTo(table_->model()->index(row, kUserColumn));
      edit->setFocus();
      edit->selectAll();
      return;
    }
    case ParamsSaveOutcome::Stored: saved_ = true; break;
    case ParamsSaveOutcome::NotWritten:
      saved_ = true;
      prompts_.ShowMessage(WriteFailedText(ini.Path().string()));
      break;
    case ParamsSaveOutcome::NothingModified: break;
  }
  accept();
}

}  // namespace quenderlink
