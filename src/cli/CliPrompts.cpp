#include "cli/CliPrompts.h"

#include <ostream>
#include <string>

#include "core/ErrorMessages.h"

namespace quenderlink::cli {
namespace {

// Dialog texts carry Windows line ends and leading blank lines; a terminal wants neither.
std::string ForTerminal(std::string text) {
  std::string plain;
  for (char c : text)
    if (c != '\r') plain += c;
  const auto first = plain.find_first_not_of('\n');
  const auto last = plain.find_last_not_of('\n');
  return first == std::string::npos ? std::string() : plain.substr(first, last - first + 1);
}

}  // namespace

bool CliPrompts::ShowError(ErrorId errorId, const std::string& text, bool offerProceed) {
  const std::string predefined = PredefinedErrorText(errorId);
  const std::string message = ForTerminal(predefined.empty() ? text : predefined);
  if (errorId != ErrorId::kNone) out_ << "Error ID: " << errorId << ": ";
  out_ << message << '\n';
  if (offerProceed && assumeYes_) {
    out_ << "Proceeding anyway (--yes).\n";
    return true;
  }
  return false;
}

bool CliPrompts::Confirm(ConfirmMode, const std::string& text) {
  out_ << ForTerminal(text) << '\n';
  if (assumeYes_) out_ << "Confirmed (--yes).\n";
  return assumeYes_;
}

void CliPrompts::ShowMessage(const std::string& text) { out_ << ForTerminal(text) << '\n'; }

}  // namespace quenderlink::cli
