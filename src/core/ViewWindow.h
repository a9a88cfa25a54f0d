#pragma once

#include <string>

namespace quenderlink {

struct RunOrigin;

// An operation's window as the rest of the program sees it.
class ViewWindow {
 public:
  virtual ~ViewWindow() = default;

  // The main window is closing: release what the view holds.
  virtual void OnMainWindowClosing() = 0;
};

// The main view as the operation views reach it with their results.
class MainViewTarget {
 public:
  virtual ~MainViewTarget() = default;

  // A run that started on `origin` ended: save the site table to the current
  // file, reload it, redraw every row; nothing is saved when the list is no
  // longer the one the run started on.
  virtual void OnRunFinished(const RunOrigin& origin) = 0;
  // A view wrote a site list file (a new one, or appended to one) that becomes the current file.
  virtual void OnSiteFileWritten(bool newFile, const std::string& path) = 0;
  // The colours changed: the recolouring pass over every row.
  virtual void OnRecolour() = 0;
};

// An upload view, which takes the program file path once it is open.
class ProgramFileTarget {
 public:
  virtual ~ProgramFileTarget() = default;

  virtual void ReceiveProgramFile(const std::string& path) = 0;
};

}  // namespace quenderlink
