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
  BasicError e{peek().line, what + "（" + describe(peek()) + " のところ）"};
  e.column = peek().column;
  throw e;
}

// After an error the parse goes on, to report what else is wrong in one go: past the
// procedure the error was in (its blocks are left half compiled, and would only report
// errors that follow from the first), or past the statement outside any procedure.
void Parser::recoverFrom(const BasicError& e) {
  errors_.push_back(e);
  if (errors_.size() >= kMostErrors) giveUp();
  if (!inProcedure_ && declaring_ == Kw::None) {
    skipStatement();
    return;
  }
  // Past the End that closes what the error was in: End Sub (Function, Property), End Type or
  // End Enum.
  while (!at(Tok::End)) {
    const bool closes =
        (inProcedure_ ? isWord(Kw::Sub, 1) || isWord(Kw::Function, 1) || isWord(Kw::Property, 1)
                      : isWord(declaring_, 1));
    const bool ends =
        (p_ == 0 || previous().kind == Tok::EndOfStatement) && isWord(Kw::End) && closes;
    next();
    if (ends) {
      next();
      break;
    }
  }
  declaring_ = Kw::None;
  inProcedure_ = false;
  code_ = nullptr;
  blocks_.clear();
  inlineIf_ = loops_ = withDepth_ = selects_ = 0;
}

void Parser::giveUp() {
  BasicError first = errors_.front();
  first.more.assign(errors_.begin() + 1, errors_.end());
  throw first;
}

void Parser::expectOp(std::string_view o) {
  if (!op(o)) fail(std::string("「") + std::string(o) + "」が必要です");
}

void Parser::expectWord(Kw w) {
  if (!word(w)) fail("「" + std::string(KeywordText(w)) + "」が必要です");
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
  if (inlineIf_ > 0 && isWord(Kw::Else)) return;
  endStatement();
}

void Parser::run() {
  // Names as the program first writes them, for what a stop says.
  for (const Token& t : t_) {
    if (t.kind == Tok::Name) program_.spellings.emplace(Lower(t.text), t.text);
  }
  while (!at(Tok::End)) {
    if (endOfStatement()) continue;
    const int line = peek().line;
    statementLine_ = line;
    statementColumn_ = peek().column;
    try {
      if (!moduleStatement(line)) fail("プロシージャの外に書けない文です");
    } catch (const BasicError& e) {
      recoverFrom(e);
    } catch (const RunFailure& f) {
      // A value the parse makes that its type cannot hold: an error of the program too.
      BasicError e{peek().line, f.message, f.number};
      e.column = peek().column;
      recoverFrom(e);
    }
  }
  if (!errors_.empty()) giveUp();
  // What the program declares itself is no record it was handed.
  for (const std::string& n : declared_) program_.recordNames.erase(n);
  for (const auto& [n, proc] : program_.procedures) program_.recordNames.erase(n);
}

// A statement outside the procedures; false when it is none the module may hold.
bool Parser::moduleStatement(int line) {
  const bool isPrivate = isWord(Kw::Private);
  const bool scoped = word(Kw::Private) || word(Kw::Public) || word(Kw::Friend);
  std::vector<Instr>& declarations = class_ ? class_->members : program_.module;
  word(Kw::Static);  // Static Sub: its variables are kept, as they are here anyway
  if (word(Kw::Sub) || word(Kw::Function) || word(Kw::Property)) {
    procedure(line, isPrivate);
  } else if (word(Kw::Type)) {
    userType(line);
  } else if (word(Kw::Enum)) {
    enumeration(line);
  } else if (scoped) {
    declaration(declarations, line, false, isPrivate);  // Private x As Long
  } else if (word(Kw::Option)) {
    if (word(Kw::Explicit)) program_.explicitNames = true;
    skipStatement();
  } else if (word(Kw::Attribute) || word(Kw::Declare) || word(Kw::Implements)) {
    skipStatement();
  } else if (word(Kw::Dim) || word(Kw::Global)) {
    declaration(declarations, line);
  } else if (word(Kw::Const)) {
    constants(declarations, line);
  } else {
    return false;
  }
  return true;
}

