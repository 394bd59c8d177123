// The runner: procedures step by step, expressions, variables and calls.
#include "interpreter.h"

#include <algorithm>
#include <cmath>

#include "basic/canvas.h"
#include "basic/errors.h"
#include "basic/user_types.h"

namespace qf::basic {

namespace {

struct Variable {
  Value value;
  Type type = Type::Empty;
  bool constant = false;
  bool isArray = false;
  std::vector<std::pair<long, long>> bounds;  // lower and upper bound of each dimension
  std::vector<Value> elements;
};
using VarPtr = std::shared_ptr<Variable>;

// An error no On Error handler skips: the step limit, calls too deep.
struct Fatal {
  BasicError error;
};

struct LoopState {
  double end = 0;
  double step = 1;
};

struct Frame {
  const Procedure* proc = nullptr;
  std::map<std::string, VarPtr, std::less<>> locals;
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

int Rank(Type t) {
  switch (t) {
    case Type::Empty:
    case Type::Boolean:
    case Type::Integer:
      return 1;
    case Type::Long:
      return 2;
    case Type::Single:
      return 3;
    default:
      return 4;
  }
}

Value Numeric(double n, Type a, Type b) {
  Type t = Rank(a) >= Rank(b) ? a : b;
  if (t == Type::Boolean || t == Type::Empty || t == Type::String) t = Type::Double;
  if (t == Type::Single && (a == Type::Long || b == Type::Long)) t = Type::Double;
  if (t == Type::Integer && !(n >= -32768 && n < 32768))
    throw RunFailure{"オーバーフローしました", kErrOverflow};
  if (t == Type::Long && !(n >= -2147483648.0 && n < 2147483648.0)) {
    throw RunFailure{"オーバーフローしました", kErrOverflow};
  }
  if (t == Type::Single) {
    if (!(std::abs(n) <= 3.402823e38)) throw RunFailure{"オーバーフローしました", kErrOverflow};
    return Value::Sng(static_cast<float>(n));
  }
  return {t, n, {}, {}};
}

Type NumType(const Value& v) {
  return v.type == Type::String ? Type::Double : v.type;
}

long ToLong(const Value& v) {
  const double n = BankersRound(ToNumber(v));
  if (!(n >= -2147483648.0 && n < 2147483648.0))
    throw RunFailure{"オーバーフローしました", kErrOverflow};
  return static_cast<long>(n);
}

// Like's patterns: * any run, ? one character, # one digit; matched with one step back to the
// last *, so a pattern of many stars takes time in proportion, not exponentially.
bool Like(std::string_view s, std::string_view p) {
  size_t i = 0;
  size_t j = 0;
  size_t star = std::string_view::npos;
  size_t resume = 0;
  while (i < s.size()) {
    if (j < p.size() && p[j] == '*') {
      star = j++;
      resume = i;
    } else if (j < p.size() &&
               (p[j] == '?' || (p[j] == '#' && s[i] >= '0' && s[i] <= '9') || p[j] == s[i])) {
      ++i;
      ++j;
    } else if (star != std::string_view::npos) {
      j = star + 1;
      i = ++resume;
    } else {
      return false;
    }
  }
  while (j < p.size() && p[j] == '*') ++j;
  return j == p.size();
}

// Texts a program makes stay within this many bytes: a loop that doubles a text stops with a
// reason instead of taking the machine's memory.
constexpr size_t kLongestText = size_t{16} << 20;

Value Text(std::string s) {
  if (s.size() > kLongestText) throw RunFailure{"文字列が長すぎます（16 MB まで）"};
  return Value::Str(std::move(s));
}

class Machine {
 public:
  Machine(const Program& program, Host& host, const RunLimits& limits)
      : program_(program), host_(host), limits_(limits) {}

  // A name as the program spells it, for a message.
  const std::string& shown(const std::string& lowerName) const {
    return program_.spelled(lowerName);
  }

  void declareModule() {
    Frame module;
    for (const Instr& in : program_.module) {
      try {
        if (in.kind == Instr::Kind::Dim) declare(module, in, module_);
        if (in.kind == Instr::Kind::Const) constant(module, in, module_);
      } catch (const RunFailure& f) {
        throw BasicError{in.line, f.message};
      }
    }
  }

