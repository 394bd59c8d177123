#include "figure_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QPainter>
#include <QPushButton>

#include "document/names.h"
#include "document/number_text.h"
#include "platform/raster_surface.h"
#include "ui/qt_text.h"

namespace qf {

// A small picture of what the fields give: a line in the chosen style or width, or the
// top-left corner rounded by the radius at true scale.
class FigurePreview final : public QWidget {
 public:
  enum class Shows { Style, Width, Radius };
  FigurePreview(Shows shows, const char* name) : shows_(shows) {
    setObjectName(QString::fromLatin1(name));
    setAccessibleName(QStringLiteral("見本"));
    setFixedSize(shows == Shows::Radius ? 60 : 80, shows == Shows::Radius ? 60 : 16);
  }
  void set(int style, double width, double radiusPx) {
    style_ = style;
    width_ = width;
    radiusPx_ = radiusPx;
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    static constexpr Qt::PenStyle kStyles[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine,
                                               Qt::DashDotLine, Qt::DashDotDotLine};
    if (shows_ == Shows::Radius) {
      // The arc from pi/2 to pi about 8/10 of the box, as the corner will look.
      const double r = std::clamp(radiusPx_, 0.0, 200.0);
      const QPointF c(width() * 0.8, height() * 0.8);
      p.drawArc(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), 90 * 16, 90 * 16);
      return;
    }
    QPen pen(Qt::black);
    pen.setStyle(shows_ == Shows::Style ? kStyles[std::clamp(style_, 0, 4)] : Qt::SolidLine);
    pen.setWidthF(shows_ == Shows::Width ? std::clamp(width_, 1.0, 12.0) : 1.0);
    p.setPen(pen);
    p.drawLine(4, height() / 2, width() - 4, height() / 2);
  }

 private:
  Shows shows_;
  int style_ = 0;
  double width_ = 1;
  double radiusPx_ = 0;
};

namespace {

const char* Caption(ObjectKind kind) {
  switch (kind) {
    case ObjectKind::Line:
      return "ﾗｲﾝｵﾌﾞｼﾞｪｸﾄ";
    case ObjectKind::Ring:
      return "ﾘﾝｸﾞｵﾌﾞｼﾞｪｸﾄ";
    default:
      return "ﾎﾞｯｸｽｵﾌﾞｼﾞｪｸﾄ";
  }
}

const char* FormName(ObjectKind kind) {
  return kind == ObjectKind::Line ? "frmLine" : kind == ObjectKind::Ring ? "frmRing" : "frmBox";
}

int PlaceIndex(ObjectKind kind) {
  return kind == ObjectKind::Line ? kWinLine : kind == ObjectKind::Ring ? kWinRing : kWinBox;
}

}  // namespace

