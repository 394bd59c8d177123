#include "design.h"

#include <algorithm>
#include <string>

#include "number_text.h"

namespace qf {

double UnitsPerInch(int16_t scaleMode, bool vertical) {
  switch (static_cast<ScaleMode>(scaleMode)) {
    case ScaleMode::Point:
      return 72;
    case ScaleMode::Pixel:
      return 96;
    case ScaleMode::Character:
      // A character cell is 120 twips wide and 240 twips high.
      return vertical ? 6 : 12;
    case ScaleMode::Inch:
      return 1;
    case ScaleMode::Millimetre:
      return 25.4;
    case ScaleMode::Centimetre:
      return 2.54;
    case ScaleMode::User:
    case ScaleMode::Twip:
    default:
      return 1440;
  }
}

void P_InitPalette(Palette& palette) {
  palette = {Rgb(255, 255, 255), Rgb(224, 224, 224), Rgb(192, 192, 192),
             Rgb(160, 160, 160), Rgb(128, 128, 128), Rgb(96, 96, 96)};
}

TextTable MakeObjectList() {
  return TextTable(kObjectColumns, {"", "ﾀｲﾌﾟ", "ﾗﾍﾞﾙ", "X1", "Y1", "X2", "Y2", "ﾃｷｽﾄ/ﾌｧｲﾙ名/網掛",
                                    "ﾌｨｰﾙﾄﾞ/変数/半径", "ﾌｫﾝﾄ/線種/方向", "ｻｲｽﾞ/太さ/回数", "B",
                                    "I", "S", "U", "A", "表示色", "ﾚｲﾔ"});
}

TextTable MakeLayerList() {
  TextTable layers(kLayerColumns, {"", "ﾛｯｸ", "非表示", "No.", "名 称"});
  ResetToBaseLayer(layers);
  return layers;
}

void ResetToBaseLayer(TextTable& layers) {
  layers.clearItems();
  const int row = layers.appendRow();
  layers.setCell(row, kLayerNumber, "1");
  layers.setCell(row, kLayerName, std::string(kBaseLayerName));
}

Design::Design() : objects(MakeObjectList()), layers(MakeLayerList()) {
  P_InitPalette(palette);
}

namespace {
int FindLayerRow(const TextTable& layers, double n) {
  for (int r = 1; r < layers.rowCount(); ++r) {
    if (NumericPrefix(layers.cell(r, kLayerNumber)) == n) return r;
  }
  return 0;
}
}  // namespace

bool IsLayerVisible(const TextTable& layers, double n) {
  const int row = FindLayerRow(layers, n);
  return row > 0 && layers.cell(row, kLayerHide).empty();
}

bool IsLayerLocked(const TextTable& layers, double n) {
  const int row = FindLayerRow(layers, n);
  return row == 0 || !layers.cell(row, kLayerLock).empty();
}

void RenumberRows(TextTable& objects, int first) {
  for (int r = std::max(first, 1); r < objects.rowCount(); ++r) MarkRow(objects, r, false);
}

void MarkRow(TextTable& objects, int row, bool selected) {
  std::string text = selected ? std::string(kSelectionMark) : std::string();
  text += std::to_string(row);
  if (objects.cell(row, kColNumber) != text) objects.setCell(row, kColNumber, std::move(text));
}

}  // namespace qf
