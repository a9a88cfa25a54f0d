#pragma once

#include <string>

namespace quenderlink {

// An operation's window as the rest of the program sees it.
class ViewWindow {
 public:
  virtual ~ViewWindow() = default;

  // The main window is closing: release what the view holds.
  virtual void OnMainWindowClosing() = 0;
};

// An upload view, which takes the program file path once it is open.
class ProgramFileTarget {
 public:
  virtual ~ProgramFileTarget() = default;

  virtual void ReceiveProgramFile(const std::string& path) = 0;
};

}  // namespace quenderlink
