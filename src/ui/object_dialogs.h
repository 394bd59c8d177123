#pragma once

#include <QPointer>
#include <array>

#include "document/object_record.h"

class QWidget;

namespace qf {

struct AppContext;
class BarcodeDialog;
class CommandDialog;
class FigureDialog;
class PictureDialog;
class Prompter;
class TextDialog;

// The objects' property dialogs, made when first needed and kept, so each keeps its fields for
// the next object of its kind. A new kind of object gets its dialog here, in both walks.
class ObjectDialogs {
 public:
  ObjectDialogs(AppContext& ctx, Prompter& prompter, QWidget* parent);

  // A new object of `kind` as its dialog fills it in; false when the user cancelled. A text
  // starts in the middle of the page.
  bool askNew(ObjectKind kind, ObjectRecord& object);
  // The object rewritten with its dialog's fields; false when cancelled, and for a command (its
  // row is edited through editCommand).
  bool edit(ObjectRecord& object);
  // A command row's dialog, the row's values to start from.
  bool editCommand(ObjectRecord& command);

 private:
  TextDialog& text();
  FigureDialog& figure(ObjectKind kind);
  PictureDialog& picture();
  CommandDialog& command();
  BarcodeDialog& barcode();

  AppContext& ctx_;
  Prompter& prompter_;
  QWidget* parent_;
  QPointer<TextDialog> text_;
  std::array<QPointer<FigureDialog>, 3> figures_{};  // line, box, ring
  QPointer<PictureDialog> picture_;
  QPointer<CommandDialog> command_;
  QPointer<BarcodeDialog> barcode_;
};

}  // namespace qf
