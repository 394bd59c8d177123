// Barcodes read back by a scanner nobody here wrote (zbarimg): from the PNG and PDF exports,
// the design window's page, the generated Visual Basic run by the interpreter and the
// generated C# run under Mono, at 150, 300 and 600 dpi; random values of each symbology; the
// records of a merge; and values that must not print at all.
#include <gtest/gtest.h>
#include <zint.h>

#include <QImage>
#include <QImageReader>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>

#include "barcode/barcode.h"
#include "basic/run_source.h"
#include "document/object_rows.h"
#include "document/typed_object.h"
#include "merge/merge.h"
#include "platform/page_export.h"
#include "platform/picture_store.h"
#include "platform/qt_printer.h"
#include "platform/raster_surface.h"
#include "source/csharp_generator.h"
#include "source/source_generator.h"
#include "support/command_output.h"
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
  const std::string text = test::CommandOutput("zbarimg -q " + picture.string() + " 2>/dev/null");
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

// The symbols, after a title when one is given (so the page draws other objects before them).
Design DesignOf(const std::vector<Placed>& symbols, const std::string& title = {}) {
  Design d;
  if (!title.empty()) {
    ObjectRecord r;
    r.Label = "title";
    SetBody(r, TextObject{title, "", "ＭＳ 明朝", 12, false, false, false, false, 0, 0});
    AddObject(d.objects, r, {20, 5, 20, 5}, {30, 5}, 1);
  }
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

// What zbar gives back for a value, by symbology: its type and the value as printed (a JAN
// with its check digit).
std::string Read(Symbology s, const std::string& value) {
  switch (s) {
    case Symbology::Jan13:
    case Symbology::Jan8: {
      const BarcodeSymbol symbol = std::get<BarcodeSymbol>(EncodeBarcode(s, value));
      return (s == Symbology::Jan13 ? "EAN-13:" : "EAN-8:") + symbol.digits;
    }
    case Symbology::Code39:
      return "CODE-39:" + value;
    case Symbology::Nw7:
      return "Codabar:" + value;
    case Symbology::Itf:
      return "I2/5:" + value;
    case Symbology::Code128:
      return "CODE-128:" + value;
    case Symbology::Qr:
      return "QR-Code:" + value;
    case Symbology::Customer:
      break;
  }
  return {};
}

// A random value of a symbology, of any length it takes (within what fits the box).
std::string RandomValue(Symbology s, std::mt19937& rng) {
  const auto pick = [&rng](std::string_view from, size_t n) {
    std::string out;
    for (size_t i = 0; i < n; ++i) out += from[rng() % from.size()];
    return out;
  };
  const auto length = [&rng](size_t least, size_t most) {
    return least + rng() % (most - least + 1);
  };
  constexpr std::string_view kDigits = "0123456789";
  switch (s) {
    case Symbology::Jan13:
      return "4" + pick(kDigits, 11);  // 12 digits, zbar's EAN-13 (a leading 0 reads as UPC)
    case Symbology::Jan8:
      return pick(kDigits, 7);
    case Symbology::Code39:
      return pick("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%", length(1, 12));
    case Symbology::Nw7:
      return pick("ABCD", 1) + pick("0123456789-$:/.+", length(4, 14)) + pick("ABCD", 1);
    case Symbology::Itf:
      return pick(kDigits, 2 * length(3, 10));  // zbar reads six digits and more
    case Symbology::Code128:
      return pick("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz -./:#()",
                  length(1, 18));
    case Symbology::Qr: {
      static const std::vector<std::string> kParts = {"請求書", "金額",     "円",  "No.", "0123",
                                                      "ｶﾅ",     "株式会社", "abc", " ",   "12,345"};
      std::string out;
      for (size_t n = length(1, 12); n > 0; --n) out += kParts[rng() % kParts.size()];
      return out;
    }
    case Symbology::Customer:
      break;
  }
  return {};
}

// Random values of every symbology the scanner reads, each symbol in a box of its own row.
TEST_F(BarcodeScan, RandomValuesOfEachSymbologyReadBack) {
  std::mt19937 rng(2026);
  for (int s = 0; s < kSymbologyCount; ++s) {
    const auto symbology = static_cast<Symbology>(s);
    if (symbology == Symbology::Customer) continue;
    const bool square = IsTwoDimensional(symbology);
    // One QR symbol a page: zbar may miss one of several on a page.
    const int perPage = square ? 1 : 8;
    for (int page = 0; page < (square ? 6 : 2); ++page) {
      std::vector<Placed> symbols;
      Scanned expected;
      for (int i = 0; i < perPage; ++i) {
        const std::string value = RandomValue(symbology, rng);
        const double top = 10 + 32 * i;
        symbols.push_back(
            {symbology, value,
             square ? WorkingRect{20, 20, 70, 70} : WorkingRect{10, top, 180, top + 25}});
        expected.insert(Read(symbology, value));
      }
      EXPECT_EQ(exported(DesignOf(symbols), 300, "random"), expected) << "symbology " << s;
    }
  }
}

// A box a tenth narrower than its least is refused with the reason; the least reads back.
TEST_F(BarcodeScan, TheNarrowestBoxTakenReadsAndANarrowerOneIsRefused) {
  const BarcodeSymbol jan =
      std::get<BarcodeSymbol>(EncodeBarcode(Symbology::Jan13, "4901234567894"));
  const double least = jan.width / jan.module * kMinModuleMm;
  const Design fits =
      DesignOf({{Symbology::Jan13, "4901234567894", {20, 20, 20 + least * 1.001, 40}}});
  EXPECT_EQ(exported(fits, 300, "least"), Scanned{"EAN-13:4901234567894"});
  const Design narrow =
      DesignOf({{Symbology::Jan13, "4901234567894", {20, 20, 20 + least * 0.9, 40}}});
  const fs::path png = dir_ / "narrow.png";
  const FileStatus st = ExportDesign(narrow, pictures_, png, ExportFormat::Png, {});
  EXPECT_FALSE(st.ok());
  EXPECT_NE(st.detail.find("行 1 のバーコード: この幅では小さすぎて印刷できません"),
            std::string::npos)
      << st.detail;
  EXPECT_FALSE(fs::exists(png));
}

// The Japan Post customer barcode (which zbar does not read): each bar drawn, read off the page
// at 600 dpi as long, ascender, descender or timing bar, is libzint's own for the Japan Post
// test values.
TEST_F(BarcodeScan, CustomerBarcodeBarsAreLibzintsOwn) {
  for (const std::string value : {"1060032", "6540123789-A-K-Z", "0700014-2-1-1"}) {
    const Design d = DesignOf({{Symbology::Customer, value, {20, 20, 180, 30}}});
    ExportOptions options;
    options.dpi = 600;
    const fs::path png = dir_ / "customer.png";
    ASSERT_TRUE(ExportDesign(d, pictures_, png, ExportFormat::Png, options).ok()) << value;
    QImageReader::setAllocationLimit(512);
    const QImage page(QString::fromStdString(png.string()));
    ASSERT_FALSE(page.isNull());
    // The bars' extents along each column that has ink: top and bottom row of the ink.
    std::vector<std::pair<int, int>> bars;
    bool inBar = false;
    for (int x = 0; x < page.width(); ++x) {
      int top = -1;
      int bottom = -1;
      for (int y = 0; y < page.height(); ++y) {
        if (qGray(page.pixel(x, y)) >= 128) continue;
        if (top < 0) top = y;
        bottom = y;
      }
      if (top >= 0 && !inBar) bars.emplace_back(top, bottom);
      inBar = top >= 0;
    }
    // libzint's rows: ascender, tracker, descender; a column with ink is a bar.
    zint_symbol* z = ZBarcode_Create();
    z->symbology = BARCODE_JAPANPOST;
    ASSERT_LT(ZBarcode_Encode(z, reinterpret_cast<const unsigned char*>(value.data()),
                              static_cast<int>(value.size())),
              ZINT_ERROR);
    std::string theirs;
    const auto set = [z](int row, int col) {
      return (z->encoded_data[row][col / 8] >> (col % 8)) & 1;
    };
    for (int col = 0; col < z->width; ++col) {
      if (!set(1, col)) continue;
      theirs += set(0, col) ? (set(2, col) ? 'F' : 'A') : (set(2, col) ? 'D' : 'T');
    }
    ZBarcode_Delete(z);
    int top = page.height();
    int bottom = 0;
    for (const auto& [t, b] : bars) {
      top = std::min(top, t);
      bottom = std::max(bottom, b);
    }
    std::string ours;
    for (const auto& [t, b] : bars) {
      const bool up = t - top < (bottom - top) / 6;
      const bool down = bottom - b < (bottom - top) / 6;
      ours += up ? (down ? 'F' : 'A') : (down ? 'D' : 'T');
    }
    EXPECT_EQ(ours, theirs) << value;
  }
}

// Three records print three pages, each symbol the record's value; a record whose value cannot
// be encoded stops the run before a file is written, naming the record and the field.
TEST_F(BarcodeScan, MergedRecordsPrintTheirOwnValuesOrNothing) {
  const Design d = DesignOf({{Symbology::Code128, "DESIGN", {20, 20, 120, 40}, "rs!品番"},
                             {Symbology::Qr, "設計", {20, 50, 60, 90}, "rs!品名"}},
                            "御請求書");
  const fs::path csv = dir_ / "records.csv";
  std::ofstream(csv, std::ios::binary)
      << "品番,品名\nA-001,請求書1\nB-002,請求書2\nC-003,請求書3\n";
  MergeSource source;
  source.data = csv;
  ExportOptions options;
  options.merge = &source;
  const fs::path pdf = dir_ / "merged.pdf";
  ASSERT_TRUE(ExportDesign(d, pictures_, pdf, ExportFormat::Pdf, options).ok());
  ASSERT_EQ(
      std::system(("pdftoppm -r 300 -png " + pdf.string() + " " + (dir_ / "m").string()).c_str()),
      0);
  const char* codes[] = {"A-001", "B-002", "C-003"};
  for (int page = 1; page <= 3; ++page) {
    const Scanned expected = {std::string("CODE-128:") + codes[page - 1],
                              "QR-Code:請求書" + std::to_string(page)};
    EXPECT_EQ(Scan(dir_ / ("m-" + std::to_string(page) + ".png")), expected) << page;
  }
  EXPECT_FALSE(fs::exists(dir_ / "m-4.png"));
  // The title is printed on every page beside the symbols.
  const fs::path text = dir_ / "merged.txt";
  ASSERT_EQ(std::system(("pdftotext " + pdf.string() + " " + text.string()).c_str()), 0);
  const std::string words = ReadBytes(text);
  size_t titles = 0;
  for (size_t at = words.find("御請求書"); at != std::string::npos;
       at = words.find("御請求書", at + 1)) {
    ++titles;
  }
  EXPECT_EQ(titles, 3u);

  std::ofstream(csv, std::ios::binary) << "品番,品名\nA-001,x\n請求,x\nC-003,x\n";
  fs::remove(pdf);
  for (const ExportFormat format : {ExportFormat::Pdf, ExportFormat::Png}) {
    const fs::path out = dir_ / (format == ExportFormat::Pdf ? "bad.pdf" : "bad.png");
    const FileStatus st = ExportDesign(d, pictures_, out, format, options);
    EXPECT_FALSE(st.ok());
    EXPECT_NE(st.detail.find("レコード 2 の「rs!品番」: このバーコードに使えない文字があります"),
              std::string::npos)
        << st.detail;
    for (const auto& entry : fs::directory_iterator(dir_)) {
      EXPECT_EQ(entry.path().filename().string().rfind("bad", 0), std::string::npos)
          << entry.path();
    }
  }
}

// A QR value reads back as the characters shown: half-width kana and the full-width yen as
// they are (libzint takes them in Shift JIS, which readers give back so); the ASCII backslash
// stays a backslash; the Latin-1 yen sign U+00A5 would read back as the half-width middle dot,
// so it is refused rather than printed as another character.
TEST_F(BarcodeScan, YenSignsAndHalfWidthKanaInAQr) {
  for (const std::string value : {"ｶﾞｰﾄﾞ ｱｲｳ", "価格 ￥1,000 ｶﾅ", "C:\\data"}) {
    EXPECT_EQ(exported(DesignOf({{Symbology::Qr, value, {20, 20, 60, 60}}}), 300, "qr"),
              Scanned{"QR-Code:" + value});
  }
  const EncodedBarcode yen = EncodeBarcode(Symbology::Qr, "¥1,000");
  ASSERT_TRUE(std::holds_alternative<BarcodeError>(yen));
  EXPECT_EQ(std::get<BarcodeError>(yen).reason,
            "¥ は読み取ると別の文字になります。全角の ￥ を使ってください");
}

}  // namespace
}  // namespace qf
