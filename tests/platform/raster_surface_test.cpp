#include "platform/raster_surface.h"

#include <gtest/gtest.h>
#include <unistd.h>

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

uint32_t Rgb24(const QImage& image, int x, int y) {
  return image.pixel(x, y) & 0xFFFFFFu;
}

// The design window's drawing area at a zoom, cleared with the grid drawn.
struct Window {
  explicit Window(int zoom) {
    view.zoom = zoom;
    ApplyPageLayout(view);
    image = ScreenImage(view.widthPx, view.heightPx);
    surface = std::make_unique<RasterSurface>(image, view.page.scaleWidth, view.page.scaleHeight);
  }
  RenderContext context(const Design& d) { return {*surface, d, view, pictures}; }

  ViewState view;
  QImage image;
  std::unique_ptr<RasterSurface> surface;
  QtPictureStore pictures;
};

// Saves a picture with a few colours, so inversions show.
std::string WritePicture(const fs::path& path, int w, int h) {
  QImage pic(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) pic.setPixel(x, y, qRgb((x * 37) % 256, (y * 53) % 256, 128));
  }
  EXPECT_TRUE(pic.save(QString::fromStdString(path.string())));
  return path.string();
}

// Objects are drawn as ink: drawing one again changes nothing (nothing cancels), while the
// feedback of a drag, drawn twice, gives back every pixel.
TEST(RasterSurface, InkDrawnTwiceStaysAndFeedbackTwiceRestores) {
  TempDir dir;
  const std::string picture = WritePicture(dir / "pic.png", 40, 30);
  for (int zoom : {100, 300}) {
    Window w(zoom);
    Design grid;
    RenderContext ctx = w.context(grid);
    ClearAndDrawGrid(*w.surface, grid, w.view);
    const QImage before = w.image.copy();

    for (int style = 0; style <= 4; ++style) {
      for (int width = 1; width <= 5; ++width) {
        DesignBuilder b;
        const std::string s = std::to_string(style);
        b.figure(ObjectKind::Line, 20.3, 30.7, 120.1, 75.2, "0", 0x3366CC, s, float(width));
        b.figure(ObjectKind::Box, 30, 40, 90.5, 80.25, "0", 0x0000FF, s, float(width));
        b.figure(ObjectKind::Box, 35, 45, 95, 85, "2", 0x00AA00, s, float(width));
        b.figure(ObjectKind::Box, 40, 100, 120, 140, "0", 0x111111, s, float(width));
        b.design.objects.setCell(4, kColField, "6.5");  // rounded corners
        b.figure(ObjectKind::Ring, 50, 60, 130, 90, "0", 0xFF00FF, s, float(width));
        b.figure(ObjectKind::Ring, 90, 150, 60, 120, "4", 0x808080, s, float(width));
        b.figure(ObjectKind::Ring, 10, 200, 30, 200, "1", 0, s, float(width));
        b.picture(picture, 25, 33, style % 2 == 1);
        const ObjectRecord none;
        for (int row = 1; row <= b.design.objects.itemCount(); ++row) {
          const ObjectRecord o = DecodeObjectRow(b.design.objects, row);
          const WorkingRect place = o.Kind == ObjectKind::Picture
                                        ? WorkingRect{o.X1, o.Y1, o.X1, o.Y1}
                                        : WorkingRect{o.X1, o.Y1, o.X2, o.Y2};
          DrawObject(ctx, place, static_cast<int>(o.Kind), DrawObjectMode::ObjectDraw, o);
          ASSERT_NE(w.image, before) << "row " << row << " drew nothing";
          const QImage once = w.image.copy();
          DrawObject(ctx, place, static_cast<int>(o.Kind), DrawObjectMode::ObjectDraw, o);
          ASSERT_EQ(w.image, once)
              << "zoom " << zoom << " style " << style << " width " << width << " row " << row;
          w.image = before.copy();
          DrawObject(ctx, place, static_cast<int>(o.Kind), DrawObjectMode::FeedbackDraw, o);
          ASSERT_NE(w.image, before) << "row " << row << " drew no feedback";
          DrawObject(ctx, place, static_cast<int>(o.Kind), DrawObjectMode::FeedbackErase, o);
          ASSERT_EQ(w.image, before)
              << "zoom " << zoom << " style " << style << " width " << width << " row " << row;
        }
        // The block frame cancels as well.
        DrawObject(ctx, {1, 2, 50, 60}, kBlockFrame, DrawObjectMode::FeedbackDraw, none);
        DrawObject(ctx, {1, 2, 50, 60}, kBlockFrame, DrawObjectMode::FeedbackErase, none);
        ASSERT_EQ(w.image, before);
      }
    }
  }
}

