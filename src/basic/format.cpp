// Format and its kin: numbers by patterns and by name, digit masks with their literals, text
// masks, dates, FormatNumber, FormatCurrency, FormatPercent, FormatDateTime, as a Japanese
// Windows writes them (¥ with no places for money, yyyy/mm/dd for dates).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "basic/builtin_tables.h"
#include "basic/dates.h"

namespace qf::basic {

namespace {

using Args = std::vector<Value>;

// The pattern's parts as a mask reads them: a digit place (0 or #) or a literal text.
struct MaskPart {
  char place = 0;  // '0' or '#'; 0 for a literal
  std::string literal;
};

std::vector<MaskPart> MaskParts(std::string_view p) {
  std::vector<MaskPart> parts;
  for (size_t i = 0; i < p.size(); ++i) {
    const char c = p[i];
    if (c == '0' || c == '#') {
      parts.push_back({c, {}});
    } else if (c == '"') {
      const size_t end = p.find('"', i + 1);
      parts.push_back(
          {0, std::string(p.substr(i + 1, end == std::string_view::npos ? end : end - i - 1))});
      i = end == std::string_view::npos ? p.size() : end;
    } else {
      if (c == '\\' && i + 1 < p.size()) ++i;
      std::string one(1, p[i]);
      // A character of more than one byte stays whole.
      while (i + 1 < p.size() && (static_cast<unsigned char>(p[i + 1]) & 0xC0) == 0x80) {
        one += p[++i];
      }
      parts.push_back({0, one});
    }
  }
  return parts;
}

// Whether a pattern places literal text among its digits ("(###)####-####"), where the digits
// are dealt into the places from the right; a pattern with a decimal point or digit groups is
// read the ordinary way.
bool IsMask(std::string_view p) {
  if (p.find_first_of(".,%") != std::string_view::npos) return false;
  const std::vector<MaskPart> parts = MaskParts(p);
  size_t first = parts.size();
  size_t last = 0;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (parts[i].place) {
      first = std::min(first, i);
      last = i;
    }
  }
  for (size_t i = first; i < last; ++i) {
    if (!parts[i].place) return true;
  }
  return false;
}

// The whole number's digits dealt into the places from the right: a 0 with no digit left shows
// 0, a # nothing; the leftmost place takes every digit still left.
std::string Masked(double v, std::string_view p, bool negativeSection) {
  const double rounded = std::floor(std::abs(v) + 0.5);
  char buf[400];
  std::snprintf(buf, sizeof buf, "%.0f", rounded);
  std::string digits = rounded == 0 ? "" : buf;
  std::vector<MaskPart> parts = MaskParts(p);
  size_t leftmost = parts.size();
  for (size_t i = 0; i < parts.size(); ++i) {
    if (parts[i].place && leftmost == parts.size()) leftmost = i;
  }
  std::vector<std::string> shown(parts.size());
  for (size_t i = parts.size(); i-- > 0;) {
    if (!parts[i].place) {
      shown[i] = parts[i].literal;
      continue;
    }
    if (i == leftmost) {
      shown[i] = digits.empty() && parts[i].place == '0' ? "0" : digits;
      digits.clear();
    } else if (!digits.empty()) {
      shown[i] = digits.substr(digits.size() - 1);
      digits.pop_back();
    } else if (parts[i].place == '0') {
      shown[i] = "0";
    }
  }
  std::string out = v < 0 && rounded != 0 && !negativeSection ? "-" : "";
  for (const std::string& s : shown) out += s;
  return out;
}

// A number by a pattern of 0, #, "," and "." with literal text around it: "#,##0",
// "0.00", "#,##0円", "\#,##0" (a backslash shows the next character as it is).
std::string DigitPattern(double v, std::string_view pattern) {
  std::string_view p = pattern;
  // Sections for positive; negative; zero.
  std::vector<std::string_view> sections;
  for (size_t start = 0;;) {
    const size_t semi = p.find(';', start);
    sections.push_back(p.substr(start, semi == std::string_view::npos ? semi : semi - start));
    if (semi == std::string_view::npos) break;
    start = semi + 1;
  }
  bool negativeSection = false;
  if (v < 0 && sections.size() > 1 && !sections[1].empty()) {
    p = sections[1];
    negativeSection = true;
  } else if (v == 0 && sections.size() > 2 && !sections[2].empty()) {
    p = sections[2];
  } else {
    p = sections[0];
  }
  if (IsMask(p)) return Masked(v, p, negativeSection);
  // Literal text and the placeholders between it.
  std::string prefix;
  std::string suffix;
  std::string placeholders;
  bool seenDigits = false;
  bool percent = false;
  for (size_t i = 0; i < p.size(); ++i) {
    const char c = p[i];
    std::string literal;
    if (c == '\\' && i + 1 < p.size()) {
      literal = std::string(1, p[++i]);
      // A multi-byte character escaped whole.
      while (i + 1 < p.size() && (static_cast<unsigned char>(p[i + 1]) & 0xC0) == 0x80) {
        literal += p[++i];
      }
    } else if (c == '"') {
      const size_t end = p.find('"', i + 1);
      literal = std::string(p.substr(i + 1, end == std::string_view::npos ? end : end - i - 1));
      i = end == std::string_view::npos ? p.size() : end;
    } else if (c == '0' || c == '#' || ((c == ',' || c == '.') && !suffix.size())) {
      if (c == '0' || c == '#') seenDigits = true;
      // A comma before the digits groups them when digits follow it ("\#,##0").
      const size_t nextDigit = p.find_first_of("0#", i);
      const bool groups =
          nextDigit != std::string_view::npos && p.find_first_not_of(",", i) == nextDigit;
      if (!seenDigits && c == ',' && !groups) {
        literal = ",";
      } else {
        placeholders += c;
        continue;
      }
    } else {
      if (c == '%') percent = true;
      literal = std::string(1, c);
    }
    (seenDigits ? suffix : prefix) += literal;
  }
  if (!seenDigits) return prefix + suffix;
  if (percent) v *= 100;
  const size_t point = placeholders.find('.');
  const std::string whole = placeholders.substr(0, point);
  const std::string fraction = point == std::string::npos ? "" : placeholders.substr(point + 1);
  const bool group = whole.find(',') != std::string::npos;
  size_t minWhole = 0;
  for (char c : whole) minWhole += c == '0';
  size_t decimals = 0;
  size_t minDecimals = 0;
  for (char c : fraction) {
    if (c == '0' || c == '#') ++decimals;
    if (c == '0') minDecimals = decimals;
  }
  decimals = std::min<size_t>(decimals, 30);  // more places than a double holds show nothing
  minDecimals = std::min(minDecimals, decimals);
  const double scale = std::pow(10.0, static_cast<double>(decimals));
  // Away from zero at the last place shown, as the language's Format rounds.
  const double rounded = std::floor(std::abs(v) * scale + 0.5 + 1e-9) / scale;
  char buf[400];
  std::snprintf(buf, sizeof buf, "%.*f", static_cast<int>(decimals), rounded);
  std::string digits = buf;
  std::string intPart = digits.substr(0, digits.find('.'));
  std::string fracPart = decimals ? digits.substr(digits.find('.') + 1) : "";
  if (intPart == "0" && minWhole == 0) intPart.clear();
  while (intPart.size() < minWhole) intPart.insert(0, "0");
  while (fracPart.size() > minDecimals && fracPart.back() == '0') fracPart.pop_back();
  if (group) {
    for (int at = static_cast<int>(intPart.size()) - 3; at > 0; at -= 3) {
      intPart.insert(static_cast<size_t>(at), ",");
    }
  }
  std::string number = intPart;
  if (!fracPart.empty() || fraction.find('.') != std::string::npos) number += "." + fracPart;
  if (!fracPart.empty()) {
    number = intPart + "." + fracPart;
  } else if (point != std::string::npos && minDecimals == 0 && decimals > 0) {
    number = intPart + ".";
  }
  const bool negative = v < 0 && rounded != 0 && !negativeSection;
  return (negative ? "-" : "") + prefix + number + suffix;
}

// The text masks: @ a character or a blank, & a character or nothing, filled from the right
// unless ! fills them from the left; < and > make the text lower or upper case.
bool IsTextMask(std::string_view p) {
  bool quoted = false;
  bool any = false;
  for (char c : p) {
    if (c == '"') quoted = !quoted;
    if (quoted) continue;
    if (c == '@' || c == '&') return true;
    if (c == '0' || c == '#') return false;
    any = any || c == '<' || c == '>' || c == '!';
  }
  return any && p.find_first_not_of("<>!") == std::string_view::npos;
}

std::string TextMask(std::string_view text, std::string_view p) {
  std::u32string chars = Chars(text);
  bool fromLeft = false;
  std::vector<MaskPart> parts;  // place '@' or '&', or a literal
  for (size_t i = 0; i < p.size(); ++i) {
    const char c = p[i];
    if (c == '<' || c == '>') {
      for (char32_t& ch : chars) {
        if (c == '<' && ch >= 'A' && ch <= 'Z') ch += 'a' - 'A';
        if (c == '>' && ch >= 'a' && ch <= 'z') ch -= 'a' - 'A';
      }
    } else if (c == '!') {
      fromLeft = true;
    } else if (c == '@' || c == '&') {
      parts.push_back({c, {}});
    } else {
      for (MaskPart& part : MaskParts(p.substr(i, c == '"' ? p.find('"', i + 1) + 1 - i : 1))) {
        parts.push_back(std::move(part));
      }
      if (c == '"') i = std::min(p.size() - 1, p.find('"', i + 1));
    }
  }
  // Each place's characters, as [from, to) of the text: one a place, and the characters past
  // the places with the place filled last (the leftmost from the right, the last from the
  // left).
  std::vector<size_t> placeAt;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (parts[i].place) placeAt.push_back(i);
  }
  if (placeAt.empty()) return Utf8(chars);
  const size_t k = placeAt.size();
  const size_t n = chars.size();
  std::vector<std::pair<size_t, size_t>> range(k);
  for (size_t j = 0; j < k; ++j) {
    if (fromLeft) {
      const size_t from = std::min(j, n);
      range[j] = {from, j + 1 == k ? n : std::min(j + 1, n)};
    } else {
      const size_t fromEnd = k - 1 - j;  // places to the right of this one
      const size_t to = n > fromEnd ? n - fromEnd : 0;
      range[j] = {j == 0 ? 0 : (to > 0 ? to - 1 : 0), to};
    }
  }
  std::string out;
  size_t j = 0;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (!parts[i].place) {
      out += parts[i].literal;
      continue;
    }
    const auto [from, to] = range[j++];
    if (from < to) {
      out += Utf8(std::u32string_view(chars).substr(from, to - from));
    } else if (parts[i].place == '@') {
      out += ' ';
    }
  }
  return out;
}

