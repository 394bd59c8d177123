#include "collection.h"

namespace qf::basic {

namespace {

// More items than any printing routine keeps; a loop that adds without end stops here.
constexpr size_t kMostItems = 1'000'000;

}  // namespace

Value Collection::get(std::string_view m) {
  if (m == "count") return Value::Lng(static_cast<double>(items_.size()));
  return Object::get(m);
}

size_t Collection::place(const Value& which) const {
  const Value w = Plain(which);
  if (w.type() == Type::String) {
    const std::string key = Lower(w.text());
    for (size_t i = 0; i < items_.size(); ++i) {
      if (!key.empty() && items_[i].key == key) return i;
    }
    throw RunFailure{"コレクションにキー「" + w.text() + "」はありません", kErrInvalidCall};
  }
  const double n = BankersRound(ToNumber(w));
  if (!(n >= 1 && n <= static_cast<double>(items_.size()))) {
    throw RunFailure{"コレクションの範囲の外です（1 から " + std::to_string(items_.size()) + "）",
                     kErrSubscript};
  }
  return static_cast<size_t>(n) - 1;
}

// Add item[, key][, before][, after].
void Collection::add(const std::vector<Value>& args, const std::vector<bool>& missing) {
  const auto given = [&](size_t i) {
    return i < args.size() && !(i < missing.size() && missing[i]);
  };
  if (!given(0)) throw RunFailure{"Add には加えるものが必要です", kErrInvalidCall};
  if (items_.size() >= kMostItems) throw RunFailure{"コレクションが大きすぎます（100 万まで）"};
  Item item{args[0], given(1) ? Lower(ToText(args[1])) : std::string()};
  if (!item.key.empty()) {
    for (const Item& i : items_) {
      if (i.key == item.key) {
        throw RunFailure{"キー「" + ToText(args[1]) + "」はもうコレクションにあります", 457};
      }
    }
  }
  size_t at = items_.size();
  if (given(2)) at = place(args[2]);
  if (given(3)) at = place(args[3]) + 1;
  items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(at), std::move(item));
}

Value Collection::call(std::string_view m, const std::vector<Value>& args,
                       const std::vector<bool>& missing) {
  if (m == "add") {
    add(args, missing);
    return {};
  }
  if (m == "item") return index(args);
  if (m == "remove") {
    if (args.size() != 1) throw RunFailure{"Remove には一つ選んで渡します", kErrInvalidCall};
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(place(args[0])));
    return {};
  }
  if (m == "count" && args.empty()) return get(m);
  return Object::call(m, args, missing);
}

Value Collection::index(const std::vector<Value>& args) {
  if (args.size() != 1) throw RunFailure{"コレクションは一つ選んで読みます", kErrInvalidCall};
  return items_[place(args[0])].value;
}

std::vector<Value> Collection::items() {
  std::vector<Value> out;
  out.reserve(items_.size());
  for (const Item& i : items_) out.push_back(i.value);
  return out;
}

}  // namespace qf::basic
