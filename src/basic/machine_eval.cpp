// The runner's expressions: names, calls of procedures, the language's functions and objects,
// and the operators.
#include <cmath>
#include <set>

#include "basic/array_value.h"
#include "basic/builtin_tables.h"
#include "basic/collection.h"
#include "basic/dates.h"
#include "basic/font_object.h"
#include "basic/machine.h"
#include "basic/printer_object.h"
#include "basic/type_functions.h"

namespace qf::basic {

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
    case Type::Currency:
      return 4;
    default:
      return 5;
  }
}

Value Numeric(double n, Type a, Type b) {
  Type t = Rank(a) >= Rank(b) ? a : b;
  if (t == Type::Boolean || t == Type::Empty || t == Type::String || t == Type::Bytes ||
      t == Type::Date) {
    t = Type::Double;
  }
  if (t == Type::Single && (a == Type::Long || b == Type::Long)) t = Type::Double;
  return Value::Of(t, n);
}

Type NumType(const Value& v) {
  return v.isText() ? Type::Double : v.type();
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

Value Text(std::string s) {
  if (s.size() > kLongestText) throw RunFailure{"文字列が長すぎます（16 MB まで）"};
  return Value::Str(std::move(s));
}

Value Machine::eval(Frame& f, const Expr& e) {
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
      const Value owner = e.a ? eval(f, *e.a) : withObject(f);
      return objectOf(owner, e.name).index({Value::Str(e.name)});
    }
    case Expr::Kind::Call:
      return callExpr(f, e);
    case Expr::Kind::Unary:
      return unary(e.op, eval(f, *e.a));
    case Expr::Kind::Binary:
      return binary(f, e);
    case Expr::Kind::New:
      return newObject(e.name);
  }
  return {};
}

std::vector<Value> Machine::values(Frame& f, const std::vector<std::unique_ptr<Expr>>& args,
                                   std::vector<bool>* missing) {
  std::vector<Value> out;
  for (const auto& a : args) {
    out.push_back(a ? eval(f, *a) : Value{});
    if (missing) missing->push_back(!a);
  }
  return out;
}

Value Machine::withObject(Frame& f) {
  if (f.with.empty()) throw RunFailure{"With の外で「.」は使えません"};
  return f.with.back();
}

Object& Machine::objectOf(const Value& v, std::string_view member) {
  if (v.type() != Type::Object || !v.object()) {
    throw RunFailure{"オブジェクトが必要です（." + std::string(member) + " の前）"};
  }
  return *v.object();
}

Value Machine::name(Frame& f, const Expr& e) {
  if (VarPtr v = lookup(f, e)) {
    if (v->isArray) throw RunFailure{"配列「" + shown(e.name) + "」には添字が必要です"};
    return v->value;
  }
  return callNamed(f, e.name, {}, e.line, true);
}

// A name used as a call: a procedure, a function of the language, a constant, a host name.
Value Machine::callNamed(Frame& f, const std::string& n, std::vector<Arg> args, int line,
                         bool read) {
  // In a class, its own procedures first, with the same object.
  if (f.me) {
    if (const Procedure* p = classProcedure(*f.me, n, false)) {
      return call(*p, std::move(args), line, f.me, f.meHold);
    }
  }
  if (auto it = program_.procedures.find(n); it != program_.procedures.end()) {
    return call(it->second, std::move(args), line);
  }
  const auto& builtins = Builtins();
  if (auto it = builtins.find(n); it != builtins.end()) {
    // An argument left out is Empty: the functions read it as their default (FormatNumber(x, 0,
    // , vbTrue)); the first is never optional.
    std::vector<Value> v;
    for (Arg& a : args) {
      if (a.missing && v.empty()) throw RunFailure{"「" + shown(n) + "」の引数が空です"};
      if (a.ref && a.ref->isArray) {
        // An array variable goes as its value (Join(names, ",")): its elements, one dimension.
        if (a.ref->bounds.size() != 1)
          throw RunFailure{"「" + shown(n) + "」には一次元の配列を渡します"};
        v.push_back(
            Value::Obj(std::make_shared<ArrayValue>(a.ref->elements, a.ref->bounds.front().first)));
        continue;
      }
      v.push_back(a.missing ? Value{} : Plain(a.value));
    }
    return it->second(v);
  }
  if (std::optional<Value> v = languageName(f, n, args)) return *v;
  std::shared_ptr<Object> o = host_.global(n);
  if (!o && program_.recordNames.count(n)) o = host_.recordArray(n);
  if (o) {
    if (args.empty()) return Value::Obj(std::move(o));
    std::vector<Value> v;
    for (Arg& a : args) v.push_back(std::move(a.value));
    return o->index(v);
  }
  // Read without Option Explicit, a name never assigned is a variable of the procedure, Empty;
  // a name the program reads as records says a data file gives it.
  if (read && implicitNames_ && !program_.explicitNames && !program_.recordNames.count(n)) {
    bind(f, n, std::make_shared<Variable>());
    return Value{};
  }
  throw RunFailure{"「" + shown(n) + "」が定義されていません"};
}

bool IsLanguageName(std::string_view n) {
  // Every name languageName answers (keep the two together).
  static const std::set<std::string, std::less<>> kNames = {
      "lbound",   "ubound",  "loadpicture", "error",  "msgbox",  "inputbox", "printers", "printer",
      "nothing",  "empty",   "err",         "me",     "debug",   "screen",   "app",      "doevents",
      "beep",     "now",     "date",        "time",   "timer",   "tab",      "spc",      "null",
      "typename", "vartype", "isempty",     "isnull", "isarray", "isobject"};
  return kNames.count(n) > 0;
}

