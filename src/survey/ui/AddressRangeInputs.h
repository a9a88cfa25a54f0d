#pragma once

#include <QWidget>

#include <array>
#include <string>

#include "survey/AddressRange.h"


namespace quenderlink {

class AddressPartEdit;
class NumberBox;

// The "From IP" boxes and the "To (last 3 digits):" box of a range scan: an
// address typed or pasted into the first box spreads over the four, and the
// range read from them raises the last number where the rule does.
class AddressRangeInputs : public QWidget {
  Q_OBJECT

 public:
  explicit AddressRangeInputs(QWidget* parent = nullptr);

  // The inputs of the last scan, as the settings keep them ("a.b.c.d" and the last number).
  void Show(const std::string& from, const std::string& last);
  // The range typed; a raised last number is shown, the one typed otherwise stays as written.
  AddressRange Range();

 private:
  std::array<AddressPartEdit*, 4> fromAddress_{};
  NumberBox* lastNumber_ = nullptr;
};

}  // namespace quenderlink