TEST(RasterSurface, OverlapsDarkenOnScreenAsOnPaper) {
  DesignBuilder b;
  b.design.palette[1] = Rgb(0xF0, 0x80, 0x40);
  b.design.palette[2] = Rgb(0x3C, 0xCC, 0xAA);
  b.figure(ObjectKind::Box, 20, 20, 80, 80, "1", 0);
  b.figure(ObjectKind::Box, 50, 50, 120, 120, "2", 0);
  b.design.grid.shown = 0;
  const uint32_t c1 = 0xF08040;  // as the image stores it: red high
  const uint32_t c2 = 0x3CCCAA;

  Window w(100);
  RenderContext ctx = w.context(b.design);
  FullRedraw(ctx);
  const QPointF only1 = w.surface->toPixels(30, 30);
  const QPointF both = w.surface->toPixels(65, 65);
  // On white the mask pen paints its own colour; over another colour it gives the darker mix,
  // c1 AND c2, on the screen as on paper.
  EXPECT_EQ(Rgb24(w.image, int(only1.x()), int(only1.y())), c1);
  EXPECT_EQ(Rgb24(w.image, int(both.x()), int(both.y())), c1 & c2);

  QImage paper(1000, 1400, QImage::Format_RGB32);
  PrinterSurface page(paper, 210, 297);
  page.clear();
  QtPictureStore pictures;
  for (int row = 1; row <= 2; ++row) {
    const ObjectRecord o = DecodeObjectRow(b.design.objects, row);
    PrintObject(page, {o.X1, o.Y1, o.X2, o.Y2}, o, b.design, pictures);
  }
  const QPointF p1 = page.toPixels(30, 30);
  const QPointF p2 = page.toPixels(65, 65);
  EXPECT_EQ(Rgb24(paper, int(p1.x()), int(p1.y())), c1);
  EXPECT_EQ(Rgb24(paper, int(p2.x()), int(p2.y())), c1 & c2);
  EXPECT_EQ(Rgb24(paper, 5, 5), 0xFFFFFFu);
}

TEST(RasterSurface, PicturesOnScreenAndPaper) {
  TempDir dir;
  const std::string path = WritePicture(dir / "p.bmp", 48, 24);
  const QImage original(QString::fromStdString(path));
  DesignBuilder b;
  b.picture(path, 10, 10, false);
  b.design.grid.shown = 0;
  Window w(100);
  RenderContext ctx = w.context(b.design);
  FullRedraw(ctx);
  // 96 dpi at zoom 100: the picture shows pixel for pixel at its place.
  const QPointF corner = w.surface->toPixels(10, 10);
  const QPoint at(int(corner.x()), int(corner.y()));  // the pixel holding the corner
  EXPECT_EQ(Rgb24(w.image, at.x() + 5, at.y() + 7), original.pixel(5, 7) & 0xFFFFFFu);
  EXPECT_EQ(Rgb24(w.image, at.x() + 40, at.y() + 20), original.pixel(40, 20) & 0xFFFFFFu);

  // Transparent on paper lets a hatch show through white picture areas; opaque covers it.
  QImage white(10, 10, QImage::Format_RGB32);
  white.fill(Qt::white);
  const std::string whitePath = (dir / "white.png").string();
  ASSERT_TRUE(white.save(QString::fromStdString(whitePath)));
  for (bool transparent : {true, false}) {
    DesignBuilder p;
    p.figure(ObjectKind::Box, 0, 0, 50, 50, "3", 0);
    p.picture(whitePath, 10, 10, transparent);
    QImage paper(500, 500, QImage::Format_RGB32);
    PrinterSurface page(paper, 50, 50);
    page.clear();
    QtPictureStore pictures;
    for (int row = 1; row <= 2; ++row) {
      const ObjectRecord o = DecodeObjectRow(p.design.objects, row);
      PrintObject(page, {o.X1, o.Y1, o.X1, o.Y1}, o, p.design, pictures);
      if (o.Kind == ObjectKind::Box) PrintObject(page, {0, 0, 50, 50}, o, p.design, pictures);
    }
    const QPointF inPicture = page.toPixels(11, 11);
    EXPECT_EQ(Rgb24(paper, int(inPicture.x()), int(inPicture.y())),
              transparent ? 0xA0A0A0u : 0xFFFFFFu);
  }
}

