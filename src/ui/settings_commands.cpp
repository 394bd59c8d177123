// The Settings menu's commands and the Help menu's.
#include <QCoreApplication>

#include "shell/app_paths.h"
#include "shell/file_association.h"
#include "shell/ui_text.h"
#include "ui/dialogs/settings_dialogs.h"
#include "ui/help_window.h"
#include "ui/main_window.h"
#include "ui/prompter.h"
#include "ui/qt_text.h"

namespace qf {

void MainWindow::pageSetup() {
  PageSettings page = ctx_.design.page;
  PageSetupDialog dialog(page, ctx_.places, this);
  if (dialog.exec() == QDialog::Accepted) {
    ctx_.editor.setPage(page);
    pageSetUpSequence();
  }
  ctx_.editor.ResetEditState();
}

void MainWindow::gridSettings() {
  GridSettings grid = ctx_.design.grid;
  GridDialog dialog(grid, ctx_.places, this);
  if (dialog.exec() != QDialog::Accepted) return;
  ctx_.editor.setGrid(grid);
}

void MainWindow::hatchingColours() {
  Palette palette = ctx_.design.palette;
  PaletteDialog dialog(palette, ctx_.places, prompter_, this);
  if (dialog.exec() != QDialog::Accepted) return;
  ctx_.editor.setPalette(palette);
}

void MainWindow::toggleSetting(bool AppState::*flag) {
  ctx_.state.*flag = !(ctx_.state.*flag);
}

void MainWindow::fileAssociation() {
  const bool registering = !ctx_.state.relation;
  const std::filesystem::path dataHome = XdgDataHome();
  const int32_t result = SetFileAssociation(
      DesignFileAssociation(QCoreApplication::applicationFilePath().toStdString()), registering,
      dataHome);
  if (result != 0) {
    prompter_.showMessage(this, Q(registering ? kMsgAssocRegisterFailed : kMsgAssocRemoveFailed),
                          MessageKind::Warning);
    return;
  }
  ctx_.state.relation = registering;
  prompter_.showMessage(this, Q(registering ? kMsgAssocRegistered : kMsgAssocRemoved),
                        MessageKind::Information);
}

void MainWindow::showHelp() {
  // The guide in a window of the program's own: no browser needed. One window, brought forward
  // when asked again.
  if (!help_) {
    help_ = new HelpWindow(
        QString::fromStdString(ProgramDataFile(ctx_.state.appFolder, "help/qfhelp.htm").string()),
        this);
    help_->setAttribute(Qt::WA_DeleteOnClose);
  }
  help_->show();
  help_->raise();
  help_->activateWindow();
}

void MainWindow::showAbout() {
  AboutDialog about(this);
  about.exec();
}

}  // namespace qf
