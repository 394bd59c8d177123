#pragma once

#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryFile>
#include <memory>
#include <string>
#include <vector>

#include "platform/pdf_page_surface.h"
#include "platform/pdf_text.h"
#include "platform/raster_surface.h"
#include "view/page_recording.h"
#include "view/page_view.h"

namespace qf {

// The page size of a printer paper code; an invalid size for codes without one (256, user).
QPageSize PageSizeForCode(int code);
// The paper code of a page size, 256 when no code has that size.
int CodeForPageSize(const QPageSize& size);

// A printed page: lines, boxes, rings and pictures are composed with their raster operations in
// an image at the printer's resolution (QPainter on a printer knows no raster operations); texts
// are kept and drawn as vector text over that image when the page ends.
class PrinterSurface final : public RasterSurface {
 public:
  PrinterSurface(QImage& image, double scaleWidth, double scaleHeight);

  struct Text {
    QPointF topLeft;  // image pixels
    QFont font;
    QColor color;
    QString text;
  };
  const std::vector<Text>& texts() const { return texts_; }

  // The pixels anything was drawn on since the page was cleared (a bound, never too small): only
  // they go to the printer, the rest is white paper.
  const QRect& inked() const { return inked_; }

  void line(double x1, double y1, double x2, double y2, int32_t color) override;
  void box(double x1, double y1, double x2, double y2, int32_t color, bool filled) override;
  void circle(double cx, double cy, double radius, int32_t color, double aspect,
              std::optional<double> start, std::optional<double> end) override;
  void paintPicture(const Picture& picture, double x, double y, double width, double height,
                    RasterOp op) override;
  void clear() override;

 protected:
  void drawText(const QPointF& topLeft, const QFont& font, const QColor& color,
                const QString& text) override;

 private:
  // Adds the pixels of page points a..b, grown by the pen and a pixel of rounding.
  void ink(double x1, double y1, double x2, double y2);

  std::vector<Text> texts_;
  QRect inked_;
};

// The Printer object over a QPrinter: a CUPS queue, or a PDF file. Printed pages are vector
// graphics in a PDF (a queue gets the PDF a file would get); a preview composes the page as an
// image instead.
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
  // Draws the composed page and its texts over `target` of `device`.
  void paintPage(QPainter& painter, QPaintDevice* device, const QRectF& target,
                 const std::vector<PrinterSurface::Text>& texts, PdfTextMapping* mapping = nullptr);

  // The preview's page: composed as an image.
  Surface* beginComposedPage();
  // Puts the page composed so far into the preview's image.
  void flushComposedPage();

  // A printed page: recorded, then drawn as vector graphics on the PDF (or composed where only
  // composing gives its colours) when the next page begins or the document ends.
  Surface* beginVectorPage();
  bool drawRecordedPage();
  // The PDF the pages are drawn on: the printer's file, or for a queue a file of its own that
  // goes to CUPS at the end.
  QPrinter* pdfDevice();
  // Ends the PDF, gives its ink the multiply blend and sends a queue's file to CUPS.
  bool finishDocument(std::string* error);

  // The fonts the printer's texts are drawn from, for as long as the document is open (so
  // declared before the painter, which ends the document).
  PdfTextMapping textMapping_;
  std::unique_ptr<QPrinter> printer_;
  // A queue's document, written as a file before CUPS takes it (declared before the painter,
  // which may still be open on it).
  std::unique_ptr<QTemporaryFile> spoolFile_;
  std::unique_ptr<QPrinter> spool_;
  QPainter painter_;  // on the printer, from the first page to the end of the document
  std::string pageError_;
  int16_t paperCode_ = 9;
  int16_t scaleMode_ = static_cast<int16_t>(ScaleMode::Millimetre);
  QImage image_;     // kept from page to page: only the last page's ink is cleared
  QRect lastInked_;  // what the previous page drew on image_
  std::unique_ptr<PrinterSurface> surface_;
  std::unique_ptr<PageRecording> recording_;
  QSize recordedPixels_;  // the recorded page's size in composed pixels
  QSizeF recordedScale_;  // ... and in page units
  TextWidths textWidths_;
  bool blended_ = false;  // a page drew blended ink: the file's marks are rewritten at the end
  QImage* preview_ = nullptr;
  int previewDpi_ = 96;
};

}  // namespace qf
