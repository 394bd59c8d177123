#include <QGuiApplication>
#include <iostream>
#include <string>
#include <vector>

#include "app/cli.h"
#include "platform/qt_fonts.h"

namespace {

// Subcommands report their own failures in one line; Qt's notes about the environment are noise.
void QuietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) {
    std::cerr << "quillform: " << message.toStdString() << '\n';
  }
}

}  // namespace

int main(int argc, char* argv[]) {
  const std::vector<std::string> args(argv, argv + argc);
  if (qf::IsSubcommand(args)) {
    // Subcommands draw and measure without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietMessages);
    QGuiApplication app(argc, argv);
    qf::InstallFontSubstitutions();
    return qf::RunCommandLine(args).value_or(2);
  }
  std::cerr << "quillform: the editor window is not part of this build yet; try --help\n";
  return 2;
}