  Value call(const Procedure& proc, std::vector<Arg> args, int line) {
    // The depth is given back however the call ends: an error a caller's handler takes too.
    struct Deeper {
      explicit Deeper(int& depth) : depth_(++depth) {}
      ~Deeper() { --depth_; }
      Deeper(const Deeper&) = delete;
      Deeper& operator=(const Deeper&) = delete;
      int& depth_;
    } deeper(depth_);
    if (depth_ > limits_.depth) {
      throw Fatal{{line, "呼び出しが深すぎます（" + std::to_string(limits_.depth) + " 段まで）"}};
    }
    Frame f;
    f.proc = &proc;
    f.loops.resize(static_cast<size_t>(proc.loops));
    if (args.size() > proc.params.size()) {
      throw RunFailure{"「" + proc.shownName + "」に渡す引数が多すぎます"};
    }
    for (size_t i = 0; i < proc.params.size(); ++i) {
      const Param& p = proc.params[i];
      const bool given = i < args.size() && !args[i].missing;
      if (!given && !p.optional) {
        throw RunFailure{"「" + proc.shownName + "」の引数「" + shown(p.name) + "」がありません"};
      }
      if (given && args[i].ref && !p.byVal && !args[i].ref->constant &&
          (p.type == Type::Empty || p.type == args[i].ref->type || p.array)) {
        f.locals[p.name] = args[i].ref;  // by reference: the caller's variable itself
        continue;
      }
      auto v = std::make_shared<Variable>();
      v->type = p.type;
      Value value = given ? args[i].value : p.fallback ? eval(f, *p.fallback) : Value{};
      v->value = Coerce(value, p.type);
      f.locals[p.name] = v;
    }
    VarPtr result;
    if (proc.function) {
      result = std::make_shared<Variable>();
      result->type = proc.returns;
      result->value = Coerce(Value{}, proc.returns == Type::Object ? Type::Empty : proc.returns);
      f.locals[proc.name] = result;
    }
    execute(f);
    return result ? result->value : Value{};
  }

 private:
  // --- statements
  void execute(Frame& f) {
    const std::vector<Instr>& code = f.proc->code;
    size_t pc = 0;
    while (pc < code.size()) {
      const Instr& in = code[pc];
      if (++steps_ > limits_.steps) {
        throw Fatal{{in.line, "実行の手数が上限（" + std::to_string(limits_.steps) +
                                  "）を超えました。終わらないループではありませんか"}};
      }
      try {
        const std::optional<size_t> next = step(f, in, pc);
        if (!next) break;
        pc = *next;
      } catch (const RunFailure& e) {
        pc = recover(f, pc, BasicError{in.line, e.message, e.number});
      } catch (const BasicError& e) {
        pc = recover(f, pc, e);  // a call of this statement failed and did not handle it
      }
    }
    // Leaving a handler by Exit Sub or End Sub: the error was dealt with.
    if (f.handling) err_->clear();
  }

  // Where a procedure goes on after a statement failed, as its On Error says; throws the error
  // on to the caller when nothing here takes it (a handler's own errors included).
  size_t recover(Frame& f, size_t pc, const BasicError& error) {
    if (f.handling || f.onError == Frame::OnError::Stop) throw error;
    err_->take(error);
    if (f.onError == Frame::OnError::ResumeNext) return pc + 1;
    f.handling = true;
    f.failedAt = pc;
    return f.handler;
  }

  // Resume: the handler is done; the error is cleared.
  size_t resume(Frame& f, size_t to) {
    if (!f.handling) {
      throw RunFailure{ErrorDescription(kErrResumeWithoutError), kErrResumeWithoutError};
    }
    f.handling = false;
    err_->clear();
    return to;
  }

  // Any On Error statement clears the error and sets what the next one does.
  void onError(Frame& f, Frame::OnError mode, size_t handler = 0) {
    f.onError = mode;
    f.handler = handler;
    err_->clear();
  }

