#pragma once

#include <string>
#include <string_view>

#include "basic/value.h"

namespace qf::basic {

// What the language says of an error number when nobody gave a description (Err.Raise n,
// Error$(n)): the texts of a Japanese Windows for the numbers the language itself raises.
std::string ErrorDescription(int number);

// How a stop reads for the user: the file (`file` when the error names none), the line and
// the character, the procedure and the calls that led to it, why; then what else a parse found,
// a line each.
std::string Describe(const BasicError& error, std::string_view file);

// The Err object: the last error a handler took (Number, Description, Source), Raise and Clear.
// Where a value is wanted it stands for its Number, as the language's default property.
class ErrObject final : public Object {
 public:
  std::string_view typeName() const override { return "ErrObject"; }
  Value get(std::string_view member) override;
  void set(std::string_view member, const Value& value) override;
  Value call(std::string_view member, const std::vector<Value>& args,
             const std::vector<bool>& missing) override;
  std::optional<Value> defaultValue() override { return Value::Lng(static_cast<double>(number_)); }

  // An error taken by a handler: what it was, from the failure that raised it.
  void take(const BasicError& error);
  void clear();
  const std::string& description() const { return description_; }

 private:
  long number_ = 0;
  std::string description_;
  std::string source_;
};

}  // namespace qf::basic
