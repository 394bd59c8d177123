#include "command_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QRadioButton>

#include "document/number_text.h"
#include "ui/qt_text.h"

namespace qf {

CommandDialog::CommandDialog(const TextTable& objects, WindowPlaces& places, Prompter& prompter,
                             QWidget* parent)
    : ObjectDialog(places, prompter, kWinCommand, "frmCMD", "ｺﾏﾝﾄﾞｵﾌﾞｼﾞｪｸﾄ", parent),
      objects_(objects),
      label_(new QComboBox),
      start_(new QRadioButton(QStringLiteral("開始"))),
      end_(new QRadioButton(QStringLiteral("終了"))),
      direction_(new QComboBox) {
  label_->setObjectName(QStringLiteral("cmbLabel"));
  label_->setEditable(true);
  label_->setInsertPolicy(QComboBox::NoInsert);
  addRow("ﾗﾍﾞﾙ", label_);
  label_->lineEdit()->setAccessibleName(label_->accessibleName());
  start_->setObjectName(QStringLiteral("optMode0"));
  end_->setObjectName(QStringLiteral("optMode1"));
  auto* modes = new QWidget;
  auto* row = new QHBoxLayout(modes);
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(start_);
  row->addWidget(end_);
  addRow("開始/終了", modes);
  start_->setAccessibleName(start_->text());
  end_->setAccessibleName(end_->text());
  direction_->setObjectName(QStringLiteral("cmbHoko"));
  direction_->addItem(QStringLiteral("縦方向繰返し"));
  direction_->addItem(QStringLiteral("横方向繰返し"));
  addRow("方向", direction_);
  gap_ = addLineEdit("txtGap", "間隔");
  count_ = addLineEdit("txtLoop", "回数");
  variable_ = addLineEdit("txtVal", "変数名");
  // Numbers and names: no input method.
  for (QLineEdit* box : {gap_, count_, variable_})
    box->setAttribute(Qt::WA_InputMethodEnabled, false);
  finishLayout();
  setFields(CommandFields{});
  connect(label_, &QComboBox::activated, this, &CommandDialog::startChosen);
  connect(gap_, &QLineEdit::editingFinished, this, [this] {
    if (IsPlainNumber(gap_->text().toStdString())) {
      gap_->setText(Q(FormatFixed3(NumericPrefix(gap_->text().toStdString()))));
    }
  });
}

void CommandDialog::prepare(int16_t layer, const ObjectRecord* editing) {
  const QString typed = label_->currentText();
  label_->clear();
  for (const StartCommand& s : StartCommandsOf(objects_, layer)) {
    label_->addItem(Q(s.label), s.row);
  }
  label_->setCurrentIndex(-1);
  label_->setEditText(typed);
  if (editing) setFields(CommandFieldsOf(*editing));
}

CommandFields CommandDialog::fields() const {
  CommandFields f;
  f.label = label_->currentText().toStdString();
  f.start = !end_->isChecked();
  f.direction = direction_->currentIndex() == 1 ? 1 : 0;
  f.gap = gap_->text().toStdString();
  f.count = count_->text().toStdString();
  f.variable = variable_->text().toStdString();
  return f;
}

void CommandDialog::setFields(const CommandFields& f) {
  label_->setEditText(Q(f.label));
  (f.start ? start_ : end_)->setChecked(true);
  direction_->setCurrentIndex(f.direction == 1 ? 1 : 0);
  gap_->setText(Q(f.gap));
  count_->setText(Q(f.count));
  variable_->setText(Q(f.variable));
}

void CommandDialog::startChosen(int index) {
  CommandFields f = fields();
  CopyStart(objects_, label_->itemData(index).toInt(), f);
  f.label = label_->itemText(index).toStdString();
  setFields(f);
}

bool CommandDialog::validate() {
  switch (ValidateCommandFields(fields())) {
    case CommandField::Label:
      label_->setFocus();
      return false;
    case CommandField::Gap:
      gap_->setFocus();
      return false;
    case CommandField::Count:
      count_->setFocus();
      return false;
    case CommandField::Variable:
      variable_->setFocus();
      return false;
    case CommandField::None:
      return true;
  }
  return true;
}

}  // namespace qf
