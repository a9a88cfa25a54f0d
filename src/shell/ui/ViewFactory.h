#pragma once

#include <string>

#include "controls/ui/OperationView.h"
#include "core/DesktopActions.h"
#include "core/ProgramState.h"
#include "core/UserPrompts.h"
#include "shell/OperationOpener.h"

namespace quenderlink {

class CMainView;

// The operation's name a child window for the request is titled with.
std::string ViewKindTitle(const ViewRequest& request);

// Makes the view a new child window holds: the main view, or an operation's
// view by its kind (none for the main view's kind).
class ViewFactory {
 public:
  ViewFactory(ProgramState& state, UserPrompts& prompts, DesktopActions& desktop, OperationOpener& opener);

  CMainView* CreateMainView() const;
  // The operation views hand their results to the main view.
  OperationView* Create(const ViewRequest& request, MainViewTarget& mainView) const;

 private:
  ProgramState& state_;
  UserPrompts& prompts_;
  DesktopActions& desktop_;
  OperationOpener& opener_;
};

}  // namespace quenderlink
