// The Edit menu's commands and the objects of the toolbar: undo and redo, the object
// clipboard, objects through their dialogs, a command row edited, the pop-up menu and
// Properties.
#include <QCursor>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

#include "document/object_rows.h"
#include "ui/busy_cursor.h"
#include "ui/child_window.h"
#include "ui/code_window.h"
#include "ui/command_ids.h"
#include "ui/design_window.h"
#include "ui/layer_window.h"
#include "ui/main_window.h"
#include "ui/object_dialogs.h"

namespace qf {

void MainWindow::commitCellEdits() {
  // A cell still being edited is part of the design too: a menu command does not take the
  // focus from the cell editor, so it commits first.
  code_->commitEditing();
  layer_->commitEditing();
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

void MainWindow::addObject(ObjectKind kind) {
  commitCellEdits();
  // An object still waiting to be placed gives way to this one; insert mode stays.
  ctx_.editor.cancelAdd();
  ObjectRecord object;
  if (!dialogs_->askNew(kind, object)) return;
  if (kind == ObjectKind::Command) {
    ctx_.editor.addCommand(object);
  } else {
    ctx_.editor.beginAdd(object);
  }
}

void MainWindow::editCommandRow(int row) {
  ObjectRecord record = DecodeObjectRow(ctx_.design.objects, row);
  if (!dialogs_->editCommand(record)) return;
  ctx_.editor.rewriteRow(row, record);
}

bool MainWindow::designActive() const {
  return mdi_->activeSubWindow() == static_cast<QMdiSubWindow*>(designFrame_);
}

void MainWindow::cutObjects() {
  if (designActive()) ctx_.editor.cutSelection();
}

void MainWindow::copyObjects() {
  if (designActive()) ctx_.editor.copySelection();
}

void MainWindow::pasteObjects() {
  if (designActive()) ctx_.editor.paste();
}

void MainWindow::selectAllObjects() {
  ctx_.editor.selectAll();
}

void MainWindow::popupMenu() {
  QMenu menu(this);
  menu.setObjectName(QString(cmd::kPopupMenu));
  menu.setTitle(QStringLiteral("ﾒﾆｭｰ"));
  QAction* edit = menu.addAction(QStringLiteral("ﾌﾟﾛﾊﾟﾃｨ"));
  edit->setObjectName(QStringLiteral("QFM001"));
  menu.addSeparator()->setObjectName(QStringLiteral("QFM002"));
  menu.addAction(QStringLiteral("ｷｬﾝｾﾙ"))->setObjectName(QStringLiteral("QFM003"));
  if (menu.exec(QCursor::pos()) == edit) properties();
}

void MainWindow::properties() {
  const std::vector<int>& rows = ctx_.editor.selectedRows();
  if (rows.size() != 1) return;
  // The object as the list holds it now, whatever changed it since it was selected.
  ObjectRecord result = DecodeObjectRow(ctx_.design.objects, rows.front());
  if (!dialogs_->edit(result)) return;
  ctx_.editor.rewriteSelected(result);
}

}  // namespace qf
