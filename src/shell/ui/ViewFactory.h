#pragma once

#include <QWidget>

#include <string>

#include "core/DesktopActions.h"
#include "core/ProgramState.h"
#include "core/UserPrompts.h"
#include "shell/OperationOpener.h"

namespace quenderlink {

// The operation's name a child window of that kind is titled with.
std::string ViewKindTitle(ViewKind kind, const OperationState& operations);

// Makes the view a new child window holds, by view kind. Kinds whose views are
// not part of this version get the frame's empty default client.
class ViewFactory {
 public:
  ViewFactory(ProgramState& state, UserPrompts& prompts, DesktopActions& desktop, OperationOpener& opener);

  QWidget* Create(ViewKind kind, QWidget* parent) const;

 private:
  ProgramState& state_;
  UserPrompts& prompts_;
  DesktopActions& desktop_;
  OperationOpener& opener_;
};

}  // namespace quenderlink
