#include <QGuiApplication>
#include <iostream>
#include <string>
#include <vector>

#include "app/cli.h"
#include "platform/qt_fonts.h"

int main(int argc, char* argv[]) {
  const std::vector<std::string> args(argv, argv + argc);
  if (qf::IsSubcommand(args)) {
    // Subcommands draw and measure without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    qf::InstallFontSubstitutions();
    return qf::RunCommandLine(args).value_or(2);
  }
  std::cerr << "quillform: the editor window is not part of this build yet; try --help\n";
  return 2;
}
