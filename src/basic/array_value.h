#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "basic/value.h"

namespace qf::basic {

// An array held as a value, as a Variant holds one: what Split and Array return, what a
// Variant assigned one keeps, a Type's array member. One dimension, from `lower`; v(i) reads
// and sets an element, For Each visits them, LBound and UBound give its bounds. Assigned, it
// is copied, as the language copies arrays.
class ArrayValue final : public Object {
 public:
  // `type`: what each element is made (a Long member's elements are Longs); Empty for any.
  ArrayValue(std::vector<Value> elements, long lower = 0, Type type = Type::Empty)
      : elements_(std::move(elements)), lower_(lower), type_(type) {}

  std::string_view typeName() const override { return "Variant()"; }
  Value index(const std::vector<Value>& args) override;
  std::vector<Value> items() override { return elements_; }

  Value& at(const std::vector<Value>& args);
  // An element set, made the array's type.
  void put(const std::vector<Value>& args, const Value& value);
  // New bounds (ReDim); with `preserve` the elements still inside keep their values, the
  // others are `fresh` ones.
  void resize(long lower, long upper, bool preserve, const std::function<Value()>& fresh);
  std::shared_ptr<ArrayValue> copy() const;
  long lower() const { return lower_; }
  long upper() const { return lower_ + static_cast<long>(elements_.size()) - 1; }
  const std::vector<Value>& elements() const { return elements_; }

 private:
  std::vector<Value> elements_;
  long lower_;
  Type type_;
};

// The array a value holds; nullptr for any other value.
ArrayValue* ArrayOf(const Value& v);

}  // namespace qf::basic