// A crash test: shapes far off the page, or of absurd sizes, must be skipped or clipped without
// converting an infinite or undefined value to a pixel. It proves itself under ASan and UBSan
// (./test.sh --sanitize), where such a conversion aborts, and its time limit catches a hang;
// the pixels it checks are only those of the one line that crosses the page.
TEST(RasterSurface, ExtremeCoordinatesCrashTest) {
  TempDir dir;
  const std::string picture = WritePicture(dir / "p.png", 8, 8);
  DesignBuilder b;
  const double far = 1e300;
  b.figure(ObjectKind::Line, -far, -far, far, far, "0", 0, "1", 1);
  b.figure(ObjectKind::Line, -1e9, 5, 1e9, 6, "0", 0, "0", 7);
  b.figure(ObjectKind::Box, -far, -far, far, far, "2", 0, "0", 3);
  b.figure(ObjectKind::Box, 10, 10, 1e12, 1e12, "0", 0, "3", 1);
  b.figure(ObjectKind::Ring, -1e30, -1e30, 1e30, 1e30, "1", 0, "2", 1);
  b.figure(ObjectKind::Ring, 5, 5, 5.0000001, 5.0000001, "0", 0, "0", 200);
  b.picture(picture, 1e200, -1e200, false);
  b.text("遠い", -1e12, 1e12);
  b.design.objects.setCell(3, kColField, "1e300");  // a rounded box with an absurd radius
  b.design.objects.setCell(4, kColField, "-5");
  for (int zoom : {10, 100, 1000}) {
    Window w(zoom);
    RenderContext ctx = w.context(b.design);
    FullRedraw(ctx);  // must simply return
    ASSERT_FALSE(w.image.isNull());
  }
  // The 7-pixel line from x = -1e9 to 1e9 at y 5 to 6 crosses the whole page, alone.
  DesignBuilder wide;
  wide.figure(ObjectKind::Line, -1e9, 5, 1e9, 6, "0", 0, "0", 7);
  Window w(100);
  RenderContext ctx = w.context(wide.design);
  wide.design.grid.shown = 0;
  FullRedraw(ctx);
  const QPointF on = w.surface->toPixels(100, 5.5);
  EXPECT_EQ(Rgb24(w.image, static_cast<int>(on.x()), static_cast<int>(on.y())), 0u);
  EXPECT_EQ(Rgb24(w.image, 1, static_cast<int>(on.y())), 0u);
  const QPointF off = w.surface->toPixels(100, 30);
  EXPECT_EQ(Rgb24(w.image, static_cast<int>(off.x()), static_cast<int>(off.y())), 0xFFFFFFu);
  QImage paper(200, 280, QImage::Format_RGB32);
  PrinterSurface page(paper, 210, 297);
  QtPictureStore pictures;
  for (int row = 1; row <= b.design.objects.itemCount(); ++row) {
    const ObjectRecord o = DecodeObjectRow(b.design.objects, row);
    PrintObject(page, {o.X1, o.Y1, o.X2, o.Y2}, o, b.design, pictures);
  }
}

