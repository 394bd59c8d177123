// The File menu's commands: new, open, save, print, preview, export, exit, the recent files.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QPrinter>
#include <cerrno>
#include <ctime>

#include "document/design_file.h"
#include "merge/merged_pages.h"
#include "shell/ui_text.h"
#include "ui/busy_cursor.h"
#include "ui/child_window.h"
#include "ui/code_window.h"
#include "ui/design_window.h"
#include "ui/main_window.h"
#include "ui/page_progress.h"
#include "ui/print_preview.h"
#include "ui/prompter.h"
#include "ui/qt_text.h"
#include "ui/source_window.h"
#include "view/printing.h"

namespace qf {

namespace {

// The name the save dialog offers for a design never saved: "QF" and the time, now.
QString NameForNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return Q(DefaultDesignName(local));
}

}  // namespace

QString MainWindow::dialogFolder() const {
  // The design's own folder, or that of the design opened last; the home folder before any.
  const std::string& design =
      !ctx_.state.fileName.empty() ? ctx_.state.fileName : ctx_.state.recentFiles[0];
  if (design.empty()) return QDir::homePath();
  return QFileInfo(Q(design)).absolutePath();
}

bool MainWindow::askDiscard() {
  commitCellEdits();
  if (!ctx_.editor.modified()) return true;
  // Enter or Esc on the question keeps the work: only a deliberate OK throws it away.
  return prompter_.showMessage(this, Q(kMsgDiscard), MessageKind::QuestionCancelDefault) == kMsgOk;
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
  if (!decided.warning.empty())
    prompter_.showMessage(this, Q(decided.warning), MessageKind::Warning);
  return true;
}

void MainWindow::designLoaded(const QString& path, const LoadDecisions& decided) {
  ctx_.state.fileName = path.toStdString();
  const MergeChoice* kept = FindMerge(ctx_.state, ctx_.state.fileName);
  ctx_.merge = kept ? std::optional<MergeChoice>(*kept) : std::nullopt;
  showMergeState();
  source_->clear();  // the source was another design's
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
  ctx_.merge.reset();  // nor the records of the design before
  showMergeState();
}

