// The parser's frame: the module's declarations, procedures with their parameters and bodies,
// variables, constants and Type … End Type; and the token helpers the other parts share.
#include "basic/parser.h"

namespace qf::basic {

std::string Parser::describe(const Token& t) {
  switch (t.kind) {
    case Tok::End:
      return "プログラムの終わり";
    case Tok::EndOfStatement:
      return "文の終わり";
    case Tok::String:
      return "\"" + t.text + "\"";
    default:
      return "「" + t.text + "」";
  }
}

void Parser::fail(const std::string& what) const {
  throw BasicError{peek().line, what + "（" + describe(peek()) + " のところ）"};
}

void Parser::expectOp(std::string_view o) {
  if (!op(o)) fail(std::string("「") + std::string(o) + "」が必要です");
}

void Parser::expectWord(std::string_view w) {
  if (!word(w)) fail("「" + std::string(w) + "」が必要です");
}

std::string Parser::nameToken(const char* what) {
  if (!at(Tok::Name)) fail(std::string(what) + "の名前が必要です");
  return next().text;
}

void Parser::skipStatement() {
  while (!at(Tok::EndOfStatement) && !at(Tok::End)) next();
}

void Parser::endStatement() {
  if (at(Tok::End) || endOfStatement()) return;
  fail("文の終わりが必要です");
}

void Parser::endInline() {
  if (inlineIf_ > 0 && isWord("else")) return;
  endStatement();
}

Program Parser::run() {
  // Names as the program first writes them, for what a stop says.
  for (const Token& t : t_) {
    if (t.kind == Tok::Name) program_.spellings.emplace(Lower(t.text), t.text);
  }
  while (!at(Tok::End)) {
    if (endOfStatement()) continue;
    const int line = peek().line;
    if (!moduleStatement(line)) {
      throw BasicError{line, "プロシージャの外に書けない文です：" + describe(peek())};
    }
  }
  // What the program declares itself is no record it was handed.
  for (const std::string& n : declared_) program_.recordNames.erase(n);
  for (const auto& [n, proc] : program_.procedures) program_.recordNames.erase(n);
  return std::move(program_);
}

// A statement outside the procedures; false when it is none the module may hold.
bool Parser::moduleStatement(int line) {
  const bool scoped = word("private") || word("public");
  if (word("sub") || word("function")) {
    procedure(line);
  } else if (word("type")) {
    userType(line);
  } else if (scoped) {
    declaration(program_.module, line);  // Private x As Long
  } else if (word("option") || word("attribute") || word("declare")) {
    skipStatement();
  } else if (word("dim") || word("global") || word("static")) {
    declaration(program_.module, line);
  } else if (word("const")) {
    constants(program_.module, line);
  } else {
    return false;
  }
  return true;
}

void Parser::procedure(int line) {
  const bool function = Lower(previous().text) == "function";
  Procedure proc;
  proc.shownName = nameToken("プロシージャ");
  proc.name = Lower(proc.shownName);
  proc.function = function;
  proc.line = line;
  if (op("(")) params(proc);
  if (function && word("as")) proc.returns = TypeNamed(nameToken("型"));
  endStatement();
  if (program_.procedures.count(proc.name)) {
    throw BasicError{line, "プロシージャ「" + proc.shownName + "」が二度定義されています"};
  }
  code_ = &proc.code;
  loops_ = 0;
  labels_.clear();
  blocks_.clear();
  body(function ? "function" : "sub");
  resolveLabels(proc);
  proc.loops = loops_;
  program_.procedures.emplace(proc.name, std::move(proc));
  code_ = nullptr;
}

// After "(": the parameters up to ")".
void Parser::params(Procedure& proc) {
  while (!op(")")) {
    Param prm;
    if (word("optional")) prm.optional = true;
    if (word("byval")) {
      prm.byVal = true;
    } else {
      word("byref");
    }
    word("paramarray");
    prm.name = Lower(nameToken("引数"));
    declared_.insert(prm.name);
    if (op("(")) {
      expectOp(")");
      prm.array = true;
    }
    if (word("as")) prm.type = TypeNamed(nameToken("型"));
    if (op("=")) prm.fallback = expression();
    proc.params.push_back(std::move(prm));
    if (!isOp(")")) expectOp(",");
  }
}

void Parser::body(const char* kind) {
  for (;;) {
    if (at(Tok::End))
      fail(std::string("End ") + (kind[0] == 's' ? "Sub" : "Function") + " がありません");
    if (endOfStatement()) continue;
    if (isWord("end") && (isWord("sub", 1) || isWord("function", 1))) {
      if (!blocks_.empty()) {
        throw BasicError{blocks_.back().line, "ブロックが閉じられていません"};
      }
      next();
      next();
      endStatement();
      return;
    }
    statement();
  }
}

void Parser::resolveLabels(Procedure& proc) {
  for (Instr& i : proc.code) {
    if (i.label.empty()) continue;
    auto it = labels_.find(i.label);
    if (it == labels_.end()) throw BasicError{i.line, "ラベル「" + i.label + "」がありません"};
    i.target = it->second;
  }
}

void Parser::declaration(std::vector<Instr>& into, int line) {
  std::vector<Instr>* saved = code_;
  code_ = &into;
  if (word("const")) {
    constants(into, line);
    code_ = saved;
    return;
  }
  word("withevents");
  do {
    Instr i = step(Instr::Kind::Dim, line);
    i.name = Lower(nameToken("変数"));
    declared_.insert(i.name);
    if (op("(")) arrayBounds(i);
    if (word("as")) {
      word("new");
      const std::string typeName = nameToken("型");
      i.type = TypeNamed(typeName);
      if (program_.types.count(Lower(typeName))) i.userType = Lower(typeName);
      if (op("*")) expression();  // String * n
    }
    emit(std::move(i));
  } while (op(","));
  code_ = saved;
  endStatement();
}

// After "(": an array's bounds, each "upper" or "lower To upper", up to ")".
void Parser::arrayBounds(Instr& i) {
  i.flag = true;
  while (!op(")")) {
    ExprPtr bound = expression();
    if (word("to")) {
      i.args.push_back(std::move(bound));
      i.args.push_back(expression());
    } else {
      i.args.push_back(nullptr);
      i.args.push_back(std::move(bound));
    }
    if (!isOp(")")) expectOp(",");
  }
}

// Type Name … End Type: its members, one a line (Name As Type [* n]).
void Parser::userType(int line) {
  UserType t;
  t.shownName = nameToken("型");
  const std::string name = Lower(t.shownName);
  if (program_.types.count(name)) fail("型「" + t.shownName + "」が二度定義されています");
  endStatement();
  for (;;) {
    if (at(Tok::End)) throw BasicError{line, "End Type がありません"};
    if (endOfStatement()) continue;
    if (isWord("end") && isWord("type", 1)) {
      next();
      next();
      endStatement();
      break;
    }
    UserField field;
    field.name = Lower(nameToken("メンバー"));
    if (isOp("(")) fail("Type の配列のメンバーには対応していません");
    expectWord("as");
    const std::string typeName = nameToken("型");
    field.type = TypeNamed(typeName);
    if (field.type == Type::Empty && Lower(typeName) != "variant") {
      field.userType = Lower(typeName);
      if (!program_.types.count(field.userType)) {
        fail("型「" + typeName + "」は、これより前に Type で定義してください");
      }
    }
    if (op("*")) expression();  // String * n: the length is not kept
    t.fields.push_back(std::move(field));
    endStatement();
  }
  program_.types.emplace(name, std::move(t));
}

void Parser::constants(std::vector<Instr>& into, int line) {
  do {
    Instr i = step(Instr::Kind::Const, line);
    i.name = Lower(nameToken("定数"));
    if (word("as")) i.type = TypeNamed(nameToken("型"));
    expectOp("=");
    i.b = expression();
    into.push_back(std::move(i));
  } while (op(","));
  endStatement();
}

Program Parse(std::string_view source) {
  return Parser(source).run();
}

}  // namespace qf::basic
