#include "user_types.h"

namespace qf::basic {

UserValue::UserValue(const Program& program, const UserType& type)
    : program_(program), type_(type) {
  values_.reserve(type_.fields.size());
  for (const UserField& f : type_.fields) {
    if (!f.userType.empty()) {
      values_.push_back(
          Value::Obj(std::make_shared<UserValue>(program_, program_.types.at(f.userType))));
    } else if (f.length > 0) {
      values_.push_back(Value::Str(std::string(static_cast<size_t>(f.length), ' ')));
    } else {
      values_.push_back(f.type == Type::Object ? Value{} : Coerce(Value{}, f.type));
    }
  }
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
  return value;
}

}  // namespace qf::basic
