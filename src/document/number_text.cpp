#include "number_text.h"

#include <array>
#include <charconv>
#include <cstdlib>

namespace qf {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Length of the number at the start of s (after blanks were skipped), 0 when there is none.
size_t NumberLength(std::string_view s, bool& anyDigits) {
  size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  size_t digits = 0;
  while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
  }
  anyDigits = digits > 0;
  if (!anyDigits) return 0;
  // An exponent counts only when digits follow it.
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
    size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    if (j < s.size() && IsDigit(s[j])) {
      while (j < s.size() && IsDigit(s[j])) ++j;
      i = j;
    }
  }
  return i;
}

// Splits scientific text "d.ddde±x" into its digits and exponent.
void SplitScientific(std::string_view text, std::string& digits, int& exponent) {
  digits.clear();
  size_t i = 0;
  for (; i < text.size() && text[i] != 'e'; ++i) {
    if (text[i] != '.') digits.push_back(text[i]);
  }
  exponent = 0;
  std::from_chars(text.data() + i + 1 + (text[i + 1] == '+' ? 1 : 0), text.data() + text.size(),
                  exponent);
}

// Shortest text of a value rounded to `digits` significant digits, laid out like %G without
// trailing zeros: exponent form only below 1E-4 and from 10^digits on.
template <class Float>
std::string FormatSignificant(Float value, int digits) {
  if (!std::isfinite(value) || value == 0) return "0";  // no "-0"
  // Most values are whole thousandths (they come from "###0.000" cells). Below the limit two
  // such values are never the same Float, so when the thousandths read back as the value they
  // are its shortest text.
  const double limit = digits > 7 ? 1e12 : 8192;
  if (std::fabs(static_cast<double>(value)) < limit) {
    const long long n = std::llround(static_cast<double>(value) * 1000.0);
    if (n != 0 && static_cast<Float>(static_cast<double>(n) / 1000.0) == value) {
      const unsigned long long a =
          n < 0 ? static_cast<unsigned long long>(-n) : static_cast<unsigned long long>(n);
      std::string out = n < 0 ? "-" : "";
      out += std::to_string(a / 1000);
      unsigned long long f = a % 1000;
      if (f != 0) {
        char frac[4] = {static_cast<char>('0' + f / 100), static_cast<char>('0' + f / 10 % 10),
                        static_cast<char>('0' + f % 10), '\0'};
        size_t len = 3;
        while (frac[len - 1] == '0') --len;
        out += '.';
        out.append(frac, len);
      }
      return out;
    }
  }
  const bool negative = value < 0;
  if (negative) value = -value;
  std::array<char, 64> buf{};
  // The shortest text that reads back as the value is what rounding to `digits` digits gives,
  // as long as it has no more digits than that; only longer ones need rounding.
  auto res =
      std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::scientific);
  std::string mantissa;
  int exponent = 0;
  SplitScientific(std::string_view(buf.data(), static_cast<size_t>(res.ptr - buf.data())), mantissa,
                  exponent);
  if (static_cast<int>(mantissa.size()) > digits) {
    res = std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::scientific,
                        digits - 1);
    SplitScientific(std::string_view(buf.data(), static_cast<size_t>(res.ptr - buf.data())),
                    mantissa, exponent);
  }
  while (mantissa.size() > 1 && mantissa.back() == '0') mantissa.pop_back();
  std::string out = negative ? "-" : "";
  if (exponent < -4 || exponent >= digits) {
    out += mantissa[0];
    if (mantissa.size() > 1) {
      out += '.';
      out.append(mantissa, 1);
    }
    out += 'E';
    out += exponent < 0 ? '-' : '+';
    const int a = exponent < 0 ? -exponent : exponent;
    if (a < 10) out += '0';
    out += std::to_string(a);
    return out;
  }
  if (exponent < 0) {
    out += "0.";
    out.append(static_cast<size_t>(-exponent - 1), '0');
    out += mantissa;
    return out;
  }
  const size_t intDigits = static_cast<size_t>(exponent) + 1;
  if (mantissa.size() <= intDigits) {
    out += mantissa;
    out.append(intDigits - mantissa.size(), '0');
  } else {
    out.append(mantissa, 0, intDigits);
    out += '.';
    out.append(mantissa, intDigits);
  }
  return out;
}

// Plain decimals of up to 15 digits without exponent, the form nearly every cell and field
// has, read in one pass: the digits and the power of ten are exact doubles, so one division
// rounds correctly. Anything else is left to the general reader (nullopt).
std::optional<double> ParseShortDecimal(std::string_view s) {
  constexpr double kPowers[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  size_t i = 0;
  const bool negative = i < s.size() && s[i] == '-';
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) ++i;
  uint64_t mantissa = 0;
  int significant = 0;
  int digits = 0;
  int fraction = -1;
  for (; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '.') {
      if (fraction >= 0) break;
      fraction = 0;
      continue;
    }
    if (!IsDigit(c)) break;
    ++digits;
    if (mantissa != 0 || c != '0') ++significant;
    if (significant > 15) return std::nullopt;
    mantissa = mantissa * 10 + static_cast<uint64_t>(c - '0');
    if (fraction >= 0) ++fraction;
  }
  if (digits == 0 || fraction > 15) return std::nullopt;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
    return std::nullopt;
  }
  double v = static_cast<double>(mantissa);
  if (fraction > 0) v /= kPowers[fraction];
  return negative ? -v : v;
}

}  // namespace