FigureDialog::FigureDialog(ObjectKind kind, const Design& design, WindowPlaces& places,
                           Prompter& prompter, QWidget* parent)
    : ObjectDialog(places, prompter, PlaceIndex(kind), FormName(kind), Caption(kind), parent),
      kind_(kind),
      design_(design),
      style_(new QComboBox),
      stylePreview_(new FigurePreview(FigurePreview::Shows::Style, "linPrev0")),
      widthPreview_(new FigurePreview(FigurePreview::Shows::Width, "linPrev1")) {
  label_ = addLineEdit("txtLabel", "ﾗﾍﾞﾙ");
  style_->setObjectName(QStringLiteral("cmbTyp"));
  for (int i = 0; i <= 4; ++i) style_->addItem(Q(LineStyleName(std::to_string(i))));
  addRow("線種", style_, stylePreview_);
  auto* unit = new QLabel(QStringLiteral("Pt."));
  width_ = addLineEdit("txtWidth", "太さ", unit);
  width_->setText(QStringLiteral("1"));
  form_->addWidget(widthPreview_, form_->rowCount() - 1, 3);
  if (kind != ObjectKind::Line) {
    hatch_ = new QComboBox;
    hatch_->setObjectName(QStringLiteral("cmbDiza"));
    hatch_->addItem(QStringLiteral("なし"));
    for (int i = 1; i <= 5; ++i) hatch_->addItem(Q(HatchName(std::to_string(i))));
    hatchSwatch_ = new QLabel;
    hatchSwatch_->setObjectName(QStringLiteral("picPrev2"));
    hatchSwatch_->setAccessibleName(QStringLiteral("網掛けの色"));
    hatchSwatch_->setFixedSize(24, 18);
    hatchSwatch_->setFrameShape(QFrame::Box);
    hatchSwatch_->setAutoFillBackground(true);
    addRow("網掛け", hatch_, hatchSwatch_);
    connect(hatch_, &QComboBox::currentIndexChanged, this, &FigureDialog::update);
  }
  if (kind == ObjectKind::Box) {
    rounded_ = new QCheckBox(QStringLiteral("丸くする"));
    rounded_->setObjectName(QStringLiteral("chkRnd"));
    addRow("角丸", rounded_);
    radiusPreview_ = new FigurePreview(FigurePreview::Shows::Radius, "picPrev3");
    radius_ = addLineEdit("txtRnd", "半径", radiusPreview_);
    radius_->setText(QStringLiteral("1.000"));
    connect(rounded_, &QCheckBox::toggled, this, &FigureDialog::update);
    connect(radius_, &QLineEdit::editingFinished, this, [this] {
      // A number is shown as "##0.000"; anything else stays as typed.
      if (IsPlainNumber(radius_->text().toStdString())) {
        radius_->setText(Q(FormatFixed3(NumericPrefix(radius_->text().toStdString()))));
      }
      update();
    });
  }
  addColorRow();
  finishLayout();
  connect(style_, &QComboBox::currentIndexChanged, this, &FigureDialog::update);
  connect(width_, &QLineEdit::editingFinished, this, &FigureDialog::update);
  update();
}

FigureFields FigureDialog::fields() const {
  FigureFields f;
  f.kind = kind_;
  f.label = label_->text().toStdString();
  f.style = style_->currentIndex();
  f.width = width_->text().toStdString();
  f.hatch = hatch_ ? hatch_->currentIndex() : 0;
  f.rounded = rounded_ && rounded_->isChecked();
  if (radius_) f.radius = radius_->text().toStdString();
  f.color = colorText().toStdString();
  return f;
}

void FigureDialog::setFields(const FigureFields& f) {
  label_->setText(Q(f.label));
  style_->setCurrentIndex(f.style);
  width_->setText(Q(f.width));
  if (hatch_) hatch_->setCurrentIndex(f.hatch);
  if (rounded_) rounded_->setChecked(f.rounded);
  if (radius_ && f.rounded) radius_->setText(Q(f.radius));
  setColorText(Q(f.color));
  update();
}

void FigureDialog::update() {
  const FigureFields f = fields();
  const FigureEnabling e = EnablingOf(f);
  if (hatch_) {
    // Only the box ties the hatch to its corners.
    hatch_->setEnabled(e.hatch);
    QPalette p = hatchSwatch_->palette();
    p.setColor(QPalette::Window,
               ToQColor(design_.palette[static_cast<size_t>(std::clamp(f.hatch, 0, 5))]));
    hatchSwatch_->setPalette(p);
  }
  if (rounded_) {
    rounded_->setEnabled(e.rounded);
    radius_->setEnabled(e.radius);
    // The radius in page units at true scale on a 96-dpi screen.
    const double pxPerUnit = 96.0 / UnitsPerInch(design_.page.scaleMode, false);
    radiusPreview_->set(0, 1, NumericPrefix(f.radius) * pxPerUnit);
  }
  stylePreview_->set(f.style, 1, 0);
  widthPreview_->set(0, std::nearbyint(NumericPrefix(f.width)), 0);
}

bool FigureDialog::validate() {
  if (ValidateFigureFields(fields()) == FigureField::Width) {
    width_->setFocus();
    return false;
  }
  return true;
}

}  // namespace qf