  // One step; the next step's place, or nothing when the procedure ends.
  std::optional<size_t> step(Frame& f, const Instr& in, size_t pc) {
    switch (in.kind) {
      case Instr::Kind::Eval:
        statementCall(f, *in.a);
        break;
      case Instr::Kind::Assign:
        assign(f, *in.a, eval(f, *in.b), in.flag);
        break;
      case Instr::Kind::Dim:
        declare(f, in, f.locals);
        break;
      case Instr::Kind::Const:
        constant(f, in, f.locals);
        break;
      case Instr::Kind::Jump:
        return static_cast<size_t>(in.target);
      case Instr::Kind::JumpIfFalse:
        if (!ToBool(eval(f, *in.a))) return static_cast<size_t>(in.target);
        break;
      case Instr::Kind::ForStart: {
        const Value start = eval(f, *in.b);
        LoopState& loop = f.loops[static_cast<size_t>(in.slot)];
        loop.end = ToNumber(eval(f, *in.args[0]));
        loop.step = in.args[1] ? ToNumber(eval(f, *in.args[1])) : 1;
        assign(f, *in.a, start, false);
        if (!inRange(ToNumber(eval(f, *in.a)), loop)) return static_cast<size_t>(in.target);
        break;
      }
      case Instr::Kind::ForNext: {
        const Instr& start = f.proc->code[static_cast<size_t>(in.target - 1)];
        const LoopState& loop = f.loops[static_cast<size_t>(in.slot)];
        const Value v = eval(f, *start.a);
        Value moved = v.type == Type::String
                          ? Value::Dbl(ToNumber(v) + loop.step)
                          : Numeric(v.number + loop.step, NumType(v), Type::Integer);
        assign(f, *start.a, moved, false);
        if (inRange(ToNumber(eval(f, *start.a)), loop)) return static_cast<size_t>(in.target);
        break;
      }
      case Instr::Kind::GoSub:
        if (f.returns.size() >= 10000) throw RunFailure{"GoSub が深すぎます"};
        f.returns.push_back(pc + 1);
        return static_cast<size_t>(in.target);
      case Instr::Kind::Return: {
        if (f.returns.empty()) throw RunFailure{"GoSub のない Return です"};
        const size_t back = f.returns.back();
        f.returns.pop_back();
        return back;
      }
      case Instr::Kind::ExitProc:
        return std::nullopt;
      case Instr::Kind::WithPush:
        f.with.push_back(eval(f, *in.a));
        break;
      case Instr::Kind::WithPop:
        if (!f.with.empty()) f.with.pop_back();
        break;
      case Instr::Kind::Print:
        print(f, in);
        break;
      case Instr::Kind::Line:
        line(f, in);
        break;
      case Instr::Kind::Circle:
        circle(f, in);
        break;
      case Instr::Kind::OnErrorResumeNext:
        onError(f, Frame::OnError::ResumeNext);
        break;
      case Instr::Kind::OnErrorStop:
        onError(f, Frame::OnError::Stop);
        break;
      case Instr::Kind::OnErrorGoTo:
        onError(f, Frame::OnError::Handler, static_cast<size_t>(in.target));
        break;
      case Instr::Kind::Resume:
        return resume(f, f.failedAt);
      case Instr::Kind::ResumeNext:
        return resume(f, f.failedAt + 1);
      case Instr::Kind::ResumeAt:
        return resume(f, static_cast<size_t>(in.target));
      case Instr::Kind::End:
        throw EndProgram{};
    }
    return pc + 1;
  }

 public:
  struct EndProgram {};

 private:
  static bool inRange(double v, const LoopState& loop) {
    return loop.step >= 0 ? v <= loop.end : v >= loop.end;
  }

  void declare(Frame& f, const Instr& in, std::map<std::string, VarPtr, std::less<>>& into) {
    auto v = std::make_shared<Variable>();
    v->type = in.type;
    v->value = in.type == Type::Object ? Value{} : Coerce(Value{}, in.type);
    if (in.flag) {
      v->isArray = true;
      size_t count = 1;
      for (size_t i = 0; i + 1 < in.args.size(); i += 2) {
        const long low = in.args[i] ? ToLong(eval(f, *in.args[i])) : 0;
        const long high = ToLong(eval(f, *in.args[i + 1]));
        if (high < low || high - low >= 10'000'000)
          throw RunFailure{"配列の大きさが正しくありません"};
        v->bounds.emplace_back(low, high);
        count *= static_cast<size_t>(high - low + 1);
        if (count > 1'000'000) throw RunFailure{"配列が大きすぎます（100 万要素まで）"};
      }
      v->elements.assign(count, v->value);
    }
    if (!in.userType.empty()) {
      // A record of a Type each: never one record shared by two variables or elements.
      const UserType& type = program_.types.at(in.userType);
      v->value = Value::Obj(std::make_shared<UserValue>(program_, type));
      for (Value& e : v->elements) e = Value::Obj(std::make_shared<UserValue>(program_, type));
    }
    into[in.name] = v;
  }

