#include "value.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "basic/dates.h"
#include "document/cp932.h"

namespace qf::basic {

namespace {

std::string Trimmed(std::string_view s) {
  size_t a = 0;
  size_t b = s.size();
  while (a < b && (s[a] == ' ' || s[a] == '\t')) ++a;
  while (b > a && (s[b - 1] == ' ' || s[b - 1] == '\t')) --b;
  return std::string(s.substr(a, b - a));
}

}  // namespace

namespace {
const std::string kNoText;
const std::shared_ptr<Object> kNoObject;

double Whole(double n, double limit) {
  n = BankersRound(n);
  if (!(n >= -limit && n < limit)) throw RunFailure{"オーバーフローしました", kErrOverflow};
  return n;
}
}  // namespace

Value Value::Int(double n) {
  return Value(static_cast<int16_t>(Whole(n, 32768)));
}

Value Value::Lng(double n) {
  return Value(static_cast<int32_t>(Whole(n, 2147483648.0)));
}

Value Value::Cur(double n) {
  // Four places, the last rounded half to even; a range of about 922 trillion either way.
  const double places = BankersRound(n * 10000);
  // The largest Currency, 922337203685477.5807, reads as 2^63 in a double: kept as the largest.
  constexpr double kEdge = 9223372036854775808.0;
  if (!(places >= -kEdge && places <= kEdge)) {
    throw RunFailure{"オーバーフローしました", kErrOverflow};
  }
  return Value(Money{places == kEdge ? INT64_MAX : static_cast<int64_t>(places)});
}

Value Value::Of(Type t, double n) {
  switch (t) {
    case Type::Boolean:
      return Bool(n != 0);
    case Type::Integer:
      return Int(n);
    case Type::Long:
      return Lng(n);
    case Type::Single:
      if (!(std::abs(n) <= 3.402823e38)) throw RunFailure{"オーバーフローしました", kErrOverflow};
      return Sng(n);
    case Type::Currency:
      return Cur(n);
    case Type::Date:
      return MakeDate(n);
    default:
      return Dbl(n);
  }
}

double Value::number() const {
  switch (type()) {
    case Type::Boolean:
      return std::get<bool>(data_) ? -1.0 : 0.0;
    case Type::Integer:
      return std::get<int16_t>(data_);
    case Type::Long:
      return std::get<int32_t>(data_);
    case Type::Single:
      return std::get<float>(data_);
    case Type::Double:
      return std::get<double>(data_);
    case Type::Currency:
      return static_cast<double>(std::get<Money>(data_).tenThousandths) / 10000;
    case Type::Date:
      return std::get<DateSerial>(data_).days;
    default:
      return 0;
  }
}

const std::string& Value::text() const {
  if (const auto* s = std::get_if<std::string>(&data_)) return *s;
  if (const auto* b = std::get_if<CodedBytes>(&data_)) return b->bytes;
  return kNoText;
}

const std::shared_ptr<Object>& Value::object() const {
  if (const auto* o = std::get_if<std::shared_ptr<Object>>(&data_)) return *o;
  return kNoObject;
}

std::string BytesText(std::string_view bytes) {
  std::string text;
  if (Cp932ToUtf8(bytes, text).ok) return text;
  // Half a character cut by LeftB or MidB: what reads, and the rest as it is shown, "?".
  text.clear();
  for (size_t at = 0; at < bytes.size();) {
    std::string one;
    const size_t n = (static_cast<unsigned char>(bytes[at]) >= 0x81 &&
                      static_cast<unsigned char>(bytes[at]) <= 0x9F) ||
                             (static_cast<unsigned char>(bytes[at]) >= 0xE0 &&
                              static_cast<unsigned char>(bytes[at]) <= 0xFC)
                         ? 2
                         : 1;
    if (at + n <= bytes.size() && Cp932ToUtf8(bytes.substr(at, n), one).ok) {
      text += one;
    } else {
      text += '?';
    }
    at += std::min(n, bytes.size() - at);
  }
  return text;
}

std::string Lower(std::string_view name) {
  std::string out(name);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

double ToNumber(const Value& v) {
  switch (v.type()) {
    case Type::Empty:
      return 0;
    case Type::Null:
      throw RunFailure{"Null の使い方が不正です", kErrInvalidNull};
    case Type::Bytes:
      return ToNumber(Value::Str(BytesText(v.text())));
    case Type::String: {
      const std::string s = Trimmed(v.text());
      if (s.empty())
        throw RunFailure{"型が一致しません（\"\" は数値ではありません）", kErrTypeMismatch};
      if (s.size() > 2 && s[0] == '&' && (s[1] == 'H' || s[1] == 'h')) {
        char* end = nullptr;
        const long n = std::strtol(s.c_str() + 2, &end, 16);
        if (*end == '\0') return static_cast<double>(n);
      }
      std::string plain;  // digit grouping as the language accepts it
      for (char c : s) {
        if (c != ',') plain += c;
      }
      char* end = nullptr;
      const double d = std::strtod(plain.c_str(), &end);
      if (end == plain.c_str() || *end != '\0' || plain.find_first_of("xXnN") != std::string::npos)
        throw RunFailure{"型が一致しません（\"" + v.text() + "\" は数値ではありません）",
                         kErrTypeMismatch};
      return d;
    }
    case Type::Object:
      if (v.object()) {
        if (const std::optional<Value> d = v.object()->defaultValue()) return ToNumber(*d);
      }
      throw RunFailure{"型が一致しません（オブジェクトは数値ではありません）", kErrTypeMismatch};
    default:
      return v.number();
  }
}

std::string NumberText(double v, Type type) {
  if (type == Type::Boolean) return v != 0 ? "True" : "False";
  if (v == 0) return "0";
  char buf[40];
  std::snprintf(buf, sizeof buf, type == Type::Single ? "%.7G" : "%.15G", v);
  std::string s = buf;
  // "1E+20" is written "1E+20" by the language too; drop a trailing point and zeros of
  // fixed forms.
  if (s.find('E') == std::string::npos && s.find('.') != std::string::npos) {
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
  }
  if (s.rfind("0.", 0) == 0) s.erase(0, 1);   // .5
  if (s.rfind("-0.", 0) == 0) s.erase(1, 1);  // -.5
  return s;
}

Value Plain(const Value& v) {
  if (v.type() != Type::Object || !v.object()) return v;
  return v.object()->defaultValue().value_or(v);
}

std::string ToText(const Value& v) {
  switch (v.type()) {
    case Type::Empty:
      return "";
    case Type::Null:
      throw RunFailure{"Null の使い方が不正です", kErrInvalidNull};
    case Type::String:
      return v.text();
    case Type::Object:
      if (v.object()) {
        if (const std::optional<Value> d = v.object()->defaultValue()) return ToText(*d);
      }
      throw RunFailure{"型が一致しません（オブジェクトは文字列ではありません）", kErrTypeMismatch};
    case Type::Date:
      return DateText(v.number());
    case Type::Bytes:
      return BytesText(v.text());
    default:
      return NumberText(v.number(), v.type());
  }
}

bool ToBool(const Value& v) {
  if (v.type() == Type::String) {
    const std::string l = Lower(Trimmed(v.text()));
    if (l == "true") return true;
    if (l == "false") return false;
  }
  return ToNumber(v) != 0;
}

bool Holds(const Value& v) {
  return !v.isNull() && ToBool(v);
}

double BankersRound(double v) {
  return std::nearbyint(v);  // the default rounding mode rounds half to even
}

Value Coerce(const Value& v, Type type) {
  switch (type) {
    case Type::Empty:
    case Type::Null:  // only a Variant holds Null; a typed variable refuses it below
      return v;
    case Type::Object:
      if (v.type() != Type::Object && !(v.type() == Type::Empty)) {
        throw RunFailure{"オブジェクトが必要です"};
      }
      return v;
    case Type::String:
      return Value::Str(ToText(v));
    case Type::Bytes:
      return v.type() == Type::Bytes ? v : Value::Raw(ToText(v));
    case Type::Boolean:
      return Value::Bool(ToBool(v));
    case Type::Integer:
    case Type::Long:
    case Type::Single:
    case Type::Currency:
      return Value::Of(type, ToNumber(v));
    case Type::Double: {
      const double n = ToNumber(v);
      if (!std::isfinite(n)) throw RunFailure{"オーバーフローしました", kErrOverflow};
      return Value::Dbl(n);
    }
    case Type::Date:
      if (v.type() == Type::Date) return v;
      if (v.type() == Type::String) {
        if (const std::optional<double> d = ParseDateText(v.text())) return MakeDate(*d);
        throw RunFailure{"型が一致しません（\"" + v.text() + "\" は日付ではありません）",
                         kErrTypeMismatch};
      }
      return MakeDate(ToNumber(v));
  }
  return v;
}

std::u32string Chars(std::string_view s) {
  std::u32string out;
  for (size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i]);
    size_t n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    if (i + n > s.size()) n = s.size() - i;
    char32_t cp = n == 1 ? c : c & (0x3F >> (n - 1));
    for (size_t k = 1; k < n; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    out += cp;
    i += n;
  }
  return out;
}

std::string Utf8(std::u32string_view s) {
  std::string out;
  for (char32_t c : s) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

Value CurrencyOf(double n) {
  return Value::Cur(n);
}

Type TypeOfChar(char c) {
  switch (c) {
    case '$':
      return Type::String;
    case '%':
      return Type::Integer;
    case '&':
      return Type::Long;
    case '!':
      return Type::Single;
    case '#':
      return Type::Double;
    case '@':
      return Type::Currency;
    default:
      return Type::Empty;
  }
}

std::string FixedText(std::string_view text, size_t length) {
  // Characters, not bytes: a UTF-8 sequence is one character however many bytes it takes.
  size_t at = 0;
  size_t count = 0;
  while (at < text.size() && count < length) {
    ++at;
    while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) ++at;
    ++count;
  }
  std::string out(text.substr(0, at));
  out.append(length - count, ' ');
  return out;
}

Type TypeNamed(std::string_view name) {
  const std::string l = Lower(name);
  if (l == "integer") return Type::Integer;
  if (l == "long") return Type::Long;
  if (l == "single") return Type::Single;
  if (l == "double") return Type::Double;
  if (l == "currency") return Type::Currency;
  if (l == "date") return Type::Date;
  if (l == "string") return Type::String;
  if (l == "boolean") return Type::Boolean;
  if (l == "object") return Type::Object;
  return Type::Empty;  // Variant, and a name that is no type
}

Value Object::get(std::string_view member) {
  throw RunFailure{std::string(typeName()) + " に " + std::string(member) + " はありません"};
}

void Object::set(std::string_view member, const Value&) {
  throw RunFailure{std::string(typeName()) + " の " + std::string(member) + " は設定できません"};
}

Value Object::call(std::string_view member, const std::vector<Value>& args,
                   const std::vector<bool>&) {
  if (args.empty()) return get(member);
  throw RunFailure{std::string(typeName()) + " に " + std::string(member) + " はありません"};
}

Value Object::index(const std::vector<Value>&) {
  throw RunFailure{std::string(typeName()) + " は添字を取りません"};
}

std::vector<Value> Object::items() {
  throw RunFailure{std::string(typeName()) + " は For Each で回せません", kErrTypeMismatch};
}

}  // namespace qf::basic
