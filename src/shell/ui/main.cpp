#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "core/DisplayCheck.h"
#include "core/ProgramFolder.h"
#include "shell/ui/CQuenderlinkApp.h"
#include "unitsim/DemoFleet.h"
#include "unitsim/DemoHome.h"
#include "unitsim/UnitSimulator.h"

namespace {

// Delay before the screenshot, so the window has been laid out and painted.
constexpr int kScreenshotDelayMs = 1000;

// The demo's home and its simulated units, alive as long as the program runs.
struct Demo {
  QTemporaryDir home;
  std::unique_ptr<quenderlink::unitsim::UnitSimulator> units;
};

// The demo's sample program files; none, said on stderr, leaves the demo without programs to upload.
std::filesystem::path DemoPrograms() {
  const std::filesystem::path programFolder = QCoreApplication::applicationDirPath().toStdString();
  if (std::optional<std::filesystem::path> found = quenderlink::unitsim::FindDemoPrograms(programFolder)) return *found;
  std::fprintf(stderr, "quenderlink: no sample program files found beside %s; the demo has none to upload\n",
               programFolder.c_str());
  return {};
}

std::unique_ptr<Demo> StartDemo() {
  auto demo = std::make_unique<Demo>();
  if (!demo->home.isValid()) {
    std::fprintf(stderr, "quenderlink: cannot create the demo folder\n");
    return nullptr;
  }
  const quenderlink::unitsim::DemoFleet fleet = quenderlink::unitsim::MakeDemoFleet();
  std::string error;
  if (!quenderlink::unitsim::PrepareDemoHome(demo->home.path().toStdString(), fleet, DemoPrograms(), error)) {
    std::fprintf(stderr, "quenderlink: %s\n", error.c_str());
    return nullptr;
  }
  demo->units = std::make_unique<quenderlink::unitsim::UnitSimulator>(fleet.units);
  demo->units->KeepRecords(false);
  if (!demo->units->Start(error)) {
    std::fprintf(stderr, "quenderlink: the simulated units cannot start: %s\n", error.c_str());
    return nullptr;
  }
  return demo;
}

// Help and version need no window: when they are all that is asked for, they are answered
// without the display an application with windows needs.
bool AsksOnlyForText(QCommandLineParser& parser, const QCommandLineOption& help, const QCommandLineOption& version,
                     int argc, char** argv) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  return parser.parse(arguments) && (parser.isSet(help) || parser.isSet("help-all") || parser.isSet(version));
}

}  // namespace

int main(int argc, char** argv) {
  QCommandLineParser parser;
  parser.setApplicationDescription("Field-service tool for trackside detector units.");
  const QCommandLineOption help = parser.addHelpOption();
  const QCommandLineOption version = parser.addVersionOption();
  const QCommandLineOption home("home",
                                "Program folder holding Quenderlink.ini and the default site list (default: the "
                                "folder of this program when writable and not installed, else $XDG_DATA_HOME/quenderlink).",
                                "DIR");
  const QCommandLineOption demoOption("demo", "Start in a fresh temporary folder with simulated units on loopback.");
  const QCommandLineOption screenshot("screenshot", "Save a picture of the main window to FILE and quit.", "FILE");
  parser.addOptions({home, demoOption, screenshot});

  if (AsksOnlyForText(parser, help, version, argc, argv)) {
    QCoreApplication text(argc, argv);
    quenderlink::CQuenderlinkApp::NameTheProgram();
    parser.process(text);  // prints the text and ends the program
  }
  // Said in one line instead of the toolkit's list of plugins and its abort.
  if (const std::optional<std::string> noDisplay =
          quenderlink::NoDisplayMessage(quenderlink::DisplaySurroundingsOf(argc, argv))) {
    std::fprintf(stderr, "%s\n", noDisplay->c_str());
    return 1;
  }
  quenderlink::CQuenderlinkApp application(argc, argv);
  parser.process(application);

  std::unique_ptr<Demo> demo;
  std::optional<std::filesystem::path> homeFolder;
  if (parser.isSet(demoOption)) {
    demo = StartDemo();
    if (!demo) return 1;
    homeFolder = demo->home.path().toStdString();
  } else if (parser.isSet(home)) {
    homeFolder = parser.value(home).toStdString();
  }

  application.InitInstance(quenderlink::ResolveProgramFolder(homeFolder));
  if (parser.isSet(screenshot)) {
    QTimer::singleShot(kScreenshotDelayMs, &application, [&application, file = parser.value(screenshot)] {
      if (!application.mainFrame()->grab().save(file)) std::fprintf(stderr, "quenderlink: cannot write %s\n", qPrintable(file));
      application.quit();
    });
  }
  const int exitCode = application.exec();
  // Before the demo's folder and units go: the views write their settings as they close.
  application.ExitInstance();
  return exitCode;
}
