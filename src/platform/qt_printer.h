#pragma once

#include <QPrinter>
#include <memory>
#include <string>

#include "platform/cups_job.h"
#include "platform/paper_size.h"
#include "platform/pdf_page_writer.h"
#include "platform/preview_composer.h"
#include "platform/printer_surface.h"
#include "view/page_view.h"

namespace qf {

// The Printer object over a QPrinter: a CUPS queue, or a PDF file. It keeps the page settings
// and hands the pages to one output: a PdfPageWriter (a queue gets the PDF a file would get,
// through a CupsJob), or a PreviewComposer when a preview asked for the page as an image.
class QtPrinterPort final : public PrinterPort {
 public:
  // A PDF file (also the page geometry when no printer is needed).
  static std::unique_ptr<QtPrinterPort> ForPdf(const std::string& path);
  // A CUPS queue; an empty name means the default printer. nullptr (with a reason) when there is
  // no such printer.
  static std::unique_ptr<QtPrinterPort> ForQueue(const std::string& name, std::string* error);
  // The default queue, else (no printer at all) a PDF file's page: the editor's page geometry.
  static std::unique_ptr<QtPrinterPort> ForDefault();
  // A printer already chosen, in the printer dialog for instance.
  static std::unique_ptr<QtPrinterPort> ForPrinter(std::unique_ptr<QPrinter> printer);

  void setPaperSize(int16_t code) override;
  void setOrientation(int16_t orientation) override;
  void setScaleMode(int16_t mode) override;
  PrinterPage page() const override;
  Surface* beginPage() override;
  bool endDoc(std::string* error) override;
  void setCopies(int copies) override { printer_->setCopyCount(copies); }
  // The queue's name; "PDF" for a file.
  std::string deviceName() const override;

  // The page goes into `target` instead of the printer (the last page, when there are many):
  // what endDoc would put on the printer's printable area, at `dpi`, through the same composing and
  // text drawing. The printer's paper, orientation and margins still decide the page.
  void previewInto(QImage* target, int dpi) {
    preview_ = target;
    previewDpi_ = dpi;
  }

  // Drops the document being printed: nothing more reaches the printer (a cancel).
  void abort();

  QPrinter& printer() { return *printer_; }
  // Resolution the page is composed at.
  int composeDpi() const;

 private:
  explicit QtPrinterPort(std::unique_ptr<QPrinter> printer);
  double twipsPerUnit(bool vertical) const;
  // The area the page is drawn on, in points: the whole paper, or what the printer can print.
  QRectF printableRect() const;
  // The printed pages' writer, on the printer's file or a queue's job of its own.
  PdfPageWriter* writer();

  std::unique_ptr<QPrinter> printer_;
  int16_t paperCode_ = 9;
  int16_t scaleMode_ = static_cast<int16_t>(ScaleMode::Millimetre);
  QImage* preview_ = nullptr;
  int previewDpi_ = 96;
  std::string pageError_;
  // One output at a time, for one document: the preview's composer, or the PDF writer (on a
  // queue's job, declared first so the writer's painter ends before the job's file goes).
  std::unique_ptr<PreviewComposer> composer_;
  std::unique_ptr<CupsJob> job_;
  std::unique_ptr<PdfPageWriter> writer_;
};

}  // namespace qf
