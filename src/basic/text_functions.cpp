// The language's functions on Japanese text: StrConv (case, width, kana, to and from CP932
// bytes) and the byte functions LenB, LeftB, RightB, MidB, as a Japanese Windows counts them.
#include <array>

#include "basic/array_value.h"
#include "basic/builtin_tables.h"
#include "document/cp932.h"

namespace qf::basic {

namespace {

using Args = std::vector<Value>;

// The full-width forms of the half-width katakana U+FF61 … U+FF9F, in order.
constexpr std::u32string_view kWideKana =
    U"。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホ"
    U"マミ"
    U"ムメモヤユヨラリルレロワン゛゜";

bool TakesVoicing(char32_t c) {
  return (c >= U'カ' && c <= U'ト') || (c >= U'ハ' && c <= U'ホ') || c == U'ウ';
}

char32_t Wide(char32_t c) {
  if (c == U' ') return U'\u3000';
  if (c >= 0x21 && c <= 0x7E) return c - 0x21 + 0xFF01;
  if (c >= 0xFF61 && c <= 0xFF9F) return kWideKana[c - 0xFF61];
  return c;
}

std::u32string Widened(std::u32string_view s) {
  std::u32string out;
  for (size_t i = 0; i < s.size(); ++i) {
    const char32_t c = Wide(s[i]);
    const char32_t mark = i + 1 < s.size() ? s[i + 1] : 0;
    // ｶﾞ is ガ and ﾊﾟ is パ: the mark joins the kana before it.
    if (mark == 0xFF9E && TakesVoicing(c)) {
      out += c == U'ウ' ? U'ヴ' : c + 1;
      ++i;
    } else if (mark == 0xFF9F && c >= U'ハ' && c <= U'ホ' && (c - U'ハ') % 3 == 0) {
      out += c + 2;
      ++i;
    } else {
      out += c;
    }
  }
  return out;
}

std::u32string Narrowed(std::u32string_view s) {
  std::u32string out;
  for (char32_t c : s) {
    if (c == 0x3000) {
      out += U' ';
    } else if (c >= 0xFF01 && c <= 0xFF5E) {
      out += c - 0xFF01 + 0x21;
    } else if (const size_t at = kWideKana.find(c); at != std::u32string_view::npos) {
      out += static_cast<char32_t>(0xFF61 + at);
    } else if (c == U'ヴ') {
      out += U"\uFF73\uFF9E";
    } else if (const size_t voiced = c > U'ア' ? kWideKana.find(c - 1) : std::u32string_view::npos;
               voiced != std::u32string_view::npos && TakesVoicing(c - 1)) {
      out += static_cast<char32_t>(0xFF61 + voiced);
      out += U'\uFF9E';
    } else if (const size_t half =
                   c > U'ア' + 1 ? kWideKana.find(c - 2) : std::u32string_view::npos;
               half != std::u32string_view::npos && c - 2 >= U'ハ' && c - 2 <= U'ホ' &&
               (c - 2 - U'ハ') % 3 == 0) {
      out += static_cast<char32_t>(0xFF61 + half);
      out += U'\uFF9F';
    } else {
      out += c;
    }
  }
  return out;
}

// CP932 bytes of a text; a character CP932 has not is "?", as a Japanese Windows writes it.
std::string Cp932Of(std::string_view text) {
  std::string out;
  for (size_t at = 0; at < text.size();) {
    const std::string_view one = Utf8CharAt(text, at);
    if (!Utf8ToCp932(one, out).ok) out += '?';
    at += std::max<size_t>(1, one.size());
  }
  return out;
}

Value Converted(const Value& v, long how) {
  if (how & 128) return Value::Raw(Cp932Of(ToText(v)));  // vbFromUnicode
  std::u32string s = Chars(v.type() == Type::Bytes ? BytesText(v.text()) : ToText(v));
  for (char32_t& c : s) {
    if ((how & 3) == 1 && c >= 'a' && c <= 'z') c -= 'a' - 'A';
    if ((how & 3) == 2 && c >= 'A' && c <= 'Z') c += 'a' - 'A';
    if ((how & 16) && c >= U'ぁ' && c <= U'ゖ') c += U'ァ' - U'ぁ';  // vbKatakana
    if ((how & 32) && c >= U'ァ' && c <= U'ヶ') c -= U'ァ' - U'ぁ';  // vbHiragana
  }
  if ((how & 3) == 3) {
    bool start = true;
    for (char32_t& c : s) {
      if (start && c >= 'a' && c <= 'z') c -= 'a' - 'A';
      if (!start && c >= 'A' && c <= 'Z') c += 'a' - 'A';
      start = c == ' ' || c == '\t';
    }
  }
  if (how & 4) s = Widened(s);
  if (how & 8) s = Narrowed(s);
  return Value::Str(Utf8(s));
}

// The bytes a byte function counts: CP932 bytes as they are, a text's two bytes a character
// (UTF-16, as the language keeps text).
std::string BytesOf(const Value& v) {
  if (v.type() == Type::Bytes) return v.text();
  std::string out;
  for (char32_t c : Chars(ToText(v))) {
    const auto unit = [&out](char32_t u) {
      out += static_cast<char>(u & 0xFF);
      out += static_cast<char>((u >> 8) & 0xFF);
    };
    if (c >= 0x10000) {
      unit(0xD800 + ((c - 0x10000) >> 10));
      unit(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      unit(c);
    }
  }
  return out;
}

// What a byte function's bytes become: bytes again, or for a text the characters whole.
Value FromBytes(const Value& original, const std::string& bytes) {
  if (original.type() == Type::Bytes) return Value::Raw(bytes);
  std::u32string s;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    s += static_cast<char32_t>(static_cast<unsigned char>(bytes[i]) |
                               (static_cast<unsigned char>(bytes[i + 1]) << 8));
  }
  return Value::Str(Utf8(s));
}

size_t Count(const Value& v, const char* name) {
  const long n = Whole(v);
  if (n < 0) throw RunFailure{std::string(name) + " の長さが負です", kErrInvalidCall};
  return static_cast<size_t>(n);
}

}  // namespace

void AddTextFunctions(BuiltinTable& b) {
  b["split"] = [](const Args& a) {
    CheckCount(a, 1, 4, "Split");
    const std::string text = ToText(a[0]);
    const std::string by = a.size() > 1 && a[1].type() != Type::Empty ? ToText(a[1]) : " ";
    const long limit = a.size() > 2 && a[2].type() != Type::Empty ? Whole(a[2]) : -1;
    std::vector<Value> parts;
    if (text.empty()) return Value::Obj(std::make_shared<ArrayValue>(std::move(parts)));
    size_t from = 0;
    // An empty delimiter gives the whole text, as the language gives it.
    while (!by.empty() && (limit < 0 || static_cast<long>(parts.size()) + 1 < limit)) {
      const size_t at = text.find(by, from);
      if (at == std::string::npos) break;
      parts.push_back(Value::Str(text.substr(from, at - from)));
      from = at + by.size();
      if (parts.size() >= 1'000'000) throw RunFailure{"Split の結果が大きすぎます（100 万まで）"};
    }
    parts.push_back(Value::Str(text.substr(from)));
    return Value::Obj(std::make_shared<ArrayValue>(std::move(parts)));
  };
  b["join"] = [](const Args& a) {
    CheckCount(a, 1, 2, "Join");
    const ArrayValue* array = ArrayOf(a[0]);
    if (!array) throw RunFailure{"Join には配列が必要です", kErrTypeMismatch};
    const std::string by = a.size() > 1 && a[1].type() != Type::Empty ? ToText(a[1]) : " ";
    std::string out;
    for (size_t i = 0; i < array->elements().size(); ++i) {
      if (i > 0) out += by;
      out += ToText(array->elements()[i]);
      if (out.size() > (size_t{16} << 20)) throw RunFailure{"文字列が長すぎます（16 MB まで）"};
    }
    return Value::Str(out);
  };
  b["array"] = [](const Args& a) { return Value::Obj(std::make_shared<ArrayValue>(a)); };
  b["strconv"] = [](const Args& a) {
    CheckCount(a, 2, 3, "StrConv");
    const long how = Whole(a[1]);
    if (how < 0 || how > 255 || ((how & 4) && (how & 8)) || ((how & 16) && (how & 32))) {
      throw RunFailure{"StrConv の変換の指定が正しくありません", kErrInvalidCall};
    }
    if (how & 64)
      return Value::Str(a[0].type() == Type::Bytes ? BytesText(a[0].text()) : ToText(a[0]));
    return Converted(a[0], how);
  };
  b["lenb"] = [](const Args& a) {
    CheckCount(a, 1, 1, "LenB");
    return Value::Lng(static_cast<double>(BytesOf(a[0]).size()));
  };
  b["leftb"] = [](const Args& a) {
    CheckCount(a, 2, 2, "LeftB");
    const std::string bytes = BytesOf(a[0]);
    return FromBytes(a[0], bytes.substr(0, std::min(bytes.size(), Count(a[1], "LeftB"))));
  };
  b["rightb"] = [](const Args& a) {
    CheckCount(a, 2, 2, "RightB");
    const std::string bytes = BytesOf(a[0]);
    const size_t n = std::min(bytes.size(), Count(a[1], "RightB"));
    return FromBytes(a[0], bytes.substr(bytes.size() - n));
  };
  b["midb"] = [](const Args& a) {
    CheckCount(a, 2, 3, "MidB");
    const std::string bytes = BytesOf(a[0]);
    const long start = Whole(a[1]);
    if (start < 1) throw RunFailure{"MidB の開始位置は 1 からです", kErrInvalidCall};
    if (static_cast<size_t>(start) > bytes.size()) return FromBytes(a[0], "");
    const size_t n = a.size() == 3 ? Count(a[2], "MidB") : bytes.size();
    return FromBytes(a[0], bytes.substr(static_cast<size_t>(start - 1), n));
  };
}

}  // namespace qf::basic
