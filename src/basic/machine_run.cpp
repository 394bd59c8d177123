// The runner's statements: calls, the step loop with its error handling, loops, and the
// printer's drawing statements.
#include <algorithm>
#include <cmath>

#include "basic/machine.h"

namespace qf::basic {

namespace {

bool InRange(double v, const LoopState& loop) {
  return loop.step >= 0 ? v <= loop.end : v >= loop.end;
}

}  // namespace

void Machine::declareModule() {
  Frame module;
  for (const Instr& in : program_.module) {
    try {
      if (in.kind != Instr::Kind::Dim && in.kind != Instr::Kind::Const) continue;
      VarPtr v = in.kind == Instr::Kind::Dim ? declare(module, in) : constant(module, in);
      module_[in.name] = v;
      if (in.local >= 0) {
        if (moduleSlots_.size() <= static_cast<size_t>(in.local)) {
          moduleSlots_.resize(static_cast<size_t>(in.local) + 1);
        }
        moduleSlots_[static_cast<size_t>(in.local)] = std::move(v);
      }
    } catch (const RunFailure& f) {
      throw BasicError{in.line, f.message, f.number};
    }
  }
}

void Machine::releaseModule() {
  for (const Instr& in : program_.module) {
    if (in.kind != Instr::Kind::Dim) continue;
    module_.erase(in.name);
    if (in.local >= 0 && static_cast<size_t>(in.local) < moduleSlots_.size()) {
      moduleSlots_[static_cast<size_t>(in.local)].reset();
    }
  }
}

Value Machine::call(const Procedure& proc, std::vector<Arg> args, int line, ClassInstance* me,
                    std::shared_ptr<ClassInstance> hold) {
  // The depth is given back however the call ends: an error a caller's handler takes too.
  struct Deeper {
    Deeper(std::vector<const Procedure*>& calls, const Procedure& p) : calls_(calls) {
      calls_.push_back(&p);
    }
    ~Deeper() { calls_.pop_back(); }
    Deeper(const Deeper&) = delete;
    Deeper& operator=(const Deeper&) = delete;
    std::vector<const Procedure*>& calls_;
  } deeper(calls_, proc);
  if (calls_.size() > static_cast<size_t>(limits_.depth)) {
    BasicError e{line, "呼び出しが深すぎます（" + std::to_string(limits_.depth) + " 段まで）"};
    e.procedure = proc.shownName;
    throw Fatal{std::move(e)};
  }
  Frame f;
  f.proc = &proc;
  f.me = me;
  f.meHold = std::move(hold);
  f.loops.resize(static_cast<size_t>(proc.loops));
  f.variables.resize(proc.slotOf.size());
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
      bind(f, p.name, args[i].ref);  // by reference: the caller's variable itself
      continue;
    }
    auto v = std::make_shared<Variable>();
    v->type = p.type;
    Value value = given ? args[i].value : p.fallback ? eval(f, *p.fallback) : Value{};
    v->value = Coerce(value, p.type);
    bind(f, p.name, v);
  }
  VarPtr result;
  if (proc.function) {
    result = std::make_shared<Variable>();
    result->type = proc.returns;
    result->value = Coerce(Value{}, proc.returns == Type::Object ? Type::Empty : proc.returns);
    bind(f, proc.name, result);
  }
  execute(f);
  return result ? result->value : Value{};
}

void Machine::execute(Frame& f) {
  const std::vector<Instr>& code = f.proc->code;
  size_t pc = 0;
  while (pc < code.size()) {
    const Instr& in = code[pc];
    if (++steps_ > limits_.steps) {
      throw Fatal{failure(f, in,
                          "実行の手数が上限（" + std::to_string(limits_.steps) +
                              "）を超えました。終わらないループではありませんか",
                          kErrInvalidCall)};
    }
    try {
      const std::optional<size_t> next = step(f, in, pc);
      if (!next) break;
      pc = *next;
    } catch (const RunFailure& e) {
      pc = recover(f, pc, failure(f, in, e.message, e.number));
    } catch (const BasicError& e) {
      pc = recover(f, pc, e);  // a call of this statement failed and did not handle it
    }
  }
  // Leaving a handler by Exit Sub or End Sub: the error was dealt with.
  if (f.handling) err_->clear();
}

BasicError Machine::failure(const Frame& f, const Instr& in, std::string message,
                            int number) const {
  BasicError e{in.line, std::move(message), number, f.proc->file};
  e.column = in.column;
  e.procedure = f.proc->shownName;
  for (size_t i = 0; i + 1 < calls_.size(); ++i) e.callers.push_back(calls_[i]->shownName);
  return e;
}

