#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "basic/value.h"

namespace qf::basic {

// The operators, told apart once by the parser rather than by their text at each use.
enum class Op : uint8_t {
  None,
  Paren,  // ( a ): a value, so a variable in it goes by value
  Not,
  Negate,
  Plus,
  Power,
  Multiply,
  Divide,
  IntDivide,
  Mod,
  Add,
  Subtract,
  Concat,
  Equal,
  NotEqual,
  Less,
  Greater,
  LessEqual,
  GreaterEqual,
  Like,
  Is,
  And,
  Or,
  Xor,
  Eqv,
  Imp,
};

// Where a name's variable is: a slot of the procedure's or of the module's, or found by its
// name as the program runs.
enum class Scope : uint8_t { ByName, Local, Module };

// An expression of the language.
struct Expr {
  enum class Kind {
    Literal,  // value
    Name,     // name (lower case)
    Member,   // object.name
    Call,     // target(args): a procedure, an array element, a method with arguments
    Bang,     // object!name: a record's field (no object: !name of the With's)
    WithDot,  // .name inside With
    Unary,    // op a
    Binary,   // a op b
    New,      // New name: an object of a class of the language's (StdFont, Collection)
  };
  Kind kind = Kind::Literal;
  int line = 0;
  Value value;
  std::string name;             // lower case
  Op op = Op::None;             // Unary and Binary
  Scope scope = Scope::ByName;  // Name: where its variable is
  int slot = -1;                // and its place there
  std::unique_ptr<Expr> a;
  std::unique_ptr<Expr> b;
  std::vector<std::unique_ptr<Expr>> args;  // nullptr: an argument left out
  int depth = 1;  // levels of the tree below and with this one (the parser bounds it)
};

// The deepest an expression, a one-line If or a run of nested parentheses, calls and signs may
// go: evaluating and freeing a tree recurses once a level, and a program or a design's field
// from someone else must not exhaust the stack with one.
inline constexpr int kMaxNesting = 256;

// What an assignment is: a plain one, or Set of an object.
struct AssignForm {
  bool set = false;
};

// What a declaration (Dim, Static, ReDim) makes of its name.
struct DimForm {
  bool array = false;            // bounds in the Instr's args, lower (nullptr: 0) and upper a pair
  bool keep = false;             // Static: the value lives on between calls
  bool preserve = false;         // ReDim Preserve: the elements that still fit stay
  bool isPrivate = false;        // a class's Private member: not seen from outside
  std::string userType;          // the Type … End Type it declares (lower case); none when empty
  std::string newClass;          // Dim x As New C: the class (lower case); none when empty
  std::unique_ptr<Expr> length;  // String * n: the fixed length; none when nullptr
};

// How Line, Circle and PSet take their points: Step makes a point relative.
struct FigureForm {
  bool box = false;       // Line … , B
  bool fill = false;      // Line … , BF
  bool stepFrom = false;  // Step (x, y) for the first point: from the current point
  bool stepTo = false;    // Step (x, y) for the second: from the first
};

// One step of a procedure. Blocks are compiled into jumps, so GoSub, GoTo and the Exit
// statements are jumps too.
struct Instr {
  enum class Kind {
    Eval,          // a: a call statement
    Assign,        // a = b (AssignForm)
    Dim,           // name, declared type, array bounds in args (DimForm)
    ReDim,         // name: new bounds in args (DimForm)
    Erase,         // args: the arrays
    Const,         // name = b
    Jump,          // to target
    JumpIfFalse,   // a false: to target
    ForStart,      // a = b To args[0] Step args[1]; loop number `slot`; done: to target
    ForNext,       // loop `slot`: step a and jump to target while it runs
    ForEachStart,  // a: the variable, b: the group; loop `slot`; empty: to target
    ForEachNext,   // loop `slot`: the next element into a and to target while there is one
    GoSub,         // to target, remembering where to come back
    Return,
    ExitProc,
    WithPush,  // a
    WithPop,
    Print,   // a.Print args with separators in `seps` (";", ",", "")
    Line,    // a.Line: args x1 y1 x2 y2 colour (x1, y1 nullptr for the current point) (FigureForm)
    Circle,  // a.Circle: args x y radius colour start end aspect (FigureForm)
    PSet,    // a.PSet: args x y colour (FigureForm)
    MidAssign,  // Mid$(a, args[0], args[1]) = b
    OnErrorResumeNext,
    OnErrorStop,  // On Error GoTo 0
    OnErrorGoTo,  // to the handler at target
    Resume,       // the statement that failed, again
    ResumeNext,   // the statement after it
    ResumeAt,     // target
    End,          // End: the program stops
  };
  Kind kind = Kind::Eval;
  int line = 0;
  int column = 0;  // where the statement begins on its line; 0 when not known
  std::unique_ptr<Expr> a;
  std::unique_ptr<Expr> b;
  std::vector<std::unique_ptr<Expr>> args;
  std::vector<std::string> seps;
  std::string name;
  Type type = Type::Empty;
  int target = -1;
  int slot = -1;
  int local = -1;     // Dim, ReDim, Const: the slot of the variable it makes
  std::string label;  // an unresolved jump's label
  std::variant<std::monostate, AssignForm, DimForm, FigureForm> form;

