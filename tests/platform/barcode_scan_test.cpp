// Barcodes read back by a scanner nobody here wrote (zbarimg): from the PNG and PDF exports,
// the design window's page, the generated Visual Basic run by the interpreter and the
// generated C# run under Mono, at 150, 300 and 600 dpi; random values of each symbology; the
// records of a merge; and values that must not print at all.
#include <gtest/gtest.h>
#include <zint.h>

#include <QImage>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>

#include "basic/run_source.h"
#include "document/object_rows.h"
#include "document/typed_object.h"
#include "platform/page_export.h"
#include "platform/picture_store.h"
#include "platform/qt_printer.h"
#include "platform/raster_surface.h"
#include "source/csharp_generator.h"
#include "source/source_generator.h"
#include "support/temp_folder.h"
#include "view/page_view.h"
#include "view/printing.h"
#include "view/renderer.h"

namespace qf {
namespace {

namespace fs = std::filesystem;
using Scanned = std::multiset<std::string>;

bool Have(const char* tool) {
  return std::system(("command -v " + std::string(tool) + " >/dev/null").c_str()) == 0;
}

// What zbarimg reads in a picture: "TYPE:value" a symbol.
Scanned Scan(const fs::path& picture) {
  Scanned out;
  const std::string command = "zbarimg -q " + picture.string() + " 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return out;
  std::string text;
  char buffer[4096];
  while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) text.append(buffer, n);
  pclose(pipe);
  size_t from = 0;
  for (size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', from)) {
    out.insert(text.substr(from, end - from));
    from = end + 1;
  }
  return out;
}

struct Placed {
  Symbology symbology;
  std::string value;
  WorkingRect box;
  std::string field = {};
};

Design DesignOf(const std::vector<Placed>& symbols) {
  Design d;
  for (const Placed& p : symbols) {
    ObjectRecord r;
    r.Label = "b";
    SetBody(r, BarcodeObject{p.symbology, p.value, p.field, 8, 0});
    AddObject(d.objects, r, p.box, {}, 1);
  }
  return d;
}

// The symbols of a form: every symbology the scanner reads, a QR holding Japanese text.
const std::vector<Placed> kForm = {
    {Symbology::Jan13, "4901234567894", {20, 20, 70, 45}},
    {Symbology::Jan8, "1234567", {80, 20, 120, 45}},
    {Symbology::Code39, "ABC-123", {20, 55, 110, 75}},
    {Symbology::Nw7, "A123456B", {120, 55, 190, 75}},
    {Symbology::Itf, "12345678", {20, 85, 110, 105}},
    {Symbology::Code128, "Slip-0042", {120, 85, 190, 105}},
    {Symbology::Qr, "請求書 No.0123 金額12,345円", {20, 115, 60, 155}},
    {Symbology::Customer, "1060032", {80, 120, 190, 130}},
};
const Scanned kFormRead = {"EAN-13:4901234567894",
                           "EAN-8:12345670",
                           "CODE-39:ABC-123",
                           "Codabar:A123456B",
                           "I2/5:12345678",
                           "CODE-128:Slip-0042",
                           "QR-Code:請求書 No.0123 金額12,345円"};

class BarcodeScan : public test::TempFolderTest {
 protected:
  void SetUp() override {
    TempFolderTest::SetUp();
    if (!Have("zbarimg")) GTEST_SKIP() << "no zbarimg";
  }

  Scanned exported(const Design& d, int dpi, const std::string& name) {
    ExportOptions options;
    options.dpi = dpi;
    const fs::path png = dir_ / (name + ".png");
    EXPECT_TRUE(ExportDesign(d, pictures_, png, ExportFormat::Png, options).ok());
    return Scan(png);
  }

  // The design window's page at the zoom that gives `dpi` on a 96-dpi screen.
  Scanned designWindow(const Design& d, int dpi) {
    const auto printer = QtPrinterPort::ForPdf("");
    ViewState view;
    view.zoom = dpi * 100 / 96;
    Design shown = d;
    shown.grid.shown = 0;
    ApplyPrinterSetup(*printer, shown.page);
    ReadPrinterPage(*printer, shown.page, view);
    ApplyPageLayout(view);
    QImage image = ScreenImage(view.widthPx, view.heightPx);
    {
      RasterSurface surface(image, view.page.scaleWidth, view.page.scaleHeight);
      RenderContext ctx{surface, shown, view, pictures_};
      FullRedraw(ctx);
    }
    const fs::path png = dir_ / ("window" + std::to_string(dpi) + ".png");
    EXPECT_TRUE(image.save(QString::fromStdString(png.string())));
    return Scan(png);
  }

