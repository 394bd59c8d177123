#pragma once

#include <QLabel>
#include <QLineEdit>

#include "shell/app_state.h"
#include "ui/dialogs/settings_dialogs.h"

class QCheckBox;
class QGridLayout;

namespace qf {

class Prompter;

// What every object dialog shares: a form of labelled rows (each caption also names its control
// for screen readers), the colour row, "ｸﾞﾘｯﾄﾞに合わせる", OK and Cancel. OK closes the dialog only
// when its fields pass; otherwise the focus goes to the first failing box, with no message.
// The dialog is kept between uses, so its fields keep their last values.
class ObjectDialog : public PlacedDialog {
  Q_OBJECT

 public:
  // Shown modally; true when it ended with OK.
  bool ask();

 protected:
  ObjectDialog(WindowPlaces& places, Prompter& prompter, int index, const char* name,
               const char* caption, QWidget* parent);
  // A row: the caption, the control, and what stands after it (a button, a unit).
  void addRow(const char* caption, QWidget* field, QWidget* after = nullptr);
  QLineEdit* addLineEdit(const char* name, const char* caption, QWidget* after = nullptr);
  // txtColor with its swatch lblColor and the colour dialog's button cmdColor.
  void addColorRow();
  // chkGrid, then OK and Cancel; call last.
  void finishLayout();
  // False (the focus on the failing box) to keep the dialog open.
  virtual bool validate() = 0;
  void accept() override;

  void showSwatch();
  QString colorText() const { return color_->text(); }
  void setColorText(const QString& text);

  const WindowPlaces& places_;
  Prompter& prompter_;
  QGridLayout* form_;

 private:
  void chooseColor();

  QLineEdit* color_ = nullptr;
  QLabel* swatch_ = nullptr;
  QCheckBox* snap_ = nullptr;
};

// A button that opens another dialog: "▼", named, with its purpose as accessible name.
QPushButton* ArrowButton(const char* name, const char* purpose);

}  // namespace qf
