#pragma once

#include <array>

#include "edit/object_fields.h"
#include "ui/dialogs/object_dialog.h"

class QComboBox;
class QPushButton;

namespace qf {

// frmText: label, text, field, font, size, the four style toggles, alignment and colour, with a
// live preview.
class TextDialog final : public ObjectDialog {
  Q_OBJECT

 public:
  TextDialog(WindowPlaces& places, Prompter& prompter, QWidget* parent);
  TextFields fields() const;
  // Loads an object's attributes (the pop-up menu's Properties); `zoom` sizes the preview as
  // the design window shows the text.
  void setFields(const TextFields& f, int zoom = 100);

 protected:
  bool validate() override;

 private:
  void showPreview();
  void chooseFont();
  void setToggle(size_t i, bool on);

  QLineEdit* label_;
  QLineEdit* text_;
  QLineEdit* field_;
  QLineEdit* fontName_;
  QLineEdit* fontSize_;
  std::array<QPushButton*, 4> toggles_{};
  QComboBox* align_;
  QLabel* preview_;
  int zoom_ = 100;
};

}  // namespace qf
