// The parser's statements: which one a line holds, and the simple ones (assignments, calls,
// the printer's methods with their own syntax, error handling).
#include "basic/parser.h"

namespace qf::basic {

Instr Parser::step(Instr::Kind kind, int line) const {
  Instr i;
  i.kind = kind;
  i.line = line;
  i.column = line == statementLine_ ? statementColumn_ : 0;
  return i;
}

int Parser::jumpAhead(int line, ExprPtr condition) {
  Instr j = step(condition ? Instr::Kind::JumpIfFalse : Instr::Kind::Jump, line);
  j.a = std::move(condition);
  const int at = here();
  emit(std::move(j));
  return at;
}

void Parser::jumpBack(int line, int target, ExprPtr condition) {
  Instr j = step(condition ? Instr::Kind::JumpIfFalse : Instr::Kind::Jump, line);
  j.a = std::move(condition);
  j.target = target;
  emit(std::move(j));
}

void Parser::land(int jump) {
  (*code_)[static_cast<size_t>(jump)].target = here();
}

void Parser::statement() {
  const Token& first = peek();
  const int line = first.line;
  statementLine_ = line;
  statementColumn_ = first.column;
  if (first.kind == Tok::Name && first.lineStart && isOp(":", 1)) {
    labels_[Lower(first.text)] = here();
    next();
    next();
    return;
  }
  if (word(Kw::Dim) || word(Kw::Static) || word(Kw::Private) || word(Kw::Public)) {
    declaration(*code_, line, Lower(previous().text) == "static");
    return;
  }
  if (word(Kw::ReDim)) return redimStatement(line);
  if (word(Kw::Attribute)) return skipStatement();  // the IDE's own notes on a member
  if (word(Kw::Erase)) return eraseStatement(line);
  if (word(Kw::Const)) return constants(*code_, line);
  if (blockStatement(line)) return;
  if (word(Kw::GoSub) || word(Kw::GoTo)) {
    Instr i =
        step(Lower(previous().text) == "gosub" ? Instr::Kind::GoSub : Instr::Kind::Jump, line);
    i.label = Lower(nameToken("ラベル"));
    emit(std::move(i));
    return endInline();
  }
  if (word(Kw::Return)) {
    emit(step(Instr::Kind::Return, line));
    return endInline();
  }
  if (word(Kw::Exit)) return exitStatement(line);
  if (word(Kw::On)) return onErrorStatement(line);
  if (word(Kw::Resume)) return resumeStatement(line);
  if (word(Kw::Call)) {
    Instr i = step(Instr::Kind::Eval, line);
    i.a = postfix(false);
    emit(std::move(i));
    return endInline();
  }
  if (word(Kw::Set) || word(Kw::Let)) {
    const bool set = Lower(previous().text) == "set";
    Instr i = step(Instr::Kind::Assign, line);
    i.a = postfix(false);
    expectOp("=");
    i.b = expression();
    i.form = AssignForm{set};
    emit(std::move(i));
    return endInline();
  }
  simpleStatement(line);
}

void Parser::onErrorStatement(int line) {
  expectWord(Kw::Error);
  if (word(Kw::Resume)) {
    expectWord(Kw::Next);
    emit(step(Instr::Kind::OnErrorResumeNext, line));
  } else {
    expectWord(Kw::GoTo);
    if (at(Tok::Number)) {
      if (next().number != 0) fail("On Error GoTo には 0 かラベルを書きます");
      emit(step(Instr::Kind::OnErrorStop, line));
    } else {
      Instr i = step(Instr::Kind::OnErrorGoTo, line);
      i.label = Lower(nameToken("ラベル"));
      emit(std::move(i));
    }
  }
  endInline();
}

// Resume, Resume 0, Resume Next, Resume label: only a handler's way back.
void Parser::resumeStatement(int line) {
  Instr i = step(Instr::Kind::Resume, line);
  if (word(Kw::Next)) {
    i.kind = Instr::Kind::ResumeNext;
  } else if (at(Tok::Number)) {
    if (next().number != 0) fail("Resume の後には Next、0 かラベルを書きます");
  } else if (at(Tok::Name)) {
    i.kind = Instr::Kind::ResumeAt;
    i.label = Lower(nameToken("ラベル"));
  }
  emit(std::move(i));
  endInline();
}

// An assignment, a call, or one of the printer's methods.
void Parser::simpleStatement(int line) {
  ExprPtr target = postfix(true);
  const bool mid = target->kind == Expr::Kind::Call && target->a->kind == Expr::Kind::Name &&
                   target->a->name == "mid";
  if (mid && isOp("=")) return midStatement(std::move(target), line);
  if (op("=")) {
    Instr i = step(Instr::Kind::Assign, line);
    i.a = std::move(target);
    i.b = expression();
    emit(std::move(i));
    return endInline();
  }
  const bool member = target->kind == Expr::Kind::Member || target->kind == Expr::Kind::WithDot;
  if (member && SpecialMethod(target->name)) {
    if (target->name == "print") return printStatement(std::move(target), line);
    if (target->name == "line") return lineStatement(std::move(target), line);
    if (target->name == "scale") return scaleStatement(std::move(target), line);
    return circleStatement(std::move(target), line);
  }
  Instr i = step(Instr::Kind::Eval, line);
  if (!statementEnds()) {
    // A call without parentheses: its arguments follow.
    ExprPtr c = make(Expr::Kind::Call, line);
    callArguments(*c);
    c->a = std::move(target);
    target = std::move(c);
  }
  i.a = std::move(target);
  emit(std::move(i));
  endInline();
}

// The arguments of a call without parentheses, to the statement's end; an empty one left out.
void Parser::callArguments(Expr& call) {
  for (;;) {
    if (isOp(",")) {
      call.args.push_back(nullptr);
    } else {
      call.args.push_back(expression());
    }
    if (statementEnds()) return;
    expectOp(",");
    if (statementEnds()) call.args.push_back(nullptr);
  }
}

void Parser::printStatement(ExprPtr target, int line) {
  Instr i = step(Instr::Kind::Print, line);
  i.a = std::move(target->a);
  while (!statementEnds()) {
    if (op(";")) {
      i.args.push_back(nullptr);
      i.seps.push_back(";");
    } else if (op(",")) {
      i.args.push_back(nullptr);
      i.seps.push_back(",");
    } else {
      i.args.push_back(expression());
      i.seps.push_back(op(";") ? ";" : op(",") ? "," : "");
    }
  }
  emit(std::move(i));
  endInline();
}

std::pair<ExprPtr, ExprPtr> Parser::point() {
  expectOp("(");
  ExprPtr x = expression();
  expectOp(",");
  ExprPtr y = expression();
  expectOp(")");
  return {std::move(x), std::move(y)};
}

// [Step] (x, y): the point, and whether Step makes it relative.
bool Parser::stepPoint(ExprPtr* x, ExprPtr* y) {
  const bool relative = word(Kw::Step);
  std::tie(*x, *y) = point();
  return relative;
}

void Parser::lineStatement(ExprPtr target, int line) {
  Instr i = step(Instr::Kind::Line, line);
  FigureForm form;
  i.a = std::move(target->a);
  ExprPtr x1;
  ExprPtr y1;
  if (isOp("(") || isWord(Kw::Step)) form.stepFrom = stepPoint(&x1, &y1);
  expectOp("-");
  ExprPtr x2;
  ExprPtr y2;
  form.stepTo = stepPoint(&x2, &y2);
  ExprPtr color;
  if (op(",")) {
    if (!isOp(",") && !statementEnds()) color = expression();
    if (op(",")) {
      const std::string f = Lower(nameToken("B か BF"));
      if (f != "b" && f != "bf") fail("B か BF が必要です");
      form.box = true;
      form.fill = f == "bf";
    }
  }
  i.args.push_back(std::move(x1));
  i.args.push_back(std::move(y1));
  i.args.push_back(std::move(x2));
  i.args.push_back(std::move(y2));
  i.args.push_back(std::move(color));
  i.form = form;
  emit(std::move(i));
  endInline();
}

void Parser::circleStatement(ExprPtr target, int line) {
  const bool pset = target->name == "pset";
  Instr i = step(pset ? Instr::Kind::PSet : Instr::Kind::Circle, line);
  FigureForm form;
  i.a = std::move(target->a);
  ExprPtr x;
  ExprPtr y;
  form.stepFrom = stepPoint(&x, &y);
  i.form = form;
  i.args.push_back(std::move(x));
  i.args.push_back(std::move(y));
  if (pset) {
    i.args.push_back(op(",") ? expression() : nullptr);
    emit(std::move(i));
    return endInline();
  }
  while (op(",")) {
    if (isOp(",") || statementEnds()) {
      i.args.push_back(nullptr);
    } else {
      i.args.push_back(expression());
    }
  }
  if (i.args.size() < 3 || !i.args[2]) fail("円の半径が必要です");
  i.args.resize(7);
  emit(std::move(i));
  endInline();
}

// Scale (x1, y1)-(x2, y2), or Scale alone: a call of the method with four arguments or none.
void Parser::scaleStatement(ExprPtr target, int line) {
  ExprPtr call = make(Expr::Kind::Call, line);
  if (isOp("(")) {
    auto [x1, y1] = point();
    expectOp("-");
    auto [x2, y2] = point();
    for (ExprPtr* e : {&x1, &y1, &x2, &y2}) call->args.push_back(std::move(*e));
  }
  call->a = std::move(target);
  Instr i = step(Instr::Kind::Eval, line);
  i.a = std::move(call);
  emit(std::move(i));
  endInline();
}

// Mid$(text, start[, length]) = value: part of a variable's text replaced in place.
void Parser::midStatement(ExprPtr target, int line) {
  expectOp("=");
  if (target->args.size() < 2 || target->args.size() > 3 || !target->args[0] || !target->args[1]) {
    fail("Mid ステートメントには変数と位置が必要です");
  }
  Instr i = step(Instr::Kind::MidAssign, line);
  i.a = std::move(target->args[0]);
  i.args.push_back(std::move(target->args[1]));
  i.args.push_back(target->args.size() == 3 ? std::move(target->args[2]) : nullptr);
  i.b = expression();
  emit(std::move(i));
  endInline();
}

// Erase a, b: fixed arrays emptied, the others given back.
void Parser::eraseStatement(int line) {
  Instr i = step(Instr::Kind::Erase, line);
  do {
    ExprPtr e = make(Expr::Kind::Name, line);
    e->name = Lower(nameToken("配列"));
    i.args.push_back(std::move(e));
  } while (op(","));
  emit(std::move(i));
  endInline();
}

}  // namespace qf::basic