void Parser::procedure(int line, bool isPrivate) {
  const std::string what = Lower(previous().text);
  inProcedure_ = true;  // from its first line: an error in it skips to its end
  Procedure proc;
  proc.kind = what == "function" ? ProcKind::Function : ProcKind::Sub;
  if (what == "property") {
    proc.kind = word(Kw::Get)   ? ProcKind::PropertyGet
                : word(Kw::Let) ? ProcKind::PropertyLet
                : word(Kw::Set)
                    ? ProcKind::PropertySet
                    : (fail("Property の後には Get、Let、Set を書きます"), ProcKind::Sub);
  }
  const bool function = proc.kind == ProcKind::Function || proc.kind == ProcKind::PropertyGet;
  proc.shownName = nameToken("プロシージャ");
  proc.returns = TypeOfChar(previous().typeChar);
  proc.name = Lower(proc.shownName);
  proc.function = function;
  proc.isPrivate = isPrivate;
  proc.line = line;
  proc.file = file_;
  if (op("(")) params(proc);
  if (function && word(Kw::As)) {
    proc.returns = TypeNamed(nameToken("型"));
    while (op(".")) proc.returns = TypeNamed(nameToken("型"));
  }
  endStatement();
  std::map<std::string, Procedure>& procedures = class_ ? class_->procedures : program_.procedures;
  const std::string key = ProcedureKey(proc.kind, proc.name);
  if (procedures.count(key)) {
    throw BasicError{line, "プロシージャ「" + proc.shownName + "」が二度定義されています"};
  }
  code_ = &proc.code;
  loops_ = 0;
  labels_.clear();
  blocks_.clear();
  body(proc);
  resolveLabels(proc);
  proc.loops = loops_;
  procedures.emplace(key, std::move(proc));
  code_ = nullptr;
  inProcedure_ = false;
}

// After "(": the parameters up to ")".
void Parser::params(Procedure& proc) {
  while (!op(")")) {
    Param prm;
    if (word(Kw::Optional)) prm.optional = true;
    if (word(Kw::ByVal)) {
      prm.byVal = true;
    } else {
      word(Kw::ByRef);
    }
    word(Kw::ParamArray);
    prm.name = declaredName(&prm.type);
    declared_.insert(prm.name);
    if (op("(")) {
      expectOp(")");
      prm.array = true;
    }
    if (word(Kw::As)) prm.type = TypeNamed(nameToken("型"));
    if (op("=")) prm.fallback = expression();
    proc.params.push_back(std::move(prm));
    if (!isOp(")")) expectOp(",");
  }
}