  void constant(Frame& f, const Instr& in, std::map<std::string, VarPtr, std::less<>>& into) {
    auto v = std::make_shared<Variable>();
    v->value = Coerce(eval(f, *in.b), in.type);
    v->constant = true;
    into[in.name] = v;
  }

  VarPtr find(Frame& f, std::string_view name) {
    if (auto it = f.locals.find(name); it != f.locals.end()) return it->second;
    if (auto it = module_.find(name); it != module_.end()) return it->second;
    return nullptr;
  }

  Value& element(Variable& v, const std::vector<Value>& index) {
    if (index.size() != v.bounds.size()) throw RunFailure{"配列の添字の数が違います"};
    size_t at = 0;
    for (size_t i = 0; i < index.size(); ++i) {
      const long k = ToLong(index[i]);
      const auto [low, high] = v.bounds[i];
      if (k < low || k > high) {
        throw RunFailure{"添字 " + std::to_string(k) + " が配列の範囲（" + std::to_string(low) +
                             " To " + std::to_string(high) + "）の外です",
                         kErrSubscript};
      }
      at = at * static_cast<size_t>(high - low + 1) + static_cast<size_t>(k - low);
    }
    return v.elements[at];
  }

  std::vector<Value> values(Frame& f, const std::vector<std::unique_ptr<Expr>>& args,
                            std::vector<bool>* missing = nullptr) {
    std::vector<Value> out;
    for (const auto& a : args) {
      out.push_back(a ? eval(f, *a) : Value{});
      if (missing) missing->push_back(!a);
    }
    return out;
  }

  void assign(Frame& f, const Expr& target, const Value& value, bool set) {
    if (set && value.type != Type::Object && value.type != Type::Empty) {
      throw RunFailure{"Set の右辺はオブジェクトです"};
    }
    switch (target.kind) {
      case Expr::Kind::Name: {
        VarPtr v = find(f, target.name);
        if (!v) {
          // An undeclared name becomes a variable, as the language allows without Option
          // Explicit.
          v = std::make_shared<Variable>();
          f.locals[target.name] = v;
        }
        if (v->constant) throw RunFailure{"定数「" + shown(target.name) + "」には代入できません"};
        if (v->isArray)
          throw RunFailure{"配列「" + shown(target.name) + "」全体には代入できません"};
        v->value = Assigned(Coerce(value, v->type));  // a record is copied whole
        return;
      }
      case Expr::Kind::Call:
        if (target.a->kind == Expr::Kind::Name) {
          VarPtr v = find(f, target.a->name);
          if (v && v->isArray) {
            element(*v, values(f, target.args)) = Assigned(Coerce(value, v->type));
            return;
          }
        }
        break;
      case Expr::Kind::Member:
      case Expr::Kind::WithDot: {
        const Value owner = target.kind == Expr::Kind::WithDot ? withObject(f) : eval(f, *target.a);
        objectOf(owner, target.name).set(target.name, value);
        return;
      }
      default:
        break;
    }
    throw RunFailure{"代入できない式です"};
  }

  Value withObject(Frame& f) {
    if (f.with.empty()) throw RunFailure{"With の外で「.」は使えません"};
    return f.with.back();
  }

  static Object& objectOf(const Value& v, std::string_view member) {
    if (v.type != Type::Object || !v.object) {
      throw RunFailure{"オブジェクトが必要です（." + std::string(member) + " の前）"};
    }
    return *v.object;
  }

