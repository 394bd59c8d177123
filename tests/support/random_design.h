#pragma once

#include <random>
#include <string>
#include <vector>

#include "document/design.h"
#include "document/measure.h"
#include "document/object_rows.h"

namespace qf::test {

// Random designs whose every field holds its own value: no two margins, colours or flags
// alike by rule, styles and directions beyond "0" and "1", coordinates off the grid, so a
// field written into another's place, or a value carried over from the row before, shows.
class RandomDesigns {
 public:
  explicit RandomDesigns(unsigned seed) : rng_(seed) {}

  int pick(int n) { return n < 1 ? 0 : static_cast<int>(rng_() % static_cast<unsigned>(n)); }
  bool chance(int inN) { return pick(inN) == 0; }
  // A coordinate in thousandths, off any grid of whole millimetres.
  double coord() { return 5 + pick(180000) / 1000.0 + 0.001; }
  int32_t color() { return static_cast<int32_t>(rng_() & 0xFFFFFF); }
  int16_t flag() { return chance(2) ? -1 : 0; }

  template <class T>
  const T& of(const std::vector<T>& v) {
    return v[static_cast<size_t>(pick(static_cast<int>(v.size())))];
  }

  // A record of the given kind with every field the kind carries set at random.
  ObjectRecord record(ObjectKind kind, const std::vector<int16_t>& layers) {
    static const std::vector<std::string> kTexts = {"請求書",     "合計 ￥12,000", "ABC",
                                                    "二行\r\n目", "\"引用\" a,b",  "ｶﾅ"};
    static const std::vector<std::string> kFonts = {"ＭＳ 明朝", "ＭＳ ゴシック", "Arial",
                                                    "ＭＳ Ｐ明朝"};
    static const std::vector<std::string> kFields = {"",       "rs!Name", "Items(sngI).金額",
                                                     "strTxt", "",        "x"};
    ObjectRecord r;
    r.Kind = kind;
    r.Label = chance(4) ? "" : of(std::vector<std::string>{"表題", "枠,1", "線\"2\"", "L"});
    r.X1 = coord();
    r.Y1 = coord();
    r.X2 = coord();
    r.Y2 = coord();
    r.Layer = of(layers);
    switch (kind) {
      case ObjectKind::Text:
        r.Text = of(kTexts);
        r.Field = of(kFields);
        r.Style = of(kFonts);
        r.Size = static_cast<float>(6 + pick(60)) / 2;  // 3 .. 32.5, halves too
        r.Bold = flag();
        r.Italic = flag();
        r.Strikethrough = flag();
        r.Underline = flag();
        r.Align = static_cast<int16_t>(pick(3));
        r.Color = color();
        break;
      case ObjectKind::Line:
        r.Style = std::to_string(pick(5));
        r.Size = static_cast<float>(1 + pick(8)) / 2;
        r.Color = color();
        break;
      case ObjectKind::Box:
        r.Text = std::to_string(pick(6));
        // A radius only without hatching, in the "##0.000" form the list holds.
        r.Field = r.Text == "0" && chance(2) ? std::to_string(1 + pick(9)) + ".250" : "";
        r.Style = std::to_string(pick(5));
        r.Size = static_cast<float>(1 + pick(8)) / 2;
        r.Color = color();
        break;
      case ObjectKind::Ring:
        r.Text = std::to_string(pick(6));
        r.Style = std::to_string(pick(5));
        r.Size = static_cast<float>(1 + pick(8)) / 2;
        r.Color = color();
        break;
      case ObjectKind::Picture:
        r.Text = of(std::vector<std::string>{"/tmp/ロゴ.bmp", "C:\\pic\\a.jpg", ""});
        r.Style = chance(2) ? "1" : "0";
        break;
      case ObjectKind::Command:
        r.X1 = 1 + pick(40) / 4.0;
        r.Text = chance(2) ? "0" : "1";
        r.Field = of(std::vector<std::string>{"sngI", "sngJ", "lngRow"});
        r.Style = chance(2) ? "0" : "1";
        r.Size = static_cast<float>(1 + pick(12));
        break;
      case ObjectKind::Barcode:
        r.Style = std::to_string(pick(8));
        r.Text =
            of(std::vector<std::string>{"4901234567894", "12345670", "ABC-123", "請求書 No.1", ""});
        r.Field = of(kFields);
        r.Size = static_cast<float>(pick(12));
        r.Color = color();
        break;
      case ObjectKind::None:
        break;
    }
    return r;
  }

  // Page settings with no two margins alike, a grid that is not square, a palette of its own.
  void settings(Design& d) {
    PageSettings& p = d.page;
    // The table's two ends each a third of the time, from one draw so the rest of the
    // design stays as the seed made it.
    const int paper = pick(3 * 41);
    p.paperSize = static_cast<int16_t>(paper % 3 == 0 ? 1 : paper % 3 == 1 ? 41 : 1 + paper / 3);
    p.orientation = static_cast<int16_t>(1 + pick(2));
    p.scaleMode = static_cast<int16_t>(pick(8));
    p.marginLeft = 1.5f + static_cast<float>(pick(10));
    p.marginRight = p.marginLeft + 0.25f + static_cast<float>(pick(5));
    p.marginTop = p.marginRight + 0.5f + static_cast<float>(pick(5));
    p.marginBottom = p.marginTop + 0.75f + static_cast<float>(pick(5));
    d.grid.shown = chance(2) ? -1 : 0;
    d.grid.width = 1.25f + static_cast<float>(pick(8));
    d.grid.height = d.grid.width + 0.5f + static_cast<float>(pick(4));
    for (size_t i = 1; i < d.palette.size(); ++i) d.palette[i] = color();
  }

  // Layers with numbers of their own, the largest a layer can have among them; returns them.
  std::vector<int16_t> layers(Design& d) {
    std::vector<int16_t> numbers = {1};
    const int extra = 1 + pick(4);
    for (int i = 0; i < extra; ++i) {
      const int16_t n = i == 0 ? int16_t{32767} : static_cast<int16_t>(2 + i * 7 + pick(7));
      const int row = d.layers.insertRow(1);
      d.layers.setCell(row, kLayerNumber, std::to_string(n));
      d.layers.setCell(row, kLayerName, of(std::vector<std::string>{"上段", "明細,2", "ﾌｯﾀｰ"}));
      numbers.push_back(n);
    }
    return numbers;
  }

  // Adds a record at its own coordinates, as placing it would (a text measured in the design's
  // unit).
  static void Place(Design& d, const ObjectRecord& r, const TextMeasurer& measurer) {
    const bool point = IsPlacedAtPoint(r.Kind);
    const Extent size =
        r.Kind == ObjectKind::Text ? MeasureText(measurer, r, d.page.scaleMode) : Extent{};
    AddObject(d.objects, r,
              point ? WorkingRect{r.X1, r.Y1, r.X1, r.Y1} : WorkingRect{r.X1, r.Y1, r.X2, r.Y2},
              size, r.Layer);
  }

  // A whole design: settings, layers and `objects` objects of every kind, texts measured in
  // the design's unit as placing them would.
  Design design(int objects, const TextMeasurer& measurer) {
    Design d;
    settings(d);
    const std::vector<int16_t> numbers = layers(d);
    for (int i = 0; i < objects; ++i) {
      Place(d, record(static_cast<ObjectKind>(1 + pick(6)), numbers), measurer);
    }
    RenumberRows(d.objects);
    return d;
  }

  std::mt19937& rng() { return rng_; }

 private:
  std::mt19937 rng_;
};

}  // namespace qf::test
