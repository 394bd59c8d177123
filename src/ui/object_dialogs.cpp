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

bool ObjectDialogs::askNew(ObjectKind kind, ObjectRecord& object) {
  switch (kind) {
    case ObjectKind::Text: {
      // Preset in the middle of the page (where the drag will put it anyway).
      object.X1 = static_cast<double>(std::lround(ctx_.view.page.scaleWidth) / 2);
      object.Y1 = static_cast<double>(std::lround(ctx_.view.page.scaleHeight) / 2);
      TextDialog& dialog = text();
      if (!dialog.ask()) return false;
      ApplyTextFields(dialog.fields(), object);
      return true;
    }
    case ObjectKind::Line:
    case ObjectKind::Box:
    case ObjectKind::Ring: {
      FigureDialog& dialog = figure(kind);
      if (!dialog.ask()) return false;
      ApplyFigureFields(dialog.fields(), object);
      return true;
    }
    case ObjectKind::Picture: {
      PictureDialog& dialog = picture();
      if (!dialog.ask()) return false;
      ApplyPictureFields(dialog.fields(), object);
      return true;
    }
    case ObjectKind::Barcode: {
      BarcodeDialog& dialog = barcode();
      if (!dialog.ask()) return false;
      ApplyBarcodeFields(dialog.fields(), object);
      return true;
    }
    case ObjectKind::Command: {
      CommandDialog& dialog = command();
      dialog.prepare(ctx_.editor.currentLayer(), nullptr);
      if (!dialog.ask()) return false;
      ApplyCommandFields(dialog.fields(), object);
      return true;
    }
    case ObjectKind::None:
      return false;
  }
  return false;
}

bool ObjectDialogs::edit(ObjectRecord& object) {
  switch (object.Kind) {
    case ObjectKind::Text: {
      // The preview shows the font as the page does, at the zoom.
      TextDialog& dialog = text();
      dialog.setFields(TextFieldsOf(object), ctx_.view.zoom);
      if (!dialog.ask()) return false;
      ApplyTextFields(dialog.fields(), object);
      return true;
    }
    case ObjectKind::Line:
    case ObjectKind::Box:
    case ObjectKind::Ring: {
      FigureDialog& dialog = figure(object.Kind);
      dialog.setFields(FigureFieldsOf(object));
      if (!dialog.ask()) return false;
      ApplyFigureFields(dialog.fields(), object);
      return true;
    }
    case ObjectKind::Picture: {
      PictureDialog& dialog = picture();
      dialog.setFields(PictureFieldsOf(object));
      if (!dialog.ask()) return false;
      ApplyPictureFields(dialog.fields(), object);
      return true;
    }
    case ObjectKind::Barcode: {
      BarcodeDialog& dialog = barcode();
      dialog.setFields(BarcodeFieldsOf(object));
      if (!dialog.ask()) return false;
      ApplyBarcodeFields(dialog.fields(), object);
      return true;
    }
    case ObjectKind::Command:  // its row is edited from the code window
    case ObjectKind::None:
      return false;
  }
  return false;
}

bool ObjectDialogs::editCommand(ObjectRecord& command) {
  if (command.Kind != ObjectKind::Command) return false;
  CommandDialog& dialog = this->command();
  dialog.prepare(ctx_.editor.currentLayer(), &command);
  if (!dialog.ask()) return false;
  ApplyCommandFields(dialog.fields(), command);
  return true;
}

}  // namespace qf
