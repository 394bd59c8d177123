#include "records.h"

#include <algorithm>
#include <cmath>

namespace qf::basic {

namespace {

// More records than any run of a printing routine reads: a file of millions stops with a
// reason instead of taking the machine's memory.
constexpr size_t kMostRecords = 1'000'000;

// A field of the current record: rs.Fields("Name"), its Name and its Value (the default).
class FieldObject final : public Object {
 public:
  FieldObject(RecordSet& set, int column) : set_(set), column_(column) {}
  std::string_view typeName() const override { return "Field"; }
  Value get(std::string_view m) override {
    if (m == "name") return Value::Str(set_.header()[static_cast<size_t>(column_)]);
    if (m == "value") return Value::Str(set_.text(column_));
    return Object::get(m);
  }
  std::optional<Value> defaultValue() override { return get("value"); }

 private:
  RecordSet& set_;
  int column_;
};

// rs.Fields: the record's fields, counted, by name or number.
class FieldsObject final : public Object {
 public:
  explicit FieldsObject(RecordSet& set) : set_(set) {}
  std::string_view typeName() const override { return "Fields"; }
  Value get(std::string_view m) override {
    if (m == "count") return Value::Lng(static_cast<double>(set_.header().size()));
    return Object::get(m);
  }
  Value call(std::string_view m, const std::vector<Value>& args,
             const std::vector<bool>& missing) override {
    if (m == "item") return index(args);
    return Object::call(m, args, missing);
  }
  Value index(const std::vector<Value>& args) override { return set_.call("fields", args, {}); }
  std::vector<Value> items() override {
    std::vector<Value> out;
    for (size_t c = 0; c < set_.header().size(); ++c) {
      out.push_back(set_.call("fields", {Value::Lng(static_cast<double>(c))}, {}));
    }
    return out;
  }

