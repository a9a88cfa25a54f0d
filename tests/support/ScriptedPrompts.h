#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/DesktopActions.h"
#include "core/UserPrompts.h"

namespace quenderlink::testing {

// Answers prompts from scripted queues (default: cancel / do not proceed) and
// records every prompt shown, in order.
class ScriptedPrompts : public UserPrompts {
 public:
  struct Shown {
    enum Kind { None, Error, Confirmation, Message } kind = None;
    ErrorId errorId = ErrorId::kNone;
    std::string text;
    bool offerProceed = false;
    ConfirmMode mode = ConfirmMode::AbortUpload;
  };

  std::deque<bool> proceedAnswers;
  std::deque<bool> confirmAnswers;
  std::deque<std::uint8_t> railroadAnswers;
  int railroadQuestions = 0;
  // Answers to file dialogs (none: cancelled) and pop-up menus (0: nothing chosen).
  std::deque<std::optional<std::string>> fileAnswers;
  std::vector<FileDialogRequest> fileRequests;
  std::deque<int> popupAnswers;
  std::vector<std::vector<PopupItem>> popupsShown;
  std::vector<Shown> shown;

  // The latest prompt; `None` when nothing was shown, so that a check fails instead of crashing its program.
  Shown Last() const { return shown.empty() ? Shown{} : shown.back(); }

  bool ShowError(ErrorId errorId, const std::string& text, bool offerProceed) override {
    shown.push_back({Shown::Error, errorId, text, offerProceed});
    return offerProceed && Next(proceedAnswers);
  }
  bool Confirm(ConfirmMode mode, const std::string& text) override {
    shown.push_back({Shown::Confirmation, ErrorId::kNone, text, false, mode});
    return Next(confirmAnswers);
  }
  void ShowMessage(const std::string& text) override { shown.push_back({Shown::Message, ErrorId::kNone, text}); }
  std::optional<std::string> ChooseFile(const FileDialogRequest& request) override {
    fileRequests.push_back(request);
    if (fileAnswers.empty()) return std::nullopt;
    auto answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
  }
  int ChooseFromPopup(const std::vector<PopupItem>& items) override {
    popupsShown.push_back(items);
    if (popupAnswers.empty()) return 0;
    const int answer = popupAnswers.front();
    popupAnswers.pop_front();
    return answer;
  }
  std::uint8_t ChooseRailroad(std::uint8_t current) override {
    ++railroadQuestions;
    if (railroadAnswers.empty()) return current;
    const std::uint8_t answer = railroadAnswers.front();
    railroadAnswers.pop_front();
    return answer;
  }

 private:
  static bool Next(std::deque<bool>& answers) {
    if (answers.empty()) return false;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

class RecordingDesktopActions : public DesktopActions {
 public:
  std::vector<std::filesystem::path> openedInEditor;
  std::vector<std::filesystem::path> openedWithDefaultApp;
  void OpenInEditor(const std::filesystem::path& file) override { openedInEditor.push_back(file); }
  bool canOpen = true;  // whether the desktop has a program for what OpenWithDefaultApp is given
  bool OpenWithDefaultApp(const std::filesystem::path& file) override {
    openedWithDefaultApp.push_back(file);
    return canOpen;
  }
};

}  // namespace quenderlink::testing
