#include "field_values.h"

#include "basic/interpreter.h"
#include "basic/records.h"

namespace qf::basic {

namespace {

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
    RecordHost host(std::make_shared<RecordObject>(
        std::make_shared<const std::vector<std::string>>(header), record));
    BasicError error;
    const std::optional<Value> v = Evaluate(expression, host, &error);
    if (v && v->type() != Type::Object) {
      try {
        return ToText(*v);
      } catch (const RunFailure& f) {
        error.message = f.message;
      }
    }
    if (why) *why = v ? "値ではなくオブジェクトです" : error.message;
    return std::nullopt;
  }
};

}  // namespace

const FieldEvaluator& FieldExpressions() {
  static const Evaluator kEvaluator;
  return kEvaluator;
}

}  // namespace qf::basic