  // The form of the instruction's kind; an instruction made without one has the plain form.
  bool isSet() const {
    const auto* assignment = std::get_if<AssignForm>(&form);
    return assignment && assignment->set;
  }
  const DimForm& dim() const {
    static const DimForm kPlain;
    const auto* d = std::get_if<DimForm>(&form);
    return d ? *d : kPlain;
  }
  const FigureForm& figure() const {
    static const FigureForm kPlain;
    const auto* d = std::get_if<FigureForm>(&form);
    return d ? *d : kPlain;
  }
};

struct Param {
  std::string name;  // lower case
  bool byVal = false;
  bool optional = false;
  bool array = false;
  Type type = Type::Empty;
  std::unique_ptr<Expr> fallback;  // Optional's default
};

// Which kind of procedure: a Sub, a Function, or one of a property's three.
enum class ProcKind { Sub, Function, PropertyGet, PropertyLet, PropertySet };

// The key a procedure is kept under: its name, "let name" and "set name" for a property's
// Let and Set (its Get is the name alone, as a Function's).
std::string ProcedureKey(ProcKind kind, const std::string& lowerName);

struct Procedure {
  std::string name;  // lower case
  std::string shownName;
  ProcKind kind = ProcKind::Sub;
  bool isPrivate = false;
  bool function = false;  // it returns a value (a Function or a Property Get)
  Type returns = Type::Empty;
  std::vector<Param> params;
  std::vector<Instr> code;
  int loops = 0;  // For loops in the code
  // Its variables' slots, by lower-case name: parameters first, its result, what it declares.
  std::map<std::string, int, std::less<>> slotOf;
  int line = 0;
  std::string file;  // its source file, when the program has several
};

// A member of a Type … End Type: a value of a language type or of another user type.
struct UserField {
  std::string name;  // lower case
  Type type = Type::Empty;
  std::string userType;  // lower case; none when empty
  int length = 0;        // String * n: the fixed length in characters; 0 for none
  bool array = false;    // an array of one dimension: lower To upper, or sized by ReDim
  long lower = 0;
  long upper = -1;  // below lower: no elements (a dynamic array before its ReDim)
};

// A Type … End Type: a record of named members, copied whole by an assignment.
struct UserType {
  std::string shownName;
  std::vector<UserField> fields;
};

// A class module (.cls): its members (the Dims of its declarations) and procedures, each
// object made by New having members of its own.
struct ClassDef {
  std::string shownName;
  std::vector<Instr> members;
  std::map<std::string, Procedure> procedures;  // by ProcedureKey
};

// A program's source file, as --run-source takes several: modules (.bas), classes (.cls) and
// the code of forms (.frm).
struct SourceFile {
  std::string name;  // its file name: the extension tells the kind, the stem a class's name
  std::string text;  // UTF-8
};

struct Program {
  std::map<std::string, Procedure> procedures;  // by ProcedureKey
  std::map<std::string, ClassDef> classes;      // by lower-case name
  std::map<std::string, UserType> types;        // by lower-case name
  std::vector<Instr> module;                    // module-level declarations
  // Names read as records (rs!Name, Items(i).Name), lower case: the names a data file gives
  // a program that does not declare them.
  std::set<std::string> recordNames;
  bool explicitNames = false;  // Option Explicit: every name must be declared
  int moduleSlots = 0;         // the module's variables and constants, each a slot
  // Each name (lower case) as the program first spells it: the language ignores case, the
  // messages that name it do not.
  std::map<std::string, std::string> spellings;
  const std::string& spelled(const std::string& lowerName) const {
    const auto it = spellings.find(lowerName);
    return it == spellings.end() ? lowerName : it->second;
  }
};

// Parses a program: procedures and the declarations around them. Throws BasicError with the line
// and the reason.
Program Parse(std::string_view source);
// Gives each declared variable its slot and each name that means one its place.
void ResolveSlots(Program& program);
// Parses the files of one program: the modules' procedures and declarations together, each
// class apart. A stop names its file when there are several.
Program ParseFiles(const std::vector<SourceFile>& files);
// A program of one function, QfValue, returning the value of one expression (a merge field):
// a ":" or a line break in it is refused, never run as a statement.
Program ParseValue(std::string_view expression);
// Under Option Explicit, refuses a program with a name it never declared (BasicError with the
// line), as the language's compiler does; without it, does nothing.
void CheckDeclared(const Program& program);

}  // namespace qf::basic
