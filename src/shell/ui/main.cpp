#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <optional>

#include "core/IniSettingsFile.h"
#include "core/ProgramFolder.h"
#include "core/ProgramState.h"

// The desktop frame comes with the shell; until then the program prepares its
// folder as every start does and names itself.
int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  QCoreApplication::setApplicationName("Quenderlink");
  QCoreApplication::setApplicationVersion("9.0");

  QCommandLineParser parser;
  parser.setApplicationDescription("Field-service tool for trackside detector units.");
  parser.addHelpOption();
  parser.addVersionOption();
  const QCommandLineOption home("home", "Program folder holding Quenderlink.ini and the default site list.", "DIR");
  parser.addOption(home);
  parser.process(application);

  std::optional<std::filesystem::path> homeFolder;
  if (parser.isSet(home)) homeFolder = parser.value(home).toStdString();
  const quenderlink::ProgramState state(quenderlink::ResolveProgramFolder(homeFolder));
  quenderlink::IniSettingsFile(state.programFolder).EnsureIniFile();

  std::printf("Quenderlink Version 9.0\nProgram folder: %s\n", state.programFolder.c_str());
  return 0;
}
