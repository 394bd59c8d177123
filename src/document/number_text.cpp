#include "number_text.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <cstdlib>

namespace qf {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

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

// Removes trailing zeros of a fraction, and the point when nothing is left after it.
void TrimFraction(std::string& s) {
  const size_t point = s.find('.');
  if (point == std::string::npos) return;
  size_t end = s.size();
  while (end > point + 1 && s[end - 1] == '0') --end;
  if (end == point + 1) end = point;
  s.erase(end);
}

std::string FormatSignificant(double value, int digits) {
  if (!std::isfinite(value)) return "0";
  if (value == 0) return "0";  // no "-0"
  std::array<char, 64> buf{};
  const int len = std::snprintf(buf.data(), buf.size(), "%.*E", digits - 1, value);
  if (len <= 0) return "0";
  // Split d.dddE±xx into mantissa digits and exponent, then lay it out like %G without the
  // trailing zeros.
  std::string text(buf.data(), static_cast<size_t>(len));
  const size_t e = text.find('E');
  const int exponent = std::atoi(text.c_str() + e + 1);
  const bool negative = text[0] == '-';
  std::string mantissa;
  for (size_t i = negative ? 1 : 0; i < e; ++i) {
    if (text[i] != '.') mantissa.push_back(text[i]);
  }
  while (mantissa.size() > 1 && mantissa.back() == '0') mantissa.pop_back();
  std::string out = negative ? "-" : "";
  if (exponent < -5 + 1 || exponent >= digits) {
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
  } else {
    const size_t intDigits = static_cast<size_t>(exponent) + 1;
    if (mantissa.size() <= intDigits) {
      out += mantissa;
      out.append(intDigits - mantissa.size(), '0');
    } else {
      out.append(mantissa, 0, intDigits);
      out += '.';
      out.append(mantissa, intDigits);
    }
  }
  TrimFraction(out);
  return out;
}

}  // namespace

std::optional<double> NumericPrefixIfAny(std::string_view text) {
  size_t start = 0;
  while (start < text.size() && IsBlank(text[start])) ++start;
  std::string_view s = text.substr(start);
  bool anyDigits = false;
  const size_t len = NumberLength(s, anyDigits);
  if (!anyDigits) return std::nullopt;
  // strtod wants a terminated string and knows no "D" exponent.
  std::array<char, 128> small{};
  std::string large;
  char* buf = small.data();
  if (len + 1 > small.size()) {
    large.assign(len + 1, '\0');
    buf = large.data();
  }
  for (size_t i = 0; i < len; ++i) {
    const char c = s[i];
    buf[i] = (c == 'd' || c == 'D') ? 'E' : c;
  }
  buf[len] = '\0';
  const double v = std::strtod(buf, nullptr);
  if (!std::isfinite(v)) return 0.0;
  return v;
}

double NumericPrefix(std::string_view text) { return NumericPrefixIfAny(text).value_or(0.0); }

std::optional<float> ToSingle(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  if (std::fabs(value) > static_cast<double>(std::numeric_limits<float>::max())) {
    return std::nullopt;
  }
  return static_cast<float>(value);
}

std::string FormatFixed3(double value) {
  if (!std::isfinite(value)) return "0.000";
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

std::string FormatDouble(double value) { return FormatSignificant(value, 15); }

std::string FormatSingle(float value) { return FormatSignificant(static_cast<double>(value), 7); }

std::string ColorCell(int32_t color) {
  std::array<char, 16> buf{};
  std::snprintf(buf.data(), buf.size(), "&H%08X&", static_cast<uint32_t>(color));
  return buf.data();
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
  std::array<char, 16> buf{};
  std::snprintf(buf.data(), buf.size(), "%X", static_cast<uint32_t>(color));
  return buf.data();
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
