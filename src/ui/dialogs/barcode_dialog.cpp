#include "barcode_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QPainter>

#include "barcode/barcode.h"
#include "document/names.h"
#include "document/typed_object.h"
#include "ui/qt_text.h"

namespace qf {

// The symbol as the page will show it, fitted to the preview with its quiet zones.
class BarcodePreview final : public QWidget {
 public:
  BarcodePreview() {
    setObjectName(QStringLiteral("picPrev0"));
    setAccessibleName(QStringLiteral("バーコードの見本"));
    setFixedSize(240, 120);
  }
  void set(EncodedBarcode encoded, bool square, QColor color) {
    encoded_ = std::move(encoded);
    square_ = square;
    color_ = color;
    QWidget::update();
  }
  bool showsSymbol() const { return std::holds_alternative<BarcodeSymbol>(encoded_); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    const auto* symbol = std::get_if<BarcodeSymbol>(&encoded_);
    if (!symbol) {
      p.setPen(Qt::red);
      p.drawRect(rect().adjusted(0, 0, -1, -1));
      p.drawLine(rect().topLeft(), rect().bottomRight());
      p.drawLine(rect().bottomLeft(), rect().topRight());
      return;
    }
    // The largest module that fits, in whole pixels where there is room, so the preview is sharp.
    const double w = width() - 8;
    const double h = height() - 8;
    double sx = w / symbol->width;
    double sy = square_ ? sx : h / symbol->height;
    if (square_) sx = sy = std::min(w / symbol->width, h / symbol->height);
    const double left = (width() - symbol->width * sx) / 2;
    const double top = (height() - symbol->height * sy) / 2;
    p.setRenderHint(QPainter::Antialiasing, false);
    for (const BarRect& b : symbol->bars) {
      p.fillRect(QRectF(left + b.x * sx, top + b.y * sy, b.width * sx, b.height * sy), color_);
    }
  }

 private:
  EncodedBarcode encoded_ = BarcodeError{};
  bool square_ = false;
  QColor color_ = Qt::black;
};

BarcodeDialog::BarcodeDialog(WindowPlaces& places, Prompter& prompter, QWidget* parent)
    : ObjectDialog(places, prompter, kWinBarcode, "frmBarcode", "ﾊﾞｰｺｰﾄﾞｵﾌﾞｼﾞｪｸﾄ", parent),
      symbology_(new QComboBox),
      preview_(new BarcodePreview),
      reason_(new QLabel) {
  label_ = addLineEdit("txtLabel", "ﾗﾍﾞﾙ");
  symbology_->setObjectName(QStringLiteral("cmbSymbol"));
  for (int i = 0; i < kSymbologyCount; ++i) {
    symbology_->addItem(Q(SymbologyName(std::to_string(i))));
  }
  addRow("種類", symbology_);
  value_ = addLineEdit("txtValue", "値");
  field_ = addLineEdit("txtField", "ﾌｨｰﾙﾄﾞ");
  digitsSize_ = addLineEdit("txtSize", "数字の大きさ", new QLabel(QStringLiteral("Pt.")));
  digitsSize_->setText(QStringLiteral("9"));
  addColorRow();
  form_->addWidget(preview_, form_->rowCount(), 0, 1, 3);
  reason_->setObjectName(QStringLiteral("lblReason"));
  reason_->setAccessibleName(QStringLiteral("印刷できない理由"));
  reason_->setStyleSheet(QStringLiteral("color: red"));
  reason_->setWordWrap(true);
  form_->addWidget(reason_, form_->rowCount(), 0, 1, 3);
  finishLayout();
  connect(symbology_, &QComboBox::currentIndexChanged, this, &BarcodeDialog::update);
  connect(value_, &QLineEdit::textChanged, this, &BarcodeDialog::update);
  update();
}

BarcodeFields BarcodeDialog::fields() const {
  BarcodeFields f;
  f.label = label_->text().toStdString();
  f.symbology = symbology_->currentIndex();
  f.value = value_->text().toStdString();
  f.field = field_->text().toStdString();
  f.digitsSize = digitsSize_->text().toStdString();
  f.color = colorText().toStdString();
  return f;
}

void BarcodeDialog::setFields(const BarcodeFields& f) {
  label_->setText(Q(f.label));
  symbology_->setCurrentIndex(f.symbology);
  value_->setText(Q(f.value));
  field_->setText(Q(f.field));
  digitsSize_->setText(Q(f.digitsSize));
  setColorText(Q(f.color));
  update();
}

void BarcodeDialog::update() {
  const auto symbology = static_cast<Symbology>(std::clamp(symbology_->currentIndex(), 0, 7));
  EncodedBarcode encoded = EncodeBarcode(symbology, value_->text().toStdString());
  const auto* error = std::get_if<BarcodeError>(&encoded);
  reason_->setText(error ? Q(error->reason) : QString());
  preview_->set(std::move(encoded), IsTwoDimensional(symbology), Qt::black);
}

bool BarcodeDialog::validate() {
  if (ValidateBarcodeFields(fields()) == BarcodeField::DigitsSize) {
    digitsSize_->setFocus();
    return false;
  }
  return true;
}

}  // namespace qf
