#pragma once

#include "document/text_table.h"
#include "edit/object_fields.h"
#include "ui/dialogs/object_dialog.h"

class QComboBox;
class QRadioButton;

namespace qf {

// frmCMD: a repeat block's start or end: label, start or end, direction, gap, count and loop
// variable. The label list offers the start commands of the current layer; choosing one copies
// its settings.
class CommandDialog final : public ObjectDialog {
  Q_OBJECT

 public:
  CommandDialog(const TextTable& objects, WindowPlaces& places, Prompter& prompter,
                QWidget* parent);
  // Before each use: the label list for the layer, and the fields of a command being edited.
  void prepare(int16_t layer, const ObjectRecord* editing);
  CommandFields fields() const;
  void setFields(const CommandFields& f);

 protected:
  bool validate() override;

 private:
  void startChosen(int index);

  const TextTable& objects_;
  QComboBox* label_;
  QRadioButton* start_;
  QRadioButton* end_;
  QComboBox* direction_;
  QLineEdit* gap_;
  QLineEdit* count_;
  QLineEdit* variable_;
};

}  // namespace qf
