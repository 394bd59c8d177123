// What the tests of the printing language share: a world that collects what a program
// reports, a runner of short programs, and a printer whose pages record what is drawn.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "basic/errors.h"
#include "basic/interpreter.h"
#include "document/design.h"
#include "support/recording_port.h"
#include "view/page_view.h"

namespace qf::basic {

// A world with no printer; `out.Add x` collects what a program reports.
class Collecting final : public Host {
 public:
  class Out final : public Object {
   public:
    std::string_view typeName() const override { return "Out"; }
    Value call(std::string_view m, const std::vector<Value>& a, const std::vector<bool>&) override {
      if (m != "add" || a.size() != 1) return Object::call(m, a, {});
      lines.push_back(ToText(a[0]));
      return {};
    }
    std::vector<std::string> lines;
  };
  std::shared_ptr<Object> printer() override { return nullptr; }
  std::shared_ptr<Object> loadPicture(const std::string&) override { return nullptr; }
  std::shared_ptr<Object> global(std::string_view n) override {
    return n == "out" ? out : n == "rs" ? records : nullptr;
  }
  void say(const std::string& message) override { said.push_back(message); }
  // The clock stands at 2024/05/17 10:30:00.
  double now() override { return 45429 + 10.5 / 24; }
  std::shared_ptr<Out> out = std::make_shared<Out>();
  std::vector<std::string> said;    // the run's messages
  std::shared_ptr<Object> records;  // rs, when given
};

inline std::string Eval(std::string_view expression) {
  Collecting host;
  BasicError error;
  const auto v = Evaluate(expression, host, &error);
  return v ? ToText(*v) : "error: " + error.message;
}

struct Outcome {
  std::vector<std::string> lines;
  std::optional<BasicError> error;
  std::vector<std::string> said;
};

inline Outcome RunProgram(std::string_view source, std::shared_ptr<Object> records = nullptr) {
  Collecting host;
  host.records = std::move(records);
  Outcome o;
  try {
    o.error = Run(Parse(source), "Main", host, RunLimits{100000, 64});
  } catch (const BasicError& e) {
    o.error = e;
  }
  o.lines = host.out->lines;
  o.said = host.said;
  return o;
}

// A program of several files run from its Main.
inline Outcome RunFiles(const std::vector<SourceFile>& files) {
  Collecting host;
  Outcome o;
  try {
    o.error = Run(ParseFiles(files), "Main", host, RunLimits{100000, 64});
  } catch (const BasicError& e) {
    o.error = e;
  }
  o.lines = host.out->lines;
  return o;
}

using test::RecordingPort;

}  // namespace qf::basic
