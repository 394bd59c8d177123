#include "screen_objects.h"

#include <algorithm>
#include <array>

namespace qf::basic {

namespace {

// Each button set's buttons by the number MsgBox returns for them (vbOK 1 … vbNo 7).
constexpr std::array<std::array<int, 3>, 6> kButtonSets = {{
    {1, 0, 0},  // vbOKOnly
    {1, 2, 0},  // vbOKCancel
    {3, 4, 5},  // vbAbortRetryIgnore
    {6, 7, 2},  // vbYesNoCancel
    {6, 7, 0},  // vbYesNo
    {4, 2, 0},  // vbRetryCancel
}};

}  // namespace

Value DebugObject::call(std::string_view m, const std::vector<Value>& args,
                        const std::vector<bool>& missing) {
  if (m == "assert") return {};
  return Object::call(m, args, missing);
}

void DebugObject::printText(std::string_view text) {
  line_ += text;
}

void DebugObject::nextZone() {
  // Print zones of 14 columns, as the Immediate window has them.
  line_.append(14 - line_.size() % 14, ' ');
}

void DebugObject::tabTo(long column) {
  const auto to = static_cast<size_t>(std::max(1L, column) - 1);
  if (line_.size() > to) newLine();
  line_.append(to - line_.size(), ' ');
}

void DebugObject::spaces(long count) {
  line_.append(static_cast<size_t>(std::clamp(count, 0L, 10000L)), ' ');
}

void DebugObject::newLine() {
  say_(line_);
  line_.clear();
}

void DebugObject::drawLine(std::optional<double>, std::optional<double>, double, double,
                           std::optional<int32_t>, bool, bool) {
  throw RunFailure{"Debug には描けません"};
}

void DebugObject::drawCircle(double, double, double, std::optional<int32_t>, std::optional<double>,
                             std::optional<double>, std::optional<double>) {
  throw RunFailure{"Debug には描けません"};
}

void DebugObject::setPixel(double, double, std::optional<int32_t>) {
  throw RunFailure{"Debug には描けません"};
}

Value ScreenObject::get(std::string_view m) {
  if (m == "mousepointer") return Value::Int(mousePointer_);
  if (m == "width") return Value::Lng(1920 * 15);
  if (m == "height") return Value::Lng(1080 * 15);
  if (m == "twipsperpixelx" || m == "twipsperpixely") return Value::Sng(15);
  return Object::get(m);
}

void ScreenObject::set(std::string_view m, const Value& v) {
  if (m == "mousepointer") {
    mousePointer_ = static_cast<int>(BankersRound(ToNumber(v)));
    return;
  }
  Object::set(m, v);
}

Value AppObject::get(std::string_view m) {
  if (m == "path") return Value::Str(".");
  if (m == "exename" || m == "title" || m == "productname") return Value::Str("Quillform");
  if (m == "major") return Value::Int(1);
  if (m == "minor" || m == "revision") return Value::Int(0);
  if (m == "previnstance") return Value::Bool(false);
  return Object::get(m);
}

Value MessageBox(const std::vector<Value>& args, const Say& say) {
  if (args.empty() || args.size() > 5) throw RunFailure{"MsgBox の引数の数が違います"};
  const long buttons = args.size() > 1 ? static_cast<long>(BankersRound(ToNumber(args[1]))) : 0;
  const std::string title = args.size() > 2 ? ToText(args[2]) : std::string();
  say("MsgBox" + (title.empty() ? std::string() : "「" + title + "」") + "：" + ToText(args[0]));
  const auto set = static_cast<size_t>(buttons & 7);
  if (set >= kButtonSets.size()) throw RunFailure{"MsgBox のボタンの値が正しくありません"};
  const auto& row = kButtonSets[set];
  const auto choice = static_cast<size_t>((buttons >> 8) & 3);
  // A default button the set does not have is its first, as the language takes it.
  return Value::Int(choice < row.size() && row[choice] != 0 ? row[choice] : row[0]);
}

}  // namespace qf::basic
