#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "basic/value.h"

namespace qf::basic {

// The words the language reserves, told apart once by the lexer; a name that is none is None.
// They stay names too: a member may be called .Print or .Line, a record's field !Type.
enum class Kw : uint8_t {
  None,
  And,
  As,
  Attribute,
  ByRef,
  ByVal,
  Call,
  Case,
  Const,
  Declare,
  Dim,
  Do,
  Each,
  Else,
  ElseIf,
  End,
  Enum,
  Eqv,
  Erase,
  Error,
  Exit,
  Explicit,
  For,
  Friend,
  Function,
  Get,
  Global,
  GoSub,
  GoTo,
  If,
  Imp,
  Implements,
  In,
  Is,
  Let,
  Like,
  Loop,
  Mod,
  New,
  Next,
  Not,
  On,
  Option,
  Optional,
  Or,
  ParamArray,
  Preserve,
  Private,
  Property,
  Public,
  ReDim,
  Resume,
  Return,
  Select,
  Set,
  Static,
  Step,
  Sub,
  Then,
  To,
  Type,
  Until,
  Wend,
  While,
  With,
  WithEvents,
  Xor,
};
// How a keyword is written, for a message ("Then").
std::string_view KeywordText(Kw kw);

enum class Tok { Name, Number, String, Op, EndOfStatement, End };

struct Token {
  Tok kind = Tok::End;
  std::string
      text;  // a name as written (without its type character), an operator, a string's value
  Kw keyword = Kw::None;  // a name that is a keyword: which
  char typeChar = 0;      // a name's type character ($ % & ! # @), 0 for none
  double number = 0;      // a number's value
  Type numberType = Type::Integer;
  int line = 0;
  int column = 0;          // the character of the line it begins at, from 1
  bool lineStart = false;  // the first token of a source line (where labels stand)
  bool spaced = false;     // blanks before it (x .Name inside With is no member of x)
};

// Splits a program into tokens: names (Japanese too), numbers (&H hexadecimal, type
// characters), strings with "" inside, operators; comments and line continuations are dropped,
// and each line end or ":" ends a statement. Throws BasicError on a character the language
// does not have or a string left open.
std::vector<Token> Tokenize(std::string_view source);

}  // namespace qf::basic