  // --- expressions
  Value eval(Frame& f, const Expr& e) {
    switch (e.kind) {
      case Expr::Kind::Literal:
        return e.value;
      case Expr::Kind::Name:
        return name(f, e);
      case Expr::Kind::Member: {
        const Value owner = eval(f, *e.a);
        return objectOf(owner, e.name).get(e.name);
      }
      case Expr::Kind::WithDot:
        return objectOf(withObject(f), e.name).get(e.name);
      case Expr::Kind::Bang: {
        const Value owner = eval(f, *e.a);
        return objectOf(owner, e.name).index({Value::Str(e.name)});
      }
      case Expr::Kind::Call:
        return callExpr(f, e);
      case Expr::Kind::Unary:
        return unary(e.name, eval(f, *e.a));
      case Expr::Kind::Binary:
        return binary(f, e);
    }
    return {};
  }

  Value name(Frame& f, const Expr& e) {
    if (VarPtr v = find(f, e.name)) {
      if (v->isArray) throw RunFailure{"配列「" + shown(e.name) + "」には添字が必要です"};
      return v->value;
    }
    return callNamed(f, e.name, {}, {}, e.line);
  }

  // A name used as a call: a procedure, a function of the language, a constant, a host name.
  Value callNamed(Frame& f, const std::string& n, std::vector<Arg> args,
                  const std::vector<bool>& missing, int line) {
    (void)f;
    if (auto it = program_.procedures.find(n); it != program_.procedures.end()) {
      return call(it->second, std::move(args), line);
    }
    std::string plain = n;
    if (!plain.empty() && plain.back() == '$') plain.pop_back();
    const auto& builtins = Builtins();
    if (auto it = builtins.find(plain); it != builtins.end()) {
      std::vector<Value> v;
      for (size_t i = 0; i < args.size(); ++i) {
        if (i < missing.size() && missing[i])
          throw RunFailure{"「" + shown(n) + "」の引数が空です"};
        v.push_back(args[i].value);
      }
      return it->second(v);
    }
    if (plain == "loadpicture") {
      if (args.size() != 1) throw RunFailure{"LoadPicture の引数はファイル名一つです"};
      const std::string path = ToText(args[0].value);
      std::shared_ptr<Object> pic = host_.loadPicture(path);
      if (!pic) throw RunFailure{"画像「" + path + "」を読み込めません"};
      return Value::Obj(std::move(pic));
    }
    if (args.empty()) {
      if (auto c = BuiltinConstant(n)) return *c;
      if (n == "printer") return Value::Obj(host_.printer());
      if (n == "nothing") return Value::Obj(nullptr);
      if (n == "err") return Value::Obj(err_);
    }
    if (plain == "error" && args.size() <= 1) {
      // Error$: the error a handler took, or the description of a number.
      if (args.empty()) return Text(err_->description());
      return Text(ErrorDescription(static_cast<int>(ToLong(args[0].value))));
    }
    std::shared_ptr<Object> o = host_.global(n);
    if (!o && program_.recordNames.count(n)) o = host_.recordArray(n);
    if (o) {
      if (args.empty()) return Value::Obj(std::move(o));
      std::vector<Value> v;
      for (Arg& a : args) v.push_back(std::move(a.value));
      return o->index(v);
    }
    throw RunFailure{"「" + shown(n) + "」が定義されていません"};
  }

  Value callExpr(Frame& f, const Expr& e) {
    const Expr& target = *e.a;
    if (target.kind == Expr::Kind::Name) {
      if (VarPtr v = find(f, target.name)) {
        std::vector<Value> index = values(f, e.args);
        if (v->isArray) return element(*v, index);
        return objectOf(v->value, target.name).index(index);
      }
      std::vector<Arg> args;
      std::vector<bool> missing;
      for (const auto& a : e.args) {
        Arg arg;
        if (!a) {
          arg.missing = true;
        } else if (a->kind == Expr::Kind::Name) {
          arg.ref = find(f, a->name);
          if (arg.ref && arg.ref->isArray) {
            arg.value = {};
          } else {
            arg.value = eval(f, *a);
            if (arg.ref && arg.ref->isArray) arg.ref = nullptr;
          }
        } else {
          arg.value = eval(f, *a);
        }
        missing.push_back(!a);
        args.push_back(std::move(arg));
      }
      return callNamed(f, target.name, std::move(args), missing, e.line);
    }
    if (target.kind == Expr::Kind::Member || target.kind == Expr::Kind::WithDot) {
      const Value owner = target.kind == Expr::Kind::WithDot ? withObject(f) : eval(f, *target.a);
      std::vector<bool> missing;
      std::vector<Value> args = values(f, e.args, &missing);
      return objectOf(owner, target.name).call(target.name, args, missing);
    }
    const Value owner = eval(f, target);
    return objectOf(owner, "()").index(values(f, e.args));
  }

