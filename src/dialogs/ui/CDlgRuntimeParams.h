#pragma once

#include <QDialog>

#include <functional>
#include <optional>

#include "core/ProgramState.h"
#include "core/UserPrompts.h"
#include "dialogs/RuntimeParamsGrid.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace quenderlink {

// Asks for a colour starting from the current one; nothing when cancelled.
using ColourChooser = std::function<std::optional<ColorRef>(ColorRef current)>;

// The run-time settings as one grid of parameters, edited in place. "Save"
// puts them into the program's params and the settings file; a colour change
// takes effect at once and repaints the main view, saved or not. A number
// cell's text that the setting cannot take is refused with a reason and
// keeps the dialog from saving.
class CDlgRuntimeParams : public QDialog {
  Q_OBJECT

 public:
  // No chooser: the standard colour dialog.
  // The main view recolours its rows when the colours change.
  CDlgRuntimeParams(ProgramState& state, UserPrompts& prompts, MainViewTarget& mainView, QWidget* parent = nullptr,
                    ColourChooser chooser = {});

  // Closed by "Save" after storing the values.
  bool saved() const { return saved_; }

 private:
  void FillRow(int row);
  void AddNumberCell(int row);
  void AddChoiceCell(int row);
  void ShowColours(int row);
  void ChangeColour(int row, int column);
  void ShowChanged(QWidget& cell, int row);
  void ShowFirstRefusal();
  void Save();

  ProgramState& state_;
  UserPrompts& prompts_;
  MainViewTarget& mainView_;
  ColourChooser chooser_;
  RuntimeParamsGrid grid_;
  bool saved_ = false;
  QTableWidget* table_;
  QPushButton* saveButton_;
  QLabel* reason_;
};

}  // namespace quenderlink
