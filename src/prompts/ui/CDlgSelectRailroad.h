#pragma once

#include <QDialog>

#include <cstdint>

namespace quenderlink {

// Picks the railroad the program serves. Each click stores its code at once,
// so the code stands whether the dialog ends by "OK" or by cancelling.
class CDlgSelectRailroad : public QDialog {
  Q_OBJECT

 public:
  // Code 0 checks no button.
  CDlgSelectRailroad(std::uint8_t code, QWidget* parent);

  std::uint8_t SelectedCode() const { return code_; }

 private:
  std::uint8_t code_;
};

// Runs the dialog modally and returns the code chosen (0 when none).
std::uint8_t AskRailroad(std::uint8_t current, QWidget* parent);

}  // namespace quenderlink
