// The page after any change made through the editor equals a full redraw, pixel for pixel,
// though only the damaged parts are drawn again.
#include <gtest/gtest.h>

#include <QImage>
#include <memory>
#include <random>

#include "document/number_text.h"
#include "document/object_rows.h"
#include "edit/editor.h"
#include "platform/picture_store.h"
#include "platform/qt_measure.h"
#include "platform/raster_surface.h"
#include "support/temp_folder.h"
#include "view/renderer.h"

namespace qf {
namespace {

// The design window's page, drawn on by the editor.
class Page final : public EditView {
 public:
  explicit Page(ViewState& view) {
    ApplyPageLayout(view);
    image = PageImage(view);
    surface = std::make_unique<RasterSurface>(image, view.page.scaleWidth, view.page.scaleHeight);
  }
  Surface* pageSurface() override { return surface.get(); }
  void pageChanged(const std::optional<PageRect>& area) override {
    if (!area) ++fullRedraws;
    if (!area && std::getenv("QF_DEBUG_FULL")) fprintf(stderr, "FULL\n");
  }
  void guideText(std::string_view) override {}
  void layerStatus(int16_t) override {}
  void historyChanged() override {}
  void objectPicked() override {}

  QImage image;
  std::unique_ptr<RasterSurface> surface;
  int fullRedraws = 0;
};

class RegionRedraw : public test::TempFolderTest {
 protected:
  struct Editing {
    explicit Editing(int zoom) : page((view.zoom = zoom, view)) { editor.attach(&page); }
    ViewState view;
    Page page;
    Design design;
    AppState app;
    QtTextMeasurer text;
    QtPictureSizer sizer;
    QtPictureStore pictures;
    Editor editor{design, app, view, pictures, Measurers{text, sizer}};
  };

  // What the page must show: the list drawn whole, with the selection's marks.
  static QImage Reference(Editing& e) {
    QImage image = PageImage(e.view);
    RasterSurface surface(image, e.view.page.scaleWidth, e.view.page.scaleHeight);
    QtPictureStore pictures;
    RenderContext rc{surface, e.design, e.view, pictures};
    FullRedraw(rc);
    for (int row : e.editor.selectedRows()) {
      DrawSelectionMarks(surface, e.view, e.editor.selectionBox(row));
    }
    return image;
  }

