#include <QApplication>
#include <QGuiApplication>
#include <QTimer>
#include <iostream>
#include <string>
#include <vector>

#include "app/cli.h"
#include "app/first_paint.h"
#include "platform/qt_fonts.h"
#include "shell/settings_file.h"
#include "ui/app_context.h"
#include "ui/icons.h"
#include "ui/main_window.h"
#include "ui/prompter.h"
#include "ui/splash.h"
#include "ui/startup_page.h"
#include "ui/translations.h"
#include "ui/window_places.h"

namespace {

// Subcommands report their own failures in one line; Qt's notes about the environment are noise.
void QuietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) {
    std::cerr << "quillform: " << message.toStdString() << '\n';
  }
}

int RunEditor(int argc, char* argv[], const QString& file, bool quitWhenShown) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Quillform"));
  qf::InstallFontSubstitutions();
  QApplication::setFont(qf::UiFont(QApplication::font()));
  qf::InstallJapaneseTranslations(app);
  QApplication::setWindowIcon(qf::AppIcon());
  const std::string folder = QApplication::applicationDirPath().toStdString();
  qf::AppContext ctx(qf::SettingsPath(folder), qf::AppContext::Printer::Later);
  ctx.state.appFolder = folder;
  ctx.state.starting = true;
  qf::LoadSettings(ctx.settingsPath, ctx.state);
  // The first page (printer, design, drawing) is made on a worker thread while the splash and
  // the widgets are shown and built; the design window takes it at its first activation. No
  // more of the page than the design window can show is drawn before it is shown.
  auto startup = std::make_unique<qf::StartupLoader>(file.toStdString(), qf::ViewState{}.zoom,
                                                     qf::DesignStartRoom(ctx.state));

  qf::Splash* splash = nullptr;
  if (!quitWhenShown) {
    splash = new qf::Splash;  // deletes itself when it closes
    splash->show();
    QApplication::processEvents();
  }

  qf::QtPrompter prompter;
  qf::MainWindow window(ctx, prompter, std::move(startup));
  qf::FirstPaintReporter reporter;
  if (quitWhenShown) {
    // The page is drawn; the next paint of the window shows it.
    QObject::connect(&window, &qf::MainWindow::designShown, &window, [&window, &reporter] {
      window.installEventFilter(&reporter);
      window.update();
    });
  }
  window.setSplash(splash);
  window.show();
  ctx.state.starting = false;
  return app.exec();
}

}  // namespace

int main(int argc, char* argv[]) {
  std::vector<std::string> args(argv, argv + argc);
  // For the start-up benchmark: quit as soon as the design window has shown the page.
  bool quitWhenShown = false;
  if (args.size() > 1 && args[1] == "--quit-when-shown") {
    quitWhenShown = true;
    args.erase(args.begin() + 1);
  }
  if (!quitWhenShown && qf::IsSubcommand(args)) {
    // Subcommands draw and measure without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietMessages);
    QGuiApplication app(argc, argv);
    qf::InstallFontSubstitutions();
    return qf::RunCommandLine(args).value_or(2);
  }
  const QString file = args.size() > 1 ? QString::fromLocal8Bit(args[1].c_str()) : QString();
  return RunEditor(argc, argv, file, quitWhenShown);
}
