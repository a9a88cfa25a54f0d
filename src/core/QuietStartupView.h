#pragma once

#include "core/StartupView.h"

namespace quenderlink {

// For programs without a main view: never asks, shows nothing.
class QuietStartupView : public StartupView {
 public:
  std::uint8_t AskRailroad() override { return 0; }
  void ShowSiteFile(const std::string&, const std::string&) override {}
  void ShowProgramFile(const std::string&, const std::string&) override {}
  void ShowConfigButton(bool) override {}
};

}  // namespace quenderlink
