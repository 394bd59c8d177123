#include "print_preview.h"

#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "platform/qt_printer.h"
#include "ui/busy_cursor.h"
#include "view/printing.h"

namespace qf {

namespace {

constexpr std::array<int, 10> kZooms = {10, 25, 50, 75, 100, 125, 150, 200, 300, 400};

QPushButton* Button(const char* name, const char* caption) {
  auto* b = new QPushButton(QString::fromUtf8(caption));
  b->setObjectName(QString::fromLatin1(name));
  b->setAccessibleName(b->text());
  b->setAutoDefault(false);
  return b;
}

}  // namespace

PrintPreviewDialog::PrintPreviewDialog(const Design& design, PictureStore& pictures,
                                       WindowPlaces& places, std::function<void()> print,
                                       QWidget* parent)
    : PlacedDialog(places, kWinPreview, parent),
      design_(design),
      pictures_(pictures),
      print_(std::move(print)),
      area_(new QScrollArea),
      view_(new QLabel),
      number_(new QLineEdit),
      pages_(new QLabel),
      records_(new QLabel),
      error_(new QLabel),
      messages_(new QPlainTextEdit) {
  setObjectName(QStringLiteral("frmPreview"));
  setWindowTitle(QStringLiteral("印刷プレビュー"));
  setAccessibleName(windowTitle());
  first_ = Button("cmdFirst", "先頭");
  previous_ = Button("cmdPrev", "前へ");
  next_ = Button("cmdNext", "次へ");
  last_ = Button("cmdLast", "最後");
  zoomOut_ = Button("cmdZoomOut", "縮小");
  zoomIn_ = Button("cmdZoomIn", "拡大");
  QPushButton* width = Button("cmdFitWidth", "ﾍﾟｰｼﾞ幅");
  QPushButton* whole = Button("cmdFitPage", "ﾍﾟｰｼﾞ全体");
  printButton_ = Button("cmdPrint", "印刷");
  QPushButton* close = Button("cmdClose", "閉じる");
  number_->setObjectName(QStringLiteral("txtPage"));
  number_->setAccessibleName(QStringLiteral("ﾍﾟｰｼﾞ"));
  number_->setValidator(new QIntValidator(1, 999999, number_));
  number_->setMaximumWidth(number_->fontMetrics().horizontalAdvance(QStringLiteral("999999")) + 12);
  pages_->setObjectName(QStringLiteral("lblPages"));
  pages_->setAccessibleName(QStringLiteral("ﾍﾟｰｼﾞ数"));
  records_->setObjectName(QStringLiteral("lblRecords"));
  records_->setAccessibleName(QStringLiteral("レコード"));
  view_->setObjectName(QStringLiteral("picPage"));
  view_->setAccessibleName(QStringLiteral("ﾍﾟｰｼﾞ"));
  area_->setObjectName(QStringLiteral("scrPage"));
  area_->setAccessibleName(windowTitle());
  area_->setWidget(view_);
  area_->setAlignment(Qt::AlignCenter);
  area_->setBackgroundRole(QPalette::Dark);

  auto* strip = new QHBoxLayout;
  for (QWidget* w :
       std::initializer_list<QWidget*>{zoomOut_, zoomIn_, width, whole, first_, previous_, number_,
                                       pages_, next_, last_, records_}) {
    strip->addWidget(w);
  }
  strip->addStretch();
  strip->addWidget(printButton_);
  strip->addWidget(close);
  error_->setObjectName(QStringLiteral("lblError"));
  error_->setAccessibleName(QStringLiteral("エラー"));
  error_->setStyleSheet(QStringLiteral("color: #b00000;"));
  error_->setWordWrap(true);
  error_->hide();
  messages_->setObjectName(QStringLiteral("txtMessages"));
  messages_->setAccessibleName(QStringLiteral("メッセージ"));
  messages_->setReadOnly(true);
  messages_->setMaximumHeight(messages_->fontMetrics().lineSpacing() * 6 + 12);
  messages_->hide();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(strip);
  layout->addWidget(error_);
  layout->addWidget(area_, 1);
  layout->addWidget(messages_);
  // A sensible first size: most of a page at 100 % on a common screen.
  resize(900, 760);

  connect(zoomIn_, &QPushButton::clicked, this, &PrintPreviewDialog::zoomIn);
  connect(zoomOut_, &QPushButton::clicked, this, &PrintPreviewDialog::zoomOut);
  connect(width, &QPushButton::clicked, this, &PrintPreviewDialog::fitWidth);
  connect(whole, &QPushButton::clicked, this, &PrintPreviewDialog::fitPage);
  connect(first_, &QPushButton::clicked, this, [this] { showPage(1); });
  connect(previous_, &QPushButton::clicked, this, [this] { showPage(page_ - 1); });
  connect(next_, &QPushButton::clicked, this, [this] { showPage(page_ + 1); });
  connect(last_, &QPushButton::clicked, this, [this] {
    // The last page needs the whole pass.
    BusyCursor busy;
    if (merged_) merged_->scanAll();
    showPage(pageCount());
  });
  connect(number_, &QLineEdit::returnPressed, this, [this] { showPage(number_->text().toInt()); });
  connect(printButton_, &QPushButton::clicked, this, [this] {
    accept();
    if (print_) print_();
  });
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  scanning_.setInterval(0);
  connect(&scanning_, &QTimer::timeout, this, &PrintPreviewDialog::scanStep);
  updateControls();
}

void PrintPreviewDialog::showEvent(QShowEvent* event) {
  PlacedDialog::showEvent(event);
  if (image_.isNull()) render();
}

void PrintPreviewDialog::sizeForFirstOpening(const QRect& room) {
  adjustSize();  // no narrower than the strip of buttons
  const QSizeF inches = pageInches();
  if (inches.width() <= 0 || inches.height() <= 0) return;
  // What surrounds the page: the margins, the strip above it and the scroll area's frame (the
  // children are not laid out before the dialog shows).
  const QMargins m = layout()->contentsMargins();
  const int frame = 2 * area_->frameWidth() + 2;
  const QSize chrome(m.left() + m.right() + frame, m.top() + m.bottom() +
                                                       layout()->itemAt(0)->sizeHint().height() +
                                                       layout()->spacing() + frame);
  const QSizeF page = inches * 96;
  const QSize wanted = (page.toSize() + chrome).boundedTo(room.size() * 9 / 10).expandedTo(size());
  resize(wanted);
  const QSize view = wanted - chrome;
  const double fit = std::min(view.width() / page.width(), view.height() / page.height());
  if (fit < 1) zoom_ = std::clamp(static_cast<int>(fit * 100), kZooms.front(), kZooms.back());
}

QSizeF PrintPreviewDialog::pageInches() const {
  std::unique_ptr<QtPrinterPort> port = QtPrinterPort::ForDefault();
  ApplyPrinterSetup(*port, design_.page);
  const PrinterPage p = port->page();
  return {p.widthTwips / 1440.0, p.heightTwips / 1440.0};
}

void PrintPreviewDialog::render() {
  // The printer Print would use, set up from the design as Print sets it up; one page drawn,
  // at the zoom, each time it is shown.
  std::unique_ptr<QtPrinterPort> port = QtPrinterPort::ForDefault();
  const int dpi = std::max(1, static_cast<int>(std::lround(96.0 * zoom_ / 100)));
  port->previewInto(&image_, dpi);
  // A page that cannot be drawn (a program that stops, records that cannot be read) shows
  // blank, never the page before, and says why.
  bool failed = false;
  QString why;
  std::vector<std::string> messages;
  if (program_) {
    image_ = QImage();
    std::string error;
    failed = !PrintProgramPage(*program_, *port, pictures_, page_, &programPages_, &error,
                               &stoppedLine_, &messages);
    programPages_ = std::max(1, programPages_);
    why = QString::fromStdString(error);
  } else if (merged_) {
    image_ = QImage();
    if (const MergedPage* page = merged_->page(page_)) {
      PrintOnePage(design_, *port, pictures_, *page, nullptr);
    } else if (merged_->error()) {
      failed = true;
      why = QString::fromStdString(merged_->error()->message());
    }
  } else {
    PrintDesign(design_, *port, pictures_, nullptr);
  }
  error_->setText(failed ? why : QString());
  error_->setVisible(failed);
  QStringList said;
  for (const std::string& m : messages) said << QString::fromStdString(m);
  messages_->setPlainText(said.join(QLatin1Char('\n')));
  messages_->setVisible(!said.isEmpty());
  if (image_.isNull()) {
    const QSize blank = (pageInches() * dpi).toSize().expandedTo(QSize(1, 1));
    image_ = QImage(blank, QImage::Format_RGB32);
    image_.fill(Qt::white);
  }
  view_->setPixmap(QPixmap::fromImage(image_));
  view_->resize(image_.size());
  updateControls();
}

void PrintPreviewDialog::setMerged(MergedPages* merged) {
  // A file without records has no merged page: the design's own page shows.
  merged_ = merged && merged->page(1) ? merged : nullptr;
  page_ = 1;
  if (merged_ && !merged_->scanned()) scanning_.start();
  if (isVisible()) render();
  updateControls();
}

void PrintPreviewDialog::scanStep() {
  // A slice of the pass at a time, so the window answers while a large file is counted.
  const int generation = merged_ ? merged_->generation() : 0;
  if (!merged_ || !merged_->scan(500)) scanning_.stop();
  if (merged_ && merged_->generation() != generation) {
    render();  // read again in the encoding the whole file has
  } else {
    updateControls();
  }
}

bool PrintPreviewDialog::countKnown() const {
  return !merged_ || merged_->scanned();
}

void PrintPreviewDialog::setProgram(const ProgramRun* program) {
  program_ = program;
  programPages_ = 1;
  page_ = 1;
  setWindowTitle(QStringLiteral("試し印刷"));
  if (isVisible()) render();
  updateControls();
}

QString PrintPreviewDialog::programError() const {
  return error_->isHidden() ? QString() : error_->text();
}

int PrintPreviewDialog::pageCount() const {
  if (program_) return programPages_;
  return merged_ ? static_cast<int>(std::min(merged_->knownPages(), 999999L)) : 1;
}

void PrintPreviewDialog::updateControls() {
  if (merged_ && page_ <= merged_->knownPages()) {
    const MergedPages::PageStart& p = merged_->start(page_);
    // A file's lines tell where to look in it; a query's rows have no lines.
    records_->setText(merged_->fromFile() ? QStringLiteral("レコード %1～%2（%3～%4 行目）")
                                                .arg(p.firstRecord)
                                                .arg(p.firstRecord + p.records - 1)
                                                .arg(p.firstLine)
                                                .arg(p.lastLine)
                                          : QStringLiteral("レコード %1～%2")
                                                .arg(p.firstRecord)
                                                .arg(p.firstRecord + p.records - 1));
  }
  records_->setVisible(merged_ != nullptr);
  number_->setText(QString::number(page_));
  // Until the pass ends the count is what it has found so far, and more may come.
  pages_->setText(countKnown() ? QStringLiteral("%1 / %2").arg(page_).arg(pageCount())
                               : QStringLiteral("%1 / %2…").arg(page_).arg(pageCount()));
  const bool more = page_ < pageCount() || !countKnown();
  first_->setEnabled(page_ > 1);
  previous_->setEnabled(page_ > 1);
  next_->setEnabled(more);
  last_->setEnabled(more);
  zoomOut_->setEnabled(zoom_ > kZooms.front());
  zoomIn_->setEnabled(zoom_ < kZooms.back());
  // A program that stopped, or records that cannot be read, would only fail again when printed.
  printButton_->setEnabled(error_->isHidden());
}

void PrintPreviewDialog::setZoom(int zoom) {
  zoom_ = std::clamp(zoom, kZooms.front(), kZooms.back());
  render();
}

void PrintPreviewDialog::zoomIn() {
  const auto next = std::upper_bound(kZooms.begin(), kZooms.end(), zoom_);
  setZoom(next == kZooms.end() ? kZooms.back() : *next);
}

void PrintPreviewDialog::zoomOut() {
  const auto below = std::lower_bound(kZooms.begin(), kZooms.end(), zoom_);
  setZoom(below == kZooms.begin() ? kZooms.front() : *(below - 1));
}

void PrintPreviewDialog::fitWidth() {
  const QSizeF inches = pageInches();
  const int room = area_->viewport()->width() - area_->verticalScrollBar()->sizeHint().width();
  if (inches.width() > 0) setZoom(static_cast<int>(room / (inches.width() * 96) * 100));
}

void PrintPreviewDialog::fitPage() {
  const QSizeF inches = pageInches();
  const QSize room = area_->viewport()->size();
  if (inches.width() > 0 && inches.height() > 0) {
    setZoom(static_cast<int>(
        std::min(room.width() / (inches.width() * 96), room.height() / (inches.height() * 96)) *
        100));
  }
}

void PrintPreviewDialog::showPage(int page) {
  // A page past those found so far: the pass goes on as far as it, or to the end.
  if (merged_ && page > pageCount()) merged_->page(page);
  page_ = std::clamp(page, 1, pageCount());
  render();
}

}  // namespace qf