// A number grouped by thousands with `places` places: #,##0.00.
std::string Grouped(double v, long places, bool group = true) {
  std::string pattern = group ? "#,##0" : "0";
  if (places > 0) pattern += "." + std::string(static_cast<size_t>(places), '0');
  return DigitPattern(v, pattern);
}

// Money as a Japanese Windows writes it: ¥, digit groups, `places` places, the sign first.
std::string Money(double v, long places, bool parens) {
  const std::string s = "¥" + Grouped(std::abs(v), places);
  if (!(v < 0) || s.find_first_of("123456789") == std::string::npos) return s;
  return parens ? "(" + s + ")" : "-" + s;
}

std::optional<std::string> NamedNumber(const Value& v, const std::string& name) {
  const auto number = [&] { return ToNumber(v); };
  if (name == "general number") return NumberText(number(), Type::Double);
  if (name == "currency") return Money(number(), 0, false);
  if (name == "fixed") return DigitPattern(number(), "0.00");
  if (name == "standard") return Grouped(number(), 2);
  if (name == "percent") return DigitPattern(number() * 100, "0.00") + "%";
  if (name == "scientific") {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.2E", number());
    return std::string(buf);
  }
  const auto yes = [&](const char* on, const char* off) { return number() != 0 ? on : off; };
  if (name == "yes/no") return yes("Yes", "No");
  if (name == "true/false") return yes("True", "False");
  if (name == "on/off") return yes("On", "Off");
  return std::nullopt;
}

