// What prints is what shows: the design window's page at 100 % is the print preview's page at
// the screen's resolution, but where the two draw texts (aliased on the screen, smoothed on
// paper).
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>

#include "document/object_rows.h"
#include "platform/picture_store.h"
#include "platform/qt_measure.h"
#include "platform/qt_printer.h"
#include "platform/raster_surface.h"
#include "support/design_builder.h"
#include "support/random_design.h"
#include "support/temp_folder.h"
#include "view/printing.h"
#include "view/renderer.h"

namespace qf {
namespace {

class ScreenAndPaper : public test::TempFolderTest {
 protected:
  // The design window's page at 100 % on the printer's page, and the preview of that page.
  struct Pages {
    QImage screen;
    QImage paper;
    QPoint at(const ViewState& v, double x, double y) const {  // a page point's pixel
      return {int(x * screen.width() / v.page.scaleWidth),
              int(y * screen.height() / v.page.scaleHeight)};
    }
    ViewState view;
  };
  Pages draw(Design d) {
    d.grid.shown = 0;
    auto port = QtPrinterPort::ForPdf((dir_ / "never.pdf").string());
    ApplyPrinterSetup(*port, d.page);
    ViewState view;
    ReadPrinterPage(*port, d.page, view);
    view.zoom = 100;
    ApplyPageLayout(view);
    Pages pages;
    pages.view = view;
    pages.screen = PageImage(view);
    {
      RasterSurface surface(pages.screen, view.page.scaleWidth, view.page.scaleHeight);
      RenderContext rc{surface, d, view, pictures_};
      FullRedraw(rc);
    }
    port->previewInto(&pages.paper, 96);
    EXPECT_TRUE(PrintDesign(d, *port, pictures_, nullptr));
    return pages;
  }

  std::string picture() {
    QImage pic(30, 20, QImage::Format_RGB32);
    for (int y = 0; y < pic.height(); ++y) {
      for (int x = 0; x < pic.width(); ++x) pic.setPixel(x, y, qRgb(x * 8, 255 - y * 12, 90));
    }
    const std::string path = (dir_ / "pic.png").string();
    EXPECT_TRUE(pic.save(QString::fromStdString(path)));
    return path;
  }

  QtPictureStore pictures_;
};

// Where the texts put ink on either page, a pixel around it included.
std::vector<bool> TextInk(const QImage& with, const QImage& without) {
  const int w = with.width();
  const int h = with.height();
  std::vector<bool> ink(static_cast<size_t>(w) * static_cast<size_t>(h));
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if (with.pixel(x, y) == without.pixel(x, y)) continue;
      for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
          if (x + dx >= 0 && x + dx < w && y + dy >= 0 && y + dy < h) {
            ink[static_cast<size_t>(y + dy) * static_cast<size_t>(w) +
                static_cast<size_t>(x + dx)] = true;
          }
        }
      }
    }
  }
  return ink;
}

TEST_F(ScreenAndPaper, TheDesignWindowShowsThePrintedPage) {
  const QtTextMeasurer measurer;
  const std::string pic = picture();
  for (unsigned seed = 1; seed <= 6; ++seed) {
    test::RandomDesigns random(seed);
    Design d = random.design(40, measurer);
    // Millimetres keep the random places on any paper; the paper stays the random one.
    d.page.scaleMode = static_cast<int16_t>(ScaleMode::Millimetre);
    // Every kind on every paper, a picture that can be read among them.
    for (int row = 1; row <= d.objects.itemCount(); row += 7) {
      if (KindFromName(d.objects.cell(row, kColKind)) == ObjectKind::Picture) {
        d.objects.setCell(row, kColText, pic);
      }
    }
    const Pages with = draw(d);
    ASSERT_EQ(with.screen.size(), with.paper.size()) << "seed " << seed;
    // The same pages without any text's ink, to know where texts lie.
    Design bare = d;
    for (int row = 1; row <= bare.objects.itemCount(); ++row) {
      if (KindFromName(bare.objects.cell(row, kColKind)) == ObjectKind::Text) {
        bare.objects.setCell(row, kColText, "");
      }
    }
    const Pages without = draw(bare);
    const std::vector<bool> onScreen = TextInk(with.screen, without.screen);
    const std::vector<bool> onPaper = TextInk(with.paper, without.paper);
    int inked = 0;
    int differ = 0;
    for (int y = 0; y < with.screen.height(); ++y) {
      for (int x = 0; x < with.screen.width(); ++x) {
        const size_t i = static_cast<size_t>(y) * static_cast<size_t>(with.screen.width()) +
                         static_cast<size_t>(x);
        inked += (with.paper.pixel(x, y) & 0xFFFFFFu) != 0xFFFFFFu ? 1 : 0;
        if (onScreen[i] || onPaper[i]) continue;
        differ += with.screen.pixel(x, y) != with.paper.pixel(x, y) ? 1 : 0;
      }
    }
    EXPECT_GT(inked, 1000) << "seed " << seed;
    EXPECT_EQ(differ, 0) << "seed " << seed << ": pixels away from texts differ";
    // Figures and pictures alone agree pixel for pixel.
    EXPECT_EQ(without.screen, without.paper) << "seed " << seed;
  }
}

// A table of boxes that share their edges, as a delivery note's rows do: every edge shows, and
// a red text under a grey-hatched row stays red: texts lie over the figures.
TEST_F(ScreenAndPaper, SharedEdgesShowAndTextsLieOverFigures) {
  test::DesignBuilder b;
  ObjectRecord red;
  red.Kind = ObjectKind::Text;
  red.Text = "品名";
  red.Style = "ＭＳ ゴシック";
  red.Size = 14;
  red.Bold = -1;
  red.Color = Rgb(255, 0, 0);
  b.add(red, {22, 31, 22, 31});
  for (int i = 0; i < 4; ++i) {
    b.figure(ObjectKind::Box, 20, 30 + 10 * i, 120, 40 + 10 * i, i == 0 ? "3" : "0");
  }
  const Pages pages = draw(b.design);
  EXPECT_EQ(pages.screen.size(), pages.paper.size());
  for (double y : {40.0, 50.0, 60.0}) {  // the shared edges, halfway along
    const QPoint edge = pages.at(pages.view, 70, y);
    EXPECT_EQ(pages.screen.pixel(edge) & 0xFFFFFFu, 0u) << "edge at " << y;
    EXPECT_EQ(pages.paper.pixel(edge) & 0xFFFFFFu, 0u) << "edge at " << y;
  }
  // Ink under the hatch would be darkened to the hatch's grey; the text's own red is there.
  const QRect area(pages.at(pages.view, 22, 31), QSize(40, 20));
  auto pureRed = [&area](const QImage& image) {
    int found = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
      for (int x = area.left(); x <= area.right(); ++x) {
        const QRgb c = image.pixel(x, y);
        found += qRed(c) >= 240 && qGreen(c) <= 30 && qBlue(c) <= 30 ? 1 : 0;
      }
    }
    return found;
  };
  EXPECT_GT(pureRed(pages.screen), 10);
  EXPECT_GT(pureRed(pages.paper), 10);
}

}  // namespace
}  // namespace qf
