// The language's functions, a table of them a file: each file adds its own to the one table.
#pragma once

#include <map>
#include <string>

#include "basic/interpreter.h"

namespace qf::basic {

using BuiltinTable = std::map<std::string, Builtin, std::less<>>;

// Refuses a call with fewer than `low` or more than `high` arguments.
void CheckCount(const std::vector<Value>& args, size_t low, size_t high, const char* name);
// A whole number of a value, rounded half to even; refused outside Long.
long Whole(const Value& v);

// The names the runner itself gives meaning to (Printer, Err, Me, MsgBox, Now, LBound …).
bool IsLanguageName(std::string_view lowerName);

void AddDateFunctions(BuiltinTable& table);
void AddFormatFunctions(BuiltinTable& table);
void AddTextFunctions(BuiltinTable& table);
void AddMathFunctions(BuiltinTable& table);

}  // namespace qf::basic
