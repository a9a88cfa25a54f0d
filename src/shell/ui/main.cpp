#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "core/DisplayCheck.h"
#include "core/ProgramFolder.h"
#include "shell/ui/CQuenderlinkApp.h"
#include "unitsim/ui/DemoSession.h"

namespace {

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
  parser.addOptions({home, demoOption});

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

  std::unique_ptr<quenderlink::unitsim::DemoSession> demo;
  std::optional<std::filesystem::path> homeFolder;
  if (parser.isSet(demoOption)) {
    demo = quenderlink::unitsim::StartDemoSession();
    if (!demo) return 1;
    homeFolder = demo->home.path().toStdString();
  } else if (parser.isSet(home)) {
    homeFolder = parser.value(home).toStdString();
  }

  application.InitInstance(quenderlink::ResolveProgramFolder(homeFolder));
  const int exitCode = application.Run();
  // Before the demo's folder and units go: the views write their settings as they close.
  application.ExitInstance();
  return exitCode;
}
