#pragma once

#include "document/design.h"
#include "edit/object_fields.h"
#include "ui/dialogs/object_dialog.h"

class QCheckBox;
class QComboBox;

namespace qf {

class FigurePreview;

// frmLine, frmBox and frmRing: label, line style, width and colour; the box and the ring add a
// hatch, the box rounded corners (a box gets one or the other).
class FigureDialog final : public ObjectDialog {
  Q_OBJECT

 public:
  // `kind` is a line, box or ring; the palette and page give the hatch swatch and the radius
  // preview their colours and scale.
  FigureDialog(ObjectKind kind, const Design& design, WindowPlaces& places, Prompter& prompter,
               QWidget* parent);
  FigureFields fields() const;
  void setFields(const FigureFields& f);

 protected:
  bool validate() override;

 private:
  void update();

  ObjectKind kind_;
  const Design& design_;
  QLineEdit* label_;
  QComboBox* style_;
  QLineEdit* width_;
  QComboBox* hatch_ = nullptr;
  QLabel* hatchSwatch_ = nullptr;
  QCheckBox* rounded_ = nullptr;
  QLineEdit* radius_ = nullptr;
  FigurePreview* stylePreview_;
  FigurePreview* widthPreview_;
  FigurePreview* radiusPreview_ = nullptr;
};

}  // namespace qf
