// The parser: tokens into procedures of flat steps, blocks compiled into jumps.
#include <algorithm>
#include <array>
#include <map>
#include <set>

#include "basic/lexer.h"
#include "basic/program.h"

namespace qf::basic {

namespace {

using ExprPtr = std::unique_ptr<Expr>;

// A block being compiled, waiting for its end.
struct Block {
  enum class Kind { If, For, Do, With, Select };
  Block(Kind k, int l, int s = 0) : kind(k), line(l), start(s) {}
  Kind kind;
  int line = 0;
  int start = 0;           // For: its ForStart; Do: the first step
  int pendingFalse = -1;   // If: the JumpIfFalse waiting for the next branch
  std::vector<int> toEnd;  // jumps to the end of the whole block
  std::vector<int> exits;  // Exit For / Exit Do
  bool sawElse = false;
  std::string selectVar;  // Select Case: the hidden variable holding the value
};

class Parser {
 public:
  explicit Parser(std::string_view source) : t_(Tokenize(source)) {}

  Program run() {
    // Names as the program first writes them, for what a stop says.
    for (const Token& t : t_) {
      if (t.kind == Tok::Name) program_.spellings.emplace(Lower(t.text), t.text);
    }
    while (!at(Tok::End)) {
      if (endOfStatement()) continue;
      const int line = peek().line;
      if (word("private") || word("public")) {
        if (word("sub") || word("function")) {
          procedure(line);
          continue;
        }
        if (word("type")) {
          userType(line);
          continue;
        }
        declaration(program_.module, line);  // Private x As Long
        continue;
      }
      if (word("sub") || word("function")) {
        procedure(line);
        continue;
      }
      if (word("type")) {
        userType(line);
        continue;
      }
      if (word("option") || word("attribute") || word("declare")) {
        skipStatement();
        continue;
      }
      if (word("dim") || word("global") || word("static")) {
        declaration(program_.module, line);
        continue;
      }
      if (isWord("const")) {
        next();
        constants(program_.module, line);
        continue;
      }
      throw BasicError{line, "プロシージャの外に書けない文です：" + describe(peek())};
    }
    // What the program declares itself is no record it was handed.
    for (const std::string& n : declared_) program_.recordNames.erase(n);
    for (const auto& [n, proc] : program_.procedures) program_.recordNames.erase(n);
    return std::move(program_);
  }

