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
Value WithNull(Op op, const Value& a, const Value& b) {
  if (op == Op::Concat) {
    if (a.isNull() && b.isNull()) return a;
    return Text(ToText(a.isNull() ? b : a));
  }
  if (op == Op::And && (IsBool(a, false) || IsBool(b, false))) return Value::Bool(false);
  if (op == Op::Or && (IsBool(a, true) || IsBool(b, true))) return Value::Bool(true);
  if (op == Op::Imp && (IsBool(a, false) || IsBool(b, true))) return Value::Bool(true);
  return Value::Null();
}

Value Compared(Op op, const Value& a, const Value& b) {
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
  switch (op) {
    case Op::Equal:
      return Value::Bool(c == 0);
    case Op::NotEqual:
      return Value::Bool(c != 0);
    case Op::Less:
      return Value::Bool(c < 0);
    case Op::Greater:
      return Value::Bool(c > 0);
    case Op::LessEqual:
      return Value::Bool(c <= 0);
    default:
      return Value::Bool(c >= 0);
  }
}

// And, Or, Xor, Eqv and Imp work on each bit of the Long; on two Booleans they are logic.
Value Bitwise(Op op, const Value& a, const Value& b) {
  const long x = ToLong(a);
  const long y = ToLong(b);
  long r = 0;
  switch (op) {
    case Op::And:
      r = x & y;
      break;
    case Op::Or:
      r = x | y;
      break;
    case Op::Xor:
      r = x ^ y;
      break;
    case Op::Eqv:
      r = ~(x ^ y);
      break;
    default:  // Imp
      r = ~x | y;
      break;
  }
  if (a.type() == Type::Boolean && b.type() == Type::Boolean) return Value::Bool(r != 0);
  return Numeric(static_cast<double>(r), NumType(a), NumType(b));
}

Value Arithmetic(Op op, const Value& a, const Value& b) {
  const double x = ToNumber(a);
  const double y = ToNumber(b);
  // A date and a number of days is a date; two dates apart are a number of days.
  const bool dated = a.type() == Type::Date || b.type() == Type::Date;
  if (dated && op == Op::Add) return MakeDate(x + y);
  if (dated && op == Op::Subtract) {
    return a.type() == Type::Date && b.type() == Type::Date ? Value::Dbl(x - y) : MakeDate(x - y);
  }
  switch (op) {
    case Op::Add:
      return Numeric(x + y, NumType(a), NumType(b));
    case Op::Subtract:
      return Numeric(x - y, NumType(a), NumType(b));
    case Op::Multiply:
      return Numeric(x * y, NumType(a), NumType(b));
    case Op::Divide:
      if (y == 0) throw RunFailure{"0 で除算しました", kErrDivision};
      return Value::Dbl(x / y);
    case Op::Power:
      return Value::Dbl(std::pow(x, y));
    default:
      break;
  }
  const long p = ToLong(a);
  const long q = ToLong(b);
  if (q == 0) throw RunFailure{"0 で除算しました", kErrDivision};
  const Type t = Rank(NumType(a)) >= 2 || Rank(NumType(b)) >= 2 ? Type::Long : Type::Integer;
  if (op == Op::IntDivide) return Numeric(static_cast<double>(p / q), t, Type::Integer);
  return Numeric(static_cast<double>(p % q), t, Type::Integer);  // Mod
}

}  // namespace

Value Machine::binary(Frame& f, const Expr& e) {
  const Op op = e.op;
  if (op == Op::Is) return Value::Bool(eval(f, *e.a).object() == eval(f, *e.b).object());
  // An object with a default property stands for it (If Err <> 0).
  const Value a = Plain(eval(f, *e.a));
  const Value b = Plain(eval(f, *e.b));
  if (a.isNull() || b.isNull()) return WithNull(op, a, b);
  // Bytes joined to bytes stay bytes (LeftB(b, 2) & MidB(b, 5)); anything else is text.
  if ((op == Op::Concat || op == Op::Add) && a.type() == Type::Bytes && b.type() == Type::Bytes) {
    return Value::Raw(Text(a.text() + b.text()).text());
  }
  if (op == Op::Concat) return Text(ToText(a) + ToText(b));
  if (op == Op::Add && a.isText() && b.isText()) return Text(ToText(a) + ToText(b));
  switch (op) {
    case Op::Equal:
    case Op::NotEqual:
    case Op::Less:
    case Op::Greater:
    case Op::LessEqual:
    case Op::GreaterEqual:
      return Compared(op, a, b);
    case Op::Like:
      return Value::Bool(Like(ToText(a), ToText(b)));
    case Op::And:
    case Op::Or:
    case Op::Xor:
    case Op::Eqv:
    case Op::Imp:
      return Bitwise(op, a, b);
    default:
      return Arithmetic(op, a, b);
  }
}

}  // namespace qf::basic
