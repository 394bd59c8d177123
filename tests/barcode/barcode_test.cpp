// Encoding refuses every value its symbol would not read back as, and placing fits the symbol
// to its box: stretched, squared or refused as too small.
#include <gtest/gtest.h>

#include <string>

#include "barcode/barcode.h"

namespace qf {
namespace {

std::string Refusal(Symbology s, std::string_view value) {
  const EncodedBarcode e = EncodeBarcode(s, value);
  const auto* error = std::get_if<BarcodeError>(&e);
  return error ? error->reason : std::string();
}

const BarcodeSymbol& Symbol(const EncodedBarcode& e) {
  return std::get<BarcodeSymbol>(e);
}

// The lengths each numeric symbol takes and the first ones past them, and characters they do
// not carry; every symbology refuses an empty value.
TEST(EncodeBarcode, TakesWhatReadsBackAndRefusesTheRest) {
  struct Case {
    Symbology symbology;
    std::string value;
    bool taken;
  };
  const Case cases[] = {
      {Symbology::Jan13, "490123456789", true},     // 12: the check digit is computed
      {Symbology::Jan13, "4901234567894", true},    // 13: its check digit is right
      {Symbology::Jan13, "4901234567895", false},   // ... and wrong
      {Symbology::Jan13, "49012345678", false},     // 11
      {Symbology::Jan13, "49012345678941", false},  // 14
      {Symbology::Jan13, "49012345678A", false},
      {Symbology::Jan13, "4901234+67894", false},  // no add-on
      {Symbology::Jan8, "1234567", true},
      {Symbology::Jan8, "12345670", true},
      {Symbology::Jan8, "12345671", false},
      {Symbology::Jan8, "123456", false},
      {Symbology::Jan8, "123456789", false},
      {Symbology::Itf, "12", true},
      {Symbology::Itf, "12345678", true},
      {Symbology::Itf, "1234567", false},  // odd: never given a leading zero
      {Symbology::Itf, "123A", false},
      {Symbology::Code39, "ABC-123 $/+%.", true},
      {Symbology::Code39, "09AZ", true},  // each end of the digits and the letters
      {Symbology::Code39, "A:", false},   // past them
      {Symbology::Code39, "@A", false},
      {Symbology::Code39, "A[", false},
      {Symbology::Code39, "abc", false},  // never read as capitals
      {Symbology::Code39, "A*B", false},
      {Symbology::Nw7, "A123456B", true},
      {Symbology::Nw7, "123456", false},  // no start and stop characters
      {Symbology::Code128, "Slip-0042 abc", true},
      {Symbology::Code128, "請求", false},
      {Symbology::Qr, "請求書 No.0123 金額12,345円", true},
      {Symbology::Qr, std::string(5596, '1'), true},   // version 40 at level M holds 5596 digits
      {Symbology::Qr, std::string(5597, '1'), false},  // ... and no more
      {Symbology::Customer, "1060032", true},
      {Symbology::Customer, "1060032-3-2-1", true},
  };
  for (const Case& c : cases) {
    const std::string why = Refusal(c.symbology, c.value);
    EXPECT_EQ(why.empty(), c.taken)
        << static_cast<int>(c.symbology) << " " << c.value.substr(0, 20) << ": " << why;
  }
  for (int s = 0; s < kSymbologyCount; ++s) {
    EXPECT_EQ(Refusal(static_cast<Symbology>(s), ""), "値がありません") << s;
  }
  EXPECT_EQ(Refusal(Symbology::Jan13, "4901234567895"), "チェックデジットが正しくありません");
  EXPECT_EQ(Refusal(Symbology::Jan13, "49012345678A"), "JAN には数字しか使えません");
}

TEST(EncodeBarcode, DigitsUnderOneDimensionalSymbolsOnly) {
  EXPECT_EQ(Symbol(EncodeBarcode(Symbology::Jan13, "490123456789")).digits, "4901234567894");
  EXPECT_EQ(Symbol(EncodeBarcode(Symbology::Jan8, "1234567")).digits, "12345670");
  EXPECT_EQ(Symbol(EncodeBarcode(Symbology::Code39, "AB-1")).digits, "AB-1");  // no asterisks
  // Asterisks a value of another symbology carries are its own.
  EXPECT_EQ(Symbol(EncodeBarcode(Symbology::Code128, "*A1*")).digits, "*A1*");
  EXPECT_EQ(Symbol(EncodeBarcode(Symbology::Nw7, "A12B")).digits, "A12B");
  EXPECT_EQ(Symbol(EncodeBarcode(Symbology::Qr, "x")).digits, "");
  EXPECT_EQ(Symbol(EncodeBarcode(Symbology::Customer, "1060032")).digits, "");
  // A QR symbol is square with its quiet zone; bars lie inside the symbol.
  const BarcodeSymbol qr = Symbol(EncodeBarcode(Symbology::Qr, "請求書"));
  EXPECT_DOUBLE_EQ(qr.width, qr.height);
  for (const BarRect& b : qr.bars) {
    EXPECT_GE(b.x, 0);
    EXPECT_LE(b.x + b.width, qr.width + 1e-9);
  }
  // Quiet zones: a JAN's first bar stands 11 modules in.
  const BarcodeSymbol jan = Symbol(EncodeBarcode(Symbology::Jan13, "490123456789"));
  EXPECT_NEAR(jan.bars.front().x / jan.module, 11, 1e-6);
}

// The box in millimetres (one unit a millimetre), each corner order.
TEST(PlaceBarcode, StretchesSquaresAndRefusesBoxesTooSmall) {
  const BarcodeSymbol jan = Symbol(EncodeBarcode(Symbology::Jan13, "4901234567894"));
  const double modules = jan.width / jan.module;
  // The narrowest box whose modules are kMinModuleMm wide is taken; a hair narrower is not.
  const double least = modules * kMinModuleMm;
  EXPECT_TRUE(std::holds_alternative<PlacedBarcode>(
      PlaceBarcode(jan, false, 0, 0, least + 1e-9, 20, 0, 1)));
  const auto narrow = PlaceBarcode(jan, false, 0, 0, least * 0.999, 20, 0, 1);
  ASSERT_TRUE(std::holds_alternative<BarcodeError>(narrow));
  EXPECT_EQ(std::get<BarcodeError>(narrow).reason, "この幅では小さすぎて印刷できません");
  // Stretched to the box from either corner; the digits' line below the bars.
  for (const auto& [x1, x2] : {std::pair{10.0, 60.0}, {60.0, 10.0}}) {
    const auto placed = std::get<PlacedBarcode>(PlaceBarcode(jan, false, x1, 5, x2, 25, 4, 1));
    EXPECT_NEAR(placed.bars.front().x, 10 + 50 * jan.bars.front().x / jan.width, 1e-9);
    const BarRect& last = placed.bars.back();
    EXPECT_LE(last.x + last.width, 60 + 1e-9);
    EXPECT_NEAR(placed.bars.front().y + placed.bars.front().height, 21, 1e-9);
    EXPECT_TRUE(placed.digitsShown);
    EXPECT_DOUBLE_EQ(placed.digitsY, 21);
    EXPECT_EQ(placed.digits, "4901234567894");
  }
  // Digits that would take half the box or more are left off, the bars keep it all.
  const auto tall = std::get<PlacedBarcode>(PlaceBarcode(jan, false, 0, 0, 50, 8, 4, 1));
  EXPECT_FALSE(tall.digitsShown);
  const auto under = std::get<PlacedBarcode>(PlaceBarcode(jan, false, 0, 0, 50, 8.01, 4, 1));
  EXPECT_TRUE(under.digitsShown);
  // A QR symbol: the largest square, centred, in a wide box and a tall one.
  const BarcodeSymbol qr = Symbol(EncodeBarcode(Symbology::Qr, "INV-0123"));
  const auto wide = std::get<PlacedBarcode>(PlaceBarcode(qr, true, 0, 0, 60, 20, 4, 1));
  const auto high = std::get<PlacedBarcode>(PlaceBarcode(qr, true, 0, 0, 20, 60, 4, 1));
  EXPECT_FALSE(wide.digitsShown);
  const double side = 20 / qr.width;
  EXPECT_NEAR(wide.bars.front().x, 20 + qr.bars.front().x * side, 1e-9);
  EXPECT_NEAR(high.bars.front().y, 20 + qr.bars.front().y * side, 1e-9);
  EXPECT_NEAR(wide.bars.front().height, high.bars.front().height, 1e-9);
}

TEST(PlaceBarcodeObject, UsesThePageUnitForTheDigitsAndTheLeastModule) {
  BarcodeObject b{Symbology::Jan13, "4901234567894", "", 10, 0};
  // 10 points of digits with their leading: 12 / 72 inch, in millimetres (unit 6) and points (2).
  const auto mm = std::get<PlacedBarcode>(PlaceBarcodeObject(b, {0, 0, 40, 30}, 6));
  EXPECT_NEAR(mm.digitsY, 30 - 12 / 72.0 * 25.4, 1e-6);
  const auto pt = std::get<PlacedBarcode>(PlaceBarcodeObject(b, {0, 0, 120, 90}, 2));
  EXPECT_NEAR(pt.digitsY, 90 - 12, 1e-6);
  // 20 mm holds a JAN's 113 modules at 0.18 mm: too small; 56.7 points is 20 mm too.
  EXPECT_TRUE(std::holds_alternative<BarcodeError>(PlaceBarcodeObject(b, {0, 0, 20, 30}, 6)));
  EXPECT_TRUE(std::holds_alternative<BarcodeError>(PlaceBarcodeObject(b, {0, 0, 56.7, 90}, 2)));
  b.value = "x";
  EXPECT_EQ(std::get<BarcodeError>(PlaceBarcodeObject(b, {0, 0, 40, 30}, 6)).reason,
            "JAN には数字しか使えません");
}

}  // namespace
}  // namespace qf
