#include "settings_dialogs.h"

#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

#include "document/number_text.h"
#include "platform/raster_surface.h"
#include "shell/ui_text.h"
#include "source/page_tables.h"
#include "ui/prompter.h"
#include "ui/qt_text.h"
#include "ui/window_places.h"

namespace qf {

namespace {

QPushButton* Button(const char* name, const char* caption, QWidget* parent) {
  auto* b = new QPushButton(QString::fromUtf8(caption), parent);
  b->setObjectName(QString::fromLatin1(name));
  return b;
}

// The accept and cancel buttons every settings dialog ends with.
QHBoxLayout* SetCancelRow(QDialog* dialog) {
  auto* row = new QHBoxLayout;
  row->addStretch();
  QPushButton* set = Button("cmdSet", "設定", dialog);
  QPushButton* cancel = Button("cmdCan", "ｷｬﾝｾﾙ", dialog);
  set->setDefault(true);
  QObject::connect(set, &QPushButton::clicked, dialog, &QDialog::accept);
  QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
  row->addWidget(set);
  row->addWidget(cancel);
  return row;
}

// A number typed into a box: the whole text must be one, blanks aside.
std::optional<double> WholeNumber(const QString& text) {
  bool ok = false;
  const double v = text.trimmed().toDouble(&ok);
  if (!ok) return std::nullopt;
  return v;
}

QString Fixed3(double v) {
  return Q(FormatFixed3(v));
}

}  // namespace

// ---- page setup ----

PageSetupDialog::PageSetupDialog(PageSettings& page, WindowPlaces& places, QWidget* parent)
    : PlacedDialog(places, kWinPageSetup, parent),
      page_(page),
      paper_(new QComboBox),
      portrait_(new QRadioButton(QStringLiteral("縦"))),
      landscape_(new QRadioButton(QStringLiteral("横"))),
      sketch_(new QFrame),
      scale_(new QComboBox) {
  setObjectName(QStringLiteral("frmPSet"));
  setWindowTitle(QStringLiteral("用紙設定"));
  paper_->setObjectName(QStringLiteral("cmbPSize"));
  for (std::string_view text : P_FillPaperList()) paper_->addItem(Q(text));
  scale_->setObjectName(QStringLiteral("cmbScale"));
  for (std::string_view text : P_FillScaleList()) scale_->addItem(Q(text));
  portrait_->setObjectName(QStringLiteral("optPO0"));
  landscape_->setObjectName(QStringLiteral("optPO1"));

  // The page sketch with its letter, shaped by the orientation.
  sketch_->setObjectName(QStringLiteral("shpPaper1"));
  sketch_->setFrameShape(QFrame::Box);
  auto* letter = new QLabel(QStringLiteral("A"), sketch_);
  letter->setAlignment(Qt::AlignCenter);
  auto* sketchLayout = new QVBoxLayout(sketch_);
  sketchLayout->addWidget(letter);
  auto* sketchHolder = new QWidget;
  sketchHolder->setFixedSize(100, 100);
  sketch_->setParent(sketchHolder);

  auto* orientation = new QGroupBox(QStringLiteral("印刷の向き"));
  auto* oLayout = new QHBoxLayout(orientation);
  auto* buttons = new QVBoxLayout;
  for (QRadioButton* b : {portrait_, landscape_}) {
    // As wide as its caption: the click area of a radio button is its caption.
    b->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    buttons->addWidget(b);
  }
  oLayout->addLayout(buttons);
  oLayout->addWidget(sketchHolder);

  auto* marginBox = new QGroupBox(QStringLiteral("余白"));
  auto* mLayout = new QGridLayout(marginBox);
  const char* captions[4] = {"上", "下", "左", "右"};
  // Marker lines of a second sketch show which margin is being edited.
  auto* markerSketch = new QFrame;
  markerSketch->setFrameShape(QFrame::Box);
  markerSketch->setFixedSize(60, 80);
  const QRect markerPlaces[4] = {QRect(4, 8, 52, 2), QRect(4, 70, 52, 2), QRect(8, 4, 2, 72),
                                 QRect(50, 4, 2, 72)};
  for (int i = 0; i < 4; ++i) {
    margins_[static_cast<size_t>(i)] = new QLineEdit;
    margins_[static_cast<size_t>(i)]->setObjectName(QStringLiteral("txtYo%1").arg(i));
    margins_[static_cast<size_t>(i)]->installEventFilter(this);
    units_[static_cast<size_t>(i)] = new QLabel;
    units_[static_cast<size_t>(i)]->setObjectName(QStringLiteral("lblUnit%1").arg(i));
    auto* marker = new QFrame(markerSketch);
    marker->setObjectName(QStringLiteral("linYo%1").arg(i));
    marker->setGeometry(markerPlaces[i]);
    marker->setStyleSheet(QStringLiteral("background: red"));
    marker->hide();
    markers_[static_cast<size_t>(i)] = marker;
    mLayout->addWidget(new QLabel(QString::fromUtf8(captions[i])), i, 0);
    mLayout->addWidget(margins_[static_cast<size_t>(i)], i, 1);
    mLayout->addWidget(units_[static_cast<size_t>(i)], i, 2);
  }
  mLayout->addWidget(markerSketch, 0, 3, 4, 1);

  auto* form = new QGridLayout;
  form->addWidget(new QLabel(QStringLiteral("用紙ｻｲｽﾞ")), 0, 0);
  form->addWidget(paper_, 0, 1);
  form->addWidget(new QLabel(QStringLiteral("ｽｹｰﾙ")), 1, 0);
  form->addWidget(scale_, 1, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(orientation);
  layout->addWidget(marginBox);
  layout->addLayout(SetCancelRow(this));

  // Load: the settings as they stand.
  paper_->setCurrentIndex(PaperListPosition(page.paperSize));
  connect(portrait_, &QRadioButton::toggled, this, [this](bool on) { showOrientation(on); });
  (page.orientation == 2 ? landscape_ : portrait_)->setChecked(true);
  showOrientation(page.orientation != 2);
  const float values[4] = {page.marginTop, page.marginBottom, page.marginLeft, page.marginRight};
  for (size_t i = 0; i < 4; ++i) margins_[i]->setText(Fixed3(values[i]));
  scale_->setCurrentIndex(page.scaleMode >= 0 && page.scaleMode < scale_->count() ? page.scaleMode
                                                                                  : -1);
  showUnits(page.scaleMode);
  // Another scale rewrites the unit names; the margin numbers are not converted.
  connect(scale_, &QComboBox::currentIndexChanged, this, [this](int i) { showUnits(i); });
}

void PageSetupDialog::showOrientation(bool portrait) {
  // Twips of the original sketch, at 15 twips a pixel.
  sketch_->setGeometry(portrait ? QRect(32, 16, 45, 57) : QRect(24, 24, 57, 45));
}

void PageSetupDialog::showUnits(int scaleMode) {
  for (QLabel* unit : units_) unit->setText(Q(P_UnitName(scaleMode)));
}

bool PageSetupDialog::eventFilter(QObject* watched, QEvent* event) {
  for (size_t i = 0; i < margins_.size(); ++i) {
    if (watched != margins_[i]) continue;
    if (event->type() == QEvent::FocusIn) {
      for (QFrame* m : markers_) m->hide();
      markers_[i]->show();
      margins_[i]->selectAll();
    } else if (event->type() == QEvent::FocusOut) {
      margins_[i]->setText(Fixed3(NumericPrefix(margins_[i]->text().toStdString())));
    }
  }
  return PlacedDialog::eventFilter(watched, event);
}

void PageSetupDialog::accept() {
  const int pos = paper_->currentIndex();
  if (pos >= 0) page_.paperSize = static_cast<int16_t>(PaperCodeAt(pos));
  page_.orientation = portrait_->isChecked() ? 1 : 2;
  auto margin = [this](size_t i) {
    return ToSingle(NumericPrefix(margins_[i]->text().toStdString())).value_or(0.0f);
  };
  page_.marginTop = margin(0);
  page_.marginBottom = margin(1);
  page_.marginLeft = margin(2);
  page_.marginRight = margin(3);
  if (scale_->currentIndex() >= 0) page_.scaleMode = static_cast<int16_t>(scale_->currentIndex());
  PlacedDialog::accept();
}

// ---- grid ----

GridDialog::GridDialog(GridSettings& grid, WindowPlaces& places, QWidget* parent)
    : PlacedDialog(places, kWinGrid, parent),
      grid_(grid),
      width_(new QLineEdit(Q(FormatSingle(grid.width)))),
      height_(new QLineEdit(Q(FormatSingle(grid.height)))) {
  setObjectName(QStringLiteral("frmGrid"));
  setWindowTitle(QStringLiteral("ｸﾞﾘｯﾄﾞ設定"));
  width_->setObjectName(QStringLiteral("txtWidth"));
  height_->setObjectName(QStringLiteral("txtHeight"));
  for (QLineEdit* box : {width_, height_}) {
    box->setMaxLength(3);
    box->installEventFilter(this);
  }
  auto* form = new QGridLayout;
  form->addWidget(new QLabel(QStringLiteral("幅")), 0, 0);
  form->addWidget(width_, 0, 1);
  form->addWidget(new QLabel(QStringLiteral("高さ")), 1, 0);
  form->addWidget(height_, 1, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addLayout(SetCancelRow(this));
}

bool GridDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn && (watched == width_ || watched == height_)) {
    auto* box = static_cast<QLineEdit*>(watched);
    // After the focus change has settled, or the click would undo the selection.
    QMetaObject::invokeMethod(box, &QLineEdit::selectAll, Qt::QueuedConnection);
  }
  return PlacedDialog::eventFilter(watched, event);
}

void GridDialog::accept() {
  // A text that is not a number, or a pitch of zero or less, leaves that value as it was.
  auto take = [](const QLineEdit* box, float& target) {
    const auto v = WholeNumber(box->text());
    if (!v || !(*v > 0)) return;
    if (const auto single = ToSingle(*v)) target = *single;
  };
  take(width_, grid_.width);
  take(height_, grid_.height);
  PlacedDialog::accept();
}

// ---- hatching palette ----

PaletteDialog::PaletteDialog(Palette& palette, WindowPlaces& places, Prompter& prompter,
                             QWidget* parent)
    : PlacedDialog(places, kWinPalette, parent), palette_(palette), prompter_(prompter) {
  setObjectName(QStringLiteral("frmAmi"));
  setWindowTitle(QStringLiteral("網掛け色設定"));
  auto* rows = new QGridLayout;
  static const char* kCaptions[5] = {"色１", "色２", "色３", "色４", "色５"};
  for (int i = 0; i < 5; ++i) {
    working_[static_cast<size_t>(i)] = palette[static_cast<size_t>(i + 1)];
    auto* caption = new QLabel(QString::fromUtf8(kCaptions[i]));
    caption->setObjectName(QStringLiteral("lblCapt%1").arg(i));
    auto* swatch = new QLabel;
    swatch->setObjectName(QStringLiteral("lblColor%1").arg(i));
    swatch->setFixedSize(80, 20);
    swatch->setAutoFillBackground(true);
    swatch->setFrameShape(QFrame::Box);
    swatches_[static_cast<size_t>(i)] = swatch;
    auto* pickButton = new QPushButton(QStringLiteral("▼"));
    pickButton->setObjectName(QStringLiteral("cmdColor%1").arg(i));
    pickButton->setFixedWidth(28);
    connect(pickButton, &QPushButton::clicked, this, [this, i] { pick(i); });
    rows->addWidget(caption, i, 0);
    rows->addWidget(swatch, i, 1);
    rows->addWidget(pickButton, i, 2);
    showSwatch(i);
  }
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(rows);
  layout->addLayout(SetCancelRow(this));
}

void PaletteDialog::showSwatch(int row) {
  QLabel* swatch = swatches_[static_cast<size_t>(row)];
  QPalette p = swatch->palette();
  p.setColor(QPalette::Window, ToQColor(working_[static_cast<size_t>(row)]));
  swatch->setPalette(p);
}

void PaletteDialog::pick(int row) {
  const auto chosen = prompter_.chooseColor(this, ToQColor(working_[static_cast<size_t>(row)]),
                                            QStringLiteral("網掛け色指定"));
  if (!chosen) return;  // cancelled: the swatch stays as it was
  working_[static_cast<size_t>(row)] = Rgb(chosen->red(), chosen->green(), chosen->blue());
  showSwatch(row);
}

void PaletteDialog::accept() {
  for (size_t i = 0; i < 5; ++i) palette_[i + 1] = working_[i];
  PlacedDialog::accept();
}

// ---- about ----

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmAbout"));
  setWindowTitle(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
  auto* title = new QLabel(QStringLiteral("<h2>%1</h2>").arg(Q(kAppTitle)));
  auto* version = new QLabel(QStringLiteral("Version %1").arg(Q(kVersionText)));
  version->setObjectName(QStringLiteral("lblVersion"));
  auto* about = new QLabel(QStringLiteral("印刷フォームのレイアウトエディタ"));
  QPushButton* ok = Button("cmdOK", "OK", this);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(title);
  layout->addWidget(version);
  layout->addWidget(about);
  layout->addWidget(ok, 0, Qt::AlignRight);
}

}  // namespace qf
