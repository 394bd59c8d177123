#pragma once

#include <vector>

#include "basic/value.h"

namespace qf::basic {

// An array held as a value, as a Variant holds one: what Split and Array return, what a
// Variant assigned one keeps. One dimension, from `lower`; v(i) reads and sets an element,
// For Each visits them, LBound and UBound give its bounds.
class ArrayValue final : public Object {
 public:
  ArrayValue(std::vector<Value> elements, long lower = 0)
      : elements_(std::move(elements)), lower_(lower) {}

  std::string_view typeName() const override { return "Variant()"; }
  Value index(const std::vector<Value>& args) override;
  std::vector<Value> items() override { return elements_; }

  Value& at(const std::vector<Value>& args);
  long lower() const { return lower_; }
  long upper() const { return lower_ + static_cast<long>(elements_.size()) - 1; }
  const std::vector<Value>& elements() const { return elements_; }

 private:
  std::vector<Value> elements_;
  long lower_;
};

// The array a value holds; nullptr for any other value.
ArrayValue* ArrayOf(const Value& v);

}  // namespace qf::basic