  Scanned generatedVb(const Design& d, int dpi) {
    QImage ran;
    auto port = QtPrinterPort::ForPdf("");
    port->previewInto(&ran, dpi);
    const auto error =
        basic::RunOnPrinter(P_MakeSource(d, Visibility::Public), "F_DataPrint", *port, pictures_);
    EXPECT_FALSE(error) << error->message;
    const fs::path png = dir_ / ("vb" + std::to_string(dpi) + ".png");
    EXPECT_TRUE(ran.save(QString::fromStdString(png.string())));
    return Scan(png);
  }

  // The generated C# compiled by mcs and drawn by the harness the C# tests use.
  Scanned generatedCSharp(const Design& d, int dpi, int width, int height) {
    const fs::path harness = fs::path(QF_TEST_DATA) / "csharp";
    const fs::path cs = dir_ / "QfBarcodes.cs";
    std::ofstream(cs, std::ios::binary) << P_MakeCSharp(d, "QfBarcodes");
    const fs::path exe = dir_ / "barcodes.exe";
    const std::string compile = "mcs -nologo -r:System.Drawing -out:" + exe.string() + " " +
                                (harness / "harness.cs").string() + " " + cs.string() + " > " +
                                (dir_ / "mcs.log").string() + " 2>&1";
    EXPECT_EQ(std::system(compile.c_str()), 0) << ReadBytes(dir_ / "mcs.log");
    const fs::path png = dir_ / ("cs" + std::to_string(dpi) + ".png");
    const std::string run = "FONTCONFIG_FILE=" + (harness / "fonts.conf").string() + " mono " +
                            exe.string() + " " + std::to_string(width) + " " +
                            std::to_string(height) + " " + std::to_string(dpi) + " QfBarcodes " +
                            png.string() + " > " + (dir_ / "mono.log").string() + " 2>&1";
    EXPECT_EQ(std::system(run.c_str()), 0) << ReadBytes(dir_ / "mono.log");
    return Scan(png);
  }

  QtPictureStore pictures_;
};

TEST_F(BarcodeScan, TheFormsSymbolsReadBackFromEveryOutputAtEveryResolution) {
  const Design form = DesignOf(kForm);
  ExportOptions pdfOptions;
  const fs::path pdf = dir_ / "form.pdf";
  ASSERT_TRUE(ExportDesign(form, pictures_, pdf, ExportFormat::Pdf, pdfOptions).ok());
  const bool mono = Have("mcs") && Have("mono");
  for (int dpi : {150, 300, 600}) {
    EXPECT_EQ(exported(form, dpi, "form" + std::to_string(dpi)), kFormRead) << dpi;
    const fs::path pages = dir_ / ("pdf" + std::to_string(dpi));
    const std::string toPng =
        "pdftoppm -r " + std::to_string(dpi) + " -png " + pdf.string() + " " + pages.string();
    ASSERT_EQ(std::system(toPng.c_str()), 0);
    EXPECT_EQ(Scan(pages.string() + "-1.png"), kFormRead) << "pdf " << dpi;
    EXPECT_EQ(designWindow(form, dpi), kFormRead) << "window " << dpi;
    EXPECT_EQ(generatedVb(form, dpi), kFormRead) << "vb " << dpi;
    if (mono) {
      // A4 at the resolution (a QImage of 600 dpi is past Qt's allocation limit).
      const int width = static_cast<int>(std::lround(210 / 25.4 * dpi));
      const int height = static_cast<int>(std::lround(297 / 25.4 * dpi));
      EXPECT_EQ(generatedCSharp(form, dpi, width, height), kFormRead) << "c# " << dpi;
    }
  }
  // The PDF's symbols are paths: it holds no image.
  ASSERT_EQ(
      std::system(("pdfimages -list " + pdf.string() + " | tail -n +3 | grep -q .").c_str()) != 0,
      true);
}

}  // namespace
}  // namespace qf
