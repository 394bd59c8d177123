#pragma once

#include <string>
#include <vector>

#include "basic/value.h"

namespace qf::basic {

// A Collection: items in order, each with a key or none, read by place (from 1) or by key.
// Keys are matched without regard to case, as the language matches them.
class Collection final : public Object {
 public:
  std::string_view typeName() const override { return "Collection"; }
  Value get(std::string_view member) override;
  Value call(std::string_view member, const std::vector<Value>& args,
             const std::vector<bool>& missing) override;
  Value index(const std::vector<Value>& args) override;
  std::vector<Value> items() override;

 private:
  struct Item {
    Value value;
    std::string key;  // lower case; none when empty
  };
  size_t place(const Value& which) const;  // an item's place, from 0
  void add(const std::vector<Value>& args, const std::vector<bool>& missing);

  std::vector<Item> items_;
};

}  // namespace qf::basic
