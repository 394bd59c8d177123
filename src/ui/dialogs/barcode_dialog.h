#pragma once

#include "edit/barcode_fields.h"
#include "ui/dialogs/object_dialog.h"

class QComboBox;

namespace qf {

class BarcodePreview;

// frmBarcode: label, symbology, value, field, size of the digits and colour, with the symbol as
// it will print and, when the value cannot be encoded, the reason.
class BarcodeDialog final : public ObjectDialog {
  Q_OBJECT

 public:
  BarcodeDialog(WindowPlaces& places, Prompter& prompter, QWidget* parent);
  BarcodeFields fields() const;
  void setFields(const BarcodeFields& f);

 protected:
  bool validate() override;

 private:
  // The preview and the reason follow the fields as they are typed.
  void update();

  QLineEdit* label_;
  QComboBox* symbology_;
  QLineEdit* value_;
  QLineEdit* field_;
  QLineEdit* digitsSize_;
  BarcodePreview* preview_;
  QLabel* reason_;
};

}  // namespace qf