// Qt draws glyphs of 64 pixels or more from outlines, which lose the bold FreeType makes up for
// the IPA faces: at 64 pixels the text is stroked bold, below it the glyphs come bold already.
// The painter is left as it was given.
TEST(DrawTextLines, BoldJustBelowAndAtTheOutlineSize) {
  const auto ink = [](double pixels, bool bold) {
    QImage page = ScreenImage(700, 140);
    page.fill(Qt::white);
    QPainter painter(&page);
    painter.setRenderHint(QPainter::Antialiasing, false);
    QFont font = MakeDesignFont("ＭＳ ゴシック", pixels * 72 / 96, bold, false, false, false);
    painter.setFont(font);
    painter.setPen(Qt::black);
    DrawTextLines(painter, &page, QPointF(10, 10), QStringLiteral("納品書"));
    EXPECT_FALSE(painter.testRenderHint(QPainter::Antialiasing)) << pixels;
    painter.end();
    int n = 0;
    for (int y = 0; y < page.height(); ++y) {
      for (int x = 0; x < page.width(); ++x) n += qGray(page.pixel(x, y)) < 128 ? 1 : 0;
    }
    return n;
  };
  for (const double pixels : {63.0, 64.0}) {
    const int regular = ink(pixels, false);
    ASSERT_GT(regular, 1000) << pixels;
    EXPECT_GT(ink(pixels, true), regular * 6 / 5) << pixels << " pixels";
  }
}

// A region redraw passes over texts whose box misses the clip: every pixel a text inks must lie
// in that box, whatever its lines, however they end, and the box must miss clips well apart.
TEST(TextMayReach, EveryInkedPixelLiesInsideTheBox) {
  const std::pair<FontSpec, const char*> cases[] = {
      {{"ＭＳ 明朝", 10.5, true, false, true, true}, "請求書"},
      {{"ＭＳ Ｐゴシック", 24, false, true, true, true}, "ABC\r\n二行目の長いテキスト"},
      {{"ＭＳ ゴシック", 14, false, false, true, true}, "x\ry\nz\r\n\u00e9W"},
      {{"Nimbus Sans", 30, true, true, true, true}, "WWW\n\n\u30c6\u30b9\u30c8"},
      {{"Nimbus Roman", 40, false, true, true, true}, "jf\u0192"},  // tails left of the origin
  };
  const QPointF at(200.5, 150.25);
  for (const auto& [face, chars] : cases) {
    SCOPED_TRACE(chars);
    QImage page = ScreenImage(1200, 600);
    page.fill(Qt::white);
    TextWidths widths;
    widths.setDpiOf(page);
    const QString text = QString::fromUtf8(chars);
    QPainter painter(&page);
    painter.setFont(widths.font(face));
    DrawTextLines(painter, &page, at, text);
    painter.end();
    QRect ink;
    for (int y = 0; y < page.height(); ++y) {
      for (int x = 0; x < page.width(); ++x) {
        if (Rgb24(page, x, y) != 0xFFFFFFu) ink |= QRect(x, y, 1, 1);
      }
    }
    ASSERT_FALSE(ink.isEmpty());
    // A strip one pixel thick along each edge of the ink is reached; strips well apart are not.
    for (const QRect& edge : {QRect(0, ink.top(), 1200, 1), QRect(0, ink.bottom(), 1200, 1),
                              QRect(ink.left(), 0, 1, 600), QRect(ink.right(), 0, 1, 600)}) {
      EXPECT_TRUE(TextMayReach(at, widths.metrics(face), text, edge)) << edge.x() << edge.y();
    }
    for (const QRect& far : {QRect(0, 0, 1200, 5), QRect(0, ink.bottom() + 200, 1200, 3),
                             QRect(0, 0, 10, 600), QRect(ink.right() + 1000, 0, 5, 600)}) {
      EXPECT_FALSE(TextMayReach(at, widths.metrics(face), text, far)) << far.x() << far.y();
    }
  }
}

// A wide pen's line is centred on the pixels holding its ends: a 3-pixel pen across row 20 inks
// rows 19 to 21 and no more, and down column 30 columns 29 to 31.
TEST(RasterSurface, WidePensAreCentredOnTheirPixels) {
  QImage image = ScreenImage(100, 100);
  image.fill(Qt::white);
  RasterSurface surface(image, 100, 100);  // a page unit a pixel
  surface.setDrawWidth(3);
  surface.line(10.2, 20.7, 80.4, 20.7, 0);
  surface.line(30.6, 40.1, 30.6, 90.8, 0);
  for (int d = -3; d <= 3; ++d) {
    const bool inked = std::abs(d) <= 1;
    EXPECT_EQ(Rgb24(image, 50, 20 + d) == 0, inked) << "row " << 20 + d;
    EXPECT_EQ(Rgb24(image, 30 + d, 60) == 0, inked) << "column " << 30 + d;
  }
}

