#pragma once

#include <iosfwd>

#include "core/UserPrompts.h"

namespace quenderlink::cli {

// Prompts for a terminal without questions: every message goes to the error
// stream, and "proceed" or "confirm" is answered yes only when --yes was given.
class CliPrompts : public UserPrompts {
 public:
  CliPrompts(std::ostream& out, bool assumeYes) : out_(out), assumeYes_(assumeYes) {}

  bool ShowError(ErrorId errorId, const std::string& text, bool offerProceed) override;
  bool Confirm(ConfirmMode mode, const std::string& text) override;
  void ShowMessage(const std::string& text) override;

 private:
  std::ostream& out_;
  bool assumeYes_;
};

}  // namespace quenderlink::cli