void Parser::body(const Procedure& proc) {
  for (;;) {
    if (at(Tok::End)) {
      // Said where the procedure began: the end of the file tells the reader nothing.
      throw BasicError{proc.line,
                       std::string("End ") + (proc.function ? "Function" : "Sub") +
                           " がありません（「" + proc.shownName +
                           "」はこの行で始まり、ファイルの終わりまで閉じられていません）"};
    }
    if (endOfStatement()) continue;
    if (isWord(Kw::End) &&
        (isWord(Kw::Sub, 1) || isWord(Kw::Function, 1) || isWord(Kw::Property, 1))) {
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

// A variable's name, with the type its type character gives (n% is an Integer) in `type`.
std::string Parser::declaredName(Type* type) {
  if (!at(Tok::Name)) fail("変数の名前が必要です");
  const Token& t = next();
  *type = TypeOfChar(t.typeChar);
  return Lower(t.text);
}

// As [New] Type [* n]: the type, a record's Type, the class to make, a fixed length.
void Parser::asClause(Instr& i, DimForm& form) {
  const bool isNew = word(Kw::New);
  std::string typeName = nameToken("型");
  while (op(".")) typeName = nameToken("型");  // ADODB.Recordset: the library's name goes
  i.type = TypeNamed(typeName);
  if (program_.types.count(Lower(typeName))) form.userType = Lower(typeName);
  if (isNew) form.newClass = Lower(typeName);
  if (op("*")) form.length = expression();
}

void Parser::declaration(std::vector<Instr>& into, int line, bool keep, bool isPrivate) {
  std::vector<Instr>* saved = code_;
  code_ = &into;
  if (word(Kw::Const)) {
    constants(into, line);
    code_ = saved;
    return;
  }
  word(Kw::WithEvents);
  do {
    Instr i = step(Instr::Kind::Dim, line);
    DimForm form;
    form.keep = keep;
    form.isPrivate = isPrivate;
    i.name = declaredName(&i.type);
    declared_.insert(i.name);
    if (op("(")) {
      form.array = true;
      arrayBounds(i);
    }
    if (word(Kw::As)) asClause(i, form);
    i.form = std::move(form);
    emit(std::move(i));
  } while (op(","));
  code_ = saved;
  endInline();
}

// ReDim [Preserve] name(bounds) [As Type], …: an array's new bounds, declaring it if need be.
void Parser::redimStatement(int line) {
  const bool preserve = word(Kw::Preserve);
  do {
    Instr i = step(Instr::Kind::ReDim, line);
    DimForm form;
    form.array = true;
    form.preserve = preserve;
    i.name = declaredName(&i.type);
    if (op(".")) {
      // ReDim r.Member(…): an array member of a record variable.
      i.a = make(Expr::Kind::Name, line);
      i.a->name = i.name;
      i.name = Lower(nameToken("メンバー"));
    } else {
      declared_.insert(i.name);
    }
    expectOp("(");
    arrayBounds(i);
    if (i.args.empty()) fail("ReDim には配列の大きさが必要です");
    if (word(Kw::As)) asClause(i, form);
    i.form = std::move(form);
    emit(std::move(i));
  } while (op(","));
  endInline();
}

// After "(": an array's bounds, each "upper" or "lower To upper", up to ")"; none for an array
// whose size a ReDim gives later.
void Parser::arrayBounds(Instr& i) {
  while (!op(")")) {
    ExprPtr bound = expression();
    if (word(Kw::To)) {
      i.args.push_back(std::move(bound));
      i.args.push_back(expression());
    } else {
      i.args.push_back(nullptr);
      i.args.push_back(std::move(bound));
    }
    if (!isOp(")")) expectOp(",");
  }
}

// The n of a member's String * n: a number, or a constant the module gave one before.
double Parser::constantNumber(const char* what) {
  const bool negative = op("-");
  double n = 0;
  if (at(Tok::Number)) {
    n = next().number;
  } else if (at(Tok::Name) && literalConsts_.count(Lower(peek().text))) {
    n = literalConsts_.at(Lower(next().text));
  } else {
    fail(std::string(what) + "は数か定数で書きます");
  }
  return negative ? -n : n;
}

int Parser::fixedLength() {
  const double n = constantNumber("String * の長さ");
  if (!(n >= 1 && n <= 65526)) fail("String * の長さは 1 から 65526 までです");
  return static_cast<int>(n);
}

// After a member's "(": its bounds, "upper" or "lower To upper" of numbers or constants, or
// none for an array ReDim sizes.
void Parser::memberBounds(UserField& field) {
  field.array = true;
  if (op(")")) return;
  double low = 0;
  double high = constantNumber("配列の大きさ");
  if (word(Kw::To)) {
    low = high;
    high = constantNumber("配列の大きさ");
  }
  if (isOp(",")) fail("Type の配列のメンバーは一次元です");
  expectOp(")");
  if (!(high >= low && high - low < 1e6)) fail("配列の大きさが正しくありません");
  field.lower = static_cast<long>(low);
  field.upper = static_cast<long>(high);
}

// Type Name … End Type: its members, one a line (Name As Type [* n]).
void Parser::userType(int line) {
  declaring_ = Kw::Type;
  UserType t;
  t.shownName = nameToken("型");
  const std::string name = Lower(t.shownName);
  if (program_.types.count(name)) fail("型「" + t.shownName + "」が二度定義されています");
  endStatement();
  for (;;) {
    if (at(Tok::End)) throw BasicError{line, "End Type がありません"};
    if (endOfStatement()) continue;
    if (isWord(Kw::End) && isWord(Kw::Type, 1)) {
      next();
      next();
      endStatement();
      break;
    }
    UserField field;
    field.name = Lower(nameToken("メンバー"));
    if (op("(")) memberBounds(field);
    expectWord(Kw::As);
    const std::string typeName = nameToken("型");
    field.type = TypeNamed(typeName);
    if (field.type == Type::Empty && Lower(typeName) != "variant") {
      field.userType = Lower(typeName);
      if (!program_.types.count(field.userType)) {
        fail("型「" + typeName + "」は、これより前に Type で定義してください");
      }
    }
    if (op("*")) field.length = fixedLength();
    t.fields.push_back(std::move(field));
    endStatement();
  }
  program_.types.emplace(name, std::move(t));
  declaring_ = Kw::None;
}

void Parser::constants(std::vector<Instr>& into, int line) {
  do {
    Instr i = step(Instr::Kind::Const, line);
    i.name = declaredName(&i.type);
    declared_.insert(i.name);
    if (word(Kw::As)) i.type = TypeNamed(nameToken("型"));
    expectOp("=");
    i.b = expression();
    if (&into == &program_.module && i.b->kind == Expr::Kind::Literal) {
      literalConsts_[i.name] = i.b->value.number();
    }
    into.push_back(std::move(i));
  } while (op(","));
  endStatement();
}

// Enum Name … End Enum: each member a constant of the module, counting on from the last.
void Parser::enumeration(int line) {
  declaring_ = Kw::Enum;
  nameToken("列挙型");
  endStatement();
  std::vector<Instr>& into = class_ ? class_->members : program_.module;
  double following = 0;
  for (;;) {
    if (at(Tok::End)) throw BasicError{line, "End Enum がありません"};
    if (endOfStatement()) continue;
    if (isWord(Kw::End) && isWord(Kw::Enum, 1)) {
      next();
      next();
      declaring_ = Kw::None;
      endStatement();
      return;
    }
    Instr i = step(Instr::Kind::Const, peek().line);
    i.name = Lower(nameToken("列挙型のメンバー"));
    declared_.insert(i.name);
    i.type = Type::Long;
    if (op("=")) {
      i.b = expression();
      if (i.b->kind == Expr::Kind::Literal) following = i.b->value.number() + 1;
    } else {
      if (!(following >= -2147483648.0 && following <= 2147483647.0)) {
        fail("列挙型の値が Long の範囲を超えています");
      }
      i.b = literal(i.line, Value::Lng(following));
      ++following;
    }
    into.push_back(std::move(i));
    endStatement();
  }
}

std::string ProcedureKey(ProcKind kind, const std::string& lowerName) {
  if (kind == ProcKind::PropertyLet) return "let " + lowerName;
  if (kind == ProcKind::PropertySet) return "set " + lowerName;
  return lowerName;
}

// One expression and nothing after it: a ":" or a new line starts no second statement.
void Parser::valueOnly(Procedure& proc) {
  Instr i = step(Instr::Kind::Assign, 1);
  i.a = make(Expr::Kind::Name, 1);
  i.a->name = proc.name;
  for (const Token& t : t_) {
    if (t.kind == Tok::Name) program_.spellings.emplace(Lower(t.text), t.text);
  }
  i.b = expression();
  const bool separated = at(Tok::EndOfStatement);
  endOfStatement();  // the end of the text ends a statement too
  if (!at(Tok::End)) {
    fail(separated ? "式は一つだけ書けます（文は続けられません）" : "式の終わりが必要です");
  }
  proc.code.push_back(std::move(i));
}

Program ParseValue(std::string_view expression) {
  Program program;
  Procedure proc;
  proc.name = proc.shownName = "qfvalue";
  proc.kind = ProcKind::Function;
  proc.function = true;
  proc.line = 1;
  Parser(expression, program).valueOnly(proc);
  program.procedures.emplace(proc.name, std::move(proc));
  ResolveSlots(program);
  return program;
}

Program Parse(std::string_view source) {
  Program program;
  Parser(source, program).run();
  CheckDeclared(program);
  ResolveSlots(program);
  return program;
}

}  // namespace qf::basic