  std::string picture() {
    QImage pic(60, 40, QImage::Format_RGB32);
    for (int y = 0; y < pic.height(); ++y) {
      for (int x = 0; x < pic.width(); ++x) pic.setPixel(x, y, qRgb(x * 4, y * 6, (x * y) % 256));
    }
    const std::string path = (dir_ / "pic.png").string();
    EXPECT_TRUE(pic.save(QString::fromStdString(path)));
    return path;
  }
};

ObjectRecord RandomObject(std::mt19937& rng, const std::string& picture) {
  static const char* kTexts[] = {"請求書", "合計金額 ¥12,000", "ABC", "ﾃｽﾄ\r\n二行目", "x"};
  ObjectRecord r;
  r.Kind = static_cast<ObjectKind>(1 + rng() % 6);
  r.Style = "0";
  r.Size = static_cast<float>(1 + rng() % 3);
  r.Color = static_cast<int32_t>(rng() % 0xFFFFFF);
  switch (r.Kind) {
    case ObjectKind::Text:
      r.Text = kTexts[rng() % 5];
      r.Style = rng() % 2 ? "ＭＳ 明朝" : "ＭＳ ゴシック";
      r.Size = static_cast<float>(8 + rng() % 20);
      r.Italic = rng() % 3 == 0 ? -1 : 0;
      break;
    case ObjectKind::Box:
      r.Text = std::to_string(rng() % 6);
      r.Field = rng() % 3 == 0 ? "4" : "";
      r.Style = std::to_string(rng() % 5);
      break;
    case ObjectKind::Ring:
      r.Text = std::to_string(rng() % 6);
      break;
    case ObjectKind::Picture:
      r.Text = picture;
      r.Style = rng() % 2 ? "1" : "0";
      break;
    case ObjectKind::Command:
      r.Kind = ObjectKind::Line;
      break;
    default:
      break;
  }
  return r;
}

// An object whose layer changes so that it falls inside another layer's repeat block, or out
// of it, is drawn with every pass at once, and its old passes are gone.
TEST_F(RegionRedraw, AnObjectMovedIntoOrOutOfARepeatBlockShowsEveryPass) {
  Editing e(100);
  const int16_t upper =
      static_cast<int16_t>(NumericPrefix(e.design.layers.cell(e.editor.addLayer(1), kLayerNumber)));
  ObjectRecord cmd;
  cmd.Kind = ObjectKind::Command;
  cmd.X1 = 12;
  cmd.Text = "0";
  cmd.Style = "0";
  cmd.Size = 3;
  AddObject(e.design.objects, cmd, {}, {}, upper);
  ObjectRecord box;
  box.Kind = ObjectKind::Box;
  box.Text = "2";
  box.Style = "0";
  box.Size = 2;
  AddObject(e.design.objects, box, {30, 30, 60, 40}, {}, upper);
  const int moving = AddObject(e.design.objects, box, {90, 35, 120, 41}, {}, 1);
  cmd.Text = "1";
  AddObject(e.design.objects, cmd, {}, {}, upper);
  RenumberRows(e.design.objects);
  e.editor.designLoaded({});
  e.editor.fullRedraw();
  for (const std::string& layer :
       {std::to_string(upper), std::string("1"), std::to_string(upper)}) {
    ASSERT_TRUE(e.editor.pasteObjectCell(moving, kColLayer, layer));
    EXPECT_EQ(e.page.image, Reference(e)) << "to layer " << layer;
  }
  ASSERT_TRUE(e.editor.commitObjectCell(moving, kColY1, "80"));
  EXPECT_EQ(e.page.image, Reference(e)) << "moved inside the block";
  while (e.editor.undo()) EXPECT_EQ(e.page.image, Reference(e)) << "undo";
}

TEST_F(RegionRedraw, EveryChangeLeavesThePageAsAFullRedraw) {
  const std::string pic = picture();
  int fullRedraws = 0;
  for (unsigned seed = 1; seed <= 6; ++seed) {
    std::mt19937 rng(seed);
    Editing e(seed % 3 == 0 ? 150 : seed % 2 ? 100 : 50);
    auto coord = [&] { return 20.0 + static_cast<double>(rng() % 900) / 10; };
    // Overlapping texts, pictures, hatched boxes and rings in one corner, a repeat block, two
    // layers.
    e.editor.addLayer(1);
    for (int i = 0; i < 24; ++i) {
      if (i == 8 || i == 14) {
        ObjectRecord cmd;
        cmd.Kind = ObjectKind::Command;
        cmd.X1 = 7;
        cmd.Text = i == 8 ? "0" : "1";
        cmd.Style = rng() % 2 ? "0" : "1";
        cmd.Size = 2;
        AddObject(e.design.objects, cmd, {}, {}, 1);
        continue;
      }
      const ObjectRecord r = RandomObject(rng, pic);
      const double x = coord();
      const double y = coord();
      AddObject(e.design.objects, r, {x, y, x + coord() / 3, y + coord() / 4},
                MeasureText(e.text, r, 6), static_cast<int16_t>(1 + rng() % 2));
    }
    RenumberRows(e.design.objects);
    e.editor.designLoaded({});
    e.editor.fullRedraw();
    const int afterLoad = e.page.fullRedraws;
    const TextTable startObjects = e.design.objects;
    const TextTable startLayers = e.design.layers;

    auto pick = [&](int n) { return n < 1 ? 0 : static_cast<int>(1 + rng() % n); };
    for (int step = 0; step < 70; ++step) {
      const TextTable& t = e.design.objects;
      const TextTable& l = e.design.layers;
      const int rows = t.itemCount();
      std::string what;
      switch (rng() % 13) {
        case 0:
        case 1: {
          const int col = kColX1 + static_cast<int>(rng() % 4);
          what = "edit coordinate";
          e.editor.commitObjectCell(pick(rows), col, std::to_string(coord()));
          break;
        }
        case 2:
          what = "edit text";
          e.editor.commitObjectCell(pick(rows), kColText, rng() % 2 ? "変更後の文字列" : "i");
          break;
        case 3:
          what = "edit size";
          e.editor.commitObjectCell(pick(rows), kColSize, std::to_string(6 + rng() % 30));
          break;
        case 4:
          what = "move to a layer";
          e.editor.pasteObjectCell(pick(rows), kColLayer, std::to_string(1 + rng() % 3));
          break;
        case 5:
          what = "delete";
          e.editor.deleteObjectRow(pick(rows));
          break;
        case 6:
          what = "swap rows";
          e.editor.swapObjectRows(pick(rows), pick(rows));
          break;
        case 7: {
          what = "add";
          const double x = coord();
          const double y = coord();
          if (rng() % 2) e.editor.startInsertMode(pick(rows));
          e.editor.addObject(RandomObject(rng, pic), {x, y, x + 15, y + 9});
          break;
        }
        case 8:
          what = "hide";
          e.editor.toggleHide(pick(l.itemCount()));
          break;
        case 9:
          // Layers come, go and change places; objects keep their numbers.
          switch (rng() % 3) {
            case 0:
              what = "add layer";
              e.editor.addLayer(pick(l.itemCount()));
              break;
            case 1:
              what = "delete layer";
              e.editor.deleteLayer(pick(l.itemCount()));
              break;
            default:
              what = "swap layers";
              e.editor.swapLayers(pick(l.itemCount()), pick(l.itemCount()));
              break;
          }
          break;
        case 10:
          switch (rng() % 3) {
            case 0:
              what = "select";
              e.editor.selectObjectRow(pick(rows));
              break;
            case 1: {
              what = "frame";
              const double x = coord();
              const double y = coord();
              e.editor.pointerPressed(x, y);
              e.editor.pointerMoved(x + 20, y + 20);
              e.editor.pointerReleased(x + 40, y + 30);
              break;
            }
            default:
              what = "delete selection";
              e.editor.deleteSelection();
              break;
          }
          break;
        case 12: {
          // The selection moved, resized, copied, pasted, cut, nudged or edited.
          const std::vector<int>& list = e.editor.selectedRows();
          switch (rng() % 6) {
            case 0: {
              what = "drag a mark";
              if (list.empty()) break;
              const double m = e.view.markSize;
              double x = 0;
              double y = 0;
              if (list.size() == 1) {
                const MarkCorners marks = e.editor.markCorners(list.front());
                const size_t k = rng() % 3;
                x = marks[k].first + (k == 1 ? -m / 2 : m / 2);
                y = marks[k].second + (k == 1 ? -m / 2 : m / 2);
              } else {
                const WorkingRect b = e.editor.GetSelectionBounds();
                x = (b.x1 + b.x2) / 2;
                y = (b.y1 + b.y2) / 2;
              }
              e.editor.pointerPressed(x, y);
              e.editor.pointerMoved(x + 7, y + 3);
              e.editor.pointerReleased(coord(), coord());
              break;
            }
            case 1:
              what = "copy and paste";
              e.editor.copySelection();
              e.editor.paste();
              break;
            case 2:
              what = "cut";
              e.editor.cutSelection();
              break;
            case 3:
              what = "paste";
              e.editor.paste();
              break;
            case 4:
              what = "arrow";
              e.editor.moveSelection(rng() % 2 ? 5 : -0.5, rng() % 2 ? 5 : 0);
              break;
            default: {
              what = "properties";
              if (list.size() != 1) break;
              ObjectRecord r = DecodeObjectRow(e.design.objects, list.front());
              r.Size = static_cast<float>(1 + rng() % 24);
              if (r.Kind == ObjectKind::Text) r.Text = rng() % 2 ? "大きな文字列" : "x";
              if (r.Kind == ObjectKind::Box || r.Kind == ObjectKind::Ring) {
                r.Text = std::to_string(rng() % 6);
              }
              e.editor.rewriteSelected(r);
              break;
            }
          }
          break;
        }
        default:
          what = rng() % 3 ? "undo" : "redo";
          if (what == "undo") {
            e.editor.undo();
          } else {
            e.editor.redo();
          }
          break;
      }
      if (std::getenv("QF_DEBUG_FULL")) fprintf(stderr, "step %s\n", what.c_str());
      const QImage expected = Reference(e);
      if (e.page.image != expected) {
        // Kept where a developer can look at them after the test's folder is gone.
        const auto tmp = std::filesystem::temp_directory_path();
        e.page.image.save(QString::fromStdString((tmp / "qf_region_page.png").string()));
        expected.save(QString::fromStdString((tmp / "qf_region_expected.png").string()));
        QRect wrong;
        for (int y = 0; y < expected.height(); ++y) {
          for (int x = 0; x < expected.width(); ++x) {
            if (e.page.image.pixel(x, y) != expected.pixel(x, y)) wrong |= QRect(x, y, 1, 1);
          }
        }
        FAIL() << "seed " << seed << " step " << step << ": " << what << " left pixels "
               << wrong.left() << "," << wrong.top() << " to " << wrong.right() << ","
               << wrong.bottom() << " wrong";
      }
    }
    fullRedraws += e.page.fullRedraws - afterLoad;
    // Undoing every step gives the lists back as they were (lock and hide are no steps).
    e.editor.clearSelection();
    while (e.editor.undo()) {
    }
    EXPECT_EQ(e.design.objects, startObjects) << "seed " << seed;
    ASSERT_EQ(e.design.layers.itemCount(), startLayers.itemCount()) << "seed " << seed;
    for (int r = 1; r <= startLayers.itemCount(); ++r) {
      EXPECT_EQ(e.design.layers.cell(r, kLayerNumber), startLayers.cell(r, kLayerNumber));
      EXPECT_EQ(e.design.layers.cell(r, kLayerName), startLayers.cell(r, kLayerName));
    }
    EXPECT_EQ(e.page.image, Reference(e)) << "seed " << seed;
  }
  // The changes were shown by parts, not by drawing the whole page each time (a block left
  // open by a deleted end is drawn whole until it closes again).
  EXPECT_LT(fullRedraws, 6 * 70 / 4);
}

}  // namespace
}  // namespace qf
