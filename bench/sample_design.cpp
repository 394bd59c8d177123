#include "sample_design.h"

#include "document/object_rows.h"

namespace qf::bench {

Design MakeSampleDesign(int count, int layers, bool repeats) {
  Design d;
  for (int l = 2; l <= layers; ++l) {
    const int row = d.layers.insertRow(1);
    d.layers.setCell(row, kLayerNumber, std::to_string(l));
    d.layers.setCell(row, kLayerName, "レイヤー" + std::to_string(l));
  }
  const CountingMeasurer measurer;
  ObjectRecord w;
  for (int i = 0; i < count; ++i) {
    // Blocks of eight objects share a layer: a repeat start, six objects, the repeat's end.
    const auto layer = static_cast<int16_t>(1 + (i / 8) % layers);
    w = {};
    const double x = 15 + (i % 37) * 4.25;
    const double y = 10 + (i % 53) * 5.5;
    WorkingRect place{x, y, x + 30.5, y + 12.25};
    Extent measured;
    switch (i % 8) {
      case 1:
      case 2:
        w.Kind = ObjectKind::Text;
        w.Label = "項目" + std::to_string(i);
        w.Text = i % 2 ? "請求金額合計（税込）" : "ﾃｷｽﾄ 半角カナ混在";
        w.Field = i % 3 ? "" : "rs!Amount";
        w.Style = i % 2 ? "ＭＳ 明朝" : "ＭＳ ゴシック";
        w.Size = 10.5f;
        w.Bold = i % 3 ? 0 : -1;
        w.Align = static_cast<int16_t>(i % 3);
        w.Color = 0xFF0000;
        place.x2 = x;
        place.y2 = y;
        measured = MeasureText(measurer, w, d.page.scaleMode);
        break;
      case 3:
        w.Kind = ObjectKind::Line;
        w.Style = std::to_string(i % 5);
        w.Size = 1;
        break;
      case 4:
        w.Kind = ObjectKind::Box;
        w.Text = std::to_string(i % 6);
        w.Field = i % 6 ? "" : "2.5";
        w.Style = "0";
        w.Size = 2;
        break;
      case 5:
        w.Kind = ObjectKind::Ring;
        w.Text = std::to_string(i % 6);
        w.Style = "2";
        w.Size = 1;
        w.Color = 0x0000FF;
        break;
      case 6:
        w.Kind = ObjectKind::Picture;
        w.Text = "/srv/forms/images/logo" + std::to_string(i % 7) + ".png";
        w.Style = std::to_string(i % 2);
        break;
      default:
        if (!repeats) {
          w.Kind = ObjectKind::Line;
          w.Style = "0";
          w.Size = 2;
          break;
        }
        w.Kind = ObjectKind::Command;
        w.Label = "明細";
        w.X1 = 6;
        w.Text = i % 8 == 0 ? "0" : "1";
        w.Field = "sngI" + std::to_string(i / 8 % 3);
        w.Style = std::to_string(i / 8 % 2);
        w.Size = 9;
        break;
    }
    AddObject(d.objects, w, place, measured, layer);
  }
  RenumberRows(d.objects);
  return d;
}

}  // namespace qf::bench
