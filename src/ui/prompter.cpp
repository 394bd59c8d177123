#include "prompter.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QStringList>
#include <QUrl>

#include "shell/ui_text.h"

namespace qf {

QString QtFileFilter(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList out;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    if (patterns == QLatin1String("*.*")) patterns = QStringLiteral("*");
    // The original captions list their patterns already ("ﾌｧｲﾙ(*.qfd,*.qff)"); Qt shows the
    // patterns it filters by, so the caption's own list goes.
    QString caption = parts[i].trimmed();
    if (caption.endsWith(QLatin1Char(')'))) {
      const qsizetype open = caption.lastIndexOf(QLatin1Char('('));
      if (open > 0) caption = caption.left(open).trimmed();
    }
    out << caption + QStringLiteral(" (") + patterns + QLatin1Char(')');
  }
  return out.join(QStringLiteral(";;"));
}

int QtPrompter::showMessage(QWidget* parent, const QString& prompt, MessageKind kind) {
  QMessageBox box(parent);
  box.setWindowTitle(QString::fromUtf8(kAppTitle.data(), kAppTitle.size()));
  box.setText(prompt);
  QMessageBox::StandardButtons buttons = QMessageBox::Ok;
  QMessageBox::StandardButton defaultButton = QMessageBox::Ok;
  switch (kind) {
    case MessageKind::Warning:
      box.setIcon(QMessageBox::Warning);
      break;
    case MessageKind::Question:
      box.setIcon(QMessageBox::Question);
      buttons = QMessageBox::Ok | QMessageBox::Cancel;
      break;
    case MessageKind::Information:
      box.setIcon(QMessageBox::Information);
      break;
    case MessageKind::QuestionCancelDefault:
      box.setIcon(QMessageBox::Question);
      buttons = QMessageBox::Ok | QMessageBox::Cancel;
      defaultButton = QMessageBox::Cancel;
      break;
    case MessageKind::Error:
      box.setIcon(QMessageBox::Critical);
      break;
    case MessageKind::AbortRetryIgnore:
      box.setIcon(QMessageBox::Question);
      buttons = QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
      defaultButton = QMessageBox::Abort;
      break;
  }
  box.setStandardButtons(buttons);
  box.setDefaultButton(defaultButton);
  switch (box.exec()) {
    case QMessageBox::Ok:
      return kMsgOk;
    case QMessageBox::Cancel:
      return kMsgCancel;
    case QMessageBox::Abort:
      return kMsgAbort;
    case QMessageBox::Retry:
      return kMsgRetry;
    case QMessageBox::Ignore:
      return kMsgIgnore;
    default:
      return kMsgCancel;  // closed without a button
  }
}

std::optional<QString> QtPrompter::openFileName(QWidget* parent, const QString& from,
                                                const QString& filter) {
  const QString path = QFileDialog::getOpenFileName(parent, QString(), from, QtFileFilter(filter));
  if (path.isEmpty()) return std::nullopt;
  return path;
}

std::optional<QString> QtPrompter::saveFileName(QWidget* parent, const QString& suggested,
                                                const QString& filter) {
  const QString path =
      QFileDialog::getSaveFileName(parent, QString(), suggested, QtFileFilter(filter));
  if (path.isEmpty()) return std::nullopt;
  return path;
}

bool QtPrompter::choosePrinter(QWidget* parent, QPrinter& printer) {
  QPrintDialog dialog(&printer, parent);
  // No selection choice; a page range only when the printer was given one (merged pages): a
  // design alone is one page.
  const int pages = printer.toPage();
  dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, pages > 1);
  if (pages > 1) {
    dialog.setMinMax(1, pages);
    printer.setFromTo(0, 0);  // the whole range unless the user narrows it
  }
  return dialog.exec() == QDialog::Accepted;
}

std::optional<QColor> QtPrompter::chooseColor(QWidget* parent, const QColor& initial,
                                              const QString& title) {
  const QColor c = QColorDialog::getColor(initial, parent, title);
  if (!c.isValid()) return std::nullopt;
  return c;
}

std::optional<QFont> QtPrompter::chooseFont(QWidget* parent, const QFont& initial) {
  bool ok = false;
  const QFont font = QFontDialog::getFont(&ok, initial, parent);
  if (!ok) return std::nullopt;
  return font;
}

std::optional<int> QtPrompter::chooseItem(QWidget* parent, const QString& label,
                                          const QStringList& items, int current) {
  bool ok = false;
  const QString chosen = QInputDialog::getItem(
      parent, QString::fromUtf8(kAppTitle.data(), static_cast<qsizetype>(kAppTitle.size())), label,
      items, current, false, &ok);
  if (!ok) return std::nullopt;
  return static_cast<int>(items.indexOf(chosen));
}

void QtPrompter::openDocument(const QString& path) {
  // A missing help page is not reported.
  QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace qf
