// The parser's statements: which one a line holds, and the simple ones (assignments, calls,
// the printer's methods with their own syntax, error handling).
#include "basic/parser.h"

namespace qf::basic {

Instr Parser::step(Instr::Kind kind, int line) {
  Instr i;
  i.kind = kind;
  i.line = line;
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
  if (first.kind == Tok::Name && first.lineStart && isOp(":", 1)) {
    labels_[Lower(first.text)] = here();
    next();
    next();
    return;
  }
  if (word("dim") || word("static") || word("private") || word("public")) {
    declaration(*code_, line);
    return;
  }
  if (word("const")) return constants(*code_, line);
  if (blockStatement(line)) return;
  if (word("gosub") || word("goto")) {
    Instr i =
        step(Lower(previous().text) == "gosub" ? Instr::Kind::GoSub : Instr::Kind::Jump, line);
    i.label = Lower(nameToken("ラベル"));
    emit(std::move(i));
    return endInline();
  }
  if (word("return")) {
    emit(step(Instr::Kind::Return, line));
    return endInline();
  }
  if (word("exit")) return exitStatement(line);
  if (word("on")) return onErrorStatement(line);
  if (word("resume")) return resumeStatement(line);
  if (word("call")) {
    Instr i = step(Instr::Kind::Eval, line);
    i.a = postfix(false);
    emit(std::move(i));
    return endInline();
  }
  if (word("set") || word("let")) {
    const bool set = Lower(previous().text) == "set";
    Instr i = step(Instr::Kind::Assign, line);
    i.a = postfix(false);
    expectOp("=");
    i.b = expression();
    i.flag = set;
    emit(std::move(i));
    return endInline();
  }
  simpleStatement(line);
}

void Parser::onErrorStatement(int line) {
  expectWord("error");
  if (word("resume")) {
    expectWord("next");
    emit(step(Instr::Kind::OnErrorResumeNext, line));
  } else {
    expectWord("goto");
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
  if (word("next")) {
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

void Parser::lineStatement(ExprPtr target, int line) {
  Instr i = step(Instr::Kind::Line, line);
  i.a = std::move(target->a);
  if (word("step")) fail("Step は使えません");
  ExprPtr x1;
  ExprPtr y1;
  if (isOp("(")) std::tie(x1, y1) = point();
  expectOp("-");
  if (word("step")) fail("Step は使えません");
  auto [x2, y2] = point();
  ExprPtr color;
  if (op(",")) {
    if (!isOp(",") && !statementEnds()) color = expression();
    if (op(",")) {
      const std::string f = Lower(nameToken("B か BF"));
      if (f != "b" && f != "bf") fail("B か BF が必要です");
      i.flag = true;
      i.flag2 = f == "bf";
    }
  }
  i.args.push_back(std::move(x1));
  i.args.push_back(std::move(y1));
  i.args.push_back(std::move(x2));
  i.args.push_back(std::move(y2));
  i.args.push_back(std::move(color));
  emit(std::move(i));
  endInline();
}

void Parser::circleStatement(ExprPtr target, int line) {
  Instr i = step(Instr::Kind::Circle, line);
  const bool pset = target->name == "pset";
  i.a = std::move(target->a);
  if (word("step")) fail("Step は使えません");
  auto [x, y] = point();
  i.args.push_back(std::move(x));
  i.args.push_back(std::move(y));
  if (pset) {
    i.name = "pset";
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

}  // namespace qf::basic
