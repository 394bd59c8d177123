// The parser's own parts, shared by its files: the token cursor, the expressions, the
// statements and the declarations each live in a file of their own.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "basic/lexer.h"
#include "basic/program.h"

namespace qf::basic {

using ExprPtr = std::unique_ptr<Expr>;

// An operator as it is written: a sign, or a keyword.
struct Spelled {
  std::string_view sign;
  Kw word = Kw::None;
  Op op = Op::None;
};

// A block being compiled, waiting for its end.
struct Block {
  enum class Kind { If, For, Do, With, Select };
  Block(Kind k, int l, int s = 0) : kind(k), line(l), start(s) {}
  Kind kind;
  int line = 0;
  int start = 0;           // For: its ForStart; Do: the first step
  int pendingFalse = -1;   // If, Case: the jump waiting for the next branch
  std::vector<int> toEnd;  // jumps to the end of the whole block
  std::vector<int> exits;  // Exit For / Exit Do
  bool sawElse = false;
  std::string selectVar;  // Select Case: the hidden variable holding the value
};

class Parser {
 public:
  // Parses one file into `program`; a class's file into `cls`.
  Parser(std::string_view source, Program& program, ClassDef* cls = nullptr, std::string file = {})
      : t_(Tokenize(source)), program_(program), class_(cls), file_(std::move(file)) {}
  void run();
  // Compiles the source, one expression alone, as `proc` returning its value.
  void valueOnly(Procedure& proc);

 private:
  // --- tokens
  const Token& peek(size_t ahead = 0) const { return t_[std::min(p_ + ahead, t_.size() - 1)]; }
  const Token& next() { return t_[p_ < t_.size() - 1 ? p_++ : p_]; }
  const Token& previous() const { return t_[p_ - 1]; }
  bool at(Tok kind) const { return peek().kind == kind; }
  bool isOp(std::string_view op, size_t ahead = 0) const {
    return peek(ahead).kind == Tok::Op && peek(ahead).text == op;
  }
  bool op(std::string_view o) {
    if (!isOp(o)) return false;
    next();
    return true;
  }
  bool isWord(Kw w, size_t ahead = 0) const {
    return peek(ahead).kind == Tok::Name && peek(ahead).keyword == w;
  }
  bool word(Kw w) {
    if (!isWord(w)) return false;
    next();
    return true;
  }
  bool endOfStatement() {
    if (!at(Tok::EndOfStatement)) return false;
    next();
    return true;
  }
  static std::string describe(const Token& t);
  [[noreturn]] void fail(const std::string& what) const;
  void recoverFrom(const BasicError& e);
  // Throws the first error found, with the others.
  [[noreturn]] void giveUp();
  static constexpr size_t kMostErrors = 20;
  void expectOp(std::string_view o);
  void expectWord(Kw w);
  std::string nameToken(const char* what);
  void skipStatement();
  void endStatement();
  // Ends a statement, unless Else of a one-line If follows.
  void endInline();
  // Whether the statement ends here: a new line, the end, or Else of a one-line If.
  bool statementEnds() const {
    return at(Tok::EndOfStatement) || at(Tok::End) || (inlineIf_ > 0 && isWord(Kw::Else));
  }

  // --- expressions (parse_expressions.cpp)
  ExprPtr make(Expr::Kind kind, int line);
  ExprPtr binary(Op o, ExprPtr a, ExprPtr b);
  ExprPtr deepen(ExprPtr e);
  [[noreturn]] void failTooDeep() const;
  class Nesting;
  ExprPtr expression();
  bool takeOperator(const Spelled& o);
  ExprPtr lowLevel(size_t level);
  ExprPtr notE();
  ExprPtr comparison();
  // Takes one of the six comparison signs; None when none stands here.
  Op comparisonSign();
  ExprPtr highLevel(size_t level);
  ExprPtr unary();
  ExprPtr power();
  ExprPtr primary();
  ExprPtr literal(int line, Value value);
  std::vector<ExprPtr> arguments();
  ExprPtr postfix(bool statement);
  ExprPtr notOf(ExprPtr e);
  static bool LanguageObject(const std::string& name);
  static bool SpecialMethod(const std::string& name);