 private:
  // --- tokens
  const Token& peek(size_t ahead = 0) const { return t_[std::min(p_ + ahead, t_.size() - 1)]; }
  const Token& next() { return t_[p_ < t_.size() - 1 ? p_++ : p_]; }
  bool at(Tok kind) const { return peek().kind == kind; }
  bool isOp(std::string_view op, size_t ahead = 0) const {
    return peek(ahead).kind == Tok::Op && peek(ahead).text == op;
  }
  bool op(std::string_view o) {
    if (!isOp(o)) return false;
    next();
    return true;
  }
  bool isWord(std::string_view w, size_t ahead = 0) const {
    return peek(ahead).kind == Tok::Name && Lower(peek(ahead).text) == w;
  }
  bool word(std::string_view w) {
    if (!isWord(w)) return false;
    next();
    return true;
  }
  bool endOfStatement() {
    if (!at(Tok::EndOfStatement)) return false;
    next();
    return true;
  }
  static std::string describe(const Token& t) {
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
  [[noreturn]] void fail(const std::string& what) const {
    throw BasicError{peek().line, what + "（" + describe(peek()) + " のところ）"};
  }
  void expectOp(std::string_view o) {
    if (!op(o)) fail(std::string("「") + std::string(o) + "」が必要です");
  }
  void expectWord(std::string_view w) {
    if (!word(w)) fail("「" + std::string(w) + "」が必要です");
  }
  std::string nameToken(const char* what) {
    if (!at(Tok::Name)) fail(std::string(what) + "の名前が必要です");
    return next().text;
  }
  void skipStatement() {
    while (!at(Tok::EndOfStatement) && !at(Tok::End)) next();
  }
  void endStatement() {
    if (at(Tok::End) || endOfStatement()) return;
    fail("文の終わりが必要です");
  }
  // Whether the statement ends here: a new line, the end, or Else of a one-line If.
  bool statementEnds() const {
    return at(Tok::EndOfStatement) || at(Tok::End) || (inlineIf_ > 0 && isWord("else"));
  }

  // --- expressions, lowest precedence first
  ExprPtr make(Expr::Kind kind, int line) {
    auto e = std::make_unique<Expr>();
    e->kind = kind;
    e->line = line;
    return e;
  }
  ExprPtr binary(const std::string& o, ExprPtr a, ExprPtr b) {
    ExprPtr e = make(Expr::Kind::Binary, a->line);
    e->name = o;
    e->a = std::move(a);
    e->b = std::move(b);
    return deepen(std::move(e));
  }
  // The tree's depth with a node that has just got its parts; too deep is refused.
  ExprPtr deepen(ExprPtr e) {
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
  [[noreturn]] void failTooDeep() const {
    fail("式や If の入れ子が深すぎます（" + std::to_string(kMaxNesting) + " 段まで）");
  }
  // One level of the parser's descent (parentheses, arguments, Not, signs, one-line Ifs):
  // bounded before the stack is.
  class Nesting {
   public:
    explicit Nesting(Parser& p) : p_(p) {
      if (++p_.nesting_ > kMaxNesting) p_.failTooDeep();
    }
    ~Nesting() { --p_.nesting_; }
    Nesting(const Nesting&) = delete;
    Nesting& operator=(const Nesting&) = delete;

   private:
    Parser& p_;
  };
  ExprPtr expression() {
    const Nesting level(*this);
    return lowLevel(0);
  }

  // The left-associative operators, each level binding tighter than the one before: the word
  // operators below Not, and those between the comparisons and the unary signs.
  static constexpr std::string_view kLowLevels[] = {"imp", "eqv", "xor", "or", "and"};
  static constexpr std::array<std::string_view, 2> kHighLevels[] = {
      {"&", ""}, {"+", "-"}, {"mod", ""}, {"\\", ""}, {"*", "/"}};

  // Takes an operator: a word ("mod") by its name in any case, a sign as it stands.
  bool takeOperator(std::string_view o) {
    if (o.empty()) return false;
    return (o[0] >= 'a' && o[0] <= 'z') ? word(o) : op(o);
  }

  ExprPtr lowLevel(size_t level) {
    if (level == std::size(kLowLevels)) return notE();
    ExprPtr e = lowLevel(level + 1);
    while (word(kLowLevels[level])) {
      e = binary(std::string(kLowLevels[level]), std::move(e), lowLevel(level + 1));
    }
    return e;
  }
  ExprPtr notE() {
    if (isWord("not")) {
      const Nesting level(*this);
      const int line = next().line;
      ExprPtr e = make(Expr::Kind::Unary, line);
      e->name = "not";
      e->a = notE();
      return deepen(std::move(e));
    }
    return comparison();
  }
  ExprPtr comparison() {
    ExprPtr e = highLevel(0);
    for (;;) {
      std::string o;
      for (std::string_view c : {"=", "<>", "<=", ">=", "<", ">"}) {
        if (isOp(c)) o = std::string(c);
      }
      if (o.empty() && (isWord("like") || isWord("is"))) o = Lower(peek().text);
      if (o.empty()) return e;
      next();
      e = binary(o, std::move(e), highLevel(0));
    }
  }
  ExprPtr highLevel(size_t level) {
    if (level == std::size(kHighLevels)) return unary();
    ExprPtr e = highLevel(level + 1);
    for (;;) {
      const auto& ops = kHighLevels[level];
      const auto taken = std::find_if(ops.begin(), ops.end(),
                                      [this](std::string_view o) { return takeOperator(o); });
      if (taken == ops.end()) return e;
      e = binary(std::string(*taken), std::move(e), highLevel(level + 1));
    }
  }
  ExprPtr unary() {
    if (isOp("-") || isOp("+")) {
      const Nesting level(*this);
      const Token& t = next();
      ExprPtr e = make(Expr::Kind::Unary, t.line);
      e->name = t.text;
      e->a = unary();
      return deepen(std::move(e));
    }
    return power();
  }
  ExprPtr power() {
    ExprPtr e = postfix(false);
    while (op("^")) {
      ExprPtr right;
      if (isOp("-") || isOp("+")) {
        right = unary();
      } else {
        right = postfix(false);
      }
      e = binary("^", std::move(e), std::move(right));
    }
    return e;
  }
  ExprPtr primary() {
    const Token& t = peek();
    switch (t.kind) {
      case Tok::Number: {
        next();
        ExprPtr e = make(Expr::Kind::Literal, t.line);
        e->value = {t.numberType, t.number, {}, {}};
        return e;
      }
      case Tok::String: {
        next();
        ExprPtr e = make(Expr::Kind::Literal, t.line);
        e->value = Value::Str(t.text);
        return e;
      }
      case Tok::Name: {
        const std::string l = Lower(t.text);
        if (l == "true" || l == "false") {
          next();
          ExprPtr e = make(Expr::Kind::Literal, t.line);
          e->value = Value::Bool(l == "true");
          return e;
        }
        next();
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
          e->name = "()";
          e->a = std::move(inner);
          return deepen(std::move(e));
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
  std::vector<ExprPtr> arguments() {
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
  ExprPtr postfix(bool statement) {
    ExprPtr e = primary();
    for (;;) {
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
  static bool LanguageObject(const std::string& name) {
    static const std::set<std::string> kObjects = {"printer", "err",       "app", "screen",
                                                   "debug",   "clipboard", "me",  "forms"};
    return kObjects.count(name) > 0;
  }
  static bool SpecialMethod(const std::string& name) {
    return name == "line" || name == "circle" || name == "pset" || name == "print";
  }

  // --- statements
  void emit(Instr i) { code_->push_back(std::move(i)); }
  int here() const { return static_cast<int>(code_->size()); }
  Instr step(Instr::Kind kind, int line) {
    Instr i;
    i.kind = kind;
    i.line = line;
    return i;
  }

  void procedure(int line) {
    const bool function = Lower(t_[p_ - 1].text) == "function";
    Procedure proc;
    proc.shownName = nameToken("プロシージャ");
    proc.name = Lower(proc.shownName);
    proc.function = function;
    proc.line = line;
    if (op("(")) {
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
    for (Instr& i : proc.code) {
      if (i.label.empty()) continue;
      auto it = labels_.find(i.label);
      if (it == labels_.end()) throw BasicError{i.line, "ラベル「" + i.label + "」がありません"};
      i.target = it->second;
    }
    proc.loops = loops_;
    program_.procedures.emplace(proc.name, std::move(proc));
    code_ = nullptr;
  }

  void body(const char* kind) {
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

  void statement() {
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
    if (word("if")) return ifStatement(line);
    if (word("elseif")) return elseIf(line);
    if (isWord("else") && !inlineIf_) {
      next();
      return elseBranch(line);
    }
    if (isWord("end")) {
      next();
      if (word("if")) return endBlock(Block::Kind::If, line);
      if (word("with")) return endBlock(Block::Kind::With, line);
      if (word("select")) return endBlock(Block::Kind::Select, line);
      emit(step(Instr::Kind::End, line));
      return endStatement();
    }
    if (word("for")) return forStatement(line);
    if (word("next")) return nextStatement(line);
    if (word("do")) return doStatement(line);
    if (word("loop")) return loopStatement(line);
    if (word("while")) {
      Block b{Block::Kind::Do, line, here()};
      Instr j = step(Instr::Kind::JumpIfFalse, line);
      j.a = expression();
      b.exits.push_back(here());
      emit(std::move(j));
      blocks_.push_back(std::move(b));
      return endStatement();
    }
    if (word("wend")) {
      Block b = close(Block::Kind::Do, line);
      Instr j = step(Instr::Kind::Jump, line);
      j.target = b.start;
      emit(std::move(j));
      for (int e : b.exits) (*code_)[static_cast<size_t>(e)].target = here();
      return endStatement();
    }
    if (word("with")) {
      Instr i = step(Instr::Kind::WithPush, line);
      i.a = expression();
      emit(std::move(i));
      ++withDepth_;
      blocks_.push_back(Block{Block::Kind::With, line, here()});
      return endStatement();
    }
    if (word("select")) return selectStatement(line);
    if (word("case")) return caseStatement(line);
    if (word("gosub") || word("goto")) {
      Instr i =
          step(Lower(t_[p_ - 1].text) == "gosub" ? Instr::Kind::GoSub : Instr::Kind::Jump, line);
      i.label = Lower(nameToken("ラベル"));
      emit(std::move(i));
      return endStatement();
    }
    if (word("return")) {
      emit(step(Instr::Kind::Return, line));
      return endStatement();
    }
    if (word("exit")) return exitStatement(line);
    if (word("on")) {
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
      return endStatement();
    }
    if (word("resume")) {
      // Resume, Resume 0, Resume Next, Resume label: only a handler's way back.
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
      return endInline();
    }
    if (word("call")) {
      Instr i = step(Instr::Kind::Eval, line);
      i.a = postfix(false);
      emit(std::move(i));
      return endStatement();
    }
    if (word("set") || word("let")) {
      const bool set = Lower(t_[p_ - 1].text) == "set";
      Instr i = step(Instr::Kind::Assign, line);
      i.a = postfix(false);
      expectOp("=");
      i.b = expression();
      i.flag = set;
      emit(std::move(i));
      return endStatement();
    }
    simpleStatement(line);
  }

  // An assignment, a call, or one of the printer's methods.
  void simpleStatement(int line) {
    ExprPtr target = postfix(true);
    if (op("=")) {
      Instr i = step(Instr::Kind::Assign, line);
      i.a = std::move(target);
      i.b = expression();
      emit(std::move(i));
      return endStatement();
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
      for (;;) {
        if (isOp(",")) {
          c->args.push_back(nullptr);
        } else {
          c->args.push_back(expression());
        }
        if (statementEnds()) break;
        expectOp(",");
        if (statementEnds()) c->args.push_back(nullptr);
      }
      c->a = std::move(target);
      target = std::move(c);
    }
    i.a = std::move(target);
    emit(std::move(i));
    endInline();
  }

  // Ends a statement, unless Else of a one-line If follows.
  void endInline() {
    if (inlineIf_ > 0 && isWord("else")) return;
    endStatement();
  }

  void printStatement(ExprPtr target, int line) {
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

  std::pair<ExprPtr, ExprPtr> point() {
    expectOp("(");
    ExprPtr x = expression();
    expectOp(",");
    ExprPtr y = expression();
    expectOp(")");
    return {std::move(x), std::move(y)};
  }

  void lineStatement(ExprPtr target, int line) {
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

  void circleStatement(ExprPtr target, int line) {
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

  void declaration(std::vector<Instr>& into, int line) {
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
      if (op("(")) {
        i.flag = true;  // an array
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

  // Type Name … End Type: its members, one a line (Name As Type [* n]).
  void userType(int line) {
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

  void constants(std::vector<Instr>& into, int line) {
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

  void ifStatement(int line) {
    ExprPtr cond = expression();
    expectWord("then");
    Instr j = step(Instr::Kind::JumpIfFalse, line);
    j.a = std::move(cond);
    const int jump = here();
    emit(std::move(j));
    if (!at(Tok::EndOfStatement) && !at(Tok::End)) {
      // One line: statements up to Else and on to the end of the line.
      const Nesting level(*this);
      ++inlineIf_;
      inlineStatements();
      if (word("else")) {
        Instr over = step(Instr::Kind::Jump, line);
        const int skip = here();
        emit(std::move(over));
        (*code_)[static_cast<size_t>(jump)].target = here();
        inlineStatements();
        (*code_)[static_cast<size_t>(skip)].target = here();
      } else {
        (*code_)[static_cast<size_t>(jump)].target = here();
      }
      --inlineIf_;
      return;
    }
    Block b{Block::Kind::If, line};
    b.pendingFalse = jump;
    blocks_.push_back(std::move(b));
    endStatement();
  }

  // The statements of a one-line If branch: to Else or to the end of the source line.
  void inlineStatements() {
    for (;;) {
      statement();
      if (isWord("else") || at(Tok::End) || peek().lineStart) return;
    }
  }

  Block& open(Block::Kind kind, const char* what, int line) {
    for (auto it = blocks_.rbegin(); it != blocks_.rend(); ++it) {
      if (it->kind == kind) {
        if (&*it != &blocks_.back()) break;
        return *it;
      }
    }
    throw BasicError{line, std::string(what) + " に対応するブロックがありません"};
  }

  void elseIf(int line) {
    Block& b = open(Block::Kind::If, "ElseIf", line);
    if (b.sawElse) throw BasicError{line, "Else のあとに ElseIf は書けません"};
    Instr over = step(Instr::Kind::Jump, line);
    b.toEnd.push_back(here());
    emit(std::move(over));
    (*code_)[static_cast<size_t>(b.pendingFalse)].target = here();
    Instr j = step(Instr::Kind::JumpIfFalse, line);
    j.a = expression();
    expectWord("then");
    b.pendingFalse = here();
    emit(std::move(j));
    endStatement();
  }

  void elseBranch(int line) {
    Block& b = open(Block::Kind::If, "Else", line);
    if (b.sawElse) throw BasicError{line, "Else が二つあります"};
    b.sawElse = true;
    Instr over = step(Instr::Kind::Jump, line);
    b.toEnd.push_back(here());
    emit(std::move(over));
    (*code_)[static_cast<size_t>(b.pendingFalse)].target = here();
    b.pendingFalse = -1;
    endStatement();
  }

  Block close(Block::Kind kind, int line) {
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

  void endBlock(Block::Kind kind, int line) {
    Block b = close(kind, line);
    if (kind == Block::Kind::With) {
      emit(step(Instr::Kind::WithPop, line));
      --withDepth_;
    }
    if (b.pendingFalse >= 0) (*code_)[static_cast<size_t>(b.pendingFalse)].target = here();
    for (int j : b.toEnd) (*code_)[static_cast<size_t>(j)].target = here();
    endStatement();
  }

  void forStatement(int line) {
    if (word("each")) fail("For Each は使えません");
    Instr i = step(Instr::Kind::ForStart, line);
    i.a = postfix(false);
    expectOp("=");
    i.b = expression();
    expectWord("to");
    i.args.push_back(expression());
    i.args.push_back(word("step") ? expression() : nullptr);
    i.slot = loops_++;
    Block b{Block::Kind::For, line, here()};
    emit(std::move(i));
    blocks_.push_back(std::move(b));
    endStatement();
  }

  void nextStatement(int line) {
    do {
      Block b = close(Block::Kind::For, line);
      if (at(Tok::Name)) next();  // the variable's name, as written
      Instr n = step(Instr::Kind::ForNext, line);
      n.slot = (*code_)[static_cast<size_t>(b.start)].slot;
      n.target = b.start + 1;
      emit(std::move(n));
      (*code_)[static_cast<size_t>(b.start)].target = here();
      for (int e : b.exits) (*code_)[static_cast<size_t>(e)].target = here();
    } while (op(","));
    endInline();
  }

  ExprPtr notOf(ExprPtr e) {
    ExprPtr n = make(Expr::Kind::Unary, e->line);
    n->name = "not";
    n->a = std::move(e);
    return n;
  }

  void doStatement(int line) {
    Block b{Block::Kind::Do, line, here()};
    if (word("while") || word("until")) {
      const bool until = Lower(t_[p_ - 1].text) == "until";
      Instr j = step(Instr::Kind::JumpIfFalse, line);
      j.a = until ? notOf(expression()) : expression();
      b.exits.push_back(here());
      emit(std::move(j));
    }
    blocks_.push_back(std::move(b));
    endStatement();
  }

  void loopStatement(int line) {
    Block b = close(Block::Kind::Do, line);
    if (word("while") || word("until")) {
      const bool until = Lower(t_[p_ - 1].text) == "until";
      Instr j = step(Instr::Kind::JumpIfFalse, line);
      j.a = until ? expression() : notOf(expression());
      j.target = b.start;
      emit(std::move(j));
    } else {
      Instr j = step(Instr::Kind::Jump, line);
      j.target = b.start;
      emit(std::move(j));
    }
    for (int e : b.exits) (*code_)[static_cast<size_t>(e)].target = here();
    endStatement();
  }

  void exitStatement(int line) {
    const std::string what = Lower(nameToken("Exit の後"));
    if (what == "sub" || what == "function") {
      emit(step(Instr::Kind::ExitProc, line));
      return endInline();
    }
    const Block::Kind kind = what == "for" ? Block::Kind::For : Block::Kind::Do;
    if (what != "for" && what != "do") fail("Exit の後には Sub、Function、For、Do を書きます");
    for (auto it = blocks_.rbegin(); it != blocks_.rend(); ++it) {
      if (it->kind != kind) continue;
      Instr j = step(Instr::Kind::Jump, line);
      it->exits.push_back(here());
      emit(std::move(j));
      return endInline();
    }
    throw BasicError{line, "Exit " + what + " がループの外にあります"};
  }

  void selectStatement(int line) {
    expectWord("case");
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

  ExprPtr selected(const Block& b, int line) {
    ExprPtr e = make(Expr::Kind::Name, line);
    e->name = b.selectVar;
    return e;
  }

  void caseStatement(int line) {
    Block& b = open(Block::Kind::Select, "Case", line);
    if (b.pendingFalse >= 0) {
      Instr over = step(Instr::Kind::Jump, line);
      b.toEnd.push_back(here());
      emit(std::move(over));
      (*code_)[static_cast<size_t>(b.pendingFalse)].target = here();
      b.pendingFalse = -1;
    } else if (b.sawElse) {
      throw BasicError{line, "Case Else のあとに Case は書けません"};
    }
    if (word("else")) {
      b.sawElse = true;
      return endInline();
    }
    ExprPtr cond;
    do {
      ExprPtr one;
      if (word("is")) {
        std::string o;
        for (std::string_view c : {"=", "<>", "<=", ">=", "<", ">"}) {
          if (isOp(c)) o = std::string(c);
        }
        if (o.empty()) fail("比較の演算子が必要です");
        next();
        one = binary(o, selected(b, line), highLevel(0));
      } else {
        ExprPtr low = highLevel(0);
        if (word("to")) {
          ExprPtr high = highLevel(0);
          one = binary("and", binary(">=", selected(b, line), std::move(low)),
                       binary("<=", selected(b, line), std::move(high)));
        } else {
          one = binary("=", selected(b, line), std::move(low));
        }
      }
      cond = cond ? binary("or", std::move(cond), std::move(one)) : std::move(one);
    } while (op(","));
    Instr j = step(Instr::Kind::JumpIfFalse, line);
    j.a = std::move(cond);
    b.pendingFalse = here();
    emit(std::move(j));
    endInline();
  }

  std::vector<Token> t_;
  size_t p_ = 0;
  Program program_;
  std::set<std::string> declared_;  // variables and parameters, lower case
  std::vector<Instr>* code_ = nullptr;
  std::vector<Block> blocks_;
  std::map<std::string, int> labels_;
  int loops_ = 0;
  int withDepth_ = 0;
  int inlineIf_ = 0;
  int nesting_ = 0;  // levels of the descent under way (Nesting)
  int selects_ = 0;
};

}  // namespace

Program Parse(std::string_view source) {
  return Parser(source).run();
}

}  // namespace qf::basic
