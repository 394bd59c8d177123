#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "basic/value.h"

namespace qf::basic {

enum class Tok { Name, Number, String, Op, EndOfStatement, End };

struct Token {
  Tok kind = Tok::End;
  std::string
      text;  // a name as written (without its type character), an operator, a string's value
  char typeChar = 0;  // a name's type character ($ % & ! # @), 0 for none
  double number = 0;  // a number's value
  Type numberType = Type::Integer;
  int line = 0;
  bool lineStart = false;  // the first token of a source line (where labels stand)
  bool spaced = false;     // blanks before it (x .Name inside With is no member of x)
};

// Splits a program into tokens: names (Japanese too), numbers (&H hexadecimal, type
// characters), strings with "" inside, operators; comments and line continuations are dropped,
// and each line end or ":" ends a statement. Throws BasicError on a character the language
// does not have or a string left open.
std::vector<Token> Tokenize(std::string_view source);

}  // namespace qf::basic