  // --- the code being compiled, and its jumps
  void emit(Instr i) { code_->push_back(std::move(i)); }
  int here() const { return static_cast<int>(code_->size()); }
  Instr step(Instr::Kind kind, int line) const;
  // Emits a jump (Jump, or JumpIfFalse on `condition`) whose place is not known yet; returns
  // it for land().
  int jumpAhead(int line, ExprPtr condition = nullptr);
  // Emits a jump back to `target`, a place already compiled.
  void jumpBack(int line, int target, ExprPtr condition = nullptr);
  // The jump emitted at `jump` goes to the next step to be compiled.
  void land(int jump);

  // --- statements (parse_statements.cpp, parse_blocks.cpp)
  void statement();
  bool blockStatement(int line);
  void simpleStatement(int line);
  void callArguments(Expr& call);
  void printStatement(ExprPtr target, int line);
  std::pair<ExprPtr, ExprPtr> point();
  bool stepPoint(ExprPtr* x, ExprPtr* y);
  void lineStatement(ExprPtr target, int line);
  void circleStatement(ExprPtr target, int line);
  void scaleStatement(ExprPtr target, int line);
  void midStatement(ExprPtr target, int line);
  void eraseStatement(int line);
  void onErrorStatement(int line);
  void resumeStatement(int line);
  void ifStatement(int line);
  void inlineStatements();
  Block& open(Block::Kind kind, const char* what, int line);
  void elseIf(int line);
  void elseBranch(int line);
  Block close(Block::Kind kind, int line);
  void endBlock(Block::Kind kind, int line);
  void forStatement(int line);
  void forEachStatement(int line);
  void nextStatement(int line);
  void doStatement(int line);
  void loopStatement(int line);
  void whileStatement(int line);
  void wendStatement(int line);
  void withStatement(int line);
  void exitStatement(int line);
  void selectStatement(int line);
  ExprPtr selected(const Block& b, int line);
  void caseStatement(int line);
  ExprPtr caseTest(const Block& b, int line);

  // --- declarations (parse_declarations.cpp)
  bool moduleStatement(int line);
  void procedure(int line, bool isPrivate);
  void params(Procedure& proc);
  void body(const Procedure& proc);
  void resolveLabels(Procedure& proc);
  void declaration(std::vector<Instr>& into, int line, bool keep = false, bool isPrivate = false);
  std::string declaredName(Type* type);
  void asClause(Instr& i, DimForm& form);
  void redimStatement(int line);
  void arrayBounds(Instr& i);
  // A number written as a number or a module's constant, where the language wants one.
  double constantNumber(const char* what);
  int fixedLength();
  void memberBounds(UserField& field);
  void userType(int line);
  void enumeration(int line);
  void constants(std::vector<Instr>& into, int line);

  std::vector<Token> t_;
  size_t p_ = 0;
  Program& program_;
  ClassDef* class_;                 // the class being parsed; none for a module
  std::string file_;                // the file's name, when the program has several
  std::set<std::string> declared_;  // variables and parameters, lower case
  std::vector<Instr>* code_ = nullptr;
  std::vector<Block> blocks_;
  std::map<std::string, int> labels_;
  int loops_ = 0;
  int withDepth_ = 0;
  int inlineIf_ = 0;
  int nesting_ = 0;  // levels of the descent under way (Nesting)
  int selects_ = 0;
  int statementLine_ = 0;    // the statement being compiled: its line
  int statementColumn_ = 0;  // and the character it begins at
  bool inProcedure_ = false;
  Kw declaring_ = Kw::None;                      // the Type or Enum whose members are being read
  std::vector<BasicError> errors_;               // what the parse found wrong so far
  std::map<std::string, double> literalConsts_;  // module constants of a number, for String * n
};

// One level of the parser's descent (parentheses, arguments, Not, signs, one-line Ifs):
// bounded before the stack is.
class Parser::Nesting {
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

}  // namespace qf::basic
