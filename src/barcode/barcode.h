#pragma once

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "document/object_record.h"
#include "document/typed_object.h"

namespace qf {

// A filled rectangle of a symbol: a bar, or a run of dark modules in a row.
struct BarRect {
  double x = 0;
  double y = 0;
  double width = 0;
  double height = 0;

  bool operator==(const BarRect&) const = default;
};

// An encoded symbol in its own units: the whole symbol, quiet zones included, is width by height.
struct BarcodeSymbol {
  double width = 0;
  double height = 0;
  double module = 1;  // the narrowest bar or module across
  std::vector<BarRect> bars;
  std::string digits;  // what a one-dimensional symbol prints under its bars (UTF-8), "" for none

  bool operator==(const BarcodeSymbol&) const = default;
};

// Why a value cannot be encoded, in the user's words (Japanese).
struct BarcodeError {
  std::string reason;

  bool operator==(const BarcodeError&) const = default;
};

using EncodedBarcode = std::variant<BarcodeSymbol, BarcodeError>;

// What a symbol is encoded for: to print, or only to know whether and how large it prints.
enum class BarcodeUse { Print, Check };

// The symbol of a value (UTF-8) in a symbology, or why there is none. A value is never changed to
// make it fit: a symbol printed always reads back as the value given (a JAN's computed check
// digit aside, which readers expect). A QR symbol is libzint's matrix, a run of dark modules in
// a row a rectangle; the others libzint's vector output. For a check, a QR symbol keeps its
// first mask: its size is the same, its look not the best.
EncodedBarcode EncodeBarcode(Symbology symbology, std::string_view value,
                             BarcodeUse use = BarcodeUse::Print);

// A symbol placed in a box of the page.
struct PlacedBarcode {
  std::vector<BarRect> bars;  // page units
  // The same bars in the symbol's own units, and where those lie on the page: a bar's page x is
  // left + x * scaleX (a document can keep the small numbers under one transformation).
  std::vector<BarRect> symbolBars;
  double left = 0;
  double top = 0;
  double scaleX = 1;
  double scaleY = 1;
  // The digits' line: its top-left, and the width they are centred in; no line when the
  // symbol has no digits or the box has no room for them.
  bool digitsShown = false;
  std::string digits;
  double digitsX = 0;
  double digitsY = 0;
  double digitsWidth = 0;
};

// The narrowest module a printed symbol may have: narrower ones blur into their neighbours on
// ordinary printers and scanners stop reading them.
inline constexpr double kMinModuleMm = 0.2;

// Lays a symbol into the box x1, y1 to x2, y2 (any corner order): a one-dimensional symbol
// stretched to the box, its digits' line of `digitsHeight` page units (0: none) at the bottom;
// a two-dimensional one as the largest square that fits, centred. A box too small for modules
// of kMinModuleMm (`mmPerUnit` millimetres to a page unit) gives the reason instead.
std::variant<PlacedBarcode, BarcodeError> PlaceBarcode(const BarcodeSymbol& symbol, bool square,
                                                       double x1, double y1, double x2, double y2,
                                                       double digitsHeight, double mmPerUnit);

// The font the digits under a one-dimensional symbol are printed in.
inline constexpr char kBarcodeDigitsFont[] = "ＭＳ ゴシック";

using BarcodeDrawing = std::variant<PlacedBarcode, BarcodeError>;

// A barcode's symbol placed in its box on a page of `scaleMode` units (its digits' line as tall
// as their point size and a little leading), or why it cannot be printed.
BarcodeDrawing PlaceBarcodeObject(const BarcodeObject& barcode, const WorkingRect& box,
                                  int16_t scaleMode, BarcodeUse use = BarcodeUse::Print);

}  // namespace qf
