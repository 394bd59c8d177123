#include "text_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>

#include "document/number_text.h"
#include "platform/qt_fonts.h"
#include "platform/raster_surface.h"
#include "ui/prompter.h"
#include "ui/qt_text.h"

namespace qf {

namespace {

constexpr const char* kToggleCaptions[] = {"太字", "斜体", "取消", "下線"};
// The default font of the preview, and so of new texts.
constexpr const char* kDefaultFont = "ＭＳ ゴシック";
constexpr const char* kDefaultSize = "10.5";

}  // namespace

TextDialog::TextDialog(WindowPlaces& places, Prompter& prompter, QWidget* parent)
    : ObjectDialog(places, prompter, kWinText, "frmText", "ﾃｷｽﾄｵﾌﾞｼﾞｪｸﾄ", parent),
      align_(new QComboBox),
      preview_(new QLabel(QStringLiteral("文字サンプルSample"))) {
  label_ = addLineEdit("txtLabel", "ﾗﾍﾞﾙ");
  text_ = addLineEdit("txtText", "ﾃｷｽﾄ");
  field_ = addLineEdit("txtField", "ﾌｨｰﾙﾄﾞ名");
  QPushButton* font = ArrowButton("cmdFont", "ﾌｫﾝﾄ指定");
  fontName_ = addLineEdit("txtFName", "ﾌｫﾝﾄ", font);
  fontSize_ = addLineEdit("txtFSize", "ｻｲｽﾞ");
  fontName_->setText(QString::fromUtf8(kDefaultFont));
  fontSize_->setText(QString::fromLatin1(kDefaultSize));

  auto* styles = new QWidget;
  auto* row = new QHBoxLayout(styles);
  row->setContentsMargins(0, 0, 0, 0);
  for (size_t i = 0; i < toggles_.size(); ++i) {
    auto* t = new QPushButton(QString::fromUtf8(kToggleCaptions[i]));
    t->setObjectName(QStringLiteral("lblFProp%1").arg(i));
    t->setAccessibleName(t->text());
    t->setCheckable(true);
    t->setAutoDefault(false);
    // On shows light cyan, as the toggles always have.
    t->setStyleSheet(QStringLiteral("QPushButton:checked { background: rgb(192, 255, 255); }"));
    connect(t, &QPushButton::toggled, this, &TextDialog::showPreview);
    toggles_[i] = t;
    row->addWidget(t);
  }
  addRow("ｽﾀｲﾙ", styles);
  align_->setObjectName(QStringLiteral("cmbAli"));
  for (const char* item : {"通常(左寄せ)", "右寄せ", "センタリング"}) {
    align_->addItem(QString::fromUtf8(item));
  }
  addRow("ｱﾗｲﾒﾝﾄ", align_);
  addColorRow();
  preview_->setObjectName(QStringLiteral("lblPrev"));
  preview_->setAccessibleName(QStringLiteral("見本"));
  preview_->setAutoFillBackground(true);
  preview_->setMinimumSize(260, 60);
  QPalette p = preview_->palette();
  p.setColor(QPalette::Window, QColor(224, 224, 224));
  preview_->setPalette(p);
  form_->addWidget(preview_, form_->rowCount(), 0, 1, 3);
  finishLayout();

  connect(fontName_, &QLineEdit::editingFinished, this, &TextDialog::showPreview);
  connect(fontSize_, &QLineEdit::editingFinished, this, &TextDialog::showPreview);
  connect(align_, &QComboBox::currentIndexChanged, this, &TextDialog::showPreview);
  connect(font, &QPushButton::clicked, this, &TextDialog::chooseFont);
  showPreview();
}

TextFields TextDialog::fields() const {
  TextFields f;
  f.label = label_->text().toStdString();
  f.text = text_->text().toStdString();
  f.field = field_->text().toStdString();
  f.fontName = fontName_->text().toStdString();
  f.fontSize = fontSize_->text().toStdString();
  f.bold = toggles_[0]->isChecked() ? -1 : 0;
  f.italic = toggles_[1]->isChecked() ? -1 : 0;
  f.strikethrough = toggles_[2]->isChecked() ? -1 : 0;
  f.underline = toggles_[3]->isChecked() ? -1 : 0;
  f.align = align_->currentIndex();
  f.color = colorText().toStdString();
  return f;
}

void TextDialog::setFields(const TextFields& f, int zoom) {
  zoom_ = zoom;
  label_->setText(Q(f.label));
  text_->setText(Q(f.text));
  field_->setText(Q(f.field));
  fontName_->setText(Q(f.fontName));
  fontSize_->setText(Q(f.fontSize));
  setToggle(0, f.bold != 0);
  setToggle(1, f.italic != 0);
  setToggle(2, f.strikethrough != 0);
  setToggle(3, f.underline != 0);
  align_->setCurrentIndex(f.align);
  setColorText(Q(f.color));
  // The preview takes the object's colour only when an object is loaded.
  QPalette p = preview_->palette();
  p.setColor(QPalette::WindowText, ToQColor(ColorFromText(f.color)));
  preview_->setPalette(p);
  showPreview();
}

void TextDialog::setToggle(size_t i, bool on) {
  toggles_[i]->setChecked(on);
}

void TextDialog::showPreview() {
  const double size = NumericPrefix(fontSize_->text().toStdString()) * zoom_ / 100.0;
  preview_->setFont(MakeDesignFont(fontName_->text().toStdString(), size, toggles_[0]->isChecked(),
                                   toggles_[1]->isChecked(), toggles_[2]->isChecked(),
                                   toggles_[3]->isChecked()));
  static constexpr Qt::Alignment kAlign[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter};
  const int a = align_->currentIndex();
  preview_->setAlignment((a >= 0 && a <= 2 ? kAlign[a] : Qt::AlignLeft) | Qt::AlignVCenter);
}

void TextDialog::chooseFont() {
  const TextFields f = fields();
  QFont initial = MakeDesignFont(f.fontName, NumericPrefix(f.fontSize), f.bold != 0, f.italic != 0,
                                 f.strikethrough != 0, f.underline != 0);
  // The dialog starts at the design's own name, not at the face that stands in for it.
  initial.setFamily(QString::fromStdString(f.fontName));
  const auto chosen = prompter_.chooseFont(this, initial);
  if (!chosen) return;
  fontName_->setText(chosen->family());
  fontSize_->setText(Q(FormatSingle(static_cast<float>(chosen->pointSizeF()))));
  setToggle(0, chosen->bold());
  setToggle(1, chosen->italic());
  setToggle(2, chosen->strikeOut());
  setToggle(3, chosen->underline());
  showPreview();
}

bool TextDialog::validate() {
  switch (ValidateTextFields(fields())) {
    case TextField::Text:
      text_->setFocus();
      return false;
    case TextField::FontName:
      fontName_->setFocus();
      return false;
    case TextField::FontSize:
      fontSize_->setFocus();
      return false;
    case TextField::None:
      return true;
  }
  return true;
}

}  // namespace qf
