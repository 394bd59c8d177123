#include "errors.h"

#include <cmath>

namespace qf::basic {

std::string ErrorDescription(int number) {
  switch (number) {
    case 0:
      return "";
    case 3:
      return "GoSub のない Return です。";
    case kErrInvalidCall:
      return "プロシージャの呼び出し、または引数が不正です。";
    case kErrOverflow:
      return "オーバーフローしました。";
    case 7:
      return "メモリが不足しています。";
    case kErrSubscript:
      return "インデックスが有効範囲にありません。";
    case kErrDivision:
      return "0 で除算しました。";
    case kErrTypeMismatch:
      return "型が一致しません。";
    case kErrResumeWithoutError:
      return "エラーが発生していないのに Resume があります。";
    case 53:
      return "ファイルが見つかりません。";
    case 91:
      return "オブジェクト変数または With ブロック変数が設定されていません。";
    case 94:
      return "Null の使い方が不正です。";
    default:
      return "アプリケーション定義またはオブジェクト定義のエラーです。";
  }
}

Value ErrObject::get(std::string_view member) {
  if (member == "number") return Value::Lng(static_cast<double>(number_));
  if (member == "description") return Value::Str(description_);
  if (member == "source") return Value::Str(source_);
  if (member == "clear" || member == "raise") return call(member, {}, {});
  return Object::get(member);
}

void ErrObject::set(std::string_view member, const Value& value) {
  if (member == "number") {
    number_ = static_cast<long>(std::nearbyint(ToNumber(value)));
  } else if (member == "description") {
    description_ = ToText(value);
  } else if (member == "source") {
    source_ = ToText(value);
  } else {
    Object::set(member, value);
  }
}

Value ErrObject::call(std::string_view member, const std::vector<Value>& args,
                      const std::vector<bool>& missing) {
  if (member == "clear" && args.empty()) {
    clear();
    return {};
  }
  if (member == "raise") {
    // Raise Number, [Source], [Description]: the error as the language's own would be.
    if (args.empty() || (!missing.empty() && missing[0])) {
      throw RunFailure{"Err.Raise には番号が必要です"};
    }
    const double n = std::nearbyint(ToNumber(args[0]));
    if (!(n > 0 && n <= 65535)) throw RunFailure{"Err.Raise の番号は 1 から 65535 です"};
    const auto given = [&](size_t i) {
      return i < args.size() && !(i < missing.size() && missing[i]);
    };
    source_ = given(1) ? ToText(args[1]) : std::string();
    const int number = static_cast<int>(n);
    throw RunFailure{given(2) ? ToText(args[2]) : ErrorDescription(number), number};
  }
  return Object::call(member, args, missing);
}

std::string Describe(const BasicError& error, std::string_view file) {
  std::string out = "「" + (error.file.empty() ? std::string(file) : error.file) + "」";
  if (error.line > 0) {
    out += "の " + std::to_string(error.line) + " 行目";
    if (error.column > 0) out += " " + std::to_string(error.column) + " 文字目";
  }
  if (!error.procedure.empty()) {
    std::string calls;
    for (const std::string& caller : error.callers) calls += caller + " → ";
    out += "（" + calls + error.procedure + "）";
  }
  out += "：" + error.message;
  for (const BasicError& other : error.more) out += "\n" + Describe(other, file);
  return out;
}

void ErrObject::take(const BasicError& error) {
  number_ = error.number;
  description_ = error.message;
}

void ErrObject::clear() {
  number_ = 0;
  description_.clear();
  source_.clear();
}

}  // namespace qf::basic
