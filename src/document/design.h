#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "text_table.h"

namespace qf {

// Columns of the object list.
enum ObjectColumn : int {
  kColNumber = 0,
  kColKind = 1,
  kColLabel = 2,
  kColX1 = 3,
  kColY1 = 4,
  kColX2 = 5,
  kColY2 = 6,
  kColText = 7,
  kColField = 8,
  kColStyle = 9,
  kColSize = 10,
  kColBold = 11,
  kColItalic = 12,
  kColStrikethrough = 13,
  kColUnderline = 14,
  kColAlign = 15,
  kColColor = 16,
  kColLayer = 17,
  kObjectColumns = 18,
};

// Columns of the layer list.
enum LayerColumn : int {
  kLayerLock = 1,
  kLayerHide = 2,
  kLayerNumber = 3,
  kLayerName = 4,
  kLayerColumns = 5,
};

inline constexpr std::string_view kBaseLayerName = "ベースレイヤー";
inline constexpr std::string_view kLockMark = "■";
inline constexpr std::string_view kHideMark = "×";
inline constexpr std::string_view kSelectionMark = "●";

// Printer scale modes; the page unit of a design.
enum class ScaleMode : int16_t {
  User = 0,
  Twip = 1,
  Point = 2,
  Pixel = 3,
  Character = 4,
  Inch = 5,
  Millimetre = 6,
  Centimetre = 7,
};

// Page units per inch across (vertical = false) or down. Unknown modes count as twips.
double UnitsPerInch(int16_t scaleMode, bool vertical);

struct PageSettings {
  int16_t paperSize = 9;    // A4 until the printer says otherwise
  int16_t orientation = 1;  // 1 portrait, 2 landscape
  int16_t scaleMode = static_cast<int16_t>(ScaleMode::Millimetre);
  float marginLeft = 15;
  float marginRight = 10;
  float marginTop = 10;
  float marginBottom = 10;

  bool operator==(const PageSettings&) const = default;
};

struct GridSettings {
  int16_t shown = -1;  // -1 shown, 0 hidden
  float width = 5;
  float height = 5;

  bool operator==(const GridSettings&) const = default;
};

// Hatching colours: 0 is "no hatching" (white), 1 to 5 the user's colours.
using Palette = std::array<int32_t, 6>;

constexpr int32_t Rgb(int r, int g, int b) {
  return r + 256 * g + 65536 * b;
}

void P_InitPalette(Palette& palette);

TextTable MakeObjectList();
// The layer list with the base layer alone.
TextTable MakeLayerList();
// Makes the layer list the base layer alone.
void ResetToBaseLayer(TextTable& layers);

// One design: the object and layer lists (the only copy), page and grid settings, palette.
struct Design {
  Design();

  TextTable objects;
  TextTable layers;
  PageSettings page;
  GridSettings grid;
  Palette palette{};
};

// The first layer row carrying number n decides; a number no row carries is hidden and locked.
bool IsLayerVisible(const TextTable& layers, double n);
bool IsLayerLocked(const TextTable& layers, double n);

// Column 0 of every object row (from row `first` on) becomes its plain row number.
void RenumberRows(TextTable& objects, int first = 1);
// Column 0 of one row: "●" and the number when selected, the plain number otherwise.
void MarkRow(TextTable& objects, int row, bool selected);

}  // namespace qf
