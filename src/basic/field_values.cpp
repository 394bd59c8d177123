#include "field_values.h"

#include "basic/interpreter.h"

namespace qf::basic {

namespace {

// One record of the merge, as rs: rs!Name, rs("Name"), rs.Fields("Name").
class OneRecord final : public Object {
 public:
  OneRecord(const std::vector<std::string>& header, const std::vector<std::string>& record)
      : header_(header), record_(record) {}
  std::string_view typeName() const override { return "Recordset"; }
  Value get(std::string_view m) override {
    if (m == "eof" || m == "bof") return Value::Bool(false);
    return Object::get(m);
  }
  Value call(std::string_view m, const std::vector<Value>& args,
             const std::vector<bool>& missing) override {
    if (m == "fields" || m == "collect") return index(args);
    return Object::call(m, args, missing);
  }
  Value index(const std::vector<Value>& args) override {
    if (args.size() != 1) throw RunFailure{"レコードの列は一つ指定します"};
    const std::string name = ToText(args[0]);
    for (size_t c = 0; c < header_.size(); ++c) {
      if (header_[c] == name) return Value::Str(c < record_.size() ? record_[c] : "");
    }
    throw RunFailure{"列「" + name + "」がありません"};
  }

 private:
  const std::vector<std::string>& header_;
  const std::vector<std::string>& record_;
};

class RecordHost final : public Host {
 public:
  explicit RecordHost(std::shared_ptr<Object> record) : record_(std::move(record)) {}
  std::shared_ptr<Object> printer() override { return nullptr; }
  std::shared_ptr<Object> loadPicture(const std::string&) override { return nullptr; }
  std::shared_ptr<Object> global(std::string_view name) override {
    return name == "rs" ? record_ : nullptr;
  }

 private:
  std::shared_ptr<Object> record_;
};

class Evaluator final : public FieldEvaluator {
 public:
  std::optional<std::string> evaluate(std::string_view expression,
                                      const std::vector<std::string>& header,
                                      const std::vector<std::string>& record,
                                      std::string* why) const override {
    RecordHost host(std::make_shared<OneRecord>(header, record));
    std::string error;
    const std::optional<Value> v = Evaluate(expression, host, &error);
    if (v && v->type != Type::Object) {
      try {
        return ToText(*v);
      } catch (const RunFailure& f) {
        error = f.message;
      }
    }
    if (why) *why = v ? "値ではなくオブジェクトです" : error;
    return std::nullopt;
  }
};

}  // namespace

const FieldEvaluator& FieldExpressions() {
  static const Evaluator kEvaluator;
  return kEvaluator;
}

}  // namespace qf::basic
