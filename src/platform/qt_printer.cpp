#include "qt_printer.h"

#include <QPageLayout>
#include <QPrinterInfo>
#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/cups_job.h"

namespace qf {

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

PdfPageWriter* QtPrinterPort::writer() {
  if (writer_) return writer_.get();
  QPrinter* device = printer_.get();
  if (printer_->outputFormat() != QPrinter::PdfFormat) {
    job_ = std::make_unique<CupsJob>(*printer_);
    device = job_->device();
    if (!device) {
      pageError_ = "印刷用の一時ファイルを作れません";
      job_.reset();
      return nullptr;
    }
  }
  writer_ = std::make_unique<PdfPageWriter>(*device);
  return writer_.get();
}

Surface* QtPrinterPort::beginPage() {
  const PrinterPage p = page();
  if (preview_) {
    if (!composer_) composer_ = std::make_unique<PreviewComposer>(*preview_, previewDpi_);
    return composer_->beginPage(printableRect(), p.scaleWidth, p.scaleHeight);
  }
  PdfPageWriter* pages = writer();
  if (!pages) return nullptr;
  Surface* surface = pages->beginPage(printableRect(), p.scaleWidth, p.scaleHeight, composeDpi());
  if (!surface) pageError_ = pages->error();
  return surface;
}

void QtPrinterPort::abort() {
  composer_.reset();
  if (writer_) writer_->abort();
  writer_.reset();
  job_.reset();
}

bool QtPrinterPort::endDoc(std::string* error) {
  if (!pageError_.empty()) {
    if (error) *error = pageError_;
    abort();
    return false;
  }
  if (preview_) {
    const bool shown = composer_ && composer_->endDoc(error);
    if (!composer_ && error) *error = "印刷するページがありません";
    composer_.reset();
    return shown;
  }
  if (!writer_ || !writer_->hasPage()) {
    if (error) *error = "印刷するページがありません";
    return false;
  }
  bool done = writer_->finish(error);
  writer_.reset();
  if (done && job_) done = job_->submit(error);
  job_.reset();
  return done;
}

}  // namespace qf
