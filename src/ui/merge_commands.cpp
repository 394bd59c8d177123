// The main window's data merge: choosing the records, and printing, previewing and exporting
// the merged pages.
#include <QPrinter>

#include "basic/field_values.h"
#include "merge/merged_pages.h"
#include "platform/qt_printer.h"
#include "ui/busy_cursor.h"
#include "ui/main_window.h"
#include "ui/merge_choice_source.h"
#include "ui/merge_dialog.h"
#include "ui/page_progress.h"
#include "ui/prompter.h"
#include "ui/qt_text.h"

namespace qf {

void MainWindow::mergeData() {
  commitCellEdits();
  MergeDialog dialog(ctx_.design, prompter_,
                     ctx_.merge.value_or(MergeChoice{ctx_.state.fileName, "", 0, ""}),
                     dialogFolder(), this);
  if (dialog.exec() != QDialog::Accepted) return;
  MergeChoice choice = dialog.choice();
  choice.design = ctx_.state.fileName;
  ctx_.merge = choice;
  if (choice.data.empty()) ctx_.merge.reset();
  // A design with a file keeps its records in the settings; an unsaved one when it is saved.
  if (!choice.design.empty()) RememberMerge(ctx_.state, choice);
  showMergeState();
}

std::optional<MergeSource> MainWindow::currentMerge() const {
  const std::optional<MergeChoice>& m = ctx_.merge;
  if (!m) return std::nullopt;
  return MergeSourceOf(*m);
}

void MainWindow::showMergeState() {
  // The check mark is the command table's rule; the tip names the file.
  const auto merge = currentMerge();
  mergeAction_->setStatusTip(merge ? QStringLiteral("差し込みデータ: ") + Q(merge->data.string())
                                   : QString());
}

std::unique_ptr<MergedPages> MainWindow::openMerged(const MergeSource& source, bool counted) {
  CsvError error;
  std::unique_ptr<MergedPages> pages;
  {
    BusyCursor busy;
    pages = MergedPages::Open(ctx_.design, source, &error);
    if (pages && counted) pages->scanAll();
  }
  if (pages && counted && pages->error()) {
    error = *pages->error();
    pages.reset();
  }
  if (!pages) prompter_.showMessage(this, Q(error.message()), MessageKind::Warning);
  return pages;
}

std::optional<MergeSource> MainWindow::chooseMergedPages(MergeSource source) {
  const std::unique_ptr<MergedPages> pages = openMerged(source, true);
  if (!pages) return std::nullopt;
  constexpr long kListed = 2000;  // pages further on are reached through "all"
  QStringList items{QStringLiteral("すべてのページ（%1 ページ）").arg(pages->knownPages())};
  for (long i = 1; i <= pages->knownPages() && i <= kListed; ++i) {
    const MergedPages::PageStart& p = pages->start(i);
    items << QStringLiteral("%1 ページ目（レコード %2～%3）")
                 .arg(i)
                 .arg(p.firstRecord)
                 .arg(p.firstRecord + p.records - 1);
  }
  const auto chosen = prompter_.chooseItem(this, QStringLiteral("出力するページ"), items, 0);
  if (!chosen || *chosen < 0 || *chosen >= items.size()) return std::nullopt;
  if (*chosen > 0) source.firstPage = source.lastPage = *chosen;
  return source;
}

void MainWindow::printMerged(MergeSource source) {
  const std::unique_ptr<MergedPages> counted = openMerged(source, true);
  if (!counted) return;
  const long pages = counted->knownPages();
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  printer->setFromTo(1, static_cast<int>(std::min<long>(pages, 999999)));
  if (!prompter_.choosePrinter(this, *printer)) return;
  if (printer->printRange() == QPrinter::PageRange && printer->fromPage() > 0) {
    source.firstPage = printer->fromPage();
    source.lastPage = std::max(printer->fromPage(), printer->toPage());
  }
  printer->setDocName(
      Q(ctx_.state.fileName.empty() ? std::string("quillform") : ctx_.state.fileName));
  std::unique_ptr<QtPrinterPort> port = QtPrinterPort::ForPrinter(std::move(printer));
  const long last = source.lastPage > 0 ? std::min(source.lastPage, pages) : pages;
  PageProgress progress(this, QStringLiteral("印刷しています"), last - source.firstPage + 1);
  std::string error;
  bool cancelled = false;
  const bool ok = PrintMerged(ctx_.design, *port, ctx_.pictures, source, progress.callback(),
                              &error, &cancelled);
  if (cancelled) {
    port->abort();  // nothing of a cancelled print reaches the printer
    return;
  }
  if (!ok) {
    prompter_.showMessage(this, QStringLiteral("印刷できませんでした。\n") + Q(error),
                          MessageKind::Warning);
  }
}

}  // namespace qf
