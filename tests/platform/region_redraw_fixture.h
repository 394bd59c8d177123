#pragma once

// What the region-redraw tests share: the design window's page drawn on by the editor, and
// the editing bench around it.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <map>
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

namespace qf::test {

// The design window's page, drawn on by the editor.
class Page final : public EditView {
 public:
  explicit Page(ViewState& view) { rebuild(view); }
  // A new page for the view, as a zoom or a unit change makes one.
  void rebuild(ViewState& view) {
    ApplyPageLayout(view);
    surface.reset();
    image = PageImage(view);
    surface = std::make_unique<RasterSurface>(image, view.page.scaleWidth, view.page.scaleHeight);
  }
  Surface* pageSurface() override { return surface.get(); }
  void pageChanged(const std::optional<PageRect>& area) override {
    if (!area) ++fullRedraws;
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
 public:
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
    const std::vector<int>& rows = e.editor.selectedRows();
    for (int row : rows) {  // the first of several hollow
      DrawSelectionMarks(
          surface, e.view, e.editor.selectionBox(row),
          rows.size() > 1 && row == rows[0] ? MarkStyle::Reference : MarkStyle::Selected);
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

inline ObjectRecord RandomObject(std::mt19937& rng, const std::string& picture) {
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

}  // namespace qf::test
