// The language's functions and constants.
#include <cmath>
#include <cstdio>
#include <string>
#include <tuple>

#include "basic/builtin_tables.h"
#include "basic/interpreter.h"
#include "source/page_tables.h"

namespace qf::basic {

namespace {

using Args = std::vector<Value>;

void Count(const Args& a, size_t low, size_t high, const char* name) {
  CheckCount(a, low, high, name);
}

std::string Trim(std::string_view s, bool left, bool right) {
  size_t a = 0;
  size_t b = s.size();
  while (left && a < b && s[a] == ' ') ++a;
  while (right && b > a && s[b - 1] == ' ') --b;
  return std::string(s.substr(a, b - a));
}

// Val: the number at the start of the text, blanks skipped; 0 when there is none.
double ValOf(std::string_view s) {
  std::string digits;
  for (char c : s) {
    if (c != ' ' && c != '\t') digits += c;
  }
  if (digits.size() > 2 && digits[0] == '&' && (digits[1] == 'H' || digits[1] == 'h')) {
    return static_cast<double>(std::strtol(digits.c_str() + 2, nullptr, 16));
  }
  size_t end = 0;
  if (end < digits.size() && (digits[end] == '+' || digits[end] == '-')) ++end;
  while (end < digits.size() && std::isdigit(static_cast<unsigned char>(digits[end]))) ++end;
  if (end < digits.size() && digits[end] == '.') {
    ++end;
    while (end < digits.size() && std::isdigit(static_cast<unsigned char>(digits[end]))) ++end;
  }
  if (end < digits.size() && (digits[end] == 'E' || digits[end] == 'e')) {
    size_t e = end + 1;
    if (e < digits.size() && (digits[e] == '+' || digits[e] == '-')) ++e;
    if (e < digits.size() && std::isdigit(static_cast<unsigned char>(digits[e]))) {
      end = e;
      while (end < digits.size() && std::isdigit(static_cast<unsigned char>(digits[end]))) ++end;
    }
  }
  return std::strtod(digits.substr(0, end).c_str(), nullptr);
}

struct Date {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// "2026/12/07", "2026-1-5", with a time after a blank or not.
std::optional<Date> ParseDate(std::string_view s) {
  Date d;
  char sep1 = 0;
  char sep2 = 0;
  int used = 0;
  const std::string text(s);
  if (std::sscanf(text.c_str(), "%d%c%d%c%d%n", &d.year, &sep1, &d.month, &sep2, &d.day, &used) <
          5 ||
      sep1 != sep2 || (sep1 != '/' && sep1 != '-')) {
    return std::nullopt;
  }
  if (d.month < 1 || d.month > 12 || d.day < 1 || d.day > 31 || d.year < 100) return std::nullopt;
  std::sscanf(text.c_str() + used, " %d:%d:%d", &d.hour, &d.minute, &d.second);
  return d;
}

std::string Two(int n) {
  char b[16];
  std::snprintf(b, sizeof b, "%02d", n);
  return b;
}

std::string FormatDate(const Date& d, std::string_view p) {
  std::string out;
  bool afterHour = false;
  for (size_t i = 0; i < p.size();) {
    auto run = [&](char c) {
      size_t n = 0;
      while (i + n < p.size() && (p[i + n] == c || p[i + n] == c - 'a' + 'A')) ++n;
      return n;
    };
    const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(p[i])));
    if (c == 'y' || c == 'm' || c == 'd' || c == 'h' || c == 'n' || c == 's') {
      const size_t n = run(c);
      i += n;
      if (c == 'y') out += n >= 3 ? std::to_string(d.year) : Two(d.year % 100);
      if (c == 'm' && !afterHour) out += n >= 2 ? Two(d.month) : std::to_string(d.month);
      if (c == 'm' && afterHour) out += n >= 2 ? Two(d.minute) : std::to_string(d.minute);
      if (c == 'd') out += n >= 2 ? Two(d.day) : std::to_string(d.day);
      if (c == 'h') out += n >= 2 ? Two(d.hour) : std::to_string(d.hour);
      if (c == 'n') out += n >= 2 ? Two(d.minute) : std::to_string(d.minute);
      if (c == 's') out += n >= 2 ? Two(d.second) : std::to_string(d.second);
      afterHour = c == 'h';
      continue;
    }
    if (p[i] == '\\' && i + 1 < p.size()) ++i;
    out += p[i++];
  }
  return out;
}

// A number by a pattern of 0, #, "," and "." with literal text around it: "#,##0",
// "0.00", "#,##0円", "\#,##0" (a backslash shows the next character as it is).
std::string FormatNumber(double v, std::string_view pattern) {
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

Value Format(const Args& a) {
  Count(a, 1, 2, "Format");
  if (a.size() == 1 || ToText(a[1]).empty()) return Value::Str(ToText(a[0]));
  const std::string pattern = ToText(a[1]);
  const std::string lower = Lower(pattern);
  const bool datePattern = lower.find_first_of("ymdhns") != std::string::npos &&
                           lower.find_first_of("0#") == std::string::npos;
  if (datePattern) {
    if (a[0].type == Type::String) {
      if (auto d = ParseDate(a[0].text)) return Value::Str(FormatDate(*d, pattern));
    }
    return Value::Str(ToText(a[0]));
  }
  if (a[0].type == Type::String) {
    const std::string t = a[0].text;
    bool numeric = true;
    try {
      ToNumber(a[0]);
    } catch (const RunFailure&) {
      numeric = false;
    }
    if (!numeric) return Value::Str(t);
  }
  if (a[0].type == Type::Empty) return Value::Str("");
  return Value::Str(FormatNumber(ToNumber(a[0]), pattern));
}

std::map<std::string, Builtin, std::less<>> MakeBuiltins() {
  std::map<std::string, Builtin, std::less<>> b;
  b["rgb"] = [](const Args& a) {
    Count(a, 3, 3, "RGB");
    auto part = [](const Value& v) { return std::clamp<long>(Whole(v), 0, 255); };
    return Value::Lng(static_cast<double>(part(a[0]) + 256 * part(a[1]) + 65536 * part(a[2])));
  };
  b["cstr"] = [](const Args& a) {
    Count(a, 1, 1, "CStr");
    return Value::Str(ToText(a[0]));
  };
  // The conversions to a type: the value as a variable of that type would hold it.
  for (const auto& [name, shown, type] :
       {std::tuple{"cint", "CInt", Type::Integer}, std::tuple{"clng", "CLng", Type::Long},
        std::tuple{"csng", "CSng", Type::Single}, std::tuple{"cdbl", "CDbl", Type::Double}}) {
    b[name] = [shown = shown, type = type](const Args& a) {
      Count(a, 1, 1, shown);
      return Coerce(a[0], type);
    };
  }
  b["cbool"] = [](const Args& a) {
    Count(a, 1, 1, "CBool");
    return Value::Bool(ToBool(a[0]));
  };
  b["val"] = [](const Args& a) {
    Count(a, 1, 1, "Val");
    return Value::Dbl(ValOf(ToText(a[0])));
  };
  b["str"] = [](const Args& a) {
    Count(a, 1, 1, "Str");
    const double n = ToNumber(a[0]);
    return Value::Str((n < 0 ? "" : " ") +
                      NumberText(n, a[0].type == Type::String ? Type::Double : a[0].type));
  };
  b["format"] = Format;
  b["left"] = [](const Args& a) {
    Count(a, 2, 2, "Left");
    const long n = Whole(a[1]);
    if (n < 0) throw RunFailure{"Left の長さが負です"};
    const std::u32string s = Chars(ToText(a[0]));
    return Value::Str(Utf8(s.substr(0, static_cast<size_t>(n))));
  };
  b["right"] = [](const Args& a) {
    Count(a, 2, 2, "Right");
    const long n = Whole(a[1]);
    if (n < 0) throw RunFailure{"Right の長さが負です"};
    const std::u32string s = Chars(ToText(a[0]));
    const size_t k = std::min(s.size(), static_cast<size_t>(n));
    return Value::Str(Utf8(s.substr(s.size() - k)));
  };
  b["mid"] = [](const Args& a) {
    Count(a, 2, 3, "Mid");
    const long start = Whole(a[1]);
    if (start < 1) throw RunFailure{"Mid の開始位置は 1 からです"};
    const std::u32string s = Chars(ToText(a[0]));
    if (static_cast<size_t>(start) > s.size()) return Value::Str("");
    const long n = a.size() == 3 ? Whole(a[2]) : static_cast<long>(s.size());
    if (n < 0) throw RunFailure{"Mid の長さが負です"};
    return Value::Str(Utf8(s.substr(static_cast<size_t>(start - 1), static_cast<size_t>(n))));
  };
  b["len"] = [](const Args& a) {
    Count(a, 1, 1, "Len");
    return Value::Lng(static_cast<double>(Chars(ToText(a[0])).size()));
  };
  b["trim"] = [](const Args& a) {
    Count(a, 1, 1, "Trim");
    return Value::Str(Trim(ToText(a[0]), true, true));
  };
  b["ltrim"] = [](const Args& a) {
    Count(a, 1, 1, "LTrim");
    return Value::Str(Trim(ToText(a[0]), true, false));
  };
  b["rtrim"] = [](const Args& a) {
    Count(a, 1, 1, "RTrim");
    return Value::Str(Trim(ToText(a[0]), false, true));
  };
  b["ucase"] = [](const Args& a) {
    Count(a, 1, 1, "UCase");
    std::string s = ToText(a[0]);
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return Value::Str(s);
  };
  b["lcase"] = [](const Args& a) {
    Count(a, 1, 1, "LCase");
    return Value::Str(Lower(ToText(a[0])));
  };
  b["instr"] = [](const Args& a) {
    Count(a, 2, 3, "InStr");
    const bool withStart = a.size() == 3;
    const long start = withStart ? Whole(a[0]) : 1;
    if (start < 1) throw RunFailure{"InStr の開始位置は 1 からです"};
    const std::u32string s = Chars(ToText(a[withStart ? 1 : 0]));
    const std::u32string f = Chars(ToText(a[withStart ? 2 : 1]));
    if (static_cast<size_t>(start) > s.size() + 1) return Value::Lng(0);
    const size_t at = s.find(f, static_cast<size_t>(start - 1));
    return Value::Lng(at == std::u32string::npos ? 0 : static_cast<double>(at + 1));
  };
  b["replace"] = [](const Args& a) {
    Count(a, 3, 3, "Replace");
    std::string s = ToText(a[0]);
    const std::string from = ToText(a[1]);
    const std::string to = ToText(a[2]);
    if (from.empty()) return Value::Str(s);
    std::string out;
    size_t last = 0;
    for (size_t at = s.find(from); at != std::string::npos; at = s.find(from, last)) {
      out.append(s, last, at - last);
      out += to;
      last = at + from.size();
      if (out.size() > (size_t{16} << 20)) throw RunFailure{"文字列が長すぎます（16 MB まで）"};
    }
    out.append(s, last, std::string::npos);
    return Value::Str(out);
  };
  b["iif"] = [](const Args& a) {
    Count(a, 3, 3, "IIf");
    return ToBool(a[0]) ? a[1] : a[2];
  };
  // Abs, Int and Fix keep a number's type (a text becomes a Double).
  for (const auto& [name, shown, fn] :
       {std::tuple{"abs", "Abs", +[](double n) { return std::abs(n); }},
        std::tuple{"int", "Int", +[](double n) { return std::floor(n); }},
        std::tuple{"fix", "Fix", +[](double n) { return std::trunc(n); }}}) {
    b[name] = [shown = shown, fn = fn](const Args& a) {
      Count(a, 1, 1, shown);
      Value v = a[0].type == Type::String ? Value::Dbl(ToNumber(a[0])) : a[0];
      v.number = fn(ToNumber(v));
      return v;
    };
  }
  b["sgn"] = [](const Args& a) {
    Count(a, 1, 1, "Sgn");
    const double n = ToNumber(a[0]);
    return Value::Int(n > 0 ? 1 : n < 0 ? -1 : 0);
  };
  b["sqr"] = [](const Args& a) {
    Count(a, 1, 1, "Sqr");
    const double n = ToNumber(a[0]);
    if (n < 0) throw RunFailure{"Sqr に負の数は渡せません"};
    return Value::Dbl(std::sqrt(n));
  };
  b["chr"] = [](const Args& a) {
    Count(a, 1, 1, "Chr");
    const long n = Whole(a[0]);
    if (n < 0 || n > 0x10FFFF) throw RunFailure{"Chr の文字コードが範囲の外です"};
    return Value::Str(Utf8(std::u32string(1, static_cast<char32_t>(n))));
  };
  b["asc"] = [](const Args& a) {
    Count(a, 1, 1, "Asc");
    const std::u32string s = Chars(ToText(a[0]));
    if (s.empty()) throw RunFailure{"Asc に空の文字列は渡せません"};
    return Value::Lng(static_cast<double>(s[0]));
  };
  b["space"] = [](const Args& a) {
    Count(a, 1, 1, "Space");
    const long n = Whole(a[0]);
    if (n < 0 || n > 1'000'000) throw RunFailure{"Space の長さが範囲の外です"};
    return Value::Str(std::string(static_cast<size_t>(n), ' '));
  };
  b["isnumeric"] = [](const Args& a) {
    Count(a, 1, 1, "IsNumeric");
    try {
      ToNumber(a[0]);
      return Value::Bool(a[0].type != Type::Empty);
    } catch (const RunFailure&) {
      return Value::Bool(false);
    }
  };
  AddDateFunctions(b);
  return b;
}

}  // namespace

void CheckCount(const Args& a, size_t low, size_t high, const char* name) {
  if (a.size() < low || a.size() > high) {
    throw RunFailure{std::string("「") + name + "」の引数の数が違います"};
  }
}

long Whole(const Value& v) {
  const double n = BankersRound(ToNumber(v));
  if (!(n >= -2147483648.0 && n < 2147483648.0))
    throw RunFailure{"オーバーフローしました", kErrOverflow};
  return static_cast<long>(n);
}

const std::map<std::string, Builtin, std::less<>>& Builtins() {
  static const auto kBuiltins = MakeBuiltins();
  return kBuiltins;
}

std::optional<Value> BuiltinConstant(std::string_view n) {
  static const std::map<std::string, Value, std::less<>> kConstants = [] {
    std::map<std::string, Value, std::less<>> c = {
        {"vbcrlf", Value::Str("\r\n")},
        {"vbcr", Value::Str("\r")},
        {"vblf", Value::Str("\n")},
        {"vbtab", Value::Str("\t")},
        {"vbnullstring", Value::Str("")},
        {"vbcopypen", Value::Int(13)},
        {"vbnotxorpen", Value::Int(10)},
        {"vbmaskpen", Value::Int(9)},
        {"vbxorpen", Value::Int(7)},
        {"vbsolid", Value::Int(0)},
        {"vbfstransparent", Value::Int(1)},
        {"vbfssolid", Value::Int(0)},
        {"vbsrccopy", Value::Lng(0xCC0020)},
        {"vbsrcand", Value::Lng(0x8800C6)},
        {"vbsrcinvert", Value::Lng(0x660046)},
        {"vbdstinvert", Value::Lng(0x550009)},
        {"vbblack", Value::Lng(0)},
        {"vbwhite", Value::Lng(0xFFFFFF)},
        {"vbred", Value::Lng(0xFF)},
        {"vbgreen", Value::Lng(0xFF00)},
        {"vbblue", Value::Lng(0xFF0000)},
        {"vbdot", Value::Int(2)},
        {"vbdash", Value::Int(1)},
        {"vbdashdot", Value::Int(3)},
        {"vbdashdotdot", Value::Int(4)},
        {"vbnewline", Value::Str("\r\n")},
        {"vbnullchar", Value::Str(std::string(1, '\0'))},
        {"vbback", Value::Str("\b")},
        {"vbformfeed", Value::Str("\f")},
        {"vbverticaltab", Value::Str("\v")},
        {"vbyellow", Value::Lng(0xFFFF)},
        {"vbmagenta", Value::Lng(0xFF00FF)},
        {"vbcyan", Value::Lng(0xFFFF00)},
        {"vbtrue", Value::Int(-1)},
        {"vbfalse", Value::Int(0)},
        // MsgBox's buttons, icons, default buttons and answers.
        {"vbokonly", Value::Int(0)},
        {"vbokcancel", Value::Int(1)},
        {"vbabortretryignore", Value::Int(2)},
        {"vbyesnocancel", Value::Int(3)},
        {"vbyesno", Value::Int(4)},
        {"vbretrycancel", Value::Int(5)},
        {"vbcritical", Value::Int(16)},
        {"vbquestion", Value::Int(32)},
        {"vbexclamation", Value::Int(48)},
        {"vbinformation", Value::Int(64)},
        {"vbdefaultbutton1", Value::Int(0)},
        {"vbdefaultbutton2", Value::Int(256)},
        {"vbdefaultbutton3", Value::Int(512)},
        {"vbapplicationmodal", Value::Int(0)},
        {"vbsystemmodal", Value::Int(4096)},
        {"vbok", Value::Int(1)},
        {"vbcancel", Value::Int(2)},
        {"vbabort", Value::Int(3)},
        {"vbretry", Value::Int(4)},
        {"vbignore", Value::Int(5)},
        {"vbyes", Value::Int(6)},
        {"vbno", Value::Int(7)},
        // StrConv's conversions, the comparisons, the mouse pointers.
        {"vbuppercase", Value::Int(1)},
        {"vblowercase", Value::Int(2)},
        {"vbpropercase", Value::Int(3)},
        {"vbwide", Value::Int(4)},
        {"vbnarrow", Value::Int(8)},
        {"vbkatakana", Value::Int(16)},
        {"vbhiragana", Value::Int(32)},
        {"vbunicode", Value::Int(64)},
        {"vbfromunicode", Value::Int(128)},
        {"vbbinarycompare", Value::Int(0)},
        {"vbtextcompare", Value::Int(1)},
        {"vbdefault", Value::Int(0)},
        {"vbarrow", Value::Int(1)},
        {"vbhourglass", Value::Int(11)},
        {"vbinvert", Value::Int(6)},
        {"vbfshorizontalline", Value::Int(2)},
        {"vbfsverticalline", Value::Int(3)},
        {"vbupwarddiagonal", Value::Int(4)},
        {"vbdownwarddiagonal", Value::Int(5)},
        {"vbcross", Value::Int(6)},
        {"vbdiagonalcross", Value::Int(7)},
        {"vbinvisible", Value::Int(5)},
        {"vbinsidesolid", Value::Int(6)},
        // Dates: the named formats, the days of the week.
        {"vbgeneraldate", Value::Int(0)},
        {"vblongdate", Value::Int(1)},
        {"vbshortdate", Value::Int(2)},
        {"vblongtime", Value::Int(3)},
        {"vbshorttime", Value::Int(4)},
        {"vbusesystemdayofweek", Value::Int(0)},
        {"vbsunday", Value::Int(1)},
        {"vbmonday", Value::Int(2)},
        {"vbtuesday", Value::Int(3)},
        {"vbwednesday", Value::Int(4)},
        {"vbthursday", Value::Int(5)},
        {"vbfriday", Value::Int(6)},
        {"vbsaturday", Value::Int(7)},
        {"vbusedefault", Value::Int(-2)},
    };
    for (int code = 1; code <= 256; ++code) {
      const std::string_view name = P_PaperName(code);
      if (!name.empty()) c.emplace(Lower(name), Value::Int(code));
    }
    for (int code = 0; code <= 10; ++code) {
      const std::string_view scale = P_ScaleName(code);
      if (!scale.empty()) c.emplace(Lower(scale), Value::Int(code));
      const std::string_view orient = P_OrientName(code);
      if (!orient.empty()) c.emplace(Lower(orient), Value::Int(code));
    }
    return c;
  }();
  if (auto it = kConstants.find(n); it != kConstants.end()) return it->second;
  return std::nullopt;
}

}  // namespace qf::basic
