#include "object_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "edit/object_fields.h"
#include "platform/raster_surface.h"
#include "ui/prompter.h"
#include "ui/qt_text.h"

namespace qf {

QPushButton* ArrowButton(const char* name, const char* purpose) {
  auto* b = new QPushButton(QStringLiteral("▼"));
  b->setObjectName(QString::fromLatin1(name));
  b->setAccessibleName(QString::fromUtf8(purpose));
  b->setFixedWidth(b->sizeHint().height() + 4);
  b->setAutoDefault(false);
  return b;
}

ObjectDialog::ObjectDialog(WindowPlaces& places, Prompter& prompter, int index, const char* name,
                           const char* caption, QWidget* parent)
    : PlacedDialog(places, index, parent),
      places_(places),
      prompter_(prompter),
      form_(new QGridLayout) {
  setObjectName(QString::fromLatin1(name));
  setWindowTitle(QString::fromUtf8(caption));
}

void ObjectDialog::addRow(const char* caption, QWidget* field, QWidget* after) {
  const int row = form_->rowCount();
  auto* label = new QLabel(QString::fromUtf8(caption));
  label->setBuddy(field);
  field->setAccessibleName(label->text());
  form_->addWidget(label, row, 0);
  form_->addWidget(field, row, 1);
  if (after) form_->addWidget(after, row, 2);
}

QLineEdit* ObjectDialog::addLineEdit(const char* name, const char* caption, QWidget* after) {
  auto* edit = new QLineEdit;
  edit->setObjectName(QString::fromLatin1(name));
  addRow(caption, edit, after);
  return edit;
}

void ObjectDialog::addColorRow() {
  color_ = new QLineEdit(Q(ColorText(0)));
  color_->setObjectName(QStringLiteral("txtColor"));
  swatch_ = new QLabel;
  swatch_->setObjectName(QStringLiteral("lblColor"));
  swatch_->setAccessibleName(QStringLiteral("表示色の見本"));
  swatch_->setFixedSize(24, 18);
  swatch_->setFrameShape(QFrame::Box);
  swatch_->setAutoFillBackground(true);
  QPushButton* pick = ArrowButton("cmdColor", "表示色指定");
  auto* after = new QWidget;
  auto* row = new QHBoxLayout(after);
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(swatch_);
  row->addWidget(pick);
  addRow("表示色", color_, after);
  connect(color_, &QLineEdit::editingFinished, this, &ObjectDialog::showSwatch);
  connect(pick, &QPushButton::clicked, this, &ObjectDialog::chooseColor);
  showSwatch();
}

void ObjectDialog::finishLayout() {
  snap_ = new QCheckBox(QStringLiteral("ｸﾞﾘｯﾄﾞに合わせる"));
  snap_->setObjectName(QStringLiteral("chkGrid"));
  auto* ok = new QPushButton(QStringLiteral("OK"));
  ok->setObjectName(QStringLiteral("cmdOK"));
  auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"));
  cancel->setObjectName(QStringLiteral("cmdCan"));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &ObjectDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &ObjectDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(snap_);
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form_);
  layout->addLayout(buttons);
}

bool ObjectDialog::ask() {
  // The box shows whether the design window snaps; nothing reads it back.
  if (snap_) snap_->setChecked(places_.state().snapOn);
  return exec() == QDialog::Accepted;
}

void ObjectDialog::accept() {
  if (validate()) QDialog::accept();
}

void ObjectDialog::showSwatch() {
  if (!swatch_) return;
  QPalette p = swatch_->palette();
  p.setColor(QPalette::Window, ToQColor(ColorFromText(color_->text().toStdString())));
  swatch_->setPalette(p);
}

void ObjectDialog::setColorText(const QString& text) {
  color_->setText(text);
  showSwatch();
}

void ObjectDialog::chooseColor() {
  const QColor initial = ToQColor(ColorFromText(color_->text().toStdString()));
  const auto chosen = prompter_.chooseColor(this, initial, QStringLiteral("表示色指定"));
  if (!chosen) return;
  setColorText(Q(ColorText(Rgb(chosen->red(), chosen->green(), chosen->blue()))));
}

}  // namespace qf
