// The parser's blocks: If, For, Do, While, With and Select compiled into jumps, each jump
// emitted by jumpAhead or jumpBack and its place given by land.
#include <map>

#include "basic/parser.h"

namespace qf::basic {

bool Parser::blockStatement(int line) {
  if (word(Kw::If)) return ifStatement(line), true;
  if (word(Kw::ElseIf)) return elseIf(line), true;
  if (isWord(Kw::Else) && !inlineIf_) {
    next();
    return elseBranch(line), true;
  }
  if (isWord(Kw::End)) {
    next();
    if (word(Kw::If)) return endBlock(Block::Kind::If, line), true;
    if (word(Kw::With)) return endBlock(Block::Kind::With, line), true;
    if (word(Kw::Select)) return endBlock(Block::Kind::Select, line), true;
    emit(step(Instr::Kind::End, line));
    return endInline(), true;
  }
  if (word(Kw::For)) return forStatement(line), true;
  if (word(Kw::Next)) return nextStatement(line), true;
  if (word(Kw::Do)) return doStatement(line), true;
  if (word(Kw::Loop)) return loopStatement(line), true;
  if (word(Kw::While)) return whileStatement(line), true;
  if (word(Kw::Wend)) return wendStatement(line), true;
  if (word(Kw::With)) return withStatement(line), true;
  if (word(Kw::Select)) return selectStatement(line), true;
  if (word(Kw::Case)) return caseStatement(line), true;
  return false;
}

void Parser::ifStatement(int line) {
  ExprPtr cond = expression();
  expectWord(Kw::Then);
  const int toFalse = jumpAhead(line, std::move(cond));
  if (!at(Tok::EndOfStatement) && !at(Tok::End)) {
    // One line: statements up to Else and on to the end of the line.
    const Nesting level(*this);
    ++inlineIf_;
    inlineStatements();
    if (word(Kw::Else)) {
      const int over = jumpAhead(line);
      land(toFalse);
      inlineStatements();
      land(over);
    } else {
      land(toFalse);
    }
    --inlineIf_;
    return;
  }
  Block b{Block::Kind::If, line};
  b.pendingFalse = toFalse;
  blocks_.push_back(std::move(b));
  endStatement();
}

// The statements of a one-line If branch: to Else or to the end of the source line.
void Parser::inlineStatements() {
  for (;;) {
    statement();
    if (isWord(Kw::Else) || at(Tok::End) || peek().lineStart) return;
  }
}

Block& Parser::open(Block::Kind kind, const char* what, int line) {
  for (auto it = blocks_.rbegin(); it != blocks_.rend(); ++it) {
    if (it->kind == kind) {
      if (&*it != &blocks_.back()) break;
      return *it;
    }
  }
  throw BasicError{line, std::string(what) + " に対応するブロックがありません"};
}

void Parser::elseIf(int line) {
  Block& b = open(Block::Kind::If, "ElseIf", line);
  if (b.sawElse) throw BasicError{line, "Else のあとに ElseIf は書けません"};
  b.toEnd.push_back(jumpAhead(line));
  land(b.pendingFalse);
  ExprPtr cond = expression();
  expectWord(Kw::Then);
  b.pendingFalse = jumpAhead(line, std::move(cond));
  endStatement();
}

void Parser::elseBranch(int line) {
  Block& b = open(Block::Kind::If, "Else", line);
  if (b.sawElse) throw BasicError{line, "Else が二つあります"};
  b.sawElse = true;
  b.toEnd.push_back(jumpAhead(line));
  land(b.pendingFalse);
  b.pendingFalse = -1;
  endStatement();
}

Block Parser::close(Block::Kind kind, int line) {
  static const std::map<Block::Kind, const char*> kNames = {{Block::Kind::If, "End If"},
                                                            {Block::Kind::For, "Next"},
                                                            {Block::Kind::Do, "Loop"},
                                                            {Block::Kind::With, "End With"},
                                                            {Block::Kind::Select, "End Select"}};
  if (blocks_.empty() || blocks_.back().kind != kind) {
    throw BasicError{line, std::string(kNames.at(kind)) + " に対応するブロックがありません"};
  }
  Block b = std::move(blocks_.back());
  blocks_.pop_back();
  return b;
}

void Parser::endBlock(Block::Kind kind, int line) {
  Block b = close(kind, line);
  if (kind == Block::Kind::With) {
    emit(step(Instr::Kind::WithPop, line));
    --withDepth_;
  }
  if (b.pendingFalse >= 0) land(b.pendingFalse);
  for (int j : b.toEnd) land(j);
  endStatement();
}

void Parser::forStatement(int line) {
  if (word(Kw::Each)) return forEachStatement(line);
  Instr i = step(Instr::Kind::ForStart, line);
  i.a = postfix(false);
  expectOp("=");
  i.b = expression();
  expectWord(Kw::To);
  i.args.push_back(expression());
  i.args.push_back(word(Kw::Step) ? expression() : nullptr);
  i.slot = loops_++;
  Block b{Block::Kind::For, line, here()};
  emit(std::move(i));
  blocks_.push_back(std::move(b));
  endStatement();
}

// For Each v In group: v takes each element of an array or each item of a collection.
void Parser::forEachStatement(int line) {
  Instr i = step(Instr::Kind::ForEachStart, line);
  i.a = postfix(false);
  expectWord(Kw::In);
  i.b = expression();
  i.slot = loops_++;
  Block b{Block::Kind::For, line, here()};
  emit(std::move(i));
  blocks_.push_back(std::move(b));
  endStatement();
}

void Parser::nextStatement(int line) {
  do {
    Block b = close(Block::Kind::For, line);
    if (at(Tok::Name)) next();  // the variable's name, as written
    const Instr& start = (*code_)[static_cast<size_t>(b.start)];
    const bool each = start.kind == Instr::Kind::ForEachStart;
    Instr n = step(each ? Instr::Kind::ForEachNext : Instr::Kind::ForNext, line);
    n.slot = start.slot;
    n.target = b.start + 1;
    emit(std::move(n));
    land(b.start);  // the ForStart leaves the loop to here
    for (int e : b.exits) land(e);
  } while (op(","));
  endInline();
}

void Parser::doStatement(int line) {
  Block b{Block::Kind::Do, line, here()};
  if (word(Kw::While) || word(Kw::Until)) {
    const bool until = Lower(previous().text) == "until";
    b.exits.push_back(jumpAhead(line, until ? notOf(expression()) : expression()));
  }
  blocks_.push_back(std::move(b));
  endStatement();
}

void Parser::loopStatement(int line) {
  Block b = close(Block::Kind::Do, line);
  if (word(Kw::While) || word(Kw::Until)) {
    const bool until = Lower(previous().text) == "until";
    jumpBack(line, b.start, until ? expression() : notOf(expression()));
  } else {
    jumpBack(line, b.start);
  }
  for (int e : b.exits) land(e);
  endStatement();
}

void Parser::whileStatement(int line) {
  Block b{Block::Kind::Do, line, here()};
  b.exits.push_back(jumpAhead(line, expression()));
  blocks_.push_back(std::move(b));
  endStatement();
}

void Parser::wendStatement(int line) {
  Block b = close(Block::Kind::Do, line);
  jumpBack(line, b.start);
  for (int e : b.exits) land(e);
  endStatement();
}

void Parser::withStatement(int line) {
  Instr i = step(Instr::Kind::WithPush, line);
  i.a = expression();
  emit(std::move(i));
  ++withDepth_;
  blocks_.push_back(Block{Block::Kind::With, line, here()});
  endStatement();
}

void Parser::exitStatement(int line) {
  const std::string what = Lower(nameToken("Exit の後"));
  if (what == "sub" || what == "function" || what == "property") {
    emit(step(Instr::Kind::ExitProc, line));
    return endInline();
  }
  const Block::Kind kind = what == "for" ? Block::Kind::For : Block::Kind::Do;
  if (what != "for" && what != "do") fail("Exit の後には Sub、Function、For、Do を書きます");
  for (auto it = blocks_.rbegin(); it != blocks_.rend(); ++it) {
    if (it->kind != kind) continue;
    it->exits.push_back(jumpAhead(line));
    return endInline();
  }
  throw BasicError{line, "Exit " + what + " がループの外にあります"};
}

void Parser::selectStatement(int line) {
  expectWord(Kw::Case);
  Block b{Block::Kind::Select, line};
  b.selectVar = " select" + std::to_string(selects_++);
  Instr keep = step(Instr::Kind::Assign, line);
  keep.a = make(Expr::Kind::Name, line);
  keep.a->name = b.selectVar;
  keep.b = expression();
  emit(std::move(keep));
  blocks_.push_back(std::move(b));
  endStatement();
}

ExprPtr Parser::selected(const Block& b, int line) {
  ExprPtr e = make(Expr::Kind::Name, line);
  e->name = b.selectVar;
  return e;
}

void Parser::caseStatement(int line) {
  Block& b = open(Block::Kind::Select, "Case", line);
  if (b.pendingFalse >= 0) {
    b.toEnd.push_back(jumpAhead(line));
    land(b.pendingFalse);
    b.pendingFalse = -1;
  } else if (b.sawElse) {
    throw BasicError{line, "Case Else のあとに Case は書けません"};
  }
  if (word(Kw::Else)) {
    b.sawElse = true;
    return endInline();
  }
  ExprPtr cond;
  do {
    ExprPtr one = caseTest(b, line);
    cond = cond ? binary(Op::Or, std::move(cond), std::move(one)) : std::move(one);
  } while (op(","));
  b.pendingFalse = jumpAhead(line, std::move(cond));
  endInline();
}

// One test of a Case: Is < 5, 1 To 9, or a value.
ExprPtr Parser::caseTest(const Block& b, int line) {
  if (word(Kw::Is)) {
    const Op o = comparisonSign();
    if (o == Op::None) fail("比較の演算子が必要です");
    return binary(o, selected(b, line), highLevel(0));
  }
  ExprPtr low = highLevel(0);
  if (!word(Kw::To)) return binary(Op::Equal, selected(b, line), std::move(low));
  ExprPtr high = highLevel(0);
  return binary(Op::And, binary(Op::GreaterEqual, selected(b, line), std::move(low)),
                binary(Op::LessEqual, selected(b, line), std::move(high)));
}

}  // namespace qf::basic