// Widths follow a change of resolution: twice the dots, twice the pixels.
TEST(TextWidths, FollowAChangeOfResolution) {
  TextWidths widths;
  const FontSpec face{"ＭＳ ゴシック", 12, false, false, false, false};
  const double at96 = widths.pixels(face, "請求書 ABC");
  widths.setDpi(192);
  EXPECT_NEAR(widths.pixels(face, "請求書 ABC"), 2 * at96, 0.05 * at96);
  QImage fine = ScreenImage(1, 1);
  SetImageDpi(fine, 288);
  widths.setDpiOf(fine);
  EXPECT_NEAR(widths.pixels(face, "請求書 ABC"), 3 * at96, 0.05 * at96);
}

TEST(QtPictureStore, DecodesOnceAndAgainWhenTheFileChanges) {
  TempDir dir;
  const std::string path = WritePicture(dir / "p.png", 20, 10);
  QtPictureStore store;
  const Picture* first = store.picture(path);
  ASSERT_NE(first, nullptr);
  EXPECT_DOUBLE_EQ(first->widthPoints(), 15);
  EXPECT_EQ(store.picture(path), first);
  EXPECT_EQ(store.decodes(), 1);

  WritePicture(dir / "p.png", 40, 10);  // larger file, newer time
  const Picture* changed = store.picture(path);
  ASSERT_NE(changed, nullptr);
  EXPECT_DOUBLE_EQ(changed->widthPoints(), 30);
  EXPECT_EQ(store.decodes(), 2);

  // A missing file is not opened at all; a broken one is opened once.
  EXPECT_EQ(store.picture((dir / "missing.png").string()), nullptr);
  EXPECT_EQ(store.decodes(), 2);
  std::ofstream(dir / "broken.png") << "not a picture";
  EXPECT_EQ(store.picture((dir / "broken.png").string()), nullptr);
  EXPECT_EQ(store.picture((dir / "broken.png").string()), nullptr);
  EXPECT_EQ(store.decodes(), 3);
  EXPECT_EQ(store.picture(""), nullptr);

  // Transparent parts show the paper's white; half-covered ones are blended with it.
  QImage clear(4, 2, QImage::Format_ARGB32);
  clear.fill(Qt::transparent);
  clear.setPixel(1, 0, qRgba(0, 0, 255, 255));
  clear.setPixel(2, 0, qRgba(0, 0, 0, 128));
  ASSERT_TRUE(clear.save(QString::fromStdString((dir / "clear.png").string())));
  const auto* opaque = dynamic_cast<const QtPicture*>(store.picture((dir / "clear.png").string()));
  ASSERT_NE(opaque, nullptr);
  EXPECT_EQ(opaque->image().pixel(0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(opaque->image().pixel(3, 1), 0xFFFFFFFFu);
  EXPECT_EQ(opaque->image().pixel(1, 0), 0xFF0000FFu);
  EXPECT_NEAR(qGray(opaque->image().pixel(2, 0)), 127, 2);
}

}  // namespace
}  // namespace qf

