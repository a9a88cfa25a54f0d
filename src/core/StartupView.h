#pragma once

#include <cstdint>
#include <string>

namespace quenderlink {

// What the start-up settings load needs from the main view: the railroad
// question and the captions of its file and configuration buttons.
class StartupView {
 public:
  virtual ~StartupView() = default;

  // Asked while no railroad has been chosen; 0 leaves it unchosen.
  virtual std::uint8_t AskRailroad() = 0;
  // The current site list file and its caption "IP Address: name\r\nfolder".
  virtual void ShowSiteFile(const std::string& path, const std::string& caption) = 0;
  // The most recent program file and its caption "Program File: name\r\nfolder".
  virtual void ShowProgramFile(const std::string& path, const std::string& caption) = 0;
  virtual void ShowConfigButton(bool shown) = 0;
};

}  // namespace quenderlink