// Where a procedure goes on after a statement failed, as its On Error says; throws the error
// on to the caller when nothing here takes it (a handler's own errors included).
size_t Machine::recover(Frame& f, size_t pc, const BasicError& error) {
  if (f.handling || f.onError == Frame::OnError::Stop) throw error;
  err_->take(error);
  if (f.onError == Frame::OnError::ResumeNext) return pc + 1;
  f.handling = true;
  f.failedAt = pc;
  return f.handler;
}

// Resume: the handler is done; the error is cleared.
size_t Machine::resume(Frame& f, size_t to) {
  if (!f.handling) {
    throw RunFailure{ErrorDescription(kErrResumeWithoutError), kErrResumeWithoutError};
  }
  f.handling = false;
  err_->clear();
  return to;
}

// Any On Error statement clears the error and sets what the next one does.
void Machine::onError(Frame& f, Frame::OnError mode, size_t handler) {
  f.onError = mode;
  f.handler = handler;
  err_->clear();
}

// One step; the next step's place, or nothing when the procedure ends.
std::optional<size_t> Machine::step(Frame& f, const Instr& in, size_t pc) {
  const auto to = [&] { return static_cast<size_t>(in.target); };
  switch (in.kind) {
    case Instr::Kind::Eval:
      statementCall(f, *in.a);
      break;
    case Instr::Kind::Assign:
      assign(f, *in.a, eval(f, *in.b), in.isSet());
      break;
    case Instr::Kind::Dim:
      // A declaration makes its variable once a call: a Dim inside a loop keeps what the
      // variable holds, as the language declares it for the whole procedure.
      if (in.local >= 0 && f.variables[static_cast<size_t>(in.local)]) break;
      bind(f, in.name, declare(f, in));
      break;
    case Instr::Kind::ReDim:
      redim(f, in);
      break;
    case Instr::Kind::Erase:
      erase(f, in);
      break;
    case Instr::Kind::MidAssign:
      midAssign(f, in);
      break;
    case Instr::Kind::Const:
      bind(f, in.name, constant(f, in));
      break;
    case Instr::Kind::Jump:
      return to();
    case Instr::Kind::JumpIfFalse:
      if (!Holds(Plain(eval(f, *in.a)))) return to();
      break;
    case Instr::Kind::ForStart:
    case Instr::Kind::ForNext:
    case Instr::Kind::ForEachStart:
    case Instr::Kind::ForEachNext:
      return loopStep(f, in, pc);
    case Instr::Kind::GoSub:
      if (f.returns.size() >= 10000) throw RunFailure{"GoSub が深すぎます"};
      f.returns.push_back(pc + 1);
      return to();
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
    case Instr::Kind::PSet:
      circle(f, in);
      break;
    case Instr::Kind::OnErrorResumeNext:
      onError(f, Frame::OnError::ResumeNext);
      break;
    case Instr::Kind::OnErrorStop:
      onError(f, Frame::OnError::Stop);
      break;
    case Instr::Kind::OnErrorGoTo:
      onError(f, Frame::OnError::Handler, to());
      break;
    case Instr::Kind::Resume:
      return resume(f, f.failedAt);
    case Instr::Kind::ResumeNext:
      return resume(f, f.failedAt + 1);
    case Instr::Kind::ResumeAt:
      return resume(f, to());
    case Instr::Kind::End:
      throw EndProgram{};
  }
  return pc + 1;
}

// The steps of For … Next and For Each … Next.
std::optional<size_t> Machine::loopStep(Frame& f, const Instr& in, size_t pc) {
  const auto to = static_cast<size_t>(in.target);
  switch (in.kind) {
    case Instr::Kind::ForStart: {
      const Value start = eval(f, *in.b);
      LoopState& loop = f.loops[static_cast<size_t>(in.slot)];
      loop.end = ToNumber(eval(f, *in.args[0]));
      loop.step = in.args[1] ? ToNumber(eval(f, *in.args[1])) : 1;
      assign(f, *in.a, start, false);
      if (!InRange(ToNumber(eval(f, *in.a)), loop)) return to;
      break;
    }
    case Instr::Kind::ForNext: {
      const Instr& start = f.proc->code[to - 1];
      const LoopState& loop = f.loops[static_cast<size_t>(in.slot)];
      const Value v = eval(f, *start.a);
      Value moved = v.type() == Type::String
                        ? Value::Dbl(ToNumber(v) + loop.step)
                        : Numeric(v.number() + loop.step, NumType(v), Type::Integer);
      assign(f, *start.a, moved, false);
      if (InRange(ToNumber(eval(f, *start.a)), loop)) return to;
      break;
    }
    case Instr::Kind::ForEachStart:
      if (!forEachStart(f, in)) return to;
      break;
    default:
      if (forEachNext(f, in)) return to;
      break;
  }
  return pc + 1;
}