namespace qf {
namespace {

// Bold is bold at every resolution: a PNG's bold text carries at least as much more ink than the
// same text regular as the PDF's glyphs do, rendered back by poppler at the same resolution, and
// the same share at each resolution (the raster engine draws glyphs of 64 pixels or more from
// outlines, without the bold a font engine makes up).
TEST(ExportDesign, BoldTextsAreBoldAtEveryResolutionAsInThePdf) {
  if (std::system("command -v pdftoppm >/dev/null 2>&1") != 0) GTEST_SKIP() << "no pdftoppm";
  TempDir dir;
  DesignBuilder b;
  b.text("納品書", 10, 10, 0, "", "ＭＳ ゴシック", 16, -1);
  b.text("納品書", 10, 30, 0, "", "ＭＳ ゴシック", 16, 0);
  b.design.page.paperSize = 11;  // A5: small enough to read back at 600 dpi
  QtPictureStore pictures;
  ASSERT_TRUE(ExportDesign(b.design, pictures, dir / "page.pdf", ExportFormat::Pdf).ok());
  // Ink in the bold band (the first 25 mm) over ink in the regular band below it.
  auto boldness = [](const QImage& page, int dpi) {
    const int band = static_cast<int>(25 / 25.4 * dpi);
    int ink[2] = {0, 0};
    for (int y = 0; y < 2 * band && y < page.height(); ++y) {
      for (int x = 0; x < page.width(); ++x) ink[y / band] += qGray(page.pixel(x, y)) < 128;
    }
    return ink[1] > 0 ? static_cast<double>(ink[0]) / ink[1] : 0.0;
  };
  std::vector<double> shares;
  for (int dpi : {96, 150, 300, 600}) {
    ExportOptions options;
    options.dpi = dpi;
    const fs::path png = dir / ("page" + std::to_string(dpi) + ".png").c_str();
    ASSERT_TRUE(ExportDesign(b.design, pictures, png, ExportFormat::Png, options).ok());
    const int h = static_cast<int>(50 / 25.4 * dpi) + 1;
    const std::string command = "pdftoppm -r " + std::to_string(dpi) + " -gray -png -singlefile" +
                                " -x 0 -y 0 -W " + std::to_string(4 * dpi) + " -H " +
                                std::to_string(h) + " " + (dir / "page.pdf").string() + " " +
                                (dir / "pdf").string();
    ASSERT_EQ(std::system(command.c_str()), 0);
    const double exported = boldness(QImage(QString::fromStdString(png.string())), dpi);
    const double printed =
        boldness(QImage(QString::fromStdString((dir / "pdf.png").string())), dpi);
    EXPECT_GT(printed, 1.15) << dpi << " dpi";
    // FreeType's made-up bold is a little heavier than the PDF's double print.
    EXPECT_GE(exported, printed - 0.05) << dpi << " dpi";
    EXPECT_LT(exported, printed + 0.6) << dpi << " dpi";
    shares.push_back(exported);
  }
  const auto [least, most] = std::minmax_element(shares.begin(), shares.end());
  EXPECT_LT(*most - *least, 0.2);
}

// The SVG export draws the printed page as vector graphics: an element for every object drawn,
// in points of the paper, and no file at all when the folder is missing.
TEST(ExportDesign, AnSvgHasAnElementForEveryObjectDrawn) {
  TempDir dir;
  DesignBuilder b;
  b.text("金額 1月", 20, 15, 0, "", "ＭＳ ゴシック", 18);
  b.figure(ObjectKind::Box, 15, 30, 120, 70, "2", Rgb(0, 0, 200), "0", 2);
  b.figure(ObjectKind::Line, 15, 80, 190, 80, "0", Rgb(200, 0, 0), "1", 1);
  b.figure(ObjectKind::Ring, 130, 30, 190, 70, "0", 0, "0", 3);
  b.picture(WritePicture(dir / "p.bmp", 30, 20), 40, 100, false);
  b.design.page.orientation = 2;
  QtPictureStore pictures;
  const fs::path out = dir / "page.svg";
  ASSERT_TRUE(ExportDesign(b.design, pictures, out, ExportFormat::Svg).ok());
  QFile file(QString::fromStdString(out.string()));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  QXmlStreamReader xml(&file);
  std::map<QString, int> elements;
  QString viewBox;
  QString text;
  int figuresAfterText = 0;
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    ++elements[xml.name().toString()];
    // The text, written first, lies over the figures as on the printed page.
    if (elements[QStringLiteral("text")] > 0 && xml.name() != u"text" && xml.name() != u"g") {
      ++figuresAfterText;
    }
    if (xml.name() == u"svg") viewBox = xml.attributes().value("viewBox").toString();
    if (xml.name() == u"text") text += xml.readElementText();
  }
  ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  EXPECT_EQ(viewBox, QStringLiteral("0 0 842 595"));  // A4 across, in points
  EXPECT_EQ(text, QStringLiteral("金額 1月"));
  EXPECT_EQ(elements[QStringLiteral("text")], 1);
  EXPECT_EQ(elements[QStringLiteral("polyline")], 1);
  EXPECT_EQ(elements[QStringLiteral("ellipse")], 1);
  EXPECT_EQ(elements[QStringLiteral("image")], 1);
  file.seek(0);
  const QByteArray svg = file.readAll();
  EXPECT_TRUE(svg.contains("stroke=\"#c80000\"")) << "the line's own colour";
  EXPECT_TRUE(svg.contains("stroke=\"#0000c8\"")) << "the box's own colour";
  EXPECT_EQ(figuresAfterText, 0);
  // Ink blends as on paper: the hatched box and the coloured line multiply, the black ring
  // needs no blend; no group keeps the writer's marking opacity.
  EXPECT_EQ(svg.count("style=\"mix-blend-mode:multiply\""), 2) << svg.toStdString();
  EXPECT_FALSE(svg.contains("opacity=\"0.996")) << svg.toStdString();
  // The fonts that stand in for the Windows one, for a viewer that does not have it.
  EXPECT_TRUE(
      svg.contains("font-family=\"'ＭＳ ゴシック', 'IPAGothic', 'Noto Sans Mono CJK JP', "
                   "'Noto Sans CJK JP', monospace\""))
      << svg.toStdString();
  EXPECT_GE(elements[QStringLiteral("rect")], 1);
  EXPECT_EQ(ExportFormatOf("a/B.SvG"), ExportFormat::Svg);
  EXPECT_EQ(ExportFormatOf("a/b.jpg"), std::nullopt);

