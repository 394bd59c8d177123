#include "font_object.h"

#include <array>
#include <utility>

namespace qf::basic {

Value FontObject::get(std::string_view m) {
  if (m == "name") return Value::Str(font_.name);
  if (m == "size") return Value::Sng(font_.pointSize);
  if (m == "bold") return Value::Bool(font_.bold);
  if (m == "italic") return Value::Bool(font_.italic);
  if (m == "strikethrough") return Value::Bool(font_.strikethrough);
  if (m == "underline") return Value::Bool(font_.underline);
  if (m == "weight") return Value::Int(font_.bold ? 700 : 400);
  return Object::get(m);
}

void FontObject::set(std::string_view m, const Value& v) {
  if (m == "name") {
    font_.name = ToText(Plain(v));
  } else if (m == "size") {
    const double size = ToNumber(v);
    if (!(size > 0 && size <= 2048)) throw RunFailure{"フォントの大きさが範囲の外です"};
    font_.pointSize = static_cast<float>(size);
  } else if (m == "bold") {
    font_.bold = ToBool(v);
  } else if (m == "italic") {
    font_.italic = ToBool(v);
  } else if (m == "strikethrough") {
    font_.strikethrough = ToBool(v);
  } else if (m == "underline") {
    font_.underline = ToBool(v);
  } else if (m == "weight") {
    font_.bold = ToNumber(v) >= 550;
  } else {
    Object::set(m, v);
  }
}

double FaceHeightEm(std::string_view face) {
  // Ascent plus descent over the em square, from the faces' own tables.
  static constexpr std::array<std::pair<std::string_view, double>, 4> kLatin = {{
      {"Arial", 2288.0 / 2048},
      {"Times New Roman", 2268.0 / 2048},
      {"Courier New", 2320.0 / 2048},
      {"Meiryo", 3072.0 / 2048},
  }};
  for (const auto& [name, em] : kLatin) {
    if (face == name) return em;
  }
  if (face == "メイリオ") return 3072.0 / 2048;
  return 1.0;  // ＭＳ 明朝, ＭＳ ゴシック, their P faces, MS UI Gothic and the rest
}

std::string_view FontMember(std::string_view m) {
  if (m == "fontname") return "name";
  if (m == "fontsize") return "size";
  if (m == "fontbold") return "bold";
  if (m == "fontitalic") return "italic";
  if (m == "fontstrikethru" || m == "fontstrikethrough") return "strikethrough";
  if (m == "fontunderline") return "underline";
  return {};
}

}  // namespace qf::basic
