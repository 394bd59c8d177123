#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "basic/program.h"

namespace qf::basic {

// A variable of a Type … End Type: its members by name. An assignment of one to another copies
// every member (Copy), as the language copies records; a member that is itself a record is one
// object the record owns.
class UserValue final : public Object {
 public:
  // A new record of the type, every member empty as a declaration makes it.
  UserValue(const Program& program, const UserType& type);

  std::string_view typeName() const override { return type_.shownName; }
  Value get(std::string_view member) override;
  void set(std::string_view member, const Value& value) override;
  // An array member with its index: r.Cells(2).
  Value call(std::string_view member, const std::vector<Value>& args,
             const std::vector<bool>& missing) override;
  // ReDim [Preserve] r.Member(lower To upper) of an array member.
  void redim(std::string_view member, long lower, long upper, bool preserve);

  // A record with the same members, each copied.
  std::shared_ptr<UserValue> copy() const;

 private:
  size_t fieldOf(std::string_view member) const;
  // What one element of the member holds before anything is assigned to it.
  Value fresh(const UserField& field) const;

  const Program& program_;
  const UserType& type_;
  std::vector<Value> values_;
};

// The value an assignment stores: a record and an array are copied, anything else is as it is.
Value Assigned(const Value& value);

}  // namespace qf::basic
