#pragma once

#include <string>
#include <utility>
#include <vector>

#include "core/ViewWindow.h"

namespace quenderlink::testing {

// Records what the operation views tell the main view.
class RecordingMainView : public MainViewTarget {
 public:
  int runsFinished = 0;
  int recolours = 0;
  std::vector<std::pair<bool, std::string>> filesWritten;  // new file?, path

  void OnRunFinished(const RunOrigin&) override { ++runsFinished; }
  void OnSiteFileWritten(bool newFile, const std::string& path) override { filesWritten.emplace_back(newFile, path); }
  void OnRecolour() override { ++recolours; }
};

}  // namespace quenderlink::testing
