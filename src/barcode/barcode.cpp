#include "barcode.h"

#include <zint.h>

#include "document/design.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <optional>

namespace qf {

namespace {

struct SymbolDeleter {
  void operator()(zint_symbol* s) const { ZBarcode_Delete(s); }
};
using ZintSymbol = std::unique_ptr<zint_symbol, SymbolDeleter>;

bool AllDigits(std::string_view v) {
  return std::all_of(v.begin(), v.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// What libzint's error numbers mean to the user; its own English text is not shown.
std::string ReasonOf(int code) {
  switch (code) {
    case ZINT_ERROR_TOO_LONG:
      return "値の長さがこのバーコードに合いません";
    case ZINT_ERROR_INVALID_CHECK:
      return "チェックデジットが正しくありません";
    case ZINT_ERROR_INVALID_DATA:
      return "このバーコードに使えない文字があります";
    default:
      return "このバーコードに符号化できない値です";
  }
}

// The checks libzint does not make, or makes by changing the value: it pads a short JAN with
// zeros, gives ITF an odd length a leading zero and reads lower-case letters as capitals.
std::optional<std::string> RefusedBeforeEncoding(Symbology s, std::string_view v) {
  if (v.empty()) return "値がありません";
  switch (s) {
    case Symbology::Jan13:
      if (!AllDigits(v)) return "JAN には数字しか使えません";
      if (v.size() != 12 && v.size() != 13) return "JAN13 は 12 桁か 13 桁の数字です";
      break;
    case Symbology::Jan8:
      if (!AllDigits(v)) return "JAN には数字しか使えません";
      if (v.size() != 7 && v.size() != 8) return "JAN8 は 7 桁か 8 桁の数字です";
      break;
    case Symbology::Itf:
      if (!AllDigits(v)) return "ITF には数字しか使えません";
      if (v.size() % 2 != 0) return "ITF は偶数桁の数字です";
      break;
    case Symbology::Code39:
      for (char c : v) {
        const bool ok = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') ||
                        std::string_view("-. $/+%").find(c) != std::string_view::npos;
        if (!ok) return "CODE39 には英大文字、数字と - . 空白 $ / + % しか使えません";
      }
      break;
    case Symbology::Qr:
      // libzint gives the Latin-1 yen sign Shift JIS's byte 0xA5, which readers give back as
      // the half-width middle dot: the symbol would not read as the value.
      if (v.find("\xC2\xA5") != std::string_view::npos) {
        return "¥ は読み取ると別の文字になります。全角の ￥ を使ってください";
      }
      break;
    case Symbology::Nw7:
    case Symbology::Code128:
    case Symbology::Customer:
      break;
  }
  return std::nullopt;
}

int ZintSymbology(Symbology s, std::string_view v) {
  switch (s) {
    case Symbology::Jan13:
      return v.size() == 13 ? BARCODE_EANX_CHK : BARCODE_EANX;
    case Symbology::Jan8:
      return v.size() == 8 ? BARCODE_EANX_CHK : BARCODE_EANX;
    case Symbology::Code39:
      return BARCODE_CODE39;
    case Symbology::Nw7:
      return BARCODE_CODABAR;
    case Symbology::Itf:
      return BARCODE_C25INTER;
    case Symbology::Code128:
      return BARCODE_CODE128;
    case Symbology::Qr:
      return BARCODE_QRCODE;
    case Symbology::Customer:
      return BARCODE_JAPANPOST;
  }
  return BARCODE_EANX;
}

// The digits a one-dimensional symbol shows: libzint's text without Code 39's asterisks.
std::string DigitsOf(Symbology s, const zint_symbol& z) {
  if (IsTwoDimensional(s) || s == Symbology::Customer) return {};
  std::string text(reinterpret_cast<const char*>(z.text));
  if (s == Symbology::Code39 && text.size() >= 2 && text.front() == '*' && text.back() == '*') {
    text = text.substr(1, text.size() - 2);
  }
  return text;
}

// A matrix symbol's dark modules inside its quiet zone, from libzint's own matrix (its vector
// output is built module by module, slower than the encoding itself): a rectangle a run of dark
// modules in a row, runs over the same columns of the rows below joining it.
BarcodeSymbol MatrixSymbol(const zint_symbol& z, int quiet) {
  BarcodeSymbol symbol;
  symbol.width = z.width + 2 * quiet;
  symbol.height = z.rows + 2 * quiet;
  symbol.module = 1;
  const auto dark = [&z](int row, int col) {
    return ((z.encoded_data[row][col / 8] >> (col % 8)) & 1) != 0;
  };
  // The rectangles reaching the row before, by the columns they span.
  std::map<std::pair<int, int>, size_t> open;
  std::map<std::pair<int, int>, size_t> next;
  for (int row = 0; row < z.rows; ++row) {
    next.clear();
    for (int col = 0; col < z.width;) {
      if (!dark(row, col)) {
        ++col;
        continue;
      }
      const int from = col;
      while (col < z.width && dark(row, col)) ++col;
      const auto above = open.find({from, col});
      if (above != open.end()) {
        symbol.bars[above->second].height += 1;
        next[{from, col}] = above->second;
        continue;
      }
      next[{from, col}] = symbol.bars.size();
      symbol.bars.push_back({static_cast<double>(quiet + from), static_cast<double>(quiet + row),
                             static_cast<double>(col - from), 1.0});
    }
    std::swap(open, next);
  }
  return symbol;
}

}  // namespace

EncodedBarcode EncodeBarcode(Symbology symbology, std::string_view value, BarcodeUse use) {
  if (auto refused = RefusedBeforeEncoding(symbology, value)) return BarcodeError{*refused};
  ZintSymbol z(ZBarcode_Create());
  if (!z) return BarcodeError{"バーコードを作るためのメモリが足りません"};
  z->symbology = ZintSymbology(symbology, value);
  z->input_mode = UNICODE_MODE;
  z->output_options = BARCODE_QUIET_ZONES;
  z->show_hrt = 0;
  if (symbology == Symbology::Qr) {
    z->option_1 = 2;  // error correction level M
    // The mask changes neither the size nor whether the value fits: a check takes the first
    // rather than scoring all eight.
    if (use == BarcodeUse::Check) z->option_3 = 1 << 8;
  }
  const auto* bytes = reinterpret_cast<const unsigned char*>(value.data());
  const int encoded = ZBarcode_Encode(z.get(), bytes, static_cast<int>(value.size()));
  if (encoded >= ZINT_ERROR) return BarcodeError{ReasonOf(encoded)};
  if (IsTwoDimensional(symbology)) {
    constexpr int kQrQuietZone = 4;
    if (z->width <= 0 || z->rows <= 0) return BarcodeError{ReasonOf(ZINT_ERROR)};
    return MatrixSymbol(*z, kQrQuietZone);
  }
  const int drawn = ZBarcode_Buffer_Vector(z.get(), 0);
  if (drawn >= ZINT_ERROR || !z->vector) return BarcodeError{ReasonOf(drawn)};
  BarcodeSymbol symbol;
  symbol.width = z->vector->width;
  symbol.height = z->vector->height;
  double left = symbol.width;
  double right = 0;
  for (const zint_vector_rect* r = z->vector->rectangles; r; r = r->next) {
    symbol.bars.push_back({r->x, r->y, r->width, r->height});
    left = std::min<double>(left, r->x);
    right = std::max<double>(right, r->x + r->width);
  }
  if (symbol.bars.empty() || z->width <= 0 || right <= left) {
    return BarcodeError{ReasonOf(ZINT_ERROR)};
  }
  // In modules, as a matrix symbol is: libzint's vector counts two units a module, and the
  // smaller numbers are what a PDF stores of each bar.
  const double module = (right - left) / z->width;
  for (BarRect& b : symbol.bars)
    b = {b.x / module, b.y / module, b.width / module, b.height / module};
  symbol.width /= module;
  symbol.height /= module;
  symbol.digits = DigitsOf(symbology, *z);
  return symbol;
}

std::variant<PlacedBarcode, BarcodeError> PlaceBarcode(const BarcodeSymbol& symbol, bool square,
                                                       double x1, double y1, double x2, double y2,
                                                       double digitsHeight, double mmPerUnit) {
  double left = std::min(x1, x2);
  double top = std::min(y1, y2);
  double width = std::abs(x2 - x1);
  double height = std::abs(y2 - y1);
  PlacedBarcode placed;
  if (square) {
    const double side = std::min(width, height);
    left += (width - side) / 2;
    top += (height - side) / 2;
    width = height = side;
  } else if (digitsHeight > 0 && !symbol.digits.empty() && digitsHeight < height / 2) {
    // The digits take their line only where the bars keep most of the box.
    height -= digitsHeight;
    placed.digitsShown = true;
    placed.digits = symbol.digits;
    placed.digitsX = left;
    placed.digitsY = top + height;
    placed.digitsWidth = width;
  }
  const double sx = width / symbol.width;
  const double sy = height / symbol.height;
  if (symbol.module * sx * mmPerUnit < kMinModuleMm) {
    return BarcodeError{"この幅では小さすぎて印刷できません"};
  }
  placed.symbolBars = symbol.bars;
  placed.left = left;
  placed.top = top;
  placed.scaleX = sx;
  placed.scaleY = sy;
  placed.bars.reserve(symbol.bars.size());
  for (const BarRect& b : symbol.bars) {
    placed.bars.push_back({left + b.x * sx, top + b.y * sy, b.width * sx, b.height * sy});
  }
  return placed;
}

BarcodeDrawing PlaceBarcodeObject(const BarcodeObject& barcode, const WorkingRect& box,
                                  int16_t scaleMode, BarcodeUse use) {
  const EncodedBarcode encoded = EncodeBarcode(barcode.symbology, barcode.value, use);
  if (const auto* error = std::get_if<BarcodeError>(&encoded)) return *error;
  const double digitsHeight =
      static_cast<double>(barcode.digitsSize) * 1.2 / 72.0 * UnitsPerInch(scaleMode, true);
  return PlaceBarcode(std::get<BarcodeSymbol>(encoded), IsTwoDimensional(barcode.symbology), box.x1,
                      box.y1, box.x2, box.y2, digitsHeight, 25.4 / UnitsPerInch(scaleMode, false));
}

}  // namespace qf
