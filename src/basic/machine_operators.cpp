// The runner's binary operators: text, comparison, logic on bits, arithmetic.
#include <cmath>

#include "basic/dates.h"
#include "basic/machine.h"

namespace qf::basic {

namespace {

bool IsBool(const Value& v, bool truth) {
  return v.type() == Type::Boolean && (v.number() != 0) == truth;
}

// An operation with a Null: Null, except where the other side decides alone (False And Null
// is False, True Or Null is True) and & joins Null as an empty text.
Value withNull(const std::string& op, const Value& a, const Value& b) {
  if (op == "&") {
    if (a.isNull() && b.isNull()) return a;
    return Text(ToText(a.isNull() ? b : a));
  }
  if (op == "and" && (IsBool(a, false) || IsBool(b, false))) return Value::Bool(false);
  if (op == "or" && (IsBool(a, true) || IsBool(b, true))) return Value::Bool(true);
  if (op == "imp" && (IsBool(a, false) || IsBool(b, true))) return Value::Bool(true);
  return Value::Null();
}

}  // namespace

bool Holds(const Value& v) {
  return !v.isNull() && ToBool(v);
}

Value Machine::binary(Frame& f, const Expr& e) {
  const std::string& op = e.name;
  if (op == "is") return Value::Bool(eval(f, *e.a).object() == eval(f, *e.b).object());
  // An object with a default property stands for it (If Err <> 0).
  const Value a = Plain(eval(f, *e.a));
  const Value b = Plain(eval(f, *e.b));
  if (a.isNull() || b.isNull()) return withNull(op, a, b);
  // Bytes joined to bytes stay bytes (LeftB(b, 2) & MidB(b, 5)); anything else is text.
  if ((op == "&" || op == "+") && a.type() == Type::Bytes && b.type() == Type::Bytes) {
    return Value::Raw(Text(a.text() + b.text()).text());
  }
  if (op == "&") return Text(ToText(a) + ToText(b));
  if (op == "+" && a.isText() && b.isText()) return Text(ToText(a) + ToText(b));
  if (op == "=" || op == "<>" || op == "<" || op == ">" || op == "<=" || op == ">=") {
    int c = 0;
    const bool text =
        (a.isText() || a.type() == Type::Empty) && (b.isText() || b.type() == Type::Empty);
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
    if (a.type() == Type::Boolean && b.type() == Type::Boolean) return Value::Bool(r != 0);
    return Numeric(static_cast<double>(r), NumType(a), NumType(b));
  }
  const double x = ToNumber(a);
  const double y = ToNumber(b);
  // A date and a number of days is a date; two dates apart are a number of days.
  const bool dated = a.type() == Type::Date || b.type() == Type::Date;
  if (dated && op == "+") return MakeDate(x + y);
  if (dated && op == "-") {
    return a.type() == Type::Date && b.type() == Type::Date ? Value::Dbl(x - y) : MakeDate(x - y);
  }
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

}  // namespace qf::basic
