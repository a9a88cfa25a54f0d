#pragma once

#include <string>

#include "core/ProgramState.h"
#include "core/UserPrompts.h"

namespace quenderlink {

// The settings the main view changes from its menus, taken into the runtime
// parameters and kept in the settings file; a file that cannot be written is
// said by its path.
class MainViewSettings {
 public:
  MainViewSettings(ProgramState& state, UserPrompts& prompts) : state_(state), prompts_(prompts) {}

  void ShowIndexColumn(bool shown);
  // The user picks the railroad from the list; its short name goes with it.
  void ChooseRailroad();
  // After the user confirms, the settings go back to the factory's.
  void EraseToFactorySettings();
  // A site list that became the current one goes to the top of the file history.
  void RememberSiteFile(const std::string& path);
  // The command buttons' and filter boxes' layout, kept as the view goes. No
  // one is left to be told of a failure: the last stored layout stays.
  void KeepLayout() const;

 private:
  void ReportWriteFailed(const std::string& settingsFile);

  ProgramState& state_;
  UserPrompts& prompts_;
};

}  // namespace quenderlink
