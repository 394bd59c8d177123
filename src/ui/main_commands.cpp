// The commands of the main window's menus, toolbar and zoom box.
#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QLineEdit>
#include <QMdiArea>
#include <QPrinter>
#include <QSignalBlocker>
#include <QTimer>
#include <ctime>

#include "document/design_file.h"
#include "document/object_rows.h"
#include "shell/file_association.h"
#include "shell/ui_text.h"
#include "source/source_generator.h"
#include "ui/child_window.h"
#include "ui/code_window.h"
#include "ui/design_window.h"
#include "ui/layer_window.h"
#include "ui/main_window.h"
#include "ui/prompter.h"
#include "ui/qt_text.h"
#include "ui/settings_dialogs.h"
#include "ui/source_window.h"
#include "view/printing.h"

namespace qf {

namespace {

// The hourglass while a command works; the normal pointer again on every way out.
class BusyCursor {
 public:
  BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~BusyCursor() { QApplication::restoreOverrideCursor(); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};

QString WithDetail(std::string_view message, const FileStatus& st) {
  return st.detail.empty() ? Q(message) : Q(message) + QLatin1Char('\n') + Q(st.detail);
}

}  // namespace

void MainWindow::commitCellEdits() {
  // A cell still being edited is part of the design too: a menu command does not take the
  // focus from the cell editor, so it commits first.
  code_->commitEditing();
  layer_->commitEditing();
}

bool MainWindow::askDiscard() {
  commitCellEdits();
  if (!ctx_.state.modified) return true;
  return prompter_.showMessage(this, Q(kMsgDiscard), MessageKind::Question) == kMsgOk;
}

void MainWindow::resetEditState() {
  ctx_.editor.ResetEditState();
}

void MainWindow::redrawPage() {
  ctx_.editor.fullRedraw();
}

void MainWindow::SetZoom() {
  design_->canvas().applyPageLayout();
  fitDesignFrame();
}

void MainWindow::fitDesignFrame() {
  // Code and source windows stay where they are while the design window changes size.
  const QPoint codeAt = codeFrame_->pos();
  const QPoint sourceAt = sourceFrame_->pos();
  const QSize page = design_->canvas().size();
  const QSize frame = designFrame_->size() - design_->viewport()->size();
  QSize wanted = page + frame + QSize(2, 2);
  // Larger pages scroll inside the window instead of outgrowing the main window or covering
  // the windows beside and below it.
  const QRect area = mdi_->viewport()->rect();
  const QPoint at = designFrame_->pos();
  int maxWidth = std::max(area.right() + 1 - at.x(), 200);
  int maxHeight = std::max(area.bottom() + 1 - at.y(), 150);
  for (const ChildWindow* other : {sourceFrame_, codeFrame_, layerFrame_}) {
    if (!other->isVisible() || other->isMinimized()) continue;
    const QRect g = other->geometry();
    const bool besideRows =
        g.top() < at.y() + std::min(wanted.height(), maxHeight) && g.bottom() > at.y();
    if (g.left() > at.x() && besideRows) maxWidth = std::min(maxWidth, g.left() - at.x());
    const bool belowColumns =
        g.left() < at.x() + std::min(wanted.width(), maxWidth) && g.right() > at.x();
    if (g.top() > at.y() && belowColumns) maxHeight = std::min(maxHeight, g.top() - at.y());
  }
  wanted = wanted.boundedTo(QSize(maxWidth, maxHeight)).expandedTo(designFrame_->minimumSize());
  designFrame_->resize(wanted);
  codeFrame_->move(codeAt);
  sourceFrame_->move(sourceAt);
}

void MainWindow::applyZoom(int zoom) {
  ctx_.view.zoom = zoom;
  SetZoom();
  redrawPage();
}

void MainWindow::pageSetUpSequence() {
  ctx_.applyAndReadPrinter();
  SetZoom();
  redrawPage();
}

void MainWindow::UpdateRecentFiles(bool addCurrentFile) {
  if (addCurrentFile) qf::UpdateRecentFiles(ctx_.state.recentFiles, ctx_.state.fileName);
  const RecentFiles& files = ctx_.state.recentFiles;
  bool shown = true;
  for (size_t i = 0; i < files.size(); ++i) {
    shown = shown && !files[i].empty();
    recent_[i]->setText(Q(files[i]));
    recent_[i]->setVisible(shown);
  }
  recentSeparator_->setVisible(!files[0].empty());
}

bool MainWindow::loadFile(const QString& path) {
  BusyCursor busy;
  LoadDecisions decided;
  const FileStatus st = LoadDesign(path.toStdString(), ctx_.design, ctx_.measurers(), &decided);
  if (!st.ok()) {
    prompter_.showMessage(this, WithDetail(kMsgReadFailed, st), MessageKind::Warning);
    return false;
  }
  pageSetUpSequence();
  designLoaded(path, decided);
  return true;
}

void MainWindow::designLoaded(const QString& path, const LoadDecisions& decided) {
  ctx_.state.fileName = path.toStdString();
  source_->clear();  // the source was another design's
  action("QFM204")->setChecked(ctx_.design.grid.shown != 0);
  ctx_.editor.designLoaded(decided);
  UpdateRecentFiles(true);
}

void MainWindow::fileNew() {
  if (!askDiscard()) return;
  ctx_.editor.newDesign();
  source_->clear();
  SetZoom();
  redrawPage();
  // A new design has no file yet: the next Save asks where, instead of overwriting the last one.
  ctx_.state.fileName.clear();
}

void MainWindow::fileOpen() {
  // Opening replaces the design: unsaved changes are asked about first.
  if (!askDiscard()) return;
  const auto path = prompter_.openFileName(this, Q(kFileFilter));
  if (!path) return;
  loadFile(*path);
}

void MainWindow::fileOpenRecent(int index) {
  if (index < 0 || index >= static_cast<int>(ctx_.state.recentFiles.size())) return;
  const QString path = Q(ctx_.state.recentFiles[static_cast<size_t>(index)]);
  if (path.isEmpty() || !askDiscard()) return;
  loadFile(path);
}

bool MainWindow::saveTo(const QString& path) {
  BusyCursor busy;
  const FileStatus st = SaveDesign(ctx_.design, path.toStdString());
  if (!st.ok()) {
    // The design keeps the name of the file it came from: a later Save must not try the place
    // that failed.
    prompter_.showMessage(this, WithDetail(kMsgWriteFailed, st), MessageKind::Warning);
    return false;
  }
  ctx_.state.fileName = path.toStdString();
  ctx_.editor.markSaved();
  UpdateRecentFiles(true);
  return true;
}

// The name the save dialog offers for a design never saved: "QF" and the time, now.
static QString NameForNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return Q(DefaultDesignName(local));
}

void MainWindow::fileSave() {
  commitCellEdits();
  if (ctx_.design.objects.itemCount() == 0) return;
  QString path = Q(ctx_.state.fileName);
  if (path.isEmpty()) {
    const auto chosen = prompter_.saveFileName(this, NameForNow(), Q(kFileFilter));
    if (!chosen) return;
    path = *chosen;
  }
  saveTo(path);
}

void MainWindow::fileSaveAs() {
  commitCellEdits();
  if (ctx_.design.objects.itemCount() == 0) return;
  const QString suggested = ctx_.state.fileName.empty() ? NameForNow() : Q(ctx_.state.fileName);
  const auto chosen = prompter_.saveFileName(this, suggested, Q(kFileFilter));
  if (!chosen) return;
  saveTo(*chosen);
}

void MainWindow::filePrint() {
  commitCellEdits();
  if (ctx_.design.objects.itemCount() == 0) return;
  if (prompter_.showMessage(this, Q(kMsgPrintConfirm), MessageKind::Question) != kMsgOk) return;
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  if (!prompter_.choosePrinter(this, *printer)) return;
  printer->setDocName(QDir(Q(ctx_.state.fileName)).dirName());
  std::unique_ptr<QtPrinterPort> port = QtPrinterPort::ForPrinter(std::move(printer));
  std::string error;
  bool ok = false;
  {
    BusyCursor busy;
    ok = PrintDesign(ctx_.design, *port, ctx_.pictures, &error);
  }
  if (!ok) {
    prompter_.showMessage(this, QStringLiteral("印刷できませんでした。\n") + Q(error),
                          MessageKind::Warning);
  }
}

void MainWindow::fileExit() {
  if (!askDiscard()) return;
  closeConfirmed_ = true;
  ctx_.state.closing = true;
  close();
}

void MainWindow::toggleGrid() {
  GridSettings grid = ctx_.design.grid;
  grid.shown = action("QFM204")->isChecked() ? -1 : 0;
  ctx_.editor.setGrid(grid);  // the file keeps whether the grid shows
}

void MainWindow::pageSetup() {
  PageSettings page = ctx_.design.page;
  PageSetupDialog dialog(page, ctx_.places, this);
  if (dialog.exec() == QDialog::Accepted) {
    ctx_.editor.setPage(page);
    pageSetUpSequence();
  }
  resetEditState();
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

void MainWindow::fileAssociation() {
  QAction* item = action("QFM410");
  // The mark flips when the item is chosen; it shows the setting again until the work is done.
  const bool registering = !ctx_.state.relation;
  item->setChecked(ctx_.state.relation);
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
  item->setChecked(registering);
  prompter_.showMessage(this, Q(registering ? kMsgAssocRegistered : kMsgAssocRemoved),
                        MessageKind::Information);
}

void MainWindow::showHelp() {
  prompter_.openDocument(QDir(Q(ctx_.state.appFolder)).filePath(QStringLiteral("help/qfhelp.htm")));
}

void MainWindow::showAbout() {
  AboutDialog about(this);
  about.exec();
}

void MainWindow::generateSource() {
  commitCellEdits();
  const Visibility v = source_->visibility();
  const std::string text =
      ctx_.state.subMake ? P_MakeSourceSub(ctx_.design, v) : P_MakeSource(ctx_.design, v);
  // The window shows lines; the CR LF line ends go back on when the text is copied.
  QString shown = Q(text);
  shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  source_->setSource(shown, ctx_.editor.revision());
}

void MainWindow::redraw() {
  BusyCursor busy;
  resetEditState();
  redrawPage();
}

void MainWindow::undo() {
  commitCellEdits();
  BusyCursor busy;
  ctx_.editor.undo();
}

void MainWindow::redo() {
  commitCellEdits();
  BusyCursor busy;
  ctx_.editor.redo();
}

void MainWindow::zoomChosen(int index) {
  applyZoom(ZoomFromText(zoom_->itemText(index).toStdString()));
  showZoom(QStringLiteral("%1%").arg(ctx_.view.zoom));
  resetEditState();
}

void MainWindow::zoomEntered() {
  const std::string text = ZoomEnterText(zoom_->currentText().toStdString());
  applyZoom(ZoomFromText(text));
  // The box shows the zoom the page really has (a zoom below 10 % is shown at 10 %).
  showZoom(ZoomFromText(text) == ctx_.view.zoom ? Q(text)
                                                : QStringLiteral("%1%").arg(ctx_.view.zoom));
}

void MainWindow::showZoom(const QString& text) {
  // The list's own choice follows the zoom, so the arrow keys move on from where it is.
  const QSignalBlocker quiet(zoom_);
  zoom_->setCurrentIndex(zoom_->findText(QStringLiteral("%1%").arg(ctx_.view.zoom)));
  zoom_->setCurrentText(text);
}

void MainWindow::firstActivation() {
  if (activated_) return;
  activated_ = true;
  // The children are arranged once the main window has its real size (and again below, once
  // the page's size is known).
  if (ctx_.state.firstStart) arrangeFirstStart();
  if (startup_) {
    std::unique_ptr<StartupPage> page;
    {
      BusyCursor busy;
      // A large design takes a while: meanwhile the windows keep painting and the splash's
      // timer runs, but no input is taken until the page is there.
      while (!startup_->ready(std::chrono::milliseconds(100))) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
      }
      page = startup_->take();
    }
    startup_.reset();
    adoptStartupPage(*page);
  } else {
    // The design as it stands is where undo starts.
    ctx_.editor.designLoaded({});
    redrawPage();
  }
  if (ctx_.state.firstStart) arrangeFirstStart();
  keepChildrenReachable();
  mdi_->setActiveSubWindow(designFrame_);
  design_->canvas().repaint();
  emit designShown();
}

void MainWindow::adoptStartupPage(StartupPage& page) {
  ctx_.printer = std::move(page.printer);
  ctx_.textMeasurer = std::move(page.textMeasurer);
  ctx_.pictures = std::move(page.pictures);
  if (page.loaded()) {
    ctx_.design = std::move(page.design);
  } else {
    ctx_.design.page = page.design.page;
  }
  ctx_.view = page.view;
  design_->canvas().adoptPage(std::move(page.image));
  ctx_.editor.pageDrawnElsewhere();
  fitDesignFrame();
  if (page.loaded()) {
    designLoaded(Q(page.file), page.decided);
    return;
  }
  ctx_.editor.designLoaded({});
  if (!page.status.ok()) {
    if (splash_) splash_->close();  // the message must not hide behind the splash
    prompter_.showMessage(this, WithDetail(kMsgReadFailed, page.status), MessageKind::Warning);
  }
}

}  // namespace qf