void MainWindow::fileOpen() {
  // Opening replaces the design: unsaved changes are asked about first.
  if (!askDiscard()) return;
  const auto path = prompter_.openFileName(this, dialogFolder(), Q(kFileFilter));
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
  // The file's records are those the design was tried with (none forgets any kept for it).
  MergeChoice kept = ctx_.merge.value_or(MergeChoice{});
  kept.design = path.toStdString();
  RememberMerge(ctx_.state, kept);
  ctx_.state.fileName = path.toStdString();
  showMergeState();
  ctx_.editor.markSaved();
  UpdateRecentFiles(true);
  return true;
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
  if (const auto merge = currentMerge()) {
    printMerged(*merge);
    return;
  }
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

void MainWindow::printPreview() {
  commitCellEdits();
  PrintPreviewDialog preview(
      ctx_.design, ctx_.pictures, ctx_.places, [this] { filePrint(); }, this);
  std::unique_ptr<MergedPages> merged;
  if (const auto merge = currentMerge()) {
    merged = openMerged(*merge, false);  // says why when the records cannot be read
    if (merged) preview.setMerged(merged.get());
  }
  preview.exec();
}

void MainWindow::trialPrint() {
  commitCellEdits();
  ProgramRun run;
  run.source = source_->source().toStdString();
  run.name = "ｿｰｽｳｨﾝﾄﾞｳ";
  if (run.source.empty()) {
    prompter_.showMessage(
        this, QStringLiteral("ｿｰｽ生成でソースを作るか、Ctrl+V でソースを貼り付けてください。"),
        MessageKind::Information);
    return;
  }
  if (const auto merge = currentMerge()) {
    run.data = merge->data;
    run.csv = merge->csv;
    run.records = merge->records;
    // The page the preview shows first: as many records as the design's merge puts on it.
    CsvError unread;  // said when the program reads the records
    if (const auto pages = MergedPages::Open(ctx_.design, *merge, &unread)) {
      if (const MergedPage* first = pages->page(1)) {
        run.pageRecords = static_cast<long>(first->records.size());
      }
    }
  }
  PrintPreviewDialog preview(
      ctx_.design, ctx_.pictures, ctx_.places, [this, &run] { printProgram(run); }, this);
  preview.setProgram(&run);
  preview.exec();
  // The line it stopped at, shown where the program is.
  if (const int line = preview.stoppedLine()) source_->markLine(line);
}

void MainWindow::printProgram(const ProgramRun& run) {
  if (prompter_.showMessage(this, Q(kMsgPrintConfirm), MessageKind::Question) != kMsgOk) return;
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  if (!prompter_.choosePrinter(this, *printer)) return;
  printer->setDocName(QStringLiteral("F_DataPrint"));
  std::unique_ptr<QtPrinterPort> port = QtPrinterPort::ForPrinter(std::move(printer));
  std::string error;
  bool ok = false;
  {
    BusyCursor busy;
    ok = PrintProgram(run, *port, ctx_.pictures, &error);
  }
  if (!ok) {
    prompter_.showMessage(this, QStringLiteral("印刷できませんでした。\n") + Q(error),
                          MessageKind::Warning);
  }
}

void MainWindow::exportPage(ExportFormat format) {
  commitCellEdits();
  static constexpr int kDpis[] = {96, 150, 300, 600};
  int dpi = 300;
  bool grid = false;
  if (format == ExportFormat::Png) {
    // Each resolution, without the grid and then with it.
    QStringList items;
    for (const int d : kDpis) items << QStringLiteral("%1 dpi").arg(d);
    for (const int d : kDpis) items << QStringLiteral("%1 dpi（グリッド付き）").arg(d);
    const auto chosen = prompter_.chooseItem(this, QStringLiteral("解像度"), items, 2);
    if (!chosen || *chosen < 0 || *chosen >= static_cast<int>(items.size())) return;
    dpi = kDpis[static_cast<size_t>(*chosen) % std::size(kDpis)];
    grid = *chosen >= static_cast<int>(std::size(kDpis));
  }
  // With records: all merged pages or one.
  std::optional<MergeSource> merge = currentMerge();
  if (merge) {
    merge = chooseMergedPages(*merge);
    if (!merge) return;
  }
  // The design's own name with the new extension.
  const QFileInfo design(ctx_.state.fileName.empty() ? NameForNow() : Q(ctx_.state.fileName));
  static constexpr const char* kFilters[] = {"PDF(*.pdf)|*.pdf", "PNG(*.png)|*.png",
                                             "SVG(*.svg)|*.svg"};
  static constexpr const char* kExtensions[] = {".pdf", ".png", ".svg"};
  const auto kind = static_cast<size_t>(format);
  const QString suggested =
      QDir(design.path()).filePath(design.completeBaseName() + kExtensions[kind]);
  const auto path = prompter_.saveFileName(this, suggested, QString::fromLatin1(kFilters[kind]));
  if (!path) return;
  ExportOptions options;
  options.dpi = dpi;
  options.grid = grid;
  if (merge) options.merge = &*merge;
  PageProgress progress(this, QStringLiteral("出力しています"), 0);
  options.progress = progress.callback();
  FileStatus st;
  {
    BusyCursor busy;
    st = ExportDesign(ctx_.design, ctx_.pictures, path->toStdString(), format, options);
  }
  if (st.error == ECANCELED) return;  // nothing was written, as asked
  if (!st.ok()) prompter_.showMessage(this, Q(st.detail), MessageKind::Warning);
}

void MainWindow::fileExit() {
  if (!askDiscard()) return;
  closeConfirmed_ = true;
  ctx_.state.closing = true;
  close();
}

}  // namespace qf
