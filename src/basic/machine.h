// The runner's parts, shared by its files: variables, frames and the machine that runs a
// program's procedures step by step.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "basic/canvas.h"
#include "basic/class_object.h"
#include "basic/errors.h"
#include "basic/interpreter.h"
#include "basic/screen_objects.h"

namespace qf::basic {

struct Variable {
  Value value;
  Type type = Type::Empty;
  bool constant = false;
  bool isArray = false;
  bool dynamic = false;    // an array declared without bounds: ReDim sizes it, Erase frees it
  bool isPrivate = false;  // a class's Private member
  size_t length = 0;       // String * n: the fixed length; 0 for none
  std::string userType;    // the elements' Type … End Type (lower case); none when empty
  std::string autoNew;     // Dim x As New C: the class a use makes an object of while Nothing
  std::vector<std::pair<long, long>> bounds;  // lower and upper bound of each dimension
  std::vector<Value> elements;
};
using VarPtr = std::shared_ptr<Variable>;

// An error no On Error handler skips: the step limit, calls too deep.
struct Fatal {
  BasicError error;
};

// End: the program stops where it is.
struct EndProgram {};

struct LoopState {
  double end = 0;
  double step = 1;
  std::vector<Value> items;  // For Each: what is left to visit, in order
  size_t next = 0;
};

struct Frame {
  const Procedure* proc = nullptr;
  ClassInstance* me = nullptr;            // the object a class's procedure runs with
  std::shared_ptr<ClassInstance> meHold;  // Me, while the object is alive
  std::vector<VarPtr> variables;          // the procedure's declared variables, by their slots
  Names locals;                           // its implicit variables, by name
  std::vector<LoopState> loops;
  std::vector<size_t> returns;  // GoSub
  std::vector<Value> with;
  // What an error does here: stop the procedure (the caller's handling takes over), go on with
  // the next statement, or run the handler; and where the handler came from.
  enum class OnError { Stop, ResumeNext, Handler };
  OnError onError = OnError::Stop;
  size_t handler = 0;
  bool handling = false;  // the handler runs: an error now goes to the caller
  size_t failedAt = 0;    // the instruction whose error the handler took
};

// An argument as a call passes it: by reference when it names a variable.
struct Arg {
  Value value;
  VarPtr ref;
  bool missing = false;
};

// Texts a program makes stay within this many bytes: a loop that doubles a text stops with a
// reason instead of taking the machine's memory.
inline constexpr size_t kLongestText = size_t{16} << 20;
Value Text(std::string s);

class Machine {
 public:
  Machine(const Program& program, Host& host, const RunLimits& limits)
      : program_(program), host_(host), limits_(limits) {}
  // Objects that outlive the run run no Class_Terminate.
  ~Machine() { life_.reset(); }
  Machine(const Machine&) = delete;
  Machine& operator=(const Machine&) = delete;

  void declareModule();
  // The program ran to its end: the module's variables go, their objects' Class_Terminate runs.
  void releaseModule();
  // A name never assigned reads as Empty (a program without Option Explicit) or is refused
  // (a merge field, where it is a mistyped column).
  void readUnknownNamesAsEmpty(bool on) { implicitNames_ = on; }
  // Calls a procedure; a class's with its object (`me`, held by `hold` while it lives).
  Value call(const Procedure& proc, std::vector<Arg> args, int line, ClassInstance* me = nullptr,
             std::shared_ptr<ClassInstance> hold = nullptr);

  // --- an object of a class seen from outside (machine_classes.cpp)
  Value memberGet(ClassInstance& object, std::string_view member);
  void memberSet(ClassInstance& object, std::string_view member, const Value& value);
  Value memberCall(ClassInstance& object, std::string_view member, const std::vector<Value>& args,
                   const std::vector<bool>& missing);
  void terminate(ClassInstance& object);

 private:
  // A name as the program spells it, for a message.
  const std::string& shown(const std::string& lowerName) const {
    return program_.spelled(lowerName);
  }

