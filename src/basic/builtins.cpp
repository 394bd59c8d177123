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
                      NumberText(n, a[0].type() == Type::String ? Type::Double : a[0].type()));
  };
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
    return Holds(a[0]) ? a[1] : a[2];
  };
  // Abs, Int and Fix keep a number's type (a text becomes a Double).
  for (const auto& [name, shown, fn] :
       {std::tuple{"abs", "Abs", +[](double n) { return std::abs(n); }},
        std::tuple{"int", "Int", +[](double n) { return std::floor(n); }},
        std::tuple{"fix", "Fix", +[](double n) { return std::trunc(n); }}}) {
    b[name] = [shown = shown, fn = fn](const Args& a) {
      Count(a, 1, 1, shown);
      const Value v = a[0].type() == Type::String ? Value::Dbl(ToNumber(a[0])) : a[0];
      return Value::Of(v.type(), fn(ToNumber(v)));
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
      return Value::Bool(a[0].type() != Type::Empty);
    } catch (const RunFailure&) {
      return Value::Bool(false);
    }
  };
  AddDateFunctions(b);
  AddFormatFunctions(b);
  AddTextFunctions(b);
  AddMathFunctions(b);
  return b;
}

}  // namespace

void AddMathFunctions(BuiltinTable& b) {
  // The functions of one number, each refusing what it has no value for.
  const std::tuple<const char*, const char*, double (*)(double)> kOne[] = {
      {"sin", "Sin", [](double x) { return std::sin(x); }},
      {"cos", "Cos", [](double x) { return std::cos(x); }},
      {"tan", "Tan", [](double x) { return std::tan(x); }},
      {"atn", "Atn", [](double x) { return std::atan(x); }},
      {"log", "Log",
       [](double x) {
         if (!(x > 0)) throw RunFailure{"Log に 0 以下の数は渡せません", kErrInvalidCall};
         return std::log(x);
       }},
      {"exp", "Exp",
       [](double x) {
         const double e = std::exp(x);
         if (!std::isfinite(e)) throw RunFailure{"オーバーフローしました", kErrOverflow};
         return e;
       }},
  };
  for (const auto& [name, shown, fn] : kOne) {
    b[name] = [shown = shown, fn = fn](const Args& a) {
      Count(a, 1, 1, shown);
      return Value::Dbl(fn(ToNumber(a[0])));
    };
  }
  b["round"] = [](const Args& a) {
    // Half to even at the last place kept, as the language rounds.
    Count(a, 1, 2, "Round");
    const long places = a.size() == 2 ? Whole(a[1]) : 0;
    if (places < 0 || places > 22) throw RunFailure{"Round の桁数が範囲の外です", kErrInvalidCall};
    const double scale = std::pow(10.0, static_cast<double>(places));
    const Value v = a[0].isText() ? Value::Dbl(ToNumber(a[0])) : a[0];
    return Value::Of(v.type(), BankersRound(ToNumber(v) * scale) / scale);
  };
  b["hex"] = [](const Args& a) {
    Count(a, 1, 1, "Hex");
    char buf[16];
    std::snprintf(buf, sizeof buf, "%lX",
                  static_cast<unsigned long>(static_cast<uint32_t>(Whole(a[0]))));
    return Value::Str(buf);
  };
}

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
        // VarType's answers.
        {"vbempty", Value::Int(0)},
        {"vbnull", Value::Int(1)},
        {"vbinteger", Value::Int(2)},
        {"vblong", Value::Int(3)},
        {"vbsingle", Value::Int(4)},
        {"vbdouble", Value::Int(5)},
        {"vbcurrency", Value::Int(6)},
        {"vbdate", Value::Int(7)},
        {"vbstring", Value::Int(8)},
        {"vbobject", Value::Int(9)},
        {"vbboolean", Value::Int(11)},
        {"vbvariant", Value::Int(12)},
        {"vbarray", Value::Int(8192)},
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
