// The Edit menu's commands and the objects of the toolbar: undo and redo, the object
// clipboard, objects through their dialogs, a command row edited, the pop-up menu and
// Properties.
#include <QCursor>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <cmath>

#include "document/object_rows.h"
#include "edit/object_fields.h"
#include "ui/busy_cursor.h"
#include "ui/child_window.h"
#include "ui/code_window.h"
#include "ui/command_ids.h"
#include "ui/design_window.h"
#include "ui/dialogs/command_dialog.h"
#include "ui/dialogs/figure_dialog.h"
#include "ui/dialogs/picture_dialog.h"
#include "ui/dialogs/text_dialog.h"
#include "ui/layer_window.h"
#include "ui/main_window.h"

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

TextDialog& MainWindow::textDialog() {
  if (!textDialog_) textDialog_ = new TextDialog(ctx_.places, prompter_, this);
  return *textDialog_;
}

FigureDialog& MainWindow::figureDialog(ObjectKind kind) {
  const size_t i = kind == ObjectKind::Line ? 0 : kind == ObjectKind::Box ? 1 : 2;
  if (!figureDialogs_[i]) {
    figureDialogs_[i] = new FigureDialog(kind, ctx_.design, ctx_.places, prompter_, this);
  }
  return *figureDialogs_[i];
}

PictureDialog& MainWindow::pictureDialog() {
  if (!pictureDialog_) pictureDialog_ = new PictureDialog(ctx_.places, prompter_, this);
  return *pictureDialog_;
}

CommandDialog& MainWindow::commandDialog() {
  if (!commandDialog_) {
    commandDialog_ = new CommandDialog(ctx_.design.objects, ctx_.places, prompter_, this);
  }
  return *commandDialog_;
}

void MainWindow::addObject(ObjectKind kind) {
  commitCellEdits();
  // An object still waiting to be placed gives way to this one; insert mode stays.
  ctx_.editor.cancelAdd();
  ObjectRecord object;
  if (kind == ObjectKind::Text) {
    // Preset in the middle of the page (where the drag will put it anyway).
    object.X1 = static_cast<double>(std::lround(ctx_.view.page.scaleWidth) / 2);
    object.Y1 = static_cast<double>(std::lround(ctx_.view.page.scaleHeight) / 2);
  }
  bool accepted = false;
  switch (kind) {
    case ObjectKind::Text:
      accepted = textDialog().ask();
      if (accepted) ApplyTextFields(textDialog_->fields(), object);
      break;
    case ObjectKind::Line:
    case ObjectKind::Box:
    case ObjectKind::Ring: {
      FigureDialog& dialog = figureDialog(kind);
      accepted = dialog.ask();
      if (accepted) ApplyFigureFields(dialog.fields(), object);
      break;
    }
    case ObjectKind::Picture:
      accepted = pictureDialog().ask();
      if (accepted) ApplyPictureFields(pictureDialog_->fields(), object);
      break;
    case ObjectKind::Command:
      commandDialog().prepare(ctx_.editor.currentLayer(), nullptr);
      accepted = commandDialog_->ask();
      if (accepted) ApplyCommandFields(commandDialog_->fields(), object);
      break;
    case ObjectKind::None:
      break;
  }
  if (!accepted) return;
  if (kind == ObjectKind::Command) {
    ctx_.editor.addCommand(object);
  } else {
    ctx_.editor.beginAdd(object);
  }
}

void MainWindow::editCommandRow(int row) {
  ObjectRecord record = DecodeObjectRow(ctx_.design.objects, row);
  if (record.Kind != ObjectKind::Command) return;
  CommandDialog& dialog = commandDialog();
  dialog.prepare(ctx_.editor.currentLayer(), &record);
  if (!dialog.ask()) return;
  ApplyCommandFields(dialog.fields(), record);
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
  switch (result.Kind) {
    case ObjectKind::Text:
      // The preview shows the font as the page does, at the zoom.
      textDialog().setFields(TextFieldsOf(result), ctx_.view.zoom);
      if (!textDialog_->ask()) return;
      ApplyTextFields(textDialog_->fields(), result);
      break;
    case ObjectKind::Line:
    case ObjectKind::Box:
    case ObjectKind::Ring: {
      FigureDialog& dialog = figureDialog(result.Kind);
      dialog.setFields(FigureFieldsOf(result));
      if (!dialog.ask()) return;
      ApplyFigureFields(dialog.fields(), result);
      break;
    }
    case ObjectKind::Picture:
      pictureDialog().setFields(PictureFieldsOf(result));
      if (!pictureDialog_->ask()) return;
      ApplyPictureFields(pictureDialog_->fields(), result);
      break;
    case ObjectKind::Command:  // a command has no dialog here
    case ObjectKind::None:
      return;
  }
  ctx_.editor.rewriteSelected(result);
}

}  // namespace qf
