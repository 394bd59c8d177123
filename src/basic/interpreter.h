#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "basic/program.h"
#include "basic/value.h"

namespace qf::basic {

// What a program's world gives it: the printer, pictures, and names such as a record set.
class Host {
 public:
  virtual ~Host() = default;
  virtual std::shared_ptr<Object> printer() = 0;
  // LoadPicture; nullptr when the file cannot be read.
  virtual std::shared_ptr<Object> loadPicture(const std::string& path) = 0;
  // An object the program uses without declaring it (rs); nullptr for none.
  virtual std::shared_ptr<Object> global(std::string_view /*lowerName*/) { return nullptr; }
  // What a program reads as NAME(i).Column or NAME.Column without declaring NAME (one of the
  // Program's recordNames): the records it was handed (a page's, as the merge fills
  // Items(sngI).品名 and Cust.顧客名); nullptr for none.
  virtual std::shared_ptr<Object> recordArray(std::string_view /*lowerName*/) { return nullptr; }
  // A message of the run (MsgBox, Debug.Print): there is no screen to show it on.
  virtual void say(const std::string& /*message*/) {}
  // Now, as a date: the machine's local time unless the host fixes it.
  virtual double now();
};

struct RunLimits {
  long steps = 20'000'000;  // steps a run may take before it is stopped as endless
  int depth = 256;          // calls within calls
};

// Runs one procedure of a program (F_DataPrint unless named) with no arguments. Returns the
// error that stopped it, with its line, or nothing when it ran to its end.
std::optional<BasicError> Run(const Program& program, std::string_view entry, Host& host,
                              const RunLimits& limits = {});

// Evaluates one expression with the host's names (a merge's field expression); nullopt and the
// error, as a run reports one, in `error` when it cannot.
std::optional<Value> Evaluate(std::string_view expression, Host& host, BasicError* error);

// The language's functions and constants, by lower-case name (without "$").
using Builtin = std::function<Value(const std::vector<Value>& args)>;
const std::map<std::string, Builtin, std::less<>>& Builtins();
std::optional<Value> BuiltinConstant(std::string_view lowerName);

}  // namespace qf::basic
