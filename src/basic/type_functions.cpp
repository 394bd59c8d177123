#include "type_functions.h"

#include <iterator>

#include "basic/array_value.h"
#include "basic/machine.h"

namespace qf::basic {

namespace {

// VarType's number and TypeName's name of each type, in the order of Type.
struct TypeFacts {
  int varType;
  const char* name;
};
constexpr TypeFacts kTypeFacts[] = {{0, "Empty"}, {1, "Null"},   {11, "Boolean"}, {2, "Integer"},
                                    {3, "Long"},  {4, "Single"}, {5, "Double"},   {6, "Currency"},
                                    {7, "Date"},  {8, "String"}, {8, "String"},   {9, "Object"}};
static_assert(std::size(kTypeFacts) == static_cast<size_t>(Type::Object) + 1);

int VarTypeOf(Type t) {
  return kTypeFacts[static_cast<size_t>(t)].varType;
}

std::string NameOf(Type t) {
  return kTypeFacts[static_cast<size_t>(t)].name;
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