std::optional<double> NumericPrefixIfAny(std::string_view text) {
  size_t start = 0;
  while (start < text.size() && IsBlank(text[start])) ++start;
  std::string_view s = text.substr(start);
  if (auto fast = ParseShortDecimal(s)) return fast;
  bool anyDigits = false;
  const size_t len = NumberLength(s, anyDigits);
  if (!anyDigits) return std::nullopt;
  std::string_view number = s.substr(0, len);
  bool negative = false;
  if (number[0] == '+' || number[0] == '-') {
    negative = number[0] == '-';
    number.remove_prefix(1);
  }
  // from_chars knows no "D" exponent.
  std::string replaced;
  const size_t d = number.find_first_of("dD");
  if (d != std::string_view::npos) {
    replaced.assign(number);
    replaced[d] = 'E';
    number = replaced;
  }
  double v = 0;
  const auto res = std::from_chars(number.data(), number.data() + number.size(), v);
  if (res.ec != std::errc() || !std::isfinite(v)) return 0.0;
  return negative ? -v : v;
}

double NumericPrefix(std::string_view text) {
  return NumericPrefixIfAny(text).value_or(0.0);
}

std::optional<float> ToSingle(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  if (std::fabs(value) > static_cast<double>(std::numeric_limits<float>::max())) {
    return std::nullopt;
  }
  return static_cast<float>(value);
}

std::string FormatFixed3(double value) {
  if (!std::isfinite(value)) return "0.000";
  if (std::fabs(value) < 1e12) {
    // Thousandths fit a 64-bit integer exactly; llround rounds half away from zero.
    const long long n = std::llround(value * 1000.0);
    const unsigned long long a =
        n < 0 ? static_cast<unsigned long long>(-n) : static_cast<unsigned long long>(n);
    std::string out = n < 0 ? "-" : "";
    out += std::to_string(a / 1000);
    const unsigned long long f = a % 1000;
    out += '.';
    out += static_cast<char>('0' + f / 100);
    out += static_cast<char>('0' + f / 10 % 10);
    out += static_cast<char>('0' + f % 10);
    return out;
  }
  // Round half away from zero on the decimal value as written with 15 digits, so that 0.0005
  // and 2.0005 round up as they read.
  std::array<char, 400> buf{};
  auto [end, ec] =
      std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::fixed);
  if (ec != std::errc()) return "0.000";
  std::string digits(buf.data(), end);
  bool negative = false;
  if (!digits.empty() && digits[0] == '-') {
    negative = true;
    digits.erase(0, 1);
  }
  size_t point = digits.find('.');
  if (point == std::string::npos) {
    point = digits.size();
    digits += '.';
  }
  digits.append(4, '0');
  // Keep three decimals; look at the fourth to round.
  const bool roundUp = digits[point + 4] >= '5';
  digits.erase(point + 4);
  if (roundUp) {
    size_t i = digits.size();
    while (i-- > 0) {
      if (digits[i] == '.') continue;
      if (digits[i] == '9') {
        digits[i] = '0';
        continue;
      }
      ++digits[i];
      break;
    }
    if (i == static_cast<size_t>(-1)) digits.insert(digits.begin(), '1');
  }
  if (digits.find_first_not_of("0.") == std::string::npos) negative = false;
  return negative ? "-" + digits : digits;
}

std::string FormatDouble(double value) {
  return FormatSignificant(value, 15);
}

std::string FormatSingle(float value) {
  return FormatSignificant(value, 7);
}

std::string ColorCell(int32_t color) {
  std::string out = "&H00000000&";
  auto v = static_cast<uint32_t>(color);
  for (size_t i = 9; i >= 2; --i, v >>= 4) out[i] = kHexDigits[v & 0xF];
  return out;
}

int32_t ParseColorCell(std::string_view text) {
  std::string_view s = TrimBlanks(text);
  if (s.size() >= 2 && s[0] == '&' && (s[1] == 'H' || s[1] == 'h')) {
    uint64_t v = 0;
    for (size_t i = 2; i < s.size() && HexValue(s[i]) >= 0; ++i) {
      v = (v << 4) | static_cast<uint64_t>(HexValue(s[i]));
      if (v > 0xFFFFFFFFu) return 0;
    }
    return static_cast<int32_t>(static_cast<uint32_t>(v));
  }
  return RoundToInt<int32_t>(NumericPrefix(s)).value_or(0);
}

std::string FileColorText(int32_t color) {
  std::array<char, 8> buf{};
  auto v = static_cast<uint32_t>(color);
  size_t n = 0;
  do {
    buf[buf.size() - 1 - n++] = kHexDigits[v & 0xF];
    v >>= 4;
  } while (v != 0);
  return std::string(buf.data() + buf.size() - n, n);
}

std::optional<int32_t> ParseFileColor(std::string_view field) {
  std::string_view s = TrimBlanks(field);
  uint64_t v = 0;
  for (size_t i = 0; i < s.size() && HexValue(s[i]) >= 0; ++i) {
    v = (v << 4) | static_cast<uint64_t>(HexValue(s[i]));
    if (v > 0xFFFFFFFFu) return std::nullopt;
  }
  return static_cast<int32_t>(static_cast<uint32_t>(v));
}

std::string_view TrimBlanks(std::string_view text) {
  size_t b = 0;
  size_t e = text.size();
  while (b < e && IsBlank(text[b])) ++b;
  while (e > b && IsBlank(text[e - 1])) --e;
  return text.substr(b, e - b);
}

}  // namespace qf
