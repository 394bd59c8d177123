#pragma once

#include <optional>
#include <string_view>

#include "basic/value.h"

namespace qf::basic {

struct Variable;

// TypeName, VarType and the Is functions (IsEmpty, IsNull, IsArray, IsObject) of a value, or of
// the variable it was read from (`variable`, for arrays); nothing for any other name.
std::optional<Value> TypeFunction(std::string_view name, const Value& value,
                                  const Variable* variable);

}  // namespace qf::basic
