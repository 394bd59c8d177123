#include "type_functions.h"

#include "basic/array_value.h"
#include "basic/machine.h"

namespace qf::basic {

namespace {

// VarType's numbers, and TypeName's names, of each type.
int VarTypeOf(Type t) {
  switch (t) {
    case Type::Empty:
      return 0;
    case Type::Null:
      return 1;
    case Type::Integer:
      return 2;
    case Type::Long:
      return 3;
    case Type::Single:
      return 4;
    case Type::Double:
      return 5;
    case Type::Currency:
      return 6;
    case Type::Date:
      return 7;
    case Type::String:
    case Type::Bytes:
      return 8;
    case Type::Object:
      return 9;
    case Type::Boolean:
      return 11;
  }
  return 12;
}

std::string NameOf(Type t) {
  static const char* kNames[] = {"Empty",  "Null",     "Boolean", "Integer", "Long",   "Single",
                                 "Double", "Currency", "Date",    "String",  "String", "Object"};
  return kNames[static_cast<size_t>(t)];
}

}  // namespace

std::optional<Value> TypeFunction(std::string_view name, const Value& value,
                                  const Variable* variable) {
  const bool array = (variable && variable->isArray) || ArrayOf(value);
  if (name == "isarray") return Value::Bool(array);
  if (name == "isempty") return Value::Bool(!array && value.type() == Type::Empty);
  if (name == "isnull") return Value::Bool(value.isNull());
  if (name == "isobject") return Value::Bool(!array && value.type() == Type::Object);
  if (name == "vartype") {
    if (variable && variable->isArray) return Value::Int(8192 + VarTypeOf(variable->type));
    if (ArrayOf(value)) return Value::Int(8192 + 12);
    return Value::Int(VarTypeOf(value.type()));
  }
  if (name == "typename") {
    if (variable && variable->isArray) {
      return Value::Str((variable->type == Type::Empty ? "Variant" : NameOf(variable->type)) +
                        "()");
    }
    if (value.type() == Type::Object) {
      return Value::Str(value.object() ? std::string(value.object()->typeName()) : "Nothing");
    }
    return Value::Str(NameOf(value.type()));
  }
  return std::nullopt;
}

}  // namespace qf::basic
