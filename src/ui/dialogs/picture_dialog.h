#pragma once

#include "edit/object_fields.h"
#include "ui/dialogs/object_dialog.h"

class QCheckBox;
class QScrollArea;

namespace qf {

// frmPic: label, picture file and transparency, with the picture at its natural size in a
// viewport that scrolls only where it does not fit.
class PictureDialog final : public ObjectDialog {
  Q_OBJECT

 public:
  PictureDialog(WindowPlaces& places, Prompter& prompter, QWidget* parent);
  PictureFields fields() const;
  void setFields(const PictureFields& f);
  // The preview of the file named (hidden when it cannot be read).
  void loadPreview();

 protected:
  bool validate() override { return true; }

 private:
  void chooseFile();

  QLineEdit* label_;
  QLineEdit* path_;
  QCheckBox* transparent_;
  QScrollArea* viewport_;
  QLabel* picture_;
};

}  // namespace qf