  // A call statement: a procedure or a method, with or without arguments.
  void statementCall(Frame& f, const Expr& e) {
    if (e.kind == Expr::Kind::Name) {
      callNamed(f, e.name, {}, {}, e.line);
      return;
    }
    if (e.kind == Expr::Kind::Member || e.kind == Expr::Kind::WithDot) {
      const Value owner = e.kind == Expr::Kind::WithDot ? withObject(f) : eval(f, *e.a);
      objectOf(owner, e.name).call(e.name, {}, {});
      return;
    }
    eval(f, e);
  }

  Value unary(const std::string& op, const Value& v) {
    if (op == "()") return v;
    if (op == "not") {
      if (v.type == Type::Boolean) return Value::Bool(v.number == 0);
      return Numeric(static_cast<double>(~ToLong(v)), NumType(v), Type::Integer);
    }
    const double n = ToNumber(v);
    if (op == "+") return Numeric(n, NumType(v), Type::Integer);
    return Numeric(-n, NumType(v), Type::Integer);
  }

  Value binary(Frame& f, const Expr& e) {
    const std::string& op = e.name;
    if (op == "is") return Value::Bool(eval(f, *e.a).object == eval(f, *e.b).object);
    // An object with a default property stands for it (If Err <> 0).
    const Value a = Plain(eval(f, *e.a));
    const Value b = Plain(eval(f, *e.b));
    if (op == "&") return Text(ToText(a) + ToText(b));
    if (op == "+" && a.type == Type::String && b.type == Type::String) return Text(a.text + b.text);
    if (op == "=" || op == "<>" || op == "<" || op == ">" || op == "<=" || op == ">=") {
      int c = 0;
      const bool text = (a.type == Type::String || a.type == Type::Empty) &&
                        (b.type == Type::String || b.type == Type::Empty);
      if (text) {
        const std::string x = ToText(a);
        const std::string y = ToText(b);
        c = x < y ? -1 : x > y ? 1 : 0;
      } else {
        const double x = ToNumber(a);
        const double y = ToNumber(b);
        c = x < y ? -1 : x > y ? 1 : 0;
      }
      if (op == "=") return Value::Bool(c == 0);
      if (op == "<>") return Value::Bool(c != 0);
      if (op == "<") return Value::Bool(c < 0);
      if (op == ">") return Value::Bool(c > 0);
      if (op == "<=") return Value::Bool(c <= 0);
      return Value::Bool(c >= 0);
    }
    if (op == "like") return Value::Bool(Like(ToText(a), ToText(b)));
    if (op == "and" || op == "or" || op == "xor" || op == "eqv" || op == "imp") {
      const long x = ToLong(a);
      const long y = ToLong(b);
      long r = 0;
      if (op == "and") r = x & y;
      if (op == "or") r = x | y;
      if (op == "xor") r = x ^ y;
      if (op == "eqv") r = ~(x ^ y);
      if (op == "imp") r = ~x | y;
      if (a.type == Type::Boolean && b.type == Type::Boolean) return Value::Bool(r != 0);
      return Numeric(static_cast<double>(r), NumType(a), NumType(b));
    }
    const double x = ToNumber(a);
    const double y = ToNumber(b);
    if (op == "+") return Numeric(x + y, NumType(a), NumType(b));
    if (op == "-") return Numeric(x - y, NumType(a), NumType(b));
    if (op == "*") return Numeric(x * y, NumType(a), NumType(b));
    if (op == "/") {
      if (y == 0) throw RunFailure{"0 で除算しました", kErrDivision};
      return Value::Dbl(x / y);
    }
    if (op == "^") return Value::Dbl(std::pow(x, y));
    const long p = ToLong(a);
    const long q = ToLong(b);
    if (q == 0) throw RunFailure{"0 で除算しました", kErrDivision};
    const Type t = Rank(NumType(a)) >= 2 || Rank(NumType(b)) >= 2 ? Type::Long : Type::Integer;
    if (op == "\\") return Numeric(static_cast<double>(p / q), t, Type::Integer);
    return Numeric(static_cast<double>(p % q), t, Type::Integer);  // mod
  }

