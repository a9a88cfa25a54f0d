#pragma once

#include "core/UserPrompts.h"

class QWidget;

namespace quenderlink {

// The desktop program asks through its modal dialogs.
class DialogPrompts : public UserPrompts {
 public:
  // The dialogs centre on `parent`, or on the screen when it is null.
  explicit DialogPrompts(QWidget* parent) : parent_(parent) {}

  bool ShowError(ErrorId errorId, const std::string& text, bool offerProceed) override;
  bool Confirm(ConfirmMode mode, const std::string& text) override;
  void ShowMessage(const std::string& text) override;
  std::uint8_t ChooseRailroad(std::uint8_t current) override;
  std::optional<std::string> ChooseFile(const FileDialogRequest& request) override;
  int ChooseFromPopup(const std::vector<PopupItem>& items) override;

 private:
  QWidget* parent_;
};

}  // namespace quenderlink