 private:
  RecordSet& set_;
};

}  // namespace

RecordSet::RecordSet(std::unique_ptr<RecordReader> reader) : reader_(std::move(reader)) {}

bool RecordSet::has(long n) {
  if (n < 0) return false;
  while (!ended_ && static_cast<long>(records_.size()) <= n) {
    if (records_.size() >= kMostRecords) {
      throw RunFailure{"レコードが多すぎます（100 万件まで）"};
    }
    std::vector<std::string> record;
    ended_ = !reader_->next(record);
    if (ended_ && reader_->error()) throw RunFailure{reader_->error()->message()};
    if (!ended_) records_.push_back(std::move(record));
  }
  return n < static_cast<long>(records_.size());
}

void RecordSet::move(long to) {
  position_ = std::max(-1L, to);
  has(position_);
  if (position_ > static_cast<long>(records_.size()))
    position_ = static_cast<long>(records_.size());
}

std::string RecordSet::text(int column) {
  has(position_);
  if (position_ < 0 || position_ >= static_cast<long>(records_.size())) {
    throw RunFailure{position_ < 0 ? "レコードがありません (BOF)" : "レコードがありません (EOF)"};
  }
  const std::vector<std::string>& record = records_[static_cast<size_t>(position_)];
  return static_cast<size_t>(column) < record.size() ? record[static_cast<size_t>(column)] : "";
}

int RecordSet::columnOf(const Value& which) const {
  const Value w = Plain(which);
  if (w.type() == Type::String) {
    const int exact = reader_->column(w.text());
    if (exact >= 0) return exact;
    // The language ignores the case of names: rs("name") is rs!Name.
    const std::string wanted = Lower(w.text());
    for (size_t c = 0; c < header().size(); ++c) {
      if (Lower(header()[c]) == wanted) return static_cast<int>(c);
    }
    return -1;
  }
  const double n = ToNumber(w);
  if (!(n >= 0 && n < static_cast<double>(header().size()))) return -1;
  return static_cast<int>(n);
}

Value RecordSet::get(std::string_view m) {
  if (m == "eof") return Value::Bool(eof());
  if (m == "bof") return Value::Bool(position_ < 0 || (position_ == 0 && !has(0)));
  if (m == "recordcount") {
    has(static_cast<long>(kMostRecords));
    return Value::Lng(static_cast<double>(records_.size()));
  }
  if (m == "absoluteposition") {
    // adPosBOF and adPosEOF off the records.
    if (position_ < 0) return Value::Lng(-2);
    return Value::Lng(eof() ? -3 : static_cast<double>(position_ + 1));
  }
  if (m == "fields") return Value::Obj(std::make_shared<FieldsObject>(*this));
  if (m == "movenext" || m == "moveprevious" || m == "movefirst" || m == "movelast" ||
      m == "close") {
    return call(m, {}, {});
  }
  return Object::get(m);
}

Value RecordSet::call(std::string_view m, const std::vector<Value>& args,
                      const std::vector<bool>& missing) {
  if (args.empty() && m == "movenext") {
    if (eof()) throw RunFailure{"レコードの終わり (EOF) を越えて MoveNext しました", 3021};
    move(position_ + 1);
    return {};
  }
  if (args.empty() && m == "moveprevious") {
    if (position_ < 0)
      throw RunFailure{"レコードの始め (BOF) を越えて MovePrevious しました", 3021};
    move(position_ - 1);
    return {};
  }
  if (args.empty() && m == "movefirst") {
    move(0);
    return {};
  }
  if (args.empty() && m == "movelast") {
    has(static_cast<long>(kMostRecords));
    move(static_cast<long>(records_.size()) - (records_.empty() ? 0 : 1));
    return {};
  }
  if (m == "close" && args.empty()) return {};
  if (m == "fields" && args.size() == 1) {
    const int column = columnOf(args[0]);
    if (column < 0) throw RunFailure{"列「" + ToText(args[0]) + "」がありません"};
    return Value::Obj(std::make_shared<FieldObject>(*this, column));
  }
  if (m == "collect") return index(args);
  return Object::call(m, args, missing);
}

Value RecordSet::index(const std::vector<Value>& args) {
  if (args.size() != 1) throw RunFailure{"レコードの列は一つ指定します"};
  const int column = columnOf(args[0]);
  if (column < 0) {
    throw RunFailure{Plain(args[0]).type() == Type::String
                         ? "列「" + ToText(args[0]) + "」がありません"
                         : std::string("列の番号が範囲の外です")};
  }
  return Value::Str(text(column));
}

RecordObject::RecordObject(std::shared_ptr<const std::vector<std::string>> header,
                           std::vector<std::string> record)
    : header_(std::move(header)), record_(std::move(record)) {}

Value RecordObject::get(std::string_view member) {
  if (member == "eof" || member == "bof") return Value::Bool(false);  // it is there
  return column(member);
}

Value RecordObject::call(std::string_view member, const std::vector<Value>& args,
                         const std::vector<bool>& missing) {
  if (member == "fields" || member == "collect") return index(args);
  return Object::call(member, args, missing);
}

Value RecordObject::index(const std::vector<Value>& args) {
  if (args.size() != 1) throw RunFailure{"レコードの列は一つ指定します"};
  if (args[0].type() == Type::String) return column(args[0].text());
  const double n = ToNumber(args[0]);
  if (!(n >= 0 && n < static_cast<double>(header_->size()))) {
    throw RunFailure{"列の番号が範囲の外です"};
  }
  return text(static_cast<size_t>(n));
}

Value RecordObject::column(std::string_view name) const {
  const std::vector<std::string>& header = *header_;
  for (size_t c = 0; c < header.size(); ++c) {
    if (header[c] == name) return text(c);
  }
  // A member name comes in lower case, and the language ignores the case of names.
  const std::string wanted = Lower(name);
  for (size_t c = 0; c < header.size(); ++c) {
    if (Lower(header[c]) == wanted) return text(c);
  }
  throw RunFailure{"列「" + std::string(name) + "」がありません"};
}

Value RecordObject::text(size_t c) const {
  return Value::Str(c < record_.size() ? record_[c] : "");
}

PageRecords::PageRecords(std::unique_ptr<RecordReader> reader, std::optional<long> limit)
    : reader_(std::move(reader)),
      header_(std::make_shared<const std::vector<std::string>>(reader_->header())),
      limit_(limit) {}

Value PageRecords::get(std::string_view member) {
  // Cust.顧客名 outside the blocks: the page's first record, as the merge shows it there.
  return record(0).object()->get(member);
}

Value PageRecords::index(const std::vector<Value>& args) {
  if (args.size() != 1) throw RunFailure{"レコードの番号は一つ指定します"};
  if (args[0].type() == Type::String) return record(0).object()->index(args);  // Cust!顧客名
  return record(std::nearbyint(ToNumber(args[0])));
}

Value PageRecords::record(double n) {
  const bool onPage = n >= 0 && (!limit_ || n < static_cast<double>(*limit_));
  while (onPage && !ended_ && static_cast<double>(records_.size()) <= n) {
    std::vector<std::string> record;
    ended_ = !reader_->next(record);
    if (ended_ && reader_->error()) throw RunFailure{reader_->error()->message()};
    if (!ended_) records_.push_back(std::move(record));
  }
  std::vector<std::string> record;
  if (onPage && n < static_cast<double>(records_.size())) record = records_[static_cast<size_t>(n)];
  return Value::Obj(std::make_shared<RecordObject>(header_, std::move(record)));
}

}  // namespace qf::basic
