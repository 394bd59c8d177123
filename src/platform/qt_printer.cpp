#include "qt_printer.h"

#include <QDir>
#include <QPageLayout>
#include <QPainter>
#include <QPrinterInfo>
#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/cups_job.h"

namespace qf {

namespace {

struct PaperEntry {
  int code;
  QPageSize::PageSizeId id;  // QPageSize::Custom: use the size below
  double width;
  double height;
  QPageSize::Unit unit;
};

constexpr QPageSize::Unit kMm = QPageSize::Millimeter;
constexpr QPageSize::Unit kIn = QPageSize::Inch;

// Printer paper codes 1 to 41.
const PaperEntry kPaperSizes[] = {
    {1, QPageSize::Letter, 0, 0, kIn},
    {2, QPageSize::Custom, 8.5, 11, kIn},  // letter small
    {3, QPageSize::Tabloid, 0, 0, kIn},
    {4, QPageSize::Ledger, 0, 0, kIn},
    {5, QPageSize::Legal, 0, 0, kIn},
    {6, QPageSize::Custom, 5.5, 8.5, kIn},   // statement
    {7, QPageSize::Custom, 7.5, 10.5, kIn},  // executive as the list gives it
    {8, QPageSize::A3, 0, 0, kMm},
    {9, QPageSize::A4, 0, 0, kMm},
    {10, QPageSize::Custom, 210, 297, kMm},  // A4 small
    {11, QPageSize::A5, 0, 0, kMm},
    {12, QPageSize::B4, 0, 0, kMm},
    {13, QPageSize::JisB5, 0, 0, kMm},
    {14, QPageSize::Custom, 8.5, 13, kIn},   // folio
    {15, QPageSize::Custom, 215, 275, kMm},  // quarto
    {16, QPageSize::Imperial10x14, 0, 0, kIn},
    {17, QPageSize::Custom, 11, 17, kIn},
    {18, QPageSize::Custom, 8.5, 11, kIn},  // note
    {19, QPageSize::Envelope9, 0, 0, kIn},
    {20, QPageSize::Envelope10, 0, 0, kIn},
    {21, QPageSize::Envelope11, 0, 0, kIn},
    {22, QPageSize::Envelope12, 0, 0, kIn},
    {23, QPageSize::Envelope14, 0, 0, kIn},
    {24, QPageSize::AnsiC, 0, 0, kIn},
    {25, QPageSize::AnsiD, 0, 0, kIn},
    {26, QPageSize::AnsiE, 0, 0, kIn},
    {27, QPageSize::EnvelopeDL, 0, 0, kMm},
    {28, QPageSize::EnvelopeC5, 0, 0, kMm},
    {29, QPageSize::EnvelopeC3, 0, 0, kMm},
    {30, QPageSize::EnvelopeC4, 0, 0, kMm},
    {31, QPageSize::EnvelopeC6, 0, 0, kMm},
    {32, QPageSize::EnvelopeC65, 0, 0, kMm},
    {33, QPageSize::EnvelopeB4, 0, 0, kMm},
    {34, QPageSize::EnvelopeB5, 0, 0, kMm},
    {35, QPageSize::EnvelopeB6, 0, 0, kMm},
    {36, QPageSize::EnvelopeItalian, 0, 0, kMm},
    {37, QPageSize::EnvelopeMonarch, 0, 0, kIn},
    {38, QPageSize::EnvelopePersonal, 0, 0, kIn},
    {39, QPageSize::FanFoldUS, 0, 0, kIn},
    {40, QPageSize::FanFoldGerman, 0, 0, kIn},
    {41, QPageSize::FanFoldGermanLegal, 0, 0, kIn},
};

// Pages are composed at this resolution at most: 600 dpi keeps hairlines fine on paper while an
// A4 page stays near 140 MB.
constexpr int kMaxComposeDpi = 600;

}  // namespace

QPageSize PageSizeForCode(int code) {
  for (const PaperEntry& e : kPaperSizes) {
    if (e.code != code) continue;
    if (e.id != QPageSize::Custom) return QPageSize(e.id);
    return QPageSize(QSizeF(e.width, e.height), e.unit, QString(), QPageSize::ExactMatch);
  }
  return QPageSize();
}

int CodeForPageSize(const QPageSize& size) {
  for (const PaperEntry& e : kPaperSizes) {
    if (PageSizeForCode(e.code).isEquivalentTo(size)) return e.code;
  }
  return 256;
}

PrinterSurface::PrinterSurface(QImage& image, double scaleWidth, double scaleHeight)
    : RasterSurface(image, scaleWidth, scaleHeight) {}

void PrinterSurface::drawText(const QPointF& topLeft, const QFont& font, const QColor& color,
                              const QString& text) {
  QFont vector = font;
  vector.setStyleStrategy(QFont::PreferDefault);
  texts_.push_back({topLeft, vector, color, text});
}

namespace {

// An area of points in whole pixels at a resolution, at least one each way.
QSize PixelsAt(const QRectF& points, int dpi) {
  return {std::max(1, static_cast<int>(std::lround(points.width() / 72.0 * dpi))),
          std::max(1, static_cast<int>(std::lround(points.height() / 72.0 * dpi)))};
}

}  // namespace

void PrinterSurface::ink(double x1, double y1, double x2, double y2) {
  const QPointF a = toPixels(x1, y1);
  const QPointF b = toPixels(x2, y2);
  const double pad = std::max(1, drawWidth()) + 2.0;
  const QRectF r = QRectF(a, b).normalized().adjusted(-pad, -pad, pad, pad);
  const QRect area = QRect(QPoint(static_cast<int>(std::floor(std::max(r.left(), -1.0))),
                                  static_cast<int>(std::floor(std::max(r.top(), -1.0)))),
                           QPoint(static_cast<int>(std::ceil(std::min(r.right(), 1e8))),
                                  static_cast<int>(std::ceil(std::min(r.bottom(), 1e8))))) &
                     image().rect();
  inked_ = inked_.united(area);
}

void PrinterSurface::line(double x1, double y1, double x2, double y2, int32_t color) {
  ink(x1, y1, x2, y2);
  RasterSurface::line(x1, y1, x2, y2, color);
}

void PrinterSurface::box(double x1, double y1, double x2, double y2, int32_t color, bool filled) {
  ink(x1, y1, x2, y2);
  RasterSurface::box(x1, y1, x2, y2, color, filled);
}

void PrinterSurface::circle(double cx, double cy, double radius, int32_t color, double aspect,
                            std::optional<double> start, std::optional<double> end) {
  // The radius is the longer half-axis whatever the aspect.
  ink(cx - std::abs(radius), cy - std::abs(radius), cx + std::abs(radius), cy + std::abs(radius));
  RasterSurface::circle(cx, cy, radius, color, aspect, start, end);
}

void PrinterSurface::paintPicture(const Picture& picture, double x, double y, double width,
                                  double height, RasterOp op) {
  ink(x, y, x + width, y + height);
  RasterSurface::paintPicture(picture, x, y, width, height, op);
}

void PrinterSurface::clear() {
  RasterSurface::clear();
  inked_ = QRect();
}

QtPrinterPort::QtPrinterPort(std::unique_ptr<QPrinter> printer) : printer_(std::move(printer)) {
  paperCode_ = static_cast<int16_t>(CodeForPageSize(printer_->pageLayout().pageSize()));
}

std::unique_ptr<QtPrinterPort> QtPrinterPort::ForDefault() {
  std::string error;
  std::unique_ptr<QtPrinterPort> port = ForQueue("", &error);
  return port ? std::move(port) : ForPdf("");
}

std::unique_ptr<QtPrinterPort> QtPrinterPort::ForPdf(const std::string& path) {
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  printer->setOutputFormat(QPrinter::PdfFormat);
  printer->setOutputFileName(QString::fromStdString(path));
  // A file has no unprintable border: the printable area is the whole paper.
  printer->setFullPage(true);
  printer->setPageSize(QPageSize(QPageSize::A4));
  return std::unique_ptr<QtPrinterPort>(new QtPrinterPort(std::move(printer)));
}

std::unique_ptr<QtPrinterPort> QtPrinterPort::ForQueue(const std::string& name,
                                                       std::string* error) {
  const QString queue =
      name.empty() ? QPrinterInfo::defaultPrinterName() : QString::fromStdString(name);
  if (queue.isEmpty()) {
    if (error) *error = "既定のプリンターが設定されていません";
    return nullptr;
  }
  if (QPrinterInfo::printerInfo(queue).isNull()) {
    if (error) *error = "プリンター「" + queue.toStdString() + "」はありません";
    return nullptr;
  }
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  printer->setPrinterName(queue);
  return std::unique_ptr<QtPrinterPort>(new QtPrinterPort(std::move(printer)));
}

std::unique_ptr<QtPrinterPort> QtPrinterPort::ForPrinter(std::unique_ptr<QPrinter> printer) {
  // A PDF file chosen in the print dialog comes with the dialog's page margins; a file has no
  // unprintable border, so it is set up as every other path sets up a file: the whole paper.
  if (printer->outputFormat() == QPrinter::PdfFormat) printer->setFullPage(true);
  return std::unique_ptr<QtPrinterPort>(new QtPrinterPort(std::move(printer)));
}

void QtPrinterPort::setPaperSize(int16_t code) {
  const QPageSize size = PageSizeForCode(code);
  // A size the printer does not take leaves the one it has; reading back tells which.
  if (size.isValid() && printer_->setPageSize(size)) paperCode_ = code;
}

void QtPrinterPort::setOrientation(int16_t orientation) {
  if (orientation == 1) printer_->setPageOrientation(QPageLayout::Portrait);
  if (orientation == 2) printer_->setPageOrientation(QPageLayout::Landscape);
}

void QtPrinterPort::setScaleMode(int16_t mode) {
  if (mode >= 0 && mode <= 7) scaleMode_ = mode;
}

double QtPrinterPort::twipsPerUnit(bool vertical) const {
  if (scaleMode_ == static_cast<int16_t>(ScaleMode::Pixel)) {
    return 1440.0 / std::max(1, printer_->resolution());
  }
  return 1440.0 / UnitsPerInch(scaleMode_, vertical);
}

PrinterPage QtPrinterPort::page() const {
  const QPageLayout layout = printer_->pageLayout();
  PrinterPage p;
  p.scaleMode = scaleMode_;
  p.orientation = layout.orientation() == QPageLayout::Landscape ? 2 : 1;
  const int current = CodeForPageSize(layout.pageSize());
  // Sizes that several codes share read back as the code that was asked for.
  p.paperSize = PageSizeForCode(paperCode_).isEquivalentTo(layout.pageSize())
                    ? paperCode_
                    : static_cast<int16_t>(current);
  const QRectF full = layout.fullRectPoints();
  const QRectF printable = printableRect();
  p.widthTwips = full.width() * 20;
  p.heightTwips = full.height() * 20;
  p.scaleWidth = printable.width() * 20 / twipsPerUnit(false);
  p.scaleHeight = printable.height() * 20 / twipsPerUnit(true);
  return p;
}

QRectF QtPrinterPort::printableRect() const {
  const QPageLayout layout = printer_->pageLayout();
  return printer_->fullPage() ? layout.fullRectPoints() : QRectF(layout.paintRectPoints());
}

int QtPrinterPort::composeDpi() const {
  // A preview composes at its own resolution: the page it shows, not the printer's dots.
  if (preview_) return std::clamp(previewDpi_, 1, kMaxComposeDpi);
  int dpi = std::clamp(printer_->resolution(), 72, kMaxComposeDpi);
  // Large sheets are composed at a lower resolution, so the page image stays near 150 Mpx
  // (600 MB) at most.
  const QSizeF inches = printer_->pageLayout().fullRectPoints().size() / 72.0;
  const double area = inches.width() * inches.height();
  if (area > 0) {
    dpi = std::min(dpi, std::max(72, static_cast<int>(std::sqrt(150e6 / area))));
  }
  return dpi;
}

std::string QtPrinterPort::deviceName() const {
  const QString queue = printer_->printerName();
  return printer_->outputFormat() == QPrinter::PdfFormat || queue.isEmpty() ? "PDF"
                                                                            : queue.toStdString();
}

Surface* QtPrinterPort::beginPage() {
  return preview_ ? beginComposedPage() : beginVectorPage();
}

Surface* QtPrinterPort::beginComposedPage() {
  // One page at a time: a page already drawn is replaced by the next.
  if (surface_) flushComposedPage();
  const int dpi = composeDpi();
  const QSize pixels = PixelsAt(printableRect(), dpi);
  const bool reuse = image_.size() == pixels && image_.format() == QImage::Format_RGB32;
  if (!reuse) {
    image_ = QImage(pixels, QImage::Format_RGB32);
    if (image_.isNull()) return nullptr;
    image_.fill(Qt::white);
  } else if (!lastInked_.isEmpty()) {
    // Only what the last page drew needs white again.
    QPainter wipe(&image_);
    wipe.fillRect(lastInked_, Qt::white);
  }
  lastInked_ = QRect();
  SetImageDpi(image_, dpi);
  const PrinterPage p = page();
  surface_ = std::make_unique<PrinterSurface>(image_, p.scaleWidth, p.scaleHeight);
  return surface_.get();
}

QPrinter* QtPrinterPort::pdfDevice() {
  if (printer_->outputFormat() == QPrinter::PdfFormat) return printer_.get();
  if (!spool_) {
    spoolFile_ =
        std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/qf-XXXXXX.pdf"));
    if (!spoolFile_->open()) return nullptr;
    spoolFile_->close();
    spool_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    spool_->setOutputFormat(QPrinter::PdfFormat);
    spool_->setOutputFileName(spoolFile_->fileName());
    spool_->setDocName(printer_->docName());
    // The queue's paper and margins: the page is laid out as the queue would lay it out.
    spool_->setFullPage(printer_->fullPage());
    spool_->setPageLayout(printer_->pageLayout());
  }
  return spool_.get();
}

Surface* QtPrinterPort::beginVectorPage() {
  if (recording_ && !drawRecordedPage()) return nullptr;
  const int dpi = composeDpi();
  const PrinterPage p = page();
  recordedPixels_ = PixelsAt(printableRect(), dpi);
  recordedScale_ = QSizeF(p.scaleWidth, p.scaleHeight);
  const double unitsX = p.scaleWidth / recordedPixels_.width();
  const double unitsY = p.scaleHeight / recordedPixels_.height();
  recording_ = std::make_unique<PageRecording>(
      unitsX, unitsY, [this, unitsX](const FontSpec& font, std::string_view text) {
        return textWidths_.pixels(font, text) * unitsX;
      });
  textWidths_.setDpi(dpi);
  return recording_.get();
}

bool QtPrinterPort::drawRecordedPage() {
  const std::unique_ptr<PageRecording> recording = std::move(recording_);
  QPrinter* device = pdfDevice();
  if (!device) {
    pageError_ = "印刷用の一時ファイルを作れません";
    return false;
  }
  if (!painter_.isActive()) {
    if (!painter_.begin(device)) {
      pageError_ = "プリンターを開けません";
      return false;
    }
  } else if (!device->newPage()) {
    pageError_ = "プリンターが次のページを始められません";
    return false;
  }
  const int dpi = composeDpi();
  const double dots = static_cast<double>(device->resolution()) / dpi;
  if (!recording->needsComposing()) {
    PdfPageSurface page(painter_, recordedPixels_, recordedScale_.width(), recordedScale_.height(),
                        dots, textWidths_, &textMapping_);
    recording->replay(page);
    page.finish();
    blended_ = blended_ || page.blended();
    return true;
  }
  // Mid-tones overlap: only the composed image has the printer's colours there.
  image_ = QImage(recordedPixels_, QImage::Format_RGB32);
  if (image_.isNull()) {
    pageError_ = "ページを組み立てるメモリがありません";
    return false;
  }
  image_.fill(Qt::white);
  SetImageDpi(image_, dpi);
  std::vector<PrinterSurface::Text> texts;
  {
    PrinterSurface surface(image_, recordedScale_.width(), recordedScale_.height());
    recording->replay(surface);
    texts = surface.texts();
    lastInked_ = surface.inked();
  }
  painter_.save();
  painter_.resetTransform();
  painter_.setClipping(false);
  paintPage(painter_, device, QRectF(QPointF(0, 0), QSizeF(image_.size()) * dots), texts,
            &textMapping_);
  painter_.restore();
  image_ = QImage();
  return true;
}

void QtPrinterPort::paintPage(QPainter& painter, QPaintDevice* device, const QRectF& target,
                              const std::vector<PrinterSurface::Text>& texts,
                              PdfTextMapping* mapping) {
  painter.setRenderHint(QPainter::LosslessImageRendering, true);
  const double scale = target.width() / image_.width();
  // Only the inked part: the rest of the page is white paper.
  if (!lastInked_.isEmpty()) {
    const QRectF part(target.topLeft() + QPointF(lastInked_.topLeft()) * scale,
                      QSizeF(lastInked_.size()) * scale);
    painter.drawImage(part, image_, QRectF(lastInked_));
  }
  for (const PrinterSurface::Text& t : texts) {
    painter.setFont(t.font);
    painter.setPen(t.color);
    DrawTextLines(painter, device, t.topLeft * scale, t.text, mapping);
  }
}

void QtPrinterPort::flushComposedPage() {
  const std::vector<PrinterSurface::Text> texts = surface_->texts();
  lastInked_ = surface_->inked();
  surface_.reset();  // ends the painter on the image
  // The printable area at the preview's resolution, as the printer's device pixels would be.
  const int dpi = std::max(1, previewDpi_);
  *preview_ = QImage(PixelsAt(printableRect(), dpi), QImage::Format_RGB32);
  SetImageDpi(*preview_, dpi);
  preview_->fill(Qt::white);
  QPainter painter(preview_);
  paintPage(painter, preview_, QRectF(QPointF(0, 0), QSizeF(preview_->size())), texts);
}

void QtPrinterPort::abort() {
  surface_.reset();
  recording_.reset();
  if (painter_.isActive()) {
    pdfDevice()->abort();
    painter_.end();
  }
  spool_.reset();
  spoolFile_.reset();
}

bool QtPrinterPort::finishDocument(std::string* error) {
  if (!drawRecordedPage()) {
    if (error) *error = pageError_;
    abort();
    return false;
  }
  QPrinter* device = pdfDevice();
  const bool ended = painter_.end();
  if (!ended) {
    if (error) *error = "ページを仕上げられません";
    return false;
  }
  // Only a document that drew blended ink has marks to rewrite.
  if (std::exchange(blended_, false) &&
      !MarkMultiplyBlend(device->outputFileName().toStdString(), error)) {
    return false;
  }
  if (!spool_) return true;
  const bool sent = SubmitToCups(*printer_, spoolFile_->fileName().toStdString(), error);
  spool_.reset();
  spoolFile_.reset();
  return sent;
}

bool QtPrinterPort::endDoc(std::string* error) {
  if (!pageError_.empty()) {
    if (error) *error = pageError_;
    abort();
    return false;
  }
  if (preview_) {
    if (!surface_) {
      if (error) *error = "印刷するページがありません";
      return false;
    }
    flushComposedPage();
    image_ = QImage();
    return true;
  }
  if (!recording_) {
    if (error) *error = "印刷するページがありません";
    return false;
  }
  return finishDocument(error);
}

}  // namespace qf
