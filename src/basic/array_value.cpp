#include "array_value.h"

#include <cmath>

#include "basic/user_types.h"

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

void ArrayValue::put(const std::vector<Value>& args, const Value& value) {
  Value& element = at(args);
  element =
      type_ == Type::Empty || type_ == Type::Object ? Assigned(value) : Coerce(Plain(value), type_);
}

void ArrayValue::resize(long lower, long upper, bool preserve,
                        const std::function<Value()>& fresh) {
  std::vector<Value> resized;
  for (long k = lower; k <= upper; ++k) {
    const bool kept = preserve && k >= lower_ && k <= this->upper();
    resized.push_back(kept ? std::move(elements_[static_cast<size_t>(k - lower_)]) : fresh());
  }
  elements_ = std::move(resized);
  lower_ = lower;
}

std::shared_ptr<ArrayValue> ArrayValue::copy() const {
  std::vector<Value> copied;
  copied.reserve(elements_.size());
  for (const Value& v : elements_) copied.push_back(Assigned(v));
  return std::make_shared<ArrayValue>(std::move(copied), lower_, type_);
}

Value ArrayValue::index(const std::vector<Value>& args) {
  return at(args);
}

ArrayValue* ArrayOf(const Value& v) {
  return v.type() == Type::Object ? dynamic_cast<ArrayValue*>(v.object().get()) : nullptr;
}

}  // namespace qf::basic
