#include <benchmark/benchmark.h>

#include <QApplication>
#include <QScrollBar>

#include <cstdlib>
#include <memory>

#include "OffscreenApplication.h"
#include "core/CSiteinfoClass.h"
#include "core/FixedText.h"
#include "core/IniSettingsFile.h"
#include "core/Printf.h"
#include "core/SettingsKeys.h"
#include "shell/SiteListColumns.h"
#include "shell/ui/CMainView.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

namespace quenderlink {
namespace {

// The most a site list can number.
constexpr int kSites = 65000;

class NoOpener : public OperationOpener {
 public:
  void OpenView(const ViewRequest&) override {}
  void OpenSitePing(const SiteRecord&) override {}
  void OpenManualPing() override {}
  void OpenSingleSiteUpload(const std::string&) override {}
  void OpenResetDialog(const SiteRecord&) override {}
  void OpenDnsConversion() override {}
};

// A settings folder whose current site list holds 50,000 varied sites.
const testing::TempDir& FiftyThousandSiteHome() {
  static testing::TempDir home;
  static bool written = false;
  if (!written) {
    std::vector<SiteRecord> records;
    for (int i = 0; i < kSites; ++i) {
      SiteRecord record = NewSiteRecord(9001);
      SetFieldText(record.SiteName, Printf("SITE %05d", (i * 7919) % kSites));
      SetFieldText(record.Milepost, Printf("%d.%d", i % 900, i % 10));
      SetFieldText(record.IpByNumber, Printf("10.%d.%d.%d", i / 65536, (i / 256) % 256, i % 256));
      SetFieldText(record.HostText, FieldText(record.IpByNumber));
      record.ProductType = static_cast<std::uint8_t>(1 + i % 6);
      record.LastPing = static_cast<std::uint8_t>(i % 256);
      record.VersionMajor = static_cast<std::uint8_t>(i % 9);
      record.TrackIndex = static_cast<std::uint8_t>(i % 13);
      records.push_back(record);
    }
    SiteTable table;
    table.Replace(records);
    const std::string path = (home / "sites.bin").string();
    IniSettingsFile ini(home.path());
    ini.EnsureIniFile();
    // A home that cannot be written would measure an empty list.
    if (!CSiteinfoClass().SaveAll(path, table) || !ini.WriteInt(settings::kRoad, 5) || !ini.PushSiteFile(path))
      std::abort();
    written = true;
  }
  return home;
}

struct OpenMainView {
  OpenMainView() : state(FiftyThousandSiteHome().path()), view(state, prompts, desktop, opener) {
    view.resize(1400, 900);
    view.Open();
    view.show();
    QApplication::processEvents();
  }

  ProgramState state;
  testing::ScriptedPrompts prompts;
  testing::RecordingDesktopActions desktop;
  NoOpener opener;
  CMainView view;
};

// From nothing to the list of 50,000 sites painted: settings, file, model, first paint.
void BM_OpenMainView(benchmark::State& state) {
  bench::EnsureOffscreenApplication();
  FiftyThousandSiteHome();
  for (auto _ : state) {
    OpenMainView open;
    open.view.form().list()->viewport()->repaint();
    benchmark::DoNotOptimize(open.view.model().rowCount());
  }
}
BENCHMARK(BM_OpenMainView)->Unit(benchmark::kMillisecond)->UseRealTime();

// A header click on a column: the table sorted, the list refilled and painted.
void BM_SortByColumn(benchmark::State& state) {
  bench::EnsureOffscreenApplication();
  OpenMainView open;
  const int column = static_cast<int>(state.range(0));
  for (auto _ : state) {
    open.view.OnHeaderClicked(column);
    open.view.form().list()->viewport()->repaint();
  }
}
BENCHMARK(BM_SortByColumn)
    ->Arg(kColCnt)->Arg(kColSubDiv)->Arg(kColSiteName)->Arg(kColMilepost)->Arg(kColIpByNumber)->Arg(kColLastPing)
    ->Unit(benchmark::kMillisecond)->UseRealTime();

// One page down through the list, painted: what a held Page Down key costs per step.
void BM_ScrollOnePage(benchmark::State& state) {
  bench::EnsureOffscreenApplication();
  OpenMainView open;
  QScrollBar* bar = open.view.form().list()->verticalScrollBar();
  for (auto _ : state) {
    bar->setValue(bar->value() + bar->pageStep() >= bar->maximum() ? 0 : bar->value() + bar->pageStep());
    open.view.form().list()->viewport()->repaint();
  }
}
BENCHMARK(BM_ScrollOnePage)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace quenderlink
