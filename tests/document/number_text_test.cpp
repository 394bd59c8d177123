#include "document/number_text.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace qf {
namespace {

TEST(NumericPrefix, ReadsTheLongestLeadingNumber) {
  EXPECT_DOUBLE_EQ(NumericPrefix("12.5abc"), 12.5);
  EXPECT_DOUBLE_EQ(NumericPrefix(""), 0);
  EXPECT_DOUBLE_EQ(NumericPrefix("   -3"), -3);
  EXPECT_DOUBLE_EQ(NumericPrefix("abc12"), 0);
  EXPECT_DOUBLE_EQ(NumericPrefix(".5"), 0.5);
  EXPECT_DOUBLE_EQ(NumericPrefix("-"), 0);
  EXPECT_DOUBLE_EQ(NumericPrefix("1e3x"), 1000);
  EXPECT_DOUBLE_EQ(NumericPrefix("1e"), 1);  // an exponent counts only with digits
  EXPECT_DOUBLE_EQ(NumericPrefix("2E-1"), 0.2);
  EXPECT_DOUBLE_EQ(NumericPrefix("3Layer"), 3);
  EXPECT_DOUBLE_EQ(NumericPrefix("1e999"), 0);  // does not fit: no number
  EXPECT_FALSE(NumericPrefixIfAny("  x").has_value());
  EXPECT_DOUBLE_EQ(NumericPrefix(std::string(400, '9')), 0);  // overflows too
  EXPECT_DOUBLE_EQ(NumericPrefix("1D3"), 1000);               // the target language's D
  EXPECT_DOUBLE_EQ(NumericPrefix("-2.5e3"), -2500);
  // Zeros between digits count as digits: 17 of them are read exactly, not rounded twice.
  EXPECT_EQ(NumericPrefix("1000000000000000.5"), 1000000000000000.5);
}

TEST(RoundToInt, RoundsHalfToEvenAndRefusesWhatDoesNotFit) {
  EXPECT_EQ(RoundToInt<int16_t>(2.5), 2);
  EXPECT_EQ(RoundToInt<int16_t>(3.5), 4);
  EXPECT_EQ(RoundToInt<int16_t>(-1.4), -1);
  EXPECT_FALSE(RoundToInt<int16_t>(40000).has_value());
  EXPECT_FALSE(RoundToInt<int32_t>(2e9 * 2).has_value());
  EXPECT_EQ(RoundToInt<int64_t>(2000000000), 2000000000);
}

TEST(FormatFixed3, AlwaysThreeDecimalsRoundingHalfAwayFromZero) {
  EXPECT_EQ(FormatFixed3(12), "12.000");
  EXPECT_EQ(FormatFixed3(-12.5), "-12.500");
  EXPECT_EQ(FormatFixed3(0.25), "0.250");
  EXPECT_EQ(FormatFixed3(0.0005), "0.001");
  EXPECT_EQ(FormatFixed3(2.0005), "2.001");
  EXPECT_EQ(FormatFixed3(999.9995), "1000.000");
  EXPECT_EQ(FormatFixed3(-0.0001), "0.000");  // no negative zero
  EXPECT_EQ(FormatFixed3(0.1 + 0.2), "0.300");
  EXPECT_EQ(FormatFixed3(1e20), "100000000000000000000.000");
}

TEST(FormatDouble, ShortestTextUpToFifteenDigits) {
  EXPECT_EQ(FormatDouble(12), "12");
  EXPECT_EQ(FormatDouble(12.5), "12.5");
  EXPECT_EQ(FormatDouble(0.25), "0.25");
  EXPECT_EQ(FormatDouble(-3), "-3");
  EXPECT_EQ(FormatDouble(-0.0), "0");
  EXPECT_EQ(FormatDouble(0.1 + 0.2), "0.3");
  EXPECT_EQ(FormatDouble(123456789012345.0), "123456789012345");
  EXPECT_EQ(FormatDouble(1e15), "1E+15");
  EXPECT_EQ(FormatDouble(0.0001), "0.0001");
  EXPECT_EQ(FormatDouble(0.00001), "1E-05");
  EXPECT_EQ(FormatDouble(-1.5e-7), "-1.5E-07");
  EXPECT_EQ(FormatDouble(1.0 / 3), "0.333333333333333");
  EXPECT_EQ(FormatDouble(100), "100");
}

TEST(FormatSingle, ShortestTextUpToSevenDigits) {
  EXPECT_EQ(FormatSingle(10.5f), "10.5");
  EXPECT_EQ(FormatSingle(0.1f), "0.1");
  EXPECT_EQ(FormatSingle(2.5f), "2.5");
  EXPECT_EQ(FormatSingle(1234567.f), "1234567");
  EXPECT_EQ(FormatSingle(16777216.f), "1.677722E+07");
  EXPECT_EQ(FormatSingle(0.f), "0");
}

// Every exponent a Double or Single can have: the text reads back as the value, and the
// exponent is written as the target language does, at least two digits ("1E-10", "1E+09").
TEST(FormatNumbers, ExponentsAtEveryBoundaryReadBack) {
  EXPECT_EQ(FormatDouble(1e-10), "1E-10");
  EXPECT_EQ(FormatDouble(-2.5e-9), "-2.5E-09");
  EXPECT_EQ(FormatDouble(1e100), "1E+100");
  EXPECT_EQ(FormatSingle(1e10f), "1E+10");
  EXPECT_EQ(FormatSingle(3e-5f), "3E-05");
  for (int e = -300; e <= 300; ++e) {
    for (const char* m : {"1", "-4.25", "9.875", "1.23456"}) {
      const double v = std::strtod((m + std::string("e") + std::to_string(e)).c_str(), nullptr);
      const std::string d = FormatDouble(v);
      EXPECT_DOUBLE_EQ(NumericPrefix(d), v) << d;
      const size_t at = d.find('E');
      const bool plain = e >= -4 && e < 15;
      ASSERT_EQ(at == std::string::npos, plain) << d;
      if (!plain) {
        EXPECT_EQ(d.substr(at + 2), (std::abs(e) < 10 ? "0" : "") + std::to_string(std::abs(e)))
            << d;
      }
      if (e < -37 || e > 37) continue;
      const auto f = static_cast<float>(v);
      EXPECT_FLOAT_EQ(static_cast<float>(NumericPrefix(FormatSingle(f))), f) << FormatSingle(f);
    }
  }
}

TEST(Colors, CellAndFileForms) {
  EXPECT_EQ(ColorCell(255), "&H000000FF&");
  EXPECT_EQ(ColorCell(255 * 65536), "&H00FF0000&");
  EXPECT_EQ(ColorCell(-1), "&HFFFFFFFF&");
  EXPECT_EQ(ParseColorCell("&H00FF0000&"), 16711680);
  EXPECT_EQ(ParseColorCell("&hff"), 255);
  EXPECT_EQ(ParseColorCell("&HFFFFFFFF&"), -1);
  EXPECT_EQ(ParseColorCell("123"), 123);
  EXPECT_EQ(ParseColorCell("&H"), 0);
  EXPECT_EQ(ParseColorCell("&H1FFFFFFFF&"), 0);  // does not fit 32 bits
  EXPECT_EQ(ParseColorCell("red"), 0);
  EXPECT_EQ(FileColorText(0), "0");
  EXPECT_EQ(FileColorText(255), "FF");
  EXPECT_EQ(FileColorText(0xE0E0E0), "E0E0E0");
  EXPECT_EQ(ParseFileColor("FF"), 255);
  EXPECT_EQ(ParseFileColor("ffffffff"), -1);
  EXPECT_EQ(ParseFileColor(""), 0);
  EXPECT_FALSE(ParseFileColor("123456789").has_value());
  // Every hex digit, written in either case, reads back in both forms.
  for (const uint32_t v : {0x01234567u, 0x89ABCDEFu, 0xFEDCBA98u, 0x0A0B0C0Du}) {
    const auto color = static_cast<int32_t>(v);
    std::string cell = ColorCell(color);
    std::string file = FileColorText(color);
    EXPECT_EQ(ParseColorCell(cell), color) << cell;
    EXPECT_EQ(ParseFileColor(file), color) << file;
    for (char& c : cell) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (char& c : file) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(ParseColorCell(cell), color) << cell;
    EXPECT_EQ(ParseFileColor(file), color) << file;
  }
}

// Each limit from both sides: the last value taken and the first refused; each blank the
// readers skip, and the characters that look blank but are not.
TEST(NumberText, LimitsAndBlanksFromBothSides) {
  EXPECT_EQ(RoundToInt<int16_t>(32767.4), 32767);
  EXPECT_FALSE(RoundToInt<int16_t>(32767.5).has_value());  // half to even: 32768
  EXPECT_EQ(RoundToInt<int16_t>(-32768.5), -32768);
  EXPECT_FALSE(RoundToInt<int16_t>(-32769).has_value());
  EXPECT_EQ(RoundToInt<int32_t>(2147483647.0), 2147483647);
  EXPECT_FALSE(RoundToInt<int32_t>(2147483648.0).has_value());
  EXPECT_EQ(RoundToInt<int32_t>(-2147483648.0), std::numeric_limits<int32_t>::min());
  EXPECT_FALSE(RoundToInt<int32_t>(-2147483649.0).has_value());
  EXPECT_FALSE(RoundToInt<int32_t>(std::nan("")).has_value());
  const double most = std::numeric_limits<float>::max();
  EXPECT_EQ(ToSingle(most), std::numeric_limits<float>::max());
  EXPECT_EQ(ToSingle(-most), -std::numeric_limits<float>::max());
  EXPECT_FALSE(ToSingle(std::nextafter(most, 1e300)).has_value());
  EXPECT_FALSE(ToSingle(-std::nextafter(most, 1e300)).has_value());
  EXPECT_FALSE(ToSingle(HUGE_VAL).has_value());

  for (const char* blank : {" ", "\t", " \t "}) {
    const std::string b = blank;
    EXPECT_EQ(TrimBlanks(b + "7 7" + b), "7 7");
    EXPECT_EQ(TrimBlanks(b), "");
    EXPECT_DOUBLE_EQ(NumericPrefix(b + "7"), 7);
    EXPECT_EQ(ParseColorCell(b + "&HFF&" + b), 255);
    EXPECT_EQ(ParseFileColor(b + "FF" + b), 255);
  }
  for (const char* notBlank : {"\r", "\n", "\v", "　"}) {
    const std::string n = notBlank;
    EXPECT_EQ(TrimBlanks(n + "7" + n), n + "7" + n);
    EXPECT_DOUBLE_EQ(NumericPrefix(n + "7"), 0);
  }
  // A hex number ends at the first character that is not a digit of either case.
  for (const char* end : {"/", ":", "@", "G", "`", "g"}) {
    EXPECT_EQ(ParseFileColor(std::string("A9") + end + "1"), 0xA9) << end;
    EXPECT_EQ(ParseColorCell(std::string("&Hf0") + end + "1"), 0xF0) << end;
  }
  EXPECT_EQ(ParseColorCell("&H0FFFFFFFF&"), -1);  // nine digits, still 32 bits
  EXPECT_EQ(ParseColorCell("&H"), 0);
  EXPECT_EQ(ParseColorCell("H12"), 0);
  EXPECT_EQ(ParseColorCell("&12"), 0);
}

}  // namespace
}  // namespace qf