// The language's own names that need the run: its objects, Error$, the bounds of an array,
// LoadPicture; nothing for a name that is none of them.
std::optional<Value> Machine::languageName(Frame& f, const std::string& n, std::vector<Arg>& args) {
  if (n == "lbound" || n == "ubound") return bound(args, n == "ubound");
  if (args.size() == 1) {
    if (auto v = TypeFunction(n, args[0].value, args[0].ref.get())) return v;
  }
  if (n == "loadpicture") {
    if (args.size() != 1) throw RunFailure{"LoadPicture の引数はファイル名一つです"};
    const std::string path = ToText(args[0].value);
    std::shared_ptr<Object> pic = host_.loadPicture(path);
    if (!pic) throw RunFailure{"画像「" + path + "」を読み込めません"};
    return Value::Obj(std::move(pic));
  }
  if (n == "error" && args.size() <= 1) {
    // Error$: the error a handler took, or the description of a number.
    if (args.empty()) return Text(err_->description());
    return Text(ErrorDescription(static_cast<int>(ToLong(args[0].value))));
  }
  if (n == "msgbox" || n == "inputbox") {
    std::vector<Value> v;
    for (Arg& a : args) v.push_back(Plain(a.value));
    if (n == "msgbox") return MessageBox(v, say_);
    // InputBox: no one types an answer; the default answer is taken.
    if (v.empty()) throw RunFailure{"InputBox の引数の数が違います"};
    say_("InputBox：" + ToText(v[0]));
    return Value::Str(v.size() > 2 ? ToText(v[2]) : std::string());
  }
  if (n == "printers") {
    const Value all = Value::Obj(MakePrinters(host_.printer()));
    if (args.empty()) return all;
    std::vector<Value> v;
    for (Arg& a : args) v.push_back(a.value);
    return all.object()->index(v);
  }
  if (!args.empty()) return std::nullopt;
  if (auto c = BuiltinConstant(n)) return *c;
  if (n == "printer") return Value::Obj(host_.printer());
  if (n == "nothing") return Value::Obj(nullptr);
  if (n == "empty") return Value{};
  if (n == "null") return Value::Null();
  if (n == "err") return Value::Obj(err_);
  if (n == "me") {
    if (!f.meHold) throw RunFailure{"Me はクラスの中でだけ使えます"};
    return Value::Obj(f.meHold);
  }
  if (n == "debug") return Value::Obj(debug_);
  if (n == "screen") return Value::Obj(screen_);
  if (n == "app") return Value::Obj(app_);
  if (n == "doevents") return Value::Int(0);
  if (n == "now" || n == "date" || n == "time" || n == "timer") {
    const double now = host_.now();
    const double day = std::trunc(now);
    if (n == "now") return MakeDate(now);
    if (n == "date") return MakeDate(day);
    if (n == "time") return MakeDate(now - day);
    return Value::Sng(std::round((now - day) * 86400));
  }
  if (n == "beep") return Value{};
  return std::nullopt;
}

// A call's arguments: a variable named alone goes by reference (an array by reference only).
std::vector<Arg> Machine::arguments(Frame& f, const Expr& call) {
  std::vector<Arg> args;
  for (const auto& a : call.args) {
    Arg arg;
    if (!a) {
      arg.missing = true;
    } else if (a->kind == Expr::Kind::Name) {
      arg.ref = lookup(f, *a);
      if (!arg.ref || !arg.ref->isArray) arg.value = eval(f, *a);
    } else {
      arg.value = eval(f, *a);
    }
    args.push_back(std::move(arg));
  }
  return args;
}

Value Machine::callExpr(Frame& f, const Expr& e) {
  const Expr& target = *e.a;
  if (target.kind == Expr::Kind::Name) {
    // Inside a function its name is its result, but its name called is the function again.
    const bool recursion = f.proc && f.proc->function && target.name == f.proc->name;
    if (VarPtr v = recursion ? nullptr : lookup(f, target)) {
      std::vector<Value> index = values(f, e.args);
      if (v->isArray) return element(*v, index);
      return objectOf(v->value, target.name).index(index);
    }
    return callNamed(f, target.name, arguments(f, e), e.line);
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
void Machine::statementCall(Frame& f, const Expr& e) {
  if (e.kind == Expr::Kind::Name) {
    callNamed(f, e.name, {}, e.line);
    return;
  }
  if (e.kind == Expr::Kind::Member || e.kind == Expr::Kind::WithDot) {
    const Value owner = e.kind == Expr::Kind::WithDot ? withObject(f) : eval(f, *e.a);
    objectOf(owner, e.name).call(e.name, {}, {});
    return;
  }
  eval(f, e);
}

Value Machine::unary(Op op, const Value& value) {
  if (op == Op::Paren) return value;
  const Value v = Plain(value);
  if (v.isNull()) return v;  // Not Null and -Null are Null
  if (op == Op::Not) {
    if (v.type() == Type::Boolean) return Value::Bool(v.number() == 0);
    return Numeric(static_cast<double>(~ToLong(v)), NumType(v), Type::Integer);
  }
  const double n = ToNumber(v);
  return Numeric(op == Op::Negate ? -n : n, NumType(v), Type::Integer);
}

}  // namespace qf::basic
