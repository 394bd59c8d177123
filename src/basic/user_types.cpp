#include "user_types.h"

#include "basic/array_value.h"

namespace qf::basic {

UserValue::UserValue(const Program& program, const UserType& type)
    : program_(program), type_(type) {
  values_.reserve(type_.fields.size());
  for (const UserField& f : type_.fields) {
    if (!f.array) {
      values_.push_back(fresh(f));
      continue;
    }
    std::vector<Value> elements;
    for (long k = f.lower; k <= f.upper; ++k) elements.push_back(fresh(f));
    values_.push_back(Value::Obj(std::make_shared<ArrayValue>(
        std::move(elements), f.lower, f.userType.empty() ? f.type : Type::Object)));
  }
}

Value UserValue::fresh(const UserField& f) const {
  if (!f.userType.empty()) {
    return Value::Obj(std::make_shared<UserValue>(program_, program_.types.at(f.userType)));
  }
  if (f.length > 0) return Value::Str(std::string(static_cast<size_t>(f.length), ' '));
  return f.type == Type::Object ? Value{} : Coerce(Value{}, f.type);
}

Value UserValue::call(std::string_view member, const std::vector<Value>& args,
                      const std::vector<bool>& missing) {
  const size_t i = fieldOf(member);
  if (!type_.fields[i].array) return Object::call(member, args, missing);
  return ArrayOf(values_[i])->index(args);
}

void UserValue::redim(std::string_view member, long lower, long upper, bool preserve) {
  const size_t i = fieldOf(member);
  const UserField& f = type_.fields[i];
  if (!f.array) throw RunFailure{"「" + f.name + "」は配列ではありません"};
  if (upper < lower || upper - lower >= 1'000'000) {
    throw RunFailure{"配列の大きさが正しくありません"};
  }
  ArrayOf(values_[i])->resize(lower, upper, preserve, [&] { return fresh(f); });
}

size_t UserValue::fieldOf(std::string_view member) const {
  for (size_t i = 0; i < type_.fields.size(); ++i) {
    if (type_.fields[i].name == member) return i;
  }
  throw RunFailure{"型「" + type_.shownName + "」にメンバー「" + std::string(member) +
                   "」はありません"};
}

Value UserValue::get(std::string_view member) {
  return values_[fieldOf(member)];
}

void UserValue::set(std::string_view member, const Value& value) {
  const size_t i = fieldOf(member);
  const UserField& f = type_.fields[i];
  if (f.array) {
    // A whole array into an array member (r.Tags = Split(s, ",")).
    const ArrayValue* given = ArrayOf(value);
    if (!given) throw RunFailure{"「" + f.name + "」には配列を代入します", kErrTypeMismatch};
    values_[i] = Value::Obj(given->copy());
    return;
  }
  if (!f.userType.empty()) {
    const auto* other = dynamic_cast<const UserValue*>(value.object().get());
    if (!other || &other->type_ != &program_.types.at(f.userType)) {
      throw RunFailure{"型が一致しません（「" + f.name + "」は " +
                           program_.types.at(f.userType).shownName + " です）",
                       kErrTypeMismatch};
    }
    values_[i] = Value::Obj(other->copy());
    return;
  }
  values_[i] = f.type == Type::Object ? value : Coerce(Plain(value), f.type);
  if (f.length > 0)
    values_[i] = Value::Str(FixedText(ToText(values_[i]), static_cast<size_t>(f.length)));
}

std::shared_ptr<UserValue> UserValue::copy() const {
  auto c = std::make_shared<UserValue>(program_, type_);
  for (size_t i = 0; i < values_.size(); ++i) c->values_[i] = Assigned(values_[i]);
  return c;
}

Value Assigned(const Value& value) {
  if (const auto* record = dynamic_cast<const UserValue*>(value.object().get())) {
    return Value::Obj(record->copy());
  }
  if (const ArrayValue* array = ArrayOf(value)) return Value::Obj(array->copy());
  return value;
}

}  // namespace qf::basic
