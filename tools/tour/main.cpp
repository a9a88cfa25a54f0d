#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "GuideScenes.h"
#include "TourRunner.h"
#include "core/DisplayCheck.h"
#include "shell/ui/CQuenderlinkApp.h"
#include "unitsim/ui/DemoSession.h"

// Plays the guide's walk through the demo and saves its pictures into the
// folder given: "quenderlink-tour DIR". Run on a virtual screen by scripts/screenshot.
int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: quenderlink-tour DIR\n");
    return 2;
  }
  if (const std::optional<std::string> noDisplay =
          quenderlink::NoDisplayMessage(quenderlink::DisplaySurroundingsOf(argc, argv))) {
    std::fprintf(stderr, "%s\n", noDisplay->c_str());
    return 1;
  }
  const std::filesystem::path pictures = argv[1];
  std::error_code error;
  std::filesystem::create_directories(pictures, error);
  if (error) {
    std::fprintf(stderr, "quenderlink-tour: cannot create %s: %s\n", pictures.c_str(), error.message().c_str());
    return 1;
  }

  quenderlink::CQuenderlinkApp application(argc, argv);
  const std::unique_ptr<quenderlink::unitsim::DemoSession> demo = quenderlink::unitsim::StartDemoSession();
  if (!demo) return 1;
  const std::filesystem::path home = demo->home.path().toStdString();
  application.InitInstance(home);

  quenderlink::tour::TourRunner tour(pictures);
  quenderlink::tour::GuideScenes scenes(tour, application, home);
  scenes.AddAll();
  tour.Start([&application](bool played) { application.exit(played ? 0 : 1); });
  const int exitCode = application.exec();
  application.ExitInstance();
  return exitCode;
}
