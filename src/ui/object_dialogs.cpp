#include "ui/object_dialogs.h"

#include <cmath>

#include "edit/barcode_fields.h"
#include "edit/object_fields.h"
#include "ui/app_context.h"
#include "ui/dialogs/barcode_dialog.h"
#include "ui/dialogs/command_dialog.h"
#include "ui/dialogs/figure_dialog.h"
#include "ui/dialogs/picture_dialog.h"
#include "ui/dialogs/text_dialog.h"

namespace qf {

ObjectDialogs::ObjectDialogs(AppContext& ctx, Prompter& prompter, QWidget* parent)
    : ctx_(ctx), prompter_(prompter), parent_(parent) {}

TextDialog& ObjectDialogs::text() {
  if (!text_) text_ = new TextDialog(ctx_.places, prompter_, parent_);
  return *text_;
}

FigureDialog& ObjectDialogs::figure(ObjectKind kind) {
  const size_t i = kind == ObjectKind::Line ? 0 : kind == ObjectKind::Box ? 1 : 2;
  if (!figures_[i])
    figures_[i] = new FigureDialog(kind, ctx_.design, ctx_.places, prompter_, parent_);
  return *figures_[i];
}

PictureDialog& ObjectDialogs::picture() {
  if (!picture_) picture_ = new PictureDialog(ctx_.places, prompter_, parent_);
  return *picture_;
}

CommandDialog& ObjectDialogs::command() {
  if (!command_) command_ = new CommandDialog(ctx_.design.objects, ctx_.places, prompter_, parent_);
  return *command_;
}

BarcodeDialog& ObjectDialogs::barcode() {
  if (!barcode_) barcode_ = new BarcodeDialog(ctx_.places, prompter_, parent_);
  return *barcode_;
}

namespace {

// The dialog asked; on OK its fields written over the object.
template <class Dialog, class Apply>
bool Ask(Dialog& dialog, Apply apply, ObjectRecord& object) {
  if (!dialog.ask()) return false;
  apply(dialog.fields(), object);
  return true;
}

}  // namespace

bool ObjectDialogs::askNew(ObjectKind kind, ObjectRecord& object) {
  switch (kind) {
    case ObjectKind::Text:
      // Preset in the middle of the page (where the drag will put it anyway).
      object.X1 = static_cast<double>(std::lround(ctx_.view.page.scaleWidth) / 2);
      object.Y1 = static_cast<double>(std::lround(ctx_.view.page.scaleHeight) / 2);
      return Ask(text(), ApplyTextFields, object);
    case ObjectKind::Line:
    case ObjectKind::Box:
    case ObjectKind::Ring:
      return Ask(figure(kind), ApplyFigureFields, object);
    case ObjectKind::Picture:
      return Ask(picture(), ApplyPictureFields, object);
    case ObjectKind::Barcode:
      return Ask(barcode(), ApplyBarcodeFields, object);
    case ObjectKind::Command:
      command().prepare(ctx_.editor.currentLayer(), nullptr);
      return Ask(command(), ApplyCommandFields, object);
    case ObjectKind::None:
      return false;
  }
  return false;
}

bool ObjectDialogs::edit(ObjectRecord& object) {
  switch (object.Kind) {
    case ObjectKind::Text:
      // The preview shows the font as the page does, at the zoom.
      text().setFields(TextFieldsOf(object), ctx_.view.zoom);
      return Ask(text(), ApplyTextFields, object);
    case ObjectKind::Line:
    case ObjectKind::Box:
    case ObjectKind::Ring:
      figure(object.Kind).setFields(FigureFieldsOf(object));
      return Ask(figure(object.Kind), ApplyFigureFields, object);
    case ObjectKind::Picture:
      picture().setFields(PictureFieldsOf(object));
      return Ask(picture(), ApplyPictureFields, object);
    case ObjectKind::Barcode:
      barcode().setFields(BarcodeFieldsOf(object));
      return Ask(barcode(), ApplyBarcodeFields, object);
    case ObjectKind::Command:  // its row is edited from the code window
    case ObjectKind::None:
      return false;
  }
  return false;
}

bool ObjectDialogs::editCommand(ObjectRecord& command) {
  if (command.Kind != ObjectKind::Command) return false;
  this->command().prepare(ctx_.editor.currentLayer(), &command);
  return Ask(this->command(), ApplyCommandFields, command);
}

}  // namespace qf
