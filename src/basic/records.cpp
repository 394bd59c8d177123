#include "records.h"

#include <cmath>

namespace qf::basic {

RecordSet::RecordSet(std::unique_ptr<CsvReader> reader) : reader_(std::move(reader)) {
  moveNext();
}

void RecordSet::moveNext() {
  if (eof_) throw RunFailure{"レコードの終わり (EOF) を越えて MoveNext しました"};
  eof_ = !reader_->next(record_);
  if (eof_ && reader_->error()) throw RunFailure{reader_->error()->message()};
  ++position_;
}

Value RecordSet::get(std::string_view m) {
  if (m == "eof") return Value::Bool(eof_);
  if (m == "bof") return Value::Bool(false);
  if (m == "absoluteposition") return Value::Lng(static_cast<double>(position_));
  if (m == "movenext" || m == "close") return call(m, {}, {});
  return Object::get(m);
}

Value RecordSet::call(std::string_view m, const std::vector<Value>& args,
                      const std::vector<bool>& missing) {
  if (m == "movenext" && args.empty()) {
    moveNext();
    return {};
  }
  if (m == "close" && args.empty()) return {};
  if (m == "fields" || m == "collect") return index(args);
  return Object::call(m, args, missing);
}

Value RecordSet::index(const std::vector<Value>& args) {
  if (args.size() != 1) throw RunFailure{"レコードの列は一つ指定します"};
  if (eof_) throw RunFailure{"レコードがありません (EOF)"};
  int column = -1;
  if (args[0].type == Type::String) {
    column = reader_->column(args[0].text);
    if (column < 0) throw RunFailure{"列「" + args[0].text + "」がありません"};
  } else {
    const double n = ToNumber(args[0]);
    if (!(n >= 0 && n < static_cast<double>(record_.size()))) {
      throw RunFailure{"列の番号が範囲の外です"};
    }
    column = static_cast<int>(n);
  }
  return Value::Str(record_[static_cast<size_t>(column)]);
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
  if (args[0].type == Type::String) return column(args[0].text);
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

PageRecords::PageRecords(std::unique_ptr<CsvReader> reader, std::optional<long> limit)
    : reader_(std::move(reader)),
      header_(std::make_shared<const std::vector<std::string>>(reader_->header())),
      limit_(limit) {}

Value PageRecords::get(std::string_view member) {
  // Cust.顧客名 outside the blocks: the page's first record, as the merge shows it there.
  return record(0).object->get(member);
}

Value PageRecords::index(const std::vector<Value>& args) {
  if (args.size() != 1) throw RunFailure{"レコードの番号は一つ指定します"};
  if (args[0].type == Type::String) return record(0).object->index(args);  // Cust!顧客名
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
