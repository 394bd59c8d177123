// Printed pages are vector graphics: read back by poppler's own tools (pdftocairo's SVG, the
// image list of pdfimages, pdftoppm's pixels), they hold paths for the figures, one image for a
// repeated picture, and the ink rule of the composed page.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <tuple>

#include "document/object_rows.h"
#include "document/typed_object.h"
#include "platform/pdf_page_surface.h"
#include "platform/picture_store.h"
#include "platform/qt_printer.h"
#include "support/command_output.h"
#include "support/design_builder.h"
#include "support/temp_folder.h"
#include "view/printing.h"

namespace qf {
namespace {

namespace fs = std::filesystem;
using test::DesignBuilder;

bool HavePoppler() {
  return std::system(
             "command -v pdftoppm >/dev/null && command -v pdftocairo >/dev/null && "
             "command -v pdfimages >/dev/null") == 0;
}

int Count(const std::string& text, const std::string& what) {
  int n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

Palette Greys() {
  return {Rgb(224, 224, 224), Rgb(192, 192, 192), Rgb(160, 160, 160),
          Rgb(128, 128, 128), Rgb(96, 96, 96),    Rgb(255, 255, 255)};
}

// The same pages again and again, with the design's own texts.
class Pages {
 public:
  explicit Pages(int count) : left_(count) {}
  const PageValues* next() { return left_-- > 0 ? &none_ : nullptr; }

 private:
  class None final : public PageValues {
   public:
    std::optional<std::string_view> value(int, long) const override { return std::nullopt; }
  };
  None none_;
  int left_;
};

class VectorPrint : public test::TempFolderTest {
 protected:
  void SetUp() override {
    TempFolderTest::SetUp();
    if (!HavePoppler()) GTEST_SKIP() << "no poppler tools";
  }
  // Prints `pages` pages of the design to a PDF and gives its path.
  std::string print(const Design& design, const char* name, int pages = 1) {
    const std::string path = (dir_ / name).string();
    auto port = QtPrinterPort::ForPdf(path);
    Pages next(pages);
    std::string error;
    EXPECT_TRUE(PrintPages(
        design, *port, pictures_, [&next] { return next.next(); }, &error))
        << error;
    return path;
  }
  std::string svgOf(const std::string& pdf) {
    return test::CommandOutput("pdftocairo -svg " + pdf + " -");
  }
  // The PDF's page at a resolution, as poppler draws it.
  QImage rendered(const std::string& pdf, int dpi) {
    const std::string prefix = (dir_ / "rendered").string();
    EXPECT_EQ(std::system(
                  ("pdftoppm -r " + std::to_string(dpi) + " -png -singlefile " + pdf + " " + prefix)
                      .c_str()),
              0);
    return QImage(QString::fromStdString(prefix + ".png")).convertToFormat(QImage::Format_RGB32);
  }
  QImage composed(const Design& design, int dpi) {
    auto port = QtPrinterPort::ForPdf("");
    QImage page;
    port->previewInto(&page, dpi);
    EXPECT_TRUE(PrintDesign(design, *port, pictures_, nullptr));
    return page;
  }
  std::string picture(const char* name, int w, int h) {
    QImage pic(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
      // Few edges: scaled up, two rasterisers smooth an edge each in their own way.
      for (int x = 0; x < w; ++x) pic.setPixel(x, y, x < w / 2 ? qRgb(0, 0, 0) : ~0u);
    }
    const std::string path = (dir_ / name).string();
    EXPECT_TRUE(pic.save(QString::fromStdString(path)));
    return path;
  }

  QtPictureStore pictures_;
};

TEST_F(VectorPrint, FiguresArePathsAndARepeatedPictureIsOneImage) {
  struct Kind {
    const char* name;
    std::function<void(DesignBuilder&)> add;
  };
  const Kind kinds[] = {
      {"line", [](DesignBuilder& b) { b.figure(ObjectKind::Line, 10, 10, 80, 40); }},
      {"dashed line",
       [](DesignBuilder& b) { b.figure(ObjectKind::Line, 10, 10, 80, 10, "", 0, "1"); }},
      {"box", [](DesignBuilder& b) { b.figure(ObjectKind::Box, 10, 10, 80, 40); }},
      {"hatched box", [](DesignBuilder& b) { b.figure(ObjectKind::Box, 10, 10, 80, 40, "2"); }},
      {"rounded box", [](DesignBuilder& b) { b.box(10, 10, 80, 40, "0", "5"); }},
      {"ring",
       [](DesignBuilder& b) { b.figure(ObjectKind::Ring, 10, 10, 80, 40, "0", 0, "0", 3); }},
  };
  for (const Kind& kind : kinds) {
    DesignBuilder b;
    b.design.palette = Greys();
    kind.add(b);
    const std::string svg = svgOf(print(b.design, "kind.pdf"));
    EXPECT_GE(Count(svg, "<path"), 1) << kind.name;
    EXPECT_EQ(Count(svg, "<image"), 0) << kind.name;
  }

  // Nine passes of a block on each of three pages: one picture in the file.
  DesignBuilder b;
  b.repeat("i", true, 12, 9);
  b.picture(picture("logo.png", 40, 24), 10, 10, false);
  b.figure(ObjectKind::Box, 60, 10, 90, 18);
  b.end("i", true);
  const std::string pdf = print(b.design, "pictures.pdf", 3);
  std::istringstream list(test::CommandOutput("pdfimages -list " + pdf));
  std::string line;
  std::set<std::string> objects;
  int shown = 0;
  while (std::getline(list, line)) {
    std::istringstream fields(line);
    std::string page, num, type, width, height, color, comp, bpc, enc, interp, object;
    fields >> page >> num >> type >> width >> height >> color >> comp >> bpc >> enc >> interp >>
        object;
    if (type != "image") continue;
    ++shown;
    objects.insert(object);
  }
  EXPECT_EQ(shown, 30);  // ten passes (0 to 9) a page
  EXPECT_EQ(objects.size(), 1u);
  const std::string svg = svgOf(pdf);
  EXPECT_GE(Count(svg, "<path"), 30);  // the boxes stay paths
}

// A pixel of one page that the other page cannot give within a pixel of it: each channel out of
// the range its neighbours there span, give or take a little. A smoothed edge mixes the colours
// on either side of it, so it lies within their range; a missing or added line does not.
int Unmatched(const QImage& a, const QImage& b, int* inked) {
  constexpr int kTolerance = 24;
  int differ = 0;
  *inked = 0;
  for (int y = 0; y < std::min(a.height(), b.height()); ++y) {
    for (int x = 0; x < std::min(a.width(), b.width()); ++x) {
      const QRgb p = a.pixel(x, y);
      if (qGray(p) < 250) ++*inked;
      int lo[3] = {255, 255, 255};
      int hi[3] = {0, 0, 0};
      for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
          if (!b.valid(x + dx, y + dy)) continue;
          const QRgb q = b.pixel(x + dx, y + dy);
          const int channels[3] = {qRed(q), qGreen(q), qBlue(q)};
          for (int c = 0; c < 3; ++c) {
            lo[c] = std::min(lo[c], channels[c]);
            hi[c] = std::max(hi[c], channels[c]);
          }
        }
      }
      const int mine[3] = {qRed(p), qGreen(p), qBlue(p)};
      bool within = true;
      for (int c = 0; c < 3; ++c) {
        within = within && mine[c] >= lo[c] - kTolerance && mine[c] <= hi[c] + kTolerance;
      }
      differ += within ? 0 : 1;
    }
  }
  return differ;
}

TEST_F(VectorPrint, OverlapsFollowTheInkRuleAsOnTheComposedPage) {
  DesignBuilder b;
  b.design.palette = Greys();
  b.design.palette[4] = Rgb(0, 0, 255);
  b.design.page.paperSize = 31;  // C6: small enough to compare at 600 dpi
  // Black over a hatch colour, red over blue, a picture ANDed over a rule, every kind and style.
  b.figure(ObjectKind::Box, 10, 10, 50, 30, "2", 0, "0", 1);
  b.figure(ObjectKind::Line, 5, 20, 60, 20, "", 0, "0", 4);
  b.figure(ObjectKind::Line, 60, 5, 60, 40, "", Rgb(255, 0, 0), "0", 9);
  b.figure(ObjectKind::Line, 55, 25, 100, 25, "", Rgb(0, 0, 255), "0", 9);
  b.figure(ObjectKind::Ring, 10, 45, 60, 65, "0", Rgb(255, 0, 0), "0", 5);
  b.figure(ObjectKind::Ring, 65, 30, 80, 40, "3", 0, "2", 1);
  b.box(70, 45, 100, 70, "0", "4");
  b.figure(ObjectKind::Line, 70, 80, 100, 80, "", 0, "3", 1);
  b.figure(ObjectKind::Line, 70, 85, 100, 100, "", 0, "4", 1);
  b.figure(ObjectKind::Box, 70, 105, 100, 115, "0", Rgb(0, 128, 0), "1", 1);
  b.figure(ObjectKind::Line, 10, 90, 60, 90, "", Rgb(0, 255, 0), "0", 12);
  b.figure(ObjectKind::Box, 85, 85, 86, 86, "0", 0, "0", 40);  // a pen wider than the box
  b.picture(picture("check.png", 60, 30), 20, 85, true);
  const std::string pdf = print(b.design, "ink.pdf");
  const std::string svg = svgOf(pdf);
  EXPECT_EQ(Count(svg, "<image"), 1);  // only the picture: the page is vectors
  EXPECT_GE(Count(svg, "<path"), 12);

  const int dpi = 600;
  const QImage paper = composed(b.design, dpi);
  const QImage vector = rendered(pdf, dpi);
  ASSERT_LE(std::abs(paper.width() - vector.width()), 1);
  ASSERT_LE(std::abs(paper.height() - vector.height()), 1);
  // Both ways: nothing missing, nothing added, beyond smoothed edges.
  int inked = 0;
  const int differ = Unmatched(paper, vector, &inked);
  EXPECT_GT(inked, 50000);
  EXPECT_LT(differ, inked / 500) << differ << " of " << inked << " inked pixels differ";
  int back = 0;
  const int added = Unmatched(vector, paper, &back);
  EXPECT_LT(added, back / 500) << added << " of " << back;
  std::printf("ink rule page: %d of %d inked pixels unmatched, %d of %d the other way\n", differ,
              inked, added, back);

  // The overlaps themselves, on both pages: millimetres at 600 dpi.
  const auto at = [dpi](const QImage& page, double xMm, double yMm) {
    return page.pixel(static_cast<int>(xMm / 25.4 * dpi), static_cast<int>(yMm / 25.4 * dpi)) &
           0xFFFFFFu;
  };
  // Rules as wide on both: 9 pixels for 9, one more across for an even width (the composed
  // page lights every pixel whose centre lies within half the width, the edge included).
  const auto across = [dpi](const QImage& page, double xMm, double yMm, bool down) {
    const int x0 = static_cast<int>(xMm / 25.4 * dpi);
    const int y0 = static_cast<int>(yMm / 25.4 * dpi);
    int n = 0;
    for (int d = -20; d <= 20; ++d) {
      const int x = down ? x0 : x0 + d;
      const int y = down ? y0 + d : y0;
      // Smoothed edges count too: a rule half a pixel too wide shows as one.
      n += qGray(page.pixel(x, y)) < 250 ? 1 : 0;
    }
    return n;
  };
  const std::tuple<double, double, bool, int> rules[] = {
      {60, 10, false, 9},  // the red rule, across it
      {80, 25, true, 9},   // the blue rule, down it
      {8, 20, true, 5},    // the black rule, 4 wide
  };
  for (const auto& [x, y, down, wide] : rules) {
    EXPECT_EQ(across(paper, x, y, down), wide);
    // A smoothed edge may add one pixel, no more.
    EXPECT_GE(across(vector, x, y, down), wide);
    EXPECT_LE(across(vector, x, y, down), wide + 1);
  }
  for (const QImage* page : {&paper, &vector}) {
    EXPECT_EQ(at(*page, 30, 14), 0xA0A0A0u);  // the hatch
    EXPECT_EQ(at(*page, 30, 20), 0x000000u);  // black over it
    EXPECT_EQ(at(*page, 60, 25), 0x000000u);  // red AND blue
    EXPECT_EQ(at(*page, 60, 10), 0xFF0000u);  // red alone
    EXPECT_EQ(at(*page, 80, 25), 0x0000FFu);  // blue alone
  }

  // Texts lie over the figures: a red text under a blue hatch and a ring drawn after it stays
  // red.
  DesignBuilder texts;
  texts.design.palette = b.design.palette;
  texts.design.page.paperSize = 31;
  texts.text("印字ﾃｽﾄ", 12, 12, 0, "", "ＭＳ ゴシック", 20, 0, Rgb(255, 0, 0));
  texts.figure(ObjectKind::Box, 10, 10, 60, 25, "4", 0, "0", 1);
  texts.figure(ObjectKind::Ring, 8, 4, 62, 32, "4", 0, "0", 3);  // a ring over the text too
  const QImage textPaper = composed(texts.design, dpi);
  const QImage textVector = rendered(print(texts.design, "text.pdf"), dpi);
  const auto reds = [](const QImage& page) {
    int n = 0;
    for (int y = 0; y < page.height(); ++y) {
      for (int x = 0; x < page.width(); ++x) n += (page.pixel(x, y) & 0xFFFFFFu) == 0xFF0000u;
    }
    return n;
  };
  EXPECT_GT(reds(textPaper), 3000);
  EXPECT_NEAR(reds(textVector), reds(textPaper), reds(textPaper) / 5);
}

TEST_F(VectorPrint, APageWhereMidTonesMeetIsComposed) {
  DesignBuilder b;
  b.design.palette = Greys();
  b.design.page.paperSize = 31;
  b.figure(ObjectKind::Box, 10, 10, 50, 30, "0", 0, "0", 1);
  b.figure(ObjectKind::Box, 40, 20, 80, 40, "2", 0, "0", 1);
  b.figure(ObjectKind::Box, 10, 50, 50, 70, "0", 0, "0", 1);
  b.text("上書き", 15, 55, 0, "", "ＭＳ 明朝", 12);
  DesignBuilder overlapping = b;
  overlapping.figure(ObjectKind::Box, 20, 15, 60, 35, "1", 0, "0", 1);
  EXPECT_EQ(Count(svgOf(print(b.design, "apart.pdf")), "<image"), 0);
  const std::string pdf = print(overlapping.design, "meet.pdf");
  const std::string svg = svgOf(pdf);
  EXPECT_EQ(Count(svg, "<image"), 1);
  EXPECT_EQ(test::CommandOutput("pdftotext " + pdf + " - | tr -d '\\n\\f '"), "上書き");
  // The figures alone against the preview: the texts come from two rasterisers.
  DesignBuilder figures = overlapping;
  figures.design.objects.removeRow(4);
  const QImage vector = rendered(print(figures.design, "figures.pdf"), 600);
  const QImage paper = composed(figures.design, 600);
  // C0 AND A0 is 80, where multiplying would give 78.
  const auto at = [](const QImage& page, double xMm, double yMm) {
    return page.pixel(static_cast<int>(xMm / 25.4 * 600), static_cast<int>(yMm / 25.4 * 600)) &
           0xFFFFFFu;
  };
  EXPECT_EQ(at(paper, 45, 25), 0x808080u);
  EXPECT_EQ(at(vector, 45, 25), 0x808080u);
  int inked = 0;
  const int differ = Unmatched(paper, vector, &inked);
  // A viewer resamples the page's image: its hairlines may spread over two pixels.
  EXPECT_LT(differ, inked / 50) << differ << " of " << inked;
}

// A symbol's bars are one fill in its own units, drawn from its first bar: they stand where
// the composed page has them, module for module.
TEST_F(VectorPrint, BarcodesStandWhereTheComposedPageHasThem) {
  Design d;
  d.page.paperSize = 31;
  const std::tuple<Symbology, const char*, WorkingRect> symbols[] = {
      {Symbology::Qr, "請求書 No.0123 金額12,345円", {10, 10, 50, 50}},
      {Symbology::Jan13, "4901234567894", {55, 15, 100, 40}},
  };
  for (const auto& [symbology, value, box] : symbols) {
    ObjectRecord r;
    r.Label = "b";
    SetBody(r, BarcodeObject{symbology, value, "", 0, 0});
    AddObject(d.objects, r, box, {}, 1);
  }
  const QImage vector = rendered(print(d, "symbols.pdf"), 600);
  const QImage paper = composed(d, 600);
  int inked = 0;
  const int differ = Unmatched(paper, vector, &inked);
  EXPECT_GT(inked, 200000);
  EXPECT_LT(differ, inked / 200) << differ << " of " << inked;
  int back = 0;
  const int added = Unmatched(vector, paper, &back);
  EXPECT_LT(added, back / 200) << added << " of " << back;
}

}  // namespace
}  // namespace qf

