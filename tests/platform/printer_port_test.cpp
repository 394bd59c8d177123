// The printer port: a file it cannot open, its paper, orientation and scale read back, and a
// preview that is the printed page.
#include "platform/raster_surface.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <chrono>
#include <thread>

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>
#include <QSvgGenerator>
#include <QXmlStreamReader>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/page_export.h"
#include "platform/picture_store.h"
#include "platform/pixel_ops.h"
#include "platform/qt_fonts.h"
#include "platform/qt_printer.h"
#include "platform/vector_surface.h"
#include "source/page_tables.h"
#include "support/design_builder.h"
#include "support/temp_folder.h"
#include "view/printing.h"
#include "view/renderer.h"

namespace qf {
namespace {

namespace fs = std::filesystem;
using test::DesignBuilder;
using test::TempDir;

// A file that cannot be opened fails the document with its reason; it is never reported done.
TEST(QtPrinterPort, AFileThatCannotBeOpenedFailsTheDocument) {
  auto port = QtPrinterPort::ForPdf("/nonexistent-qf-folder/out.pdf");
  ASSERT_NE(port->beginPage(), nullptr);
  std::string error;
  EXPECT_FALSE(port->endDoc(&error));
  EXPECT_EQ(error, "プリンターを開けません");
}

// A program that ends its document and prints another on the same printer: each document is a
// job of its own on the queue, and a file gets the second document whole.
TEST(QtPrinterPort, TwoDocumentsOnOnePrinter) {
  DesignBuilder b;
  b.text("一", 10, 10);
  QtPictureStore pictures;
  TempDir dir;
  auto file = QtPrinterPort::ForPdf((dir / "two.pdf").string());
  for (int document = 0; document < 2; ++document) {
    std::string error;
    EXPECT_TRUE(PrintDesign(b.design, *file, pictures, &error)) << error;
  }
  EXPECT_GT(fs::file_size(dir / "two.pdf"), 0u);
  const char* queue = std::getenv("QF_CUPS_QUEUE");
  const char* out = std::getenv("QF_CUPS_OUT");
  if (!queue || !out) GTEST_SKIP() << "no CUPS queue set up";
  const auto pdfs = [out] {
    int n = 0;
    for (const auto& e : fs::directory_iterator(out)) n += e.path().extension() == ".pdf";
    return n;
  };
  const int before = pdfs();
  std::string error;
  auto port = QtPrinterPort::ForQueue(queue, &error);
  ASSERT_TRUE(port) << error;
  for (int document = 0; document < 2; ++document) {
    EXPECT_TRUE(PrintDesign(b.design, *port, pictures, &error)) << error;
  }
  // A document cancelled half-way sends nothing, and the next one prints.
  ASSERT_NE(port->beginPage(), nullptr);
  port->abort();
  EXPECT_TRUE(PrintDesign(b.design, *port, pictures, &error)) << error;
  // cups-pdf writes each job when it comes to it.
  for (int wait = 0; wait < 240 && pdfs() < before + 3; ++wait) {
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  EXPECT_EQ(pdfs(), before + 3);
}

TEST(QtPrinterPort, PaperCodesOrientationAndScaleReadBack) {
  auto printer = QtPrinterPort::ForPdf("");
  printer->setPaperSize(8);  // A3
  printer->setOrientation(2);
  printer->setScaleMode(7);  // centimetres
  PrinterPage p = printer->page();
  EXPECT_EQ(p.paperSize, 8);
  EXPECT_EQ(p.orientation, 2);
  EXPECT_EQ(p.scaleMode, 7);
  EXPECT_NEAR(p.scaleWidth, 42.0, 0.05);
  EXPECT_NEAR(p.scaleHeight, 29.7, 0.05);
  EXPECT_NEAR(p.widthTwips, 420 / 25.4 * 1440, 20);

  // Codes that share a size read back as the code asked for; unknown codes change nothing.
  printer->setOrientation(1);
  printer->setPaperSize(18);  // note: letter-sized
  EXPECT_EQ(printer->page().paperSize, 18);
  printer->setPaperSize(999);
  EXPECT_EQ(printer->page().paperSize, 18);
  printer->setScaleMode(1);
  EXPECT_NEAR(printer->page().scaleWidth, 8.5 * 1440, 2);
  // Every listed paper has the size its list text gives (a millimetre of Qt's rounding aside);
  // the codes past the list and the user's size have none.
  for (int code = 1; code <= 41; ++code) {
    const QPageSize size = PageSizeForCode(code);
    const PaperDimensions listed = *PaperSize(code);
    const QSizeF mm = size.size(QPageSize::Millimeter);
    const double perUnit = listed.unit == PaperUnit::Inch ? 25.4 : 1;
    EXPECT_NEAR(mm.width(), listed.width * perUnit, 1) << code;
    EXPECT_NEAR(mm.height(), listed.height * perUnit, 1) << code;
    EXPECT_LE(CodeForPageSize(size), code) << code;  // the first code of the size
  }
  EXPECT_EQ(CodeForPageSize(PageSizeForCode(9)), 9);
  EXPECT_EQ(CodeForPageSize(PageSizeForCode(10)), 9);  // A4 small is A4 paper
  EXPECT_EQ(CodeForPageSize(QPageSize(QSizeF(100, 100), QPageSize::Millimeter)), 256);
  for (int code : {0, 42, 255, 256, 257}) EXPECT_FALSE(PageSizeForCode(code).isValid()) << code;

  // A PDF file chosen in the print dialog, margins and all, is the page `--print -o` gets.
  auto chosen = std::make_unique<QPrinter>(QPrinter::HighResolution);
  chosen->setOutputFormat(QPrinter::PdfFormat);
  chosen->setPageSize(QPageSize(QPageSize::A4));
  chosen->setPageMargins(QMarginsF(6, 6, 6, 6), QPageLayout::Millimeter);
  auto dialog = QtPrinterPort::ForPrinter(std::move(chosen));
  auto file = QtPrinterPort::ForPdf("");
  for (QtPrinterPort* port : {dialog.get(), file.get()}) port->setScaleMode(6);
  EXPECT_NEAR(dialog->page().scaleWidth, 210, 0.2);  // A4 in whole points
  EXPECT_EQ(dialog->page().scaleWidth, file->page().scaleWidth);
  EXPECT_EQ(dialog->page().scaleHeight, file->page().scaleHeight);
}

// A preview is the printed page: the same walk through the same port, composed and texts drawn
// alike. Against the PDF the port writes, rendered back at the preview's resolution by poppler,
// the pages agree but for how two rasterisers smooth glyph edges and round image edges.
TEST(QtPrinterPort, APreviewIsThePrintedPage) {
  if (std::system("command -v pdftoppm >/dev/null 2>&1") != 0) GTEST_SKIP() << "no pdftoppm";
  TempDir dir;
  DesignBuilder b;
  b.text("請求書 No.12345", 20, 15, 0, "", "ＭＳ ゴシック", 18);
  b.figure(ObjectKind::Box, 15, 30, 120, 70, "2", Rgb(0, 0, 200), "0", 2);
  b.figure(ObjectKind::Line, 15, 80, 190, 80, "0", Rgb(200, 0, 0), "1", 1);
  b.figure(ObjectKind::Ring, 130, 30, 190, 70, "0", 0, "0", 3);
  QtPictureStore pictures;
  const int dpi = 96;
  auto previewPort = QtPrinterPort::ForPdf((dir / "p.pdf").string());
  QImage preview;
  previewPort->previewInto(&preview, dpi);
  ASSERT_TRUE(PrintDesign(b.design, *previewPort, pictures, nullptr));
  ASSERT_FALSE(fs::exists(dir / "p.pdf"));  // nothing went to the printer
  auto printPort = QtPrinterPort::ForPdf((dir / "out.pdf").string());
  printPort->printer().setResolution(dpi);
  ASSERT_TRUE(PrintDesign(b.design, *printPort, pictures, nullptr));
  const std::string command = "pdftoppm -r " + std::to_string(dpi) + " -png -singlefile " +
                              (dir / "out.pdf").string() + " " + (dir / "page").string();
  ASSERT_EQ(std::system(command.c_str()), 0);
  QImage printed(QString::fromStdString((dir / "page.png").string()));
  printed = printed.convertToFormat(QImage::Format_RGB32);
  // pdftoppm rounds the page's edge up, the port to the nearest pixel.
  ASSERT_LE(std::abs(preview.width() - printed.width()), 1);
  ASSERT_LE(std::abs(preview.height() - printed.height()), 1);
  // A PDF viewer rounds an image's edges to its pixels, so ink may land a pixel away: a pixel
  // differs when nothing within a pixel of it in the other page has its shade.
  auto near = [](const QImage& other, int x, int y, int gray) {
    for (int dy = -1; dy <= 1; ++dy) {
      for (int dx = -1; dx <= 1; ++dx) {
        if (other.valid(x + dx, y + dy) &&
            std::abs(qGray(other.pixel(x + dx, y + dy)) - gray) <= 96) {
          return true;
        }
      }
    }
    return false;
  };
  int differ = 0;
  int ink = 0;
  for (int y = 0; y < std::min(preview.height(), printed.height()); ++y) {
    for (int x = 0; x < std::min(preview.width(), printed.width()); ++x) {
      const QRgb a = preview.pixel(x, y);
      ink += qGray(a) < 250 ? 1 : 0;
      differ += near(printed, x, y, qGray(a)) ? 0 : 1;
    }
  }
  EXPECT_GT(ink, 2000);
  EXPECT_LT(differ, ink / 100) << differ << " of " << ink << " inked pixels differ";
}

}  // namespace
}  // namespace qf