Value Format(const Args& a) {
  CheckCount(a, 1, 4, "Format");
  const Value v = Plain(a[0]);
  if (a.size() == 1 || ToText(a[1]).empty()) return Value::Str(ToText(v));
  if (v.type() == Type::Empty) return Value::Str("");
  const std::string pattern = ToText(a[1]);
  const std::string lower = Lower(pattern);
  if (IsTextMask(pattern)) return Value::Str(TextMask(ToText(v), pattern));
  bool numeric = v.type() != Type::String;
  if (!numeric) {
    try {
      ToNumber(v);
      numeric = true;
    } catch (const RunFailure&) {
    }
  }
  if (numeric && v.type() != Type::Date) {
    if (std::optional<std::string> named = NamedNumber(v, lower)) return Value::Str(*named);
  }
  const bool digits = lower.find_first_of("0#") != std::string::npos;
  if (v.type() == Type::Date || !digits) {
    // A date by its codes: the value as a date, or a text that reads as one.
    std::optional<double> date;
    if (v.type() == Type::String) {
      date = ParseDateText(v.text());
    } else if (numeric) {
      date = Coerce(v, Type::Date).number();
    }
    if (date) {
      if (std::optional<std::string> shown = FormatDate(*date, pattern)) return Value::Str(*shown);
    }
  }
  if (!numeric) return Value::Str(ToText(v));
  return Value::Str(DigitPattern(ToNumber(v), pattern));
}