// --- the drawing statements

Canvas& Machine::canvasOf(Frame& f, const Instr& in) {
  const Value target = in.a ? eval(f, *in.a) : withObject(f);
  auto* c = target.type() == Type::Object ? dynamic_cast<Canvas*>(target.object().get()) : nullptr;
  if (!c) throw RunFailure{"描画できるオブジェクトではありません"};
  return *c;
}

std::optional<double> Machine::opt(Frame& f, const std::unique_ptr<Expr>& e) {
  if (!e) return std::nullopt;
  return ToNumber(eval(f, *e));
}

std::optional<int32_t> Machine::color(Frame& f, const std::unique_ptr<Expr>& e) {
  if (!e) return std::nullopt;
  return static_cast<int32_t>(ToLong(eval(f, *e)));
}

void Machine::print(Frame& f, const Instr& in) {
  Canvas& c = canvasOf(f, in);
  bool open = false;
  for (size_t i = 0; i < in.args.size(); ++i) {
    const Expr* arg = in.args[i].get();
    const bool call = arg && arg->kind == Expr::Kind::Call && arg->a->kind == Expr::Kind::Name;
    if (arg && arg->kind == Expr::Kind::Name && arg->name == "tab") {
      c.nextZone();
    } else if (call && (arg->a->name == "tab" || arg->a->name == "spc") && arg->args.size() <= 1) {
      // Tab(n) and Spc(n) place what follows; Tab alone goes to the next print zone.
      if (arg->args.empty() || !arg->args[0]) {
        c.nextZone();
      } else {
        const long n = std::clamp(ToLong(eval(f, *arg->args[0])), -32768L, 32767L);
        arg->a->name == "tab" ? c.tabTo(n) : c.spaces(n);
      }
    } else if (arg) {
      const Value v = Plain(eval(f, *arg));
      // Numbers print with a blank for the sign and one after them.
      std::string text = v.isNull() ? "Null" : ToText(v);
      if (v.isNumeric() && v.type() != Type::Boolean && v.type() != Type::Empty &&
          v.type() != Type::Date) {
        text = (v.number() < 0 ? "" : " ") + text + " ";
      }
      c.printText(text);
    }
    open = !in.seps[i].empty();
    if (in.seps[i] == ",") c.nextZone();
  }
  if (!open) c.newLine();
}

void Machine::line(Frame& f, const Instr& in) {
  Canvas& c = canvasOf(f, in);
  const FigureForm& form = in.figure();
  std::optional<double> x1 = opt(f, in.args[0]);
  std::optional<double> y1 = opt(f, in.args[1]);
  double x2 = ToNumber(eval(f, *in.args[2]));
  double y2 = ToNumber(eval(f, *in.args[3]));
  // Only Step reads the current point: every Line of a generated page passes both points.
  if (form.stepFrom || (form.stepTo && !x1)) {
    const double fromX = ToNumber(c.get("currentx"));
    const double fromY = ToNumber(c.get("currenty"));
    if (form.stepFrom) {
      x1 = fromX + x1.value_or(0);
      y1 = fromY + y1.value_or(0);
    }
    if (!x1) {
      x1 = fromX;
      y1 = fromY;
    }
  }
  if (form.stepTo) {
    x2 += *x1;
    y2 += *y1;
  }
  c.drawLine(x1, y1, x2, y2, color(f, in.args[4]), form.box, form.fill);
}

void Machine::circle(Frame& f, const Instr& in) {
  Canvas& c = canvasOf(f, in);
  double x = ToNumber(eval(f, *in.args[0]));
  double y = ToNumber(eval(f, *in.args[1]));
  if (in.figure().stepFrom) {
    x += ToNumber(c.get("currentx"));
    y += ToNumber(c.get("currenty"));
  }
  if (in.kind == Instr::Kind::PSet) {
    c.setPixel(x, y, color(f, in.args[2]));
    return;
  }
  c.drawCircle(x, y, ToNumber(eval(f, *in.args[2])), color(f, in.args[3]), opt(f, in.args[4]),
               opt(f, in.args[5]), opt(f, in.args[6]));
}

}  // namespace qf::basic
