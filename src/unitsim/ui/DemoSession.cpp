#include "unitsim/ui/DemoSession.h"

#include <QCoreApplication>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

#include "unitsim/DemoFleet.h"
#include "unitsim/DemoHome.h"

namespace quenderlink::unitsim {
namespace {

// The demo's sample program files; none, said on stderr, leaves the demo without programs to upload.
std::filesystem::path DemoPrograms() {
  const std::filesystem::path programFolder = QCoreApplication::applicationDirPath().toStdString();
  if (std::optional<std::filesystem::path> found = FindDemoPrograms(programFolder)) return *found;
  std::fprintf(stderr, "quenderlink: no sample program files found beside %s; the demo has none to upload\n",
               programFolder.c_str());
  return {};
}

}  // namespace

std::unique_ptr<DemoSession> StartDemoSession() {
  auto demo = std::make_unique<DemoSession>();
  if (!demo->home.isValid()) {
    std::fprintf(stderr, "quenderlink: cannot create the demo folder\n");
    return nullptr;
  }
  const DemoFleet fleet = MakeDemoFleet();
  std::string error;
  if (!PrepareDemoHome(demo->home.path().toStdString(), fleet, DemoPrograms(), error)) {
    std::fprintf(stderr, "quenderlink: %s\n", error.c_str());
    return nullptr;
  }
  demo->units = std::make_unique<UnitSimulator>(fleet.units);
  demo->units->KeepRecords(false);
  if (!demo->units->Start(error)) {
    std::fprintf(stderr, "quenderlink: the simulated units cannot start: %s\n", error.c_str());
    return nullptr;
  }
  return demo;
}

}  // namespace quenderlink::unitsim