  // --- the drawing statements
  Canvas& canvasOf(Frame& f, const Instr& in) {
    const Value target = in.a ? eval(f, *in.a) : withObject(f);
    auto* c = target.type == Type::Object ? dynamic_cast<Canvas*>(target.object.get()) : nullptr;
    if (!c) throw RunFailure{"描画できるオブジェクトではありません"};
    return *c;
  }

  std::optional<double> opt(Frame& f, const std::unique_ptr<Expr>& e) {
    if (!e) return std::nullopt;
    return ToNumber(eval(f, *e));
  }

  std::optional<int32_t> color(Frame& f, const std::unique_ptr<Expr>& e) {
    if (!e) return std::nullopt;
    return static_cast<int32_t>(ToLong(eval(f, *e)));
  }

  void print(Frame& f, const Instr& in) {
    Canvas& c = canvasOf(f, in);
    bool open = false;
    for (size_t i = 0; i < in.args.size(); ++i) {
      if (in.args[i]) {
        const Value v = eval(f, *in.args[i]);
        // Numbers print with a blank for the sign and one after them.
        std::string text = ToText(v);
        if (v.isNumeric() && v.type != Type::Boolean && v.type != Type::Empty) {
          text = (v.number < 0 ? "" : " ") + text + " ";
        }
        c.printText(text);
      }
      open = !in.seps[i].empty();
      if (in.seps[i] == ",") c.nextZone();
    }
    if (!open) c.newLine();
  }

  void line(Frame& f, const Instr& in) {
    Canvas& c = canvasOf(f, in);
    c.drawLine(opt(f, in.args[0]), opt(f, in.args[1]), ToNumber(eval(f, *in.args[2])),
               ToNumber(eval(f, *in.args[3])), color(f, in.args[4]), in.flag, in.flag2);
  }

  void circle(Frame& f, const Instr& in) {
    Canvas& c = canvasOf(f, in);
    const double x = ToNumber(eval(f, *in.args[0]));
    const double y = ToNumber(eval(f, *in.args[1]));
    if (in.name == "pset") {
      c.setPixel(x, y, color(f, in.args[2]));
      return;
    }
    c.drawCircle(x, y, ToNumber(eval(f, *in.args[2])), color(f, in.args[3]), opt(f, in.args[4]),
                 opt(f, in.args[5]), opt(f, in.args[6]));
  }

  const Program& program_;
  Host& host_;
  RunLimits limits_;
  std::map<std::string, VarPtr, std::less<>> module_;
  long steps_ = 0;
  int depth_ = 0;
  std::shared_ptr<ErrObject> err_ = std::make_shared<ErrObject>();
};

}  // namespace

std::optional<BasicError> Run(const Program& program, std::string_view entry, Host& host,
                              const RunLimits& limits) {
  Machine m(program, host, limits);
  const std::string name = Lower(entry);
  auto it = program.procedures.find(name);
  if (it == program.procedures.end()) {
    return BasicError{0, "プロシージャ「" + std::string(entry) + "」がありません"};
  }
  try {
    m.declareModule();
    m.call(it->second, {}, it->second.line);
  } catch (const BasicError& e) {
    return e;
  } catch (const Fatal& e) {
    return e.error;
  } catch (const RunFailure& e) {
    return BasicError{it->second.line, e.message};
  } catch (const Machine::EndProgram&) {
  }
  return std::nullopt;
}

std::optional<Value> Evaluate(std::string_view expression, Host& host, std::string* error) {
  try {
    const Program program =
        Parse("Function QfValue()\nQfValue = " + std::string(expression) + "\nEnd Function\n");
    Machine m(program, host, RunLimits{100000, 32});
    return m.call(program.procedures.at("qfvalue"), {}, 1);
  } catch (const BasicError& e) {
    if (error) *error = e.message;
  } catch (const Fatal& e) {
    if (error) *error = e.error.message;
  } catch (const RunFailure& e) {
    if (error) *error = e.message;
  } catch (const Machine::EndProgram&) {
    if (error) *error = "End で止まりました";
  }
  return std::nullopt;
}

}  // namespace qf::basic