namespace qf {
namespace {

using MultiplyBlend = test::TempFolderTest;

// The marks are rewritten in place wherever they lie, across the pieces a file is read in too,
// and nothing else changes.
TEST_F(MultiplyBlend, EveryMarkBecomesTheBlendInPlace) {
  const std::string mark = "/ca 0.996078431 \n/CA 0.996078431 \n";
  const std::string other = "/ca 0.996078430 \n/CA 0.996078430 \n";  // not ours
  std::string pdf = mark + std::string(1000, 'x');
  const size_t piece = 1 << 20;
  pdf.resize(piece - 5, 'y');
  pdf += mark;  // across the first piece's end
  pdf.resize(2 * piece - mark.size() + 1, 'z');
  pdf += other + mark;  // the last
  const fs::path path = dir_ / "marked.pdf";
  std::ofstream(path, std::ios::binary) << pdf;
  std::string error;
  ASSERT_TRUE(MarkMultiplyBlend(path.string(), &error)) << error;
  const std::string out = ReadBytes(path);
  ASSERT_EQ(out.size(), pdf.size());
  std::string blend = "/BM /Multiply";
  blend.resize(mark.size(), ' ');
  EXPECT_EQ(out.find(mark), std::string::npos);
  int blends = 0;
  for (size_t at = out.find(blend); at != std::string::npos; at = out.find(blend, at + 1)) {
    ++blends;
  }
  EXPECT_EQ(blends, 3);
  EXPECT_EQ(out.substr(0, blend.size()), blend);
  EXPECT_EQ(out.substr(piece - 5, blend.size()), blend);
  EXPECT_NE(out.find(other), std::string::npos);
  std::string unmarked = pdf;
  EXPECT_EQ(MarkMultiplyBlendIn(unmarked), 3);
  EXPECT_EQ(unmarked, out);
  EXPECT_EQ(MarkMultiplyBlendIn(unmarked), 0);

  EXPECT_FALSE(MarkMultiplyBlend((dir_ / "missing" / "x.pdf").string(), &error));
  EXPECT_NE(error.find("x.pdf"), std::string::npos);
}

}  // namespace
}  // namespace qf
