#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace qf {

// The number at the start of a text: leading blanks skipped, then the longest run that forms a
// number (sign, digits, point, exponent). A text that does not start with a number, or whose
// number does not fit a double, reads as 0.
double NumericPrefix(std::string_view text);

// Like NumericPrefix, but says whether any digits were found at all.
std::optional<double> NumericPrefixIfAny(std::string_view text);

// Rounds half to even, as the integer conversions of the target language do. Values that do not
// fit Int give nullopt.
template <class Int>
std::optional<Int> RoundToInt(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  const double r = std::nearbyint(value);
  if (r < static_cast<double>(std::numeric_limits<Int>::min()) ||
      r > static_cast<double>(std::numeric_limits<Int>::max())) {
    return std::nullopt;
  }
  return static_cast<Int>(r);
}

// Narrowing to single precision; values beyond its range give nullopt.
std::optional<float> ToSingle(double value);

// "###0.000": at least one integer digit, exactly three decimals, minus sign for negatives.
std::string FormatFixed3(double value);

// Shortest decimal text: up to 15 significant digits for a Double, 7 for a Single; exponent
// form (1E+15, 1E-05) only outside the ordinary range.
std::string FormatDouble(double value);
std::string FormatSingle(float value);

// Colour cell: "&H" + eight upper-case hex digits + "&" (255 becomes &H000000FF&).
std::string ColorCell(int32_t color);
// Reads a colour cell: "&H" introduces hex digits (a trailing "&" is allowed), anything else is a
// decimal number. Unreadable text gives 0.
int32_t ParseColorCell(std::string_view text);

// Colour in the design file: upper-case hex digits without leading zeros (black is 0).
std::string FileColorText(int32_t color);
// Reads a design-file colour field as hex digits; nullopt when it does not fit 32 bits.
std::optional<int32_t> ParseFileColor(std::string_view field);

// Trims blanks (spaces and tabs) at both ends.
std::string_view TrimBlanks(std::string_view text);

}  // namespace qf
