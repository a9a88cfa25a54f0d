#pragma once

#include <QString>

#include <filesystem>
#include <functional>
#include <string>

#include "TourRunner.h"
#include "core/ProgramState.h"

namespace quenderlink {
class CMainFrame;
class CMainView;
class CQuenderlinkApp;
}  // namespace quenderlink

namespace quenderlink::tour {

// The guide's walk through the demo fleet: the main view, a ping run, a range
// scan, an upload in the boxes and in the list, a reset, a telnet session, an
// ICMP scan, an import, and the journal's history and availability, each left
// on screen for its picture. The import's
// file is written into `home`, the demo's folder.
class GuideScenes {
 public:
  GuideScenes(TourRunner& tour, CQuenderlinkApp& application, std::filesystem::path home);

  // Adds every scene's moves to the tour, in the guide's order.
  void AddAll();

 private:
  void MainView();
  void PingRun();
  void RangeScan();
  void Upload(const std::string& picture, std::function<bool(std::size_t)> rows);
  void Reset();
  void Telnet();
  void IcmpScan();
  void Import();
  void History();
  void Availability();

  CMainFrame& frame() const;
  CMainView& mainView() const;
  ProgramState& state() const;
  // A child of the operation view in front, or nullptr.
  template <typename Widget>
  Widget* InFront(const char* name) const;
  bool ButtonShownAndEnabled(const char* name) const;

  void Command(const std::string& what, int id);
  void Click(const char* name);
  void TypeInto(const char* name, const QString& text);
  void WaitForView(const char* control);
  void WaitWhileBusy(const std::string& what, int timeoutMs);
  void CloseView();
  void TickRows(const std::string& what, std::function<bool(std::size_t, const SiteRecord&)> pick);

  TourRunner& tour_;
  CQuenderlinkApp& application_;
  std::filesystem::path home_;
};

}  // namespace quenderlink::tour
