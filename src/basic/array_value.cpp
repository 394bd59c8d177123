#include "array_value.h"

#include <cmath>

namespace qf::basic {

Value& ArrayValue::at(const std::vector<Value>& args) {
  if (args.size() != 1) throw RunFailure{"配列の添字の数が違います", kErrSubscript};
  const double n = BankersRound(ToNumber(args[0]));
  if (!(n >= static_cast<double>(lower_) && n <= static_cast<double>(upper()))) {
    throw RunFailure{"添字 " + NumberText(n, Type::Double) + " が配列の範囲（" +
                         std::to_string(lower_) + " To " + std::to_string(upper()) + "）の外です",
                     kErrSubscript};
  }
  return elements_[static_cast<size_t>(n - static_cast<double>(lower_))];
}

Value ArrayValue::index(const std::vector<Value>& args) {
  return at(args);
}

ArrayValue* ArrayOf(const Value& v) {
  return v.type() == Type::Object ? dynamic_cast<ArrayValue*>(v.object().get()) : nullptr;
}

}  // namespace qf::basic
