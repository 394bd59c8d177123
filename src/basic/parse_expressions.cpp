// The parser's expressions: operators by precedence, names with their members and arguments.
#include <algorithm>
#include <array>

#include "basic/parser.h"

namespace qf::basic {

namespace {

// The left-associative operators, each level binding tighter than the one before: the word
// operators below Not, and those between the comparisons and the unary signs.
constexpr Spelled kLowLevels[] = {{"", Kw::Imp, Op::Imp},
                                  {"", Kw::Eqv, Op::Eqv},
                                  {"", Kw::Xor, Op::Xor},
                                  {"", Kw::Or, Op::Or},
                                  {"", Kw::And, Op::And}};
constexpr std::array<Spelled, 2> kHighLevels[] = {
    {{{"&", Kw::None, Op::Concat}, {}}},
    {{{"+", Kw::None, Op::Add}, {"-", Kw::None, Op::Subtract}}},
    {{{"", Kw::Mod, Op::Mod}, {}}},
    {{{"\\", Kw::None, Op::IntDivide}, {}}},
    {{{"*", Kw::None, Op::Multiply}, {"/", Kw::None, Op::Divide}}}};
constexpr Spelled kComparisons[] = {
    {"=", Kw::None, Op::Equal},      {"<>", Kw::None, Op::NotEqual},
    {"<=", Kw::None, Op::LessEqual}, {">=", Kw::None, Op::GreaterEqual},
    {"<", Kw::None, Op::Less},       {">", Kw::None, Op::Greater},
    {"", Kw::Like, Op::Like},        {"", Kw::Is, Op::Is}};

// Whether a name may stand in an expression: any but the language's reserved words (Error
// is a function too, and a few words are reserved only where a statement takes them).
bool ValueWord(Kw kw) {
  switch (kw) {
    case Kw::None:
    case Kw::Error:
    case Kw::Get:
    case Kw::Explicit:
    case Kw::Attribute:
    case Kw::Preserve:
    case Kw::New:
      return true;
    default:
      return false;
  }
}

}  // namespace

ExprPtr Parser::make(Expr::Kind kind, int line) {
  auto e = std::make_unique<Expr>();
  e->kind = kind;
  e->line = line;
  return e;
}

ExprPtr Parser::binary(Op o, ExprPtr a, ExprPtr b) {
  ExprPtr e = make(Expr::Kind::Binary, a->line);
  e->op = o;
  e->a = std::move(a);
  e->b = std::move(b);
  return deepen(std::move(e));
}

// The tree's depth with a node that has just got its parts; too deep is refused.
ExprPtr Parser::deepen(ExprPtr e) {
  int below = 0;
  for (const Expr* part : {e->a.get(), e->b.get()}) {
    if (part) below = std::max(below, part->depth);
  }
  for (const ExprPtr& arg : e->args) {
    if (arg) below = std::max(below, arg->depth);
  }
  e->depth = below + 1;
  if (e->depth > kMaxNesting) failTooDeep();
  return e;
}

void Parser::failTooDeep() const {
  fail("式や If の入れ子が深すぎます（" + std::to_string(kMaxNesting) + " 段まで）");
}

ExprPtr Parser::expression() {
  const Nesting level(*this);
  return lowLevel(0);
}

// Takes an operator: a keyword (Mod) or a sign as it stands.
bool Parser::takeOperator(const Spelled& o) {
  if (o.op == Op::None) return false;
  return o.word != Kw::None ? word(o.word) : op(o.sign);
}

ExprPtr Parser::lowLevel(size_t level) {
  if (level == std::size(kLowLevels)) return notE();
  ExprPtr e = lowLevel(level + 1);
  while (takeOperator(kLowLevels[level])) {
    e = binary(kLowLevels[level].op, std::move(e), lowLevel(level + 1));
  }
  return e;
}

ExprPtr Parser::notE() {
  if (isWord(Kw::Not)) {
    const Nesting level(*this);
    const int line = next().line;
    ExprPtr e = make(Expr::Kind::Unary, line);
    e->op = Op::Not;
    e->a = notE();
    return deepen(std::move(e));
  }
  return comparison();
}

ExprPtr Parser::comparison() {
  ExprPtr e = highLevel(0);
  for (;;) {
    const auto taken = std::find_if(std::begin(kComparisons), std::end(kComparisons),
                                    [this](const Spelled& o) { return takeOperator(o); });
    if (taken == std::end(kComparisons)) return e;
    e = binary(taken->op, std::move(e), highLevel(0));
  }
}

Op Parser::comparisonSign() {
  for (const Spelled& o : kComparisons) {
    if (o.word == Kw::None && takeOperator(o)) return o.op;
  }
  return Op::None;
}

ExprPtr Parser::highLevel(size_t level) {
  if (level == std::size(kHighLevels)) return unary();
  ExprPtr e = highLevel(level + 1);
  for (;;) {
    const auto& ops = kHighLevels[level];
    const auto taken =
        std::find_if(ops.begin(), ops.end(), [this](const Spelled& o) { return takeOperator(o); });
    if (taken == ops.end()) return e;
    e = binary(taken->op, std::move(e), highLevel(level + 1));
  }
}

ExprPtr Parser::unary() {
  if (isOp("-") || isOp("+")) {
    const Nesting level(*this);
    const Token& t = next();
    ExprPtr e = make(Expr::Kind::Unary, t.line);
    e->op = t.text == "-" ? Op::Negate : Op::Plus;
    e->a = unary();
    return deepen(std::move(e));
  }
  return power();
}

ExprPtr Parser::power() {
  ExprPtr e = postfix(false);
  while (op("^")) {
    ExprPtr right;
    if (isOp("-") || isOp("+")) {
      right = unary();
    } else {
      right = postfix(false);
    }
    e = binary(Op::Power, std::move(e), std::move(right));
  }
  return e;
}

ExprPtr Parser::literal(int line, Value value) {
  ExprPtr e = make(Expr::Kind::Literal, line);
  e->value = std::move(value);
  return e;
}

ExprPtr Parser::primary() {
  const Token& t = peek();
  switch (t.kind) {
    case Tok::Number: {
      Value number;
      try {
        number = Value::Of(t.numberType, t.number);
      } catch (const RunFailure&) {
        // 40000% or 1E300@: a number its type character's type cannot hold.
        fail("数値が型の範囲を超えています");
      }
      next();
      return literal(t.line, std::move(number));
    }
    case Tok::String:
      next();
      return literal(t.line, Value::Str(t.text));
    case Tok::Name: {
      if (!ValueWord(t.keyword)) fail("式が必要です");
      const std::string l = Lower(t.text);
      next();
      if (l == "true" || l == "false") return literal(t.line, Value::Bool(l == "true"));
      if (l == "new") {
        ExprPtr e = make(Expr::Kind::New, t.line);
        e->name = Lower(nameToken("クラス"));
        return e;
      }
      ExprPtr e = make(Expr::Kind::Name, t.line);
      e->name = l;
      return e;
    }
    case Tok::Op:
      if (t.text == "(") {
        next();
        ExprPtr inner = expression();
        expectOp(")");
        // Parentheses make a value: a variable in them is passed by value.
        ExprPtr e = make(Expr::Kind::Unary, t.line);
        e->op = Op::Paren;
        e->a = std::move(inner);
        return deepen(std::move(e));
      }
      if (t.text == "!" && withDepth_ > 0 && peek(1).kind == Tok::Name) {
        // !Name inside With rs: a field of the With's record set.
        next();
        ExprPtr e = make(Expr::Kind::Bang, t.line);
        e->name = next().text;
        return e;
      }
      if (t.text == "." && withDepth_ > 0) {
        next();
        ExprPtr e = make(Expr::Kind::WithDot, t.line);
        e->name = Lower(nameToken("メンバー"));
        return e;
      }
      break;
    default:
      break;
  }
  fail("式が必要です");
}

std::vector<ExprPtr> Parser::arguments() {
  // After "(": arguments up to ")", an empty one left out.
  std::vector<ExprPtr> args;
  if (op(")")) return args;
  for (;;) {
    if (isOp(",") || isOp(")")) {
      args.push_back(nullptr);
    } else {
      args.push_back(expression());
    }
    if (op(")")) return args;
    expectOp(",");
  }
}

// A name with its members, fields and arguments. In a statement, the printer's methods with
// their own syntax (Line (x, y)-(x, y), Circle (x, y), ...) stop before their parentheses.
ExprPtr Parser::postfix(bool statement) {
  ExprPtr e = primary();
  for (;;) {
    // Inside With, " .Name" and " !Name" after a blank start an argument of their own.
    if (withDepth_ > 0 && (isOp(".") || isOp("!")) && peek().spaced) return e;
    if (isOp(".") && peek(1).kind == Tok::Name) {
      next();
      const Token& n = next();
      ExprPtr m = make(Expr::Kind::Member, n.line);
      m->name = Lower(n.text);
      // NAME(i).COLUMN and NAME.COLUMN: what a program reads of records it was handed
      // (Items(sngI).品名, Cust.顧客名); the language's own objects are none of them.
      if (e->kind == Expr::Kind::Call && e->a->kind == Expr::Kind::Name) {
        program_.recordNames.insert(e->a->name);
      } else if (e->kind == Expr::Kind::Name && !LanguageObject(e->name)) {
        program_.recordNames.insert(e->name);
      }
      m->a = std::move(e);
      e = deepen(std::move(m));
      if (statement && SpecialMethod(e->name)) return e;
      continue;
    }
    if (isOp("!") && peek(1).kind == Tok::Name) {
      next();
      const Token& n = next();
      ExprPtr m = make(Expr::Kind::Bang, n.line);
      m->name = n.text;
      if (e->kind == Expr::Kind::Name) program_.recordNames.insert(e->name);  // rs!請求先
      m->a = std::move(e);
      e = deepen(std::move(m));
      continue;
    }
    if (isOp("(")) {
      if (statement && e->kind == Expr::Kind::WithDot && SpecialMethod(e->name)) return e;
      next();
      ExprPtr c = make(Expr::Kind::Call, e->line);
      c->args = arguments();
      c->a = std::move(e);
      e = deepen(std::move(c));
      continue;
    }
    return e;
  }
}

ExprPtr Parser::notOf(ExprPtr e) {
  ExprPtr n = make(Expr::Kind::Unary, e->line);
  n->op = Op::Not;
  n->a = std::move(e);
  return n;
}

bool Parser::LanguageObject(const std::string& name) {
  static const std::set<std::string> kObjects = {"printer", "err",       "app", "screen",
                                                 "debug",   "clipboard", "me",  "forms"};
  return kObjects.count(name) > 0;
}

bool Parser::SpecialMethod(const std::string& name) {
  return name == "line" || name == "circle" || name == "pset" || name == "print" || name == "scale";
}

}  // namespace qf::basic