  // --- statements (machine_run.cpp)
  void execute(Frame& f);
  size_t recover(Frame& f, size_t pc, const BasicError& error);
  // The error of a statement: where it stood and the calls that led to it.
  BasicError failure(const Frame& f, const Instr& in, std::string message, int number) const;
  size_t resume(Frame& f, size_t to);
  void onError(Frame& f, Frame::OnError mode, size_t handler = 0);
  std::optional<size_t> step(Frame& f, const Instr& in, size_t pc);
  std::optional<size_t> loopStep(Frame& f, const Instr& in, size_t pc);
  Canvas& canvasOf(Frame& f, const Instr& in);
  std::optional<double> opt(Frame& f, const std::unique_ptr<Expr>& e);
  std::optional<int32_t> color(Frame& f, const std::unique_ptr<Expr>& e);
  void print(Frame& f, const Instr& in);
  void line(Frame& f, const Instr& in);
  void circle(Frame& f, const Instr& in);

  // --- variables (machine_variables.cpp)
  // A variable as Dim (or Static) makes it; a Static's, the one its first call made.
  VarPtr declare(Frame& f, const Instr& in);
  // A variable of the procedure under its name: in its slot, or by name when it has none.
  void bind(Frame& f, const std::string& name, VarPtr v);
  void size(Frame& f, const Instr& in, Variable& v);
  void redim(Frame& f, const Instr& in);
  void erase(Frame& f, const Instr& in);
  Value fresh(const Variable& v) const;
  VarPtr constant(Frame& f, const Instr& in);
  VarPtr find(Frame& f, std::string_view name);
  // The variable a name expression means: by its slot, found by name when it has none or the
  // slot's Dim has not run yet.
  VarPtr lookup(Frame& f, const Expr& e);
  VarPtr located(Frame& f, const Expr& e);
  Value& element(Variable& v, const std::vector<Value>& index);
  void assign(Frame& f, const Expr& target, const Value& value, bool set);
  Value stored(const Variable& v, const Value& value, bool set) const;
  void midAssign(Frame& f, const Instr& in);
  void assignArray(Variable& v, const std::string& name, const Value& value);
  bool forEachStart(Frame& f, const Instr& in);
  bool forEachNext(Frame& f, const Instr& in);
  Value bound(const std::vector<Arg>& args, bool upper);

  // --- expressions (machine_eval.cpp)
  Value eval(Frame& f, const Expr& e);
  std::vector<Value> values(Frame& f, const std::vector<std::unique_ptr<Expr>>& args,
                            std::vector<bool>* missing = nullptr);
  Value withObject(Frame& f);
  static Object& objectOf(const Value& v, std::string_view member);
  Value name(Frame& f, const Expr& e);
  // A name called, or read (`read`: a name never assigned is then Empty).
  Value callNamed(Frame& f, const std::string& n, std::vector<Arg> args, int line,
                  bool read = false);
  std::optional<Value> languageName(Frame& f, const std::string& n, std::vector<Arg>& args);
  Value callExpr(Frame& f, const Expr& e);
  std::vector<Arg> arguments(Frame& f, const Expr& call);
  void statementCall(Frame& f, const Expr& e);
  Value newObject(const std::string& className);
  const Procedure* classProcedure(const ClassInstance& object, const std::string& key,
                                  bool outside) const;
  static Value unary(Op op, const Value& v);
  Value binary(Frame& f, const Expr& e);

  const Program& program_;
  Host& host_;
  RunLimits limits_;
  Names module_;
  std::vector<VarPtr> moduleSlots_;  // the same variables, by their slots
  std::map<std::pair<const Procedure*, std::string>, VarPtr> statics_;
  long steps_ = 0;
  std::vector<const Procedure*> calls_;  // the procedures running, outermost first
  std::shared_ptr<ErrObject> err_ = std::make_shared<ErrObject>();
  Say say_ = [this](const std::string& m) { host_.say(m); };
  std::shared_ptr<DebugObject> debug_ = std::make_shared<DebugObject>(say_);
  std::shared_ptr<ScreenObject> screen_ = std::make_shared<ScreenObject>();
  std::shared_ptr<AppObject> app_ = std::make_shared<AppObject>();
  std::shared_ptr<int> life_ = std::make_shared<int>(0);
  bool implicitNames_ = true;
};

// The language's arithmetic on numbers: the wider of the two types, refusing what it cannot
// hold.
Value Numeric(double n, Type a, Type b);
// How wide a numeric type is, the order the language widens in: Integer (and Boolean) 1,
// Long 2, Single 3, Currency 4, Double (and Date) 5.
int Rank(Type t);
Type NumType(const Value& v);
long ToLong(const Value& v);
bool Like(std::string_view s, std::string_view p);

}  // namespace qf::basic