  const FileStatus missing =
      ExportDesign(b.design, pictures, dir / "none" / "x.svg", ExportFormat::Svg);
  EXPECT_FALSE(missing.ok());
  EXPECT_NE(missing.detail.find("フォルダがありません"), std::string::npos) << missing.detail;
  EXPECT_FALSE(fs::exists(dir / "none"));
}

// A font name with XML's own characters reaches the SVG escaped once.
TEST(ExportDesign, AnSvgNamesAFontWithMarkupCharactersEscapedOnce) {
  TempDir dir;
  DesignBuilder b;
  b.text("x", 20, 15, 0, "", "A<B&C", 12);
  QtPictureStore pictures;
  ASSERT_TRUE(ExportDesign(b.design, pictures, dir / "f.svg", ExportFormat::Svg).ok());
  QFile file(QString::fromStdString((dir / "f.svg").string()));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray svg = file.readAll();
  EXPECT_TRUE(svg.contains("font-family=\"'A&lt;B&amp;C'")) << svg.toStdString();
  EXPECT_FALSE(svg.contains("&amp;lt;") || svg.contains("&amp;amp;")) << svg.toStdString();
}

// An arc on the vector surface runs counter-clockwise from its start angle to its end angle, as
// on the other surfaces: a quarter from 3 o'clock ends at 12 o'clock.
TEST(VectorSurface, ArcsEndWhereTheirAngleSays) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator svg;
  svg.setOutputDevice(&buffer);
  svg.setResolution(72);
  svg.setSize(QSize(200, 200));
  svg.setViewBox(QRectF(0, 0, 200, 200));
  {
    QPainter painter(&svg);
    VectorSurface s(painter, 200, 200, 200, 200, 72);
    s.circle(100, 100, 50, 0, 1, 0.0, 3.14159265358979323846 / 2);
  }
  const QString text = QString::fromUtf8(buffer.data());
  const qsizetype at = text.indexOf(QStringLiteral(" d=\""));
  ASSERT_GE(at, 0) << text.toStdString();
  const QString path = text.mid(at + 4, text.indexOf(QLatin1Char('"'), at + 4) - at - 4);
  const QStringList numbers =
      path.split(QRegularExpression(QStringLiteral("[^0-9.eE-]+")), Qt::SkipEmptyParts);
  ASSERT_GE(numbers.size(), 4) << path.toStdString();
  EXPECT_NEAR(numbers[0].toDouble(), 150, 0.01) << path.toStdString();  // 3 o'clock
  EXPECT_NEAR(numbers[1].toDouble(), 100, 0.01);
  EXPECT_NEAR(numbers[numbers.size() - 2].toDouble(), 100, 0.01);  // 12 o'clock
  EXPECT_NEAR(numbers.last().toDouble(), 50, 0.01);
}

}  // namespace
}  // namespace qf
