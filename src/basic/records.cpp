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

}  // namespace qf::basic
