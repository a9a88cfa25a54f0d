#pragma once

#include <string>

#include "controls/ui/OperationView.h"
#include "core/DesktopActions.h"
#include "core/ProgramState.h"
#include "core/UserPrompts.h"
#include "shell/OperationOpener.h"

namespace quenderlink {

class CMainView;

// The operation's name a child window of that kind is titled with.
std::string ViewKindTitle(ViewKind kind, const OperationState& operations);

// Makes the view a new child window holds: the main view, or an operation's
// view by its kind (none for the main view's kind).
class ViewFactory {
 public:
  ViewFactory(ProgramState& state, UserPrompts& prompts, DesktopActions& desktop, OperationOpener& opener);

  CMainView* CreateMainView() const;
  OperationView* Create(ViewKind kind) const;

 private:
  ProgramState& state_;
  UserPrompts& prompts_;
  DesktopActions& desktop_;
  OperationOpener& opener_;
};

}  // namespace quenderlink