// FormatNumber's and its kin's optional arguments: -1 or -2 (vbUseDefault), or left out, is
// the regional setting's.
long Places(const Args& a, size_t at, long fallback) {
  if (a.size() <= at || a[at].type() == Type::Empty) return fallback;
  const long n = Whole(a[at]);
  if (n == -1 || n == -2) return fallback;
  if (n < 0 || n > 30) throw RunFailure{"小数点以下の桁数が範囲の外です", kErrInvalidCall};
  return n;
}

bool Option(const Args& a, size_t at, bool fallback) {
  if (a.size() <= at || a[at].type() == Type::Empty) return fallback;
  const long n = Whole(a[at]);
  return n == -2 ? fallback : n != 0;
}

// A number as FormatNumber writes it: places, a leading 0 before the point, parentheses for a
// negative, digit groups.
std::string NumberShown(const Args& a, double v, long fallbackPlaces) {
  const long places = Places(a, 1, fallbackPlaces);
  std::string s = Grouped(std::abs(v), places, Option(a, 4, true));
  if (!Option(a, 2, true) && s.rfind("0.", 0) == 0) s.erase(0, 1);
  const bool negative = v < 0 && s.find_first_of("123456789") != std::string::npos;
  if (!negative) return s;
  return Option(a, 3, false) ? "(" + s + ")" : "-" + s;
}

}  // namespace

void AddFormatFunctions(BuiltinTable& b) {
  b["format"] = Format;
  b["formatnumber"] = [](const Args& a) {
    CheckCount(a, 1, 5, "FormatNumber");
    return Value::Str(NumberShown(a, ToNumber(Plain(a[0])), 2));
  };
  b["formatpercent"] = [](const Args& a) {
    CheckCount(a, 1, 5, "FormatPercent");
    return Value::Str(NumberShown(a, ToNumber(Plain(a[0])) * 100, 2) + "%");
  };
  b["formatcurrency"] = [](const Args& a) {
    CheckCount(a, 1, 5, "FormatCurrency");
    const double v = ToNumber(Plain(a[0]));
    Args positive = a;
    positive[0] = Value::Dbl(std::abs(v));
    const std::string s = "¥" + NumberShown(positive, std::abs(v), 0);
    const bool negative = v < 0 && s.find_first_of("123456789") != std::string::npos;
    if (!negative) return Value::Str(s);
    return Value::Str(Option(a, 3, false) ? "(" + s + ")" : "-" + s);
  };
  b["formatdatetime"] = [](const Args& a) {
    CheckCount(a, 1, 2, "FormatDateTime");
    const double d = Coerce(Plain(a[0]), Type::Date).number();
    return Value::Str(NamedDateFormat(d, a.size() > 1 ? static_cast<int>(Whole(a[1])) : 0));
  };
}

}  // namespace qf::basic
