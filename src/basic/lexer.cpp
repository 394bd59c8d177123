#include "lexer.h"

#include <algorithm>
#include <cstdlib>

#include "basic/dates.h"

namespace qf::basic {

namespace {

struct KeywordEntry {
  std::string_view lower;
  std::string_view shown;
  Kw kw;
};

// Sorted by the lower-case word, for the lexer's binary search.
constexpr KeywordEntry kKeywords[] = {
    {"and", "And", Kw::And},
    {"as", "As", Kw::As},
    {"attribute", "Attribute", Kw::Attribute},
    {"byref", "ByRef", Kw::ByRef},
    {"byval", "ByVal", Kw::ByVal},
    {"call", "Call", Kw::Call},
    {"case", "Case", Kw::Case},
    {"const", "Const", Kw::Const},
    {"declare", "Declare", Kw::Declare},
    {"dim", "Dim", Kw::Dim},
    {"do", "Do", Kw::Do},
    {"each", "Each", Kw::Each},
    {"else", "Else", Kw::Else},
    {"elseif", "ElseIf", Kw::ElseIf},
    {"end", "End", Kw::End},
    {"enum", "Enum", Kw::Enum},
    {"eqv", "Eqv", Kw::Eqv},
    {"erase", "Erase", Kw::Erase},
    {"error", "Error", Kw::Error},
    {"exit", "Exit", Kw::Exit},
    {"explicit", "Explicit", Kw::Explicit},
    {"for", "For", Kw::For},
    {"friend", "Friend", Kw::Friend},
    {"function", "Function", Kw::Function},
    {"get", "Get", Kw::Get},
    {"global", "Global", Kw::Global},
    {"gosub", "GoSub", Kw::GoSub},
    {"goto", "GoTo", Kw::GoTo},
    {"if", "If", Kw::If},
    {"imp", "Imp", Kw::Imp},
    {"implements", "Implements", Kw::Implements},
    {"in", "In", Kw::In},
    {"is", "Is", Kw::Is},
    {"let", "Let", Kw::Let},
    {"like", "Like", Kw::Like},
    {"loop", "Loop", Kw::Loop},
    {"mod", "Mod", Kw::Mod},
    {"new", "New", Kw::New},
    {"next", "Next", Kw::Next},
    {"not", "Not", Kw::Not},
    {"on", "On", Kw::On},
    {"option", "Option", Kw::Option},
    {"optional", "Optional", Kw::Optional},
    {"or", "Or", Kw::Or},
    {"paramarray", "ParamArray", Kw::ParamArray},
    {"preserve", "Preserve", Kw::Preserve},
    {"private", "Private", Kw::Private},
    {"property", "Property", Kw::Property},
    {"public", "Public", Kw::Public},
    {"redim", "ReDim", Kw::ReDim},
    {"resume", "Resume", Kw::Resume},
    {"return", "Return", Kw::Return},
    {"select", "Select", Kw::Select},
    {"set", "Set", Kw::Set},
    {"static", "Static", Kw::Static},
    {"step", "Step", Kw::Step},
    {"sub", "Sub", Kw::Sub},
    {"then", "Then", Kw::Then},
    {"to", "To", Kw::To},
    {"type", "Type", Kw::Type},
    {"until", "Until", Kw::Until},
    {"wend", "Wend", Kw::Wend},
    {"while", "While", Kw::While},
    {"with", "With", Kw::With},
    {"withevents", "WithEvents", Kw::WithEvents},
    {"xor", "Xor", Kw::Xor},
};

Kw KeywordOf(std::string_view text) {
  const std::string lower = Lower(text);
  const auto* it =
      std::lower_bound(std::begin(kKeywords), std::end(kKeywords), lower,
                       [](const KeywordEntry& e, const std::string& l) { return e.lower < l; });
  return it != std::end(kKeywords) && it->lower == lower ? it->kw : Kw::None;
}

}  // namespace

std::string_view KeywordText(Kw kw) {
  for (const KeywordEntry& e : kKeywords) {
    if (e.kw == kw) return e.shown;
  }
  return {};
}

namespace {

bool NameStart(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c >= 0x80;
}

bool NamePart(unsigned char c) {
  return NameStart(c) || (c >= '0' && c <= '9');
}

bool Digit(char c) {
  return c >= '0' && c <= '9';
}

class Lexer {
 public:
  explicit Lexer(std::string_view s) : s_(s) {}

  std::vector<Token> run() {
    while (i_ < s_.size()) step();
    endStatement();
    push(Tok::End, "");
    return std::move(out_);
  }

 private:
  char at(size_t k) const { return k < s_.size() ? s_[k] : '\0'; }

  void push(Tok kind, std::string text, double number = 0, Type type = Type::Integer) {
    Token t;
    t.kind = kind;
    t.text = std::move(text);
    t.number = number;
    t.numberType = type;
    t.line = line_;
    t.column = column();
    t.lineStart = atLineStart_;
    t.spaced = spaced_;
    atLineStart_ = false;
    spaced_ = false;
    out_.push_back(std::move(t));
  }

  void endStatement() {
    if (!out_.empty() && out_.back().kind != Tok::EndOfStatement) push(Tok::EndOfStatement, "");
  }

  void newLine() {
    endStatement();
    ++line_;
    lineBegins_ = i_;
    atLineStart_ = true;
  }

  // The character (from 1) of the line where the token being read began; counted on from the
  // last token's, so a long line costs its length once, not once a token.
  int column() {
    if (countedTo_ < lineBegins_) {
      countedTo_ = lineBegins_;
      counted_ = 1;
    }
    for (; countedTo_ < tokenBegins_ && countedTo_ < s_.size(); ++countedTo_) {
      if ((static_cast<unsigned char>(s_[countedTo_]) & 0xC0) != 0x80) ++counted_;
    }
    return counted_;
  }

  void skipToLineEnd() {
    while (i_ < s_.size() && s_[i_] != '\r' && s_[i_] != '\n') ++i_;
  }

  void step() {
    tokenBegins_ = i_;
    const char c = s_[i_];
    if (c == '\r' || c == '\n') {
      ++i_;
      if (c == '\r' && at(i_) == '\n') ++i_;
      newLine();
      return;
    }
    if (c == ' ' || c == '\t' || c == '\f' || c == '\v') {
      ++i_;
      spaced_ = true;
      return;
    }
    if (c == '\'') {
      skipToLineEnd();
      return;
    }
    if (c == '_' && !NamePart(static_cast<unsigned char>(at(i_ + 1)))) {
      // A line continued: the rest of the line must be blank.
      size_t k = i_ + 1;
      while (at(k) == ' ' || at(k) == '\t') ++k;
      if (at(k) == '\r' || at(k) == '\n' || k >= s_.size()) {
        i_ = k;
        if (at(i_) == '\r') ++i_;
        if (at(i_) == '\n') ++i_;
        ++line_;
        lineBegins_ = i_;
        return;
      }
    }
    if (c == '"') return string();
    if (Digit(c) || (c == '.' && Digit(at(i_ + 1)))) return number();
    if (c == '&' &&
        (at(i_ + 1) == 'H' || at(i_ + 1) == 'h' || at(i_ + 1) == 'O' || at(i_ + 1) == 'o')) {
      return radixNumber();
    }
    if (NameStart(static_cast<unsigned char>(c))) return name();
    if (c == '#' && dateLiteral()) return;
    if (c == ':') {
      ++i_;
      // "name:" at the start of a line is a label, kept as its own statement.
      if (out_.size() >= 1 && out_.back().kind == Tok::Name && out_.back().lineStart) {
        push(Tok::Op, ":");
      }
      endStatement();
      return;
    }
    static constexpr std::string_view kTwo[] = {"<>", "<=", ">="};
    for (std::string_view op : kTwo) {
      if (s_.substr(i_, 2) == op) {
        i_ += 2;
        push(Tok::Op, std::string(op));
        return;
      }
    }
    static constexpr std::string_view kOne = "=<>+-*/\\^&(),;.!#";
    if (kOne.find(c) != std::string_view::npos) {
      ++i_;
      push(Tok::Op, std::string(1, c));
      return;
    }
    throw BasicError{line_, std::string("この文字は使えません：「") + c + "」"};
  }

  void string() {
    std::string text;
    ++i_;
    for (;;) {
      if (i_ >= s_.size() || s_[i_] == '\r' || s_[i_] == '\n') {
        throw BasicError{line_, "文字列が \" で閉じられていません"};
      }
      if (s_[i_] == '"') {
        if (at(i_ + 1) == '"') {
          text += '"';
          i_ += 2;
          continue;
        }
        ++i_;
        break;
      }
      text += s_[i_++];
    }
    push(Tok::String, std::move(text));
  }

  void number() {
    const size_t start = i_;
    bool fraction = false;
    while (Digit(at(i_))) ++i_;
    if (at(i_) == '.') {
      fraction = true;
      ++i_;
      while (Digit(at(i_))) ++i_;
    }
    if ((at(i_) == 'E' || at(i_) == 'e') &&
        (Digit(at(i_ + 1)) || ((at(i_ + 1) == '+' || at(i_ + 1) == '-') && Digit(at(i_ + 2))))) {
      fraction = true;
      i_ += 2;
      while (Digit(at(i_))) ++i_;
    }
    const double v = std::strtod(std::string(s_.substr(start, i_ - start)).c_str(), nullptr);
    Type type = fraction           ? Type::Double
                : v < 32768        ? Type::Integer
                : v < 2147483648.0 ? Type::Long
                                   : Type::Double;
    switch (at(i_)) {
      case '%':
        type = Type::Integer;
        ++i_;
        break;
      case '&':
        type = Type::Long;
        ++i_;
        break;
      case '!':
        type = Type::Single;
        ++i_;
        break;
      case '#':
        type = Type::Double;
        ++i_;
        break;
      case '@':
        type = Type::Currency;
        ++i_;
        break;
      default:
        break;
    }
    push(Tok::Number, std::string(s_.substr(start, i_ - start)), v, type);
  }

  // #2024/05/17#, #5/17/2024 10:30#, #10:30#: a date; false (nothing taken) when the text
  // between the marks is none.
  bool dateLiteral() {
    const size_t end = s_.find('#', i_ + 1);
    if (end == std::string_view::npos || end - i_ > 64) return false;
    const std::string_view inside = s_.substr(i_ + 1, end - i_ - 1);
    if (inside.find_first_of("\r\n") != std::string_view::npos) return false;
    const std::optional<double> d = ParseDateLiteral(inside);
    if (!d) return false;
    push(Tok::Number, std::string(s_.substr(i_, end + 1 - i_)), *d, Type::Date);
    i_ = end + 1;
    return true;
  }

  void radixNumber() {
    const bool hex = at(i_ + 1) == 'H' || at(i_ + 1) == 'h';
    i_ += 2;
    const size_t start = i_;
    while (hex ? std::isxdigit(static_cast<unsigned char>(at(i_))) != 0
               : (at(i_) >= '0' && at(i_) <= '7')) {
      ++i_;
    }
    if (start == i_ || i_ - start > 8) throw BasicError{line_, "数値の書き方が正しくありません"};
    unsigned long v =
        std::strtoul(std::string(s_.substr(start, i_ - start)).c_str(), nullptr, hex ? 16 : 8);
    bool isLong = i_ - start > 4 || at(i_) == '&';
    if (at(i_) == '&') ++i_;
    double n = 0;
    if (isLong) {
      n = static_cast<double>(static_cast<int32_t>(static_cast<uint32_t>(v)));
    } else {
      n = static_cast<double>(static_cast<int16_t>(static_cast<uint16_t>(v)));
    }
    push(Tok::Number, "&H", n, isLong ? Type::Long : Type::Integer);
  }

  void name() {
    const size_t start = i_;
    while (NamePart(static_cast<unsigned char>(at(i_)))) ++i_;
    // A type character belongs to the name unless "!" starts a field name (rs!Name).
    // The name is the same name with or without it (Mid$ is Mid, n% is n).
    std::string text(s_.substr(start, i_ - start));
    const char next = at(i_);
    char typeChar = 0;
    if (next == '$' || next == '%' || next == '#' || next == '@' ||
        ((next == '!' || next == '&') && !NameStart(static_cast<unsigned char>(at(i_ + 1))))) {
      typeChar = next;
      ++i_;
    }
    const bool first = out_.empty() || out_.back().kind == Tok::EndOfStatement;
    if (first && (text == "Rem" || text == "REM" || text == "rem") &&
        (at(i_) == ' ' || at(i_) == '\t' || at(i_) == '\r' || at(i_) == '\n' || i_ >= s_.size())) {
      skipToLineEnd();
      return;
    }
    const Kw keyword = typeChar ? Kw::None : KeywordOf(text);
    push(Tok::Name, std::move(text));
    out_.back().typeChar = typeChar;
    out_.back().keyword = keyword;
  }

  std::string_view s_;
  size_t i_ = 0;
  int line_ = 1;
  size_t lineBegins_ = 0;   // where the current line starts
  size_t tokenBegins_ = 0;  // where the token being read starts
  size_t countedTo_ = 0;    // characters of the line counted up to here
  int counted_ = 1;         // and the column they reach
  bool atLineStart_ = true;
  bool spaced_ = false;
  std::vector<Token> out_;
};

}  // namespace

std::vector<Token> Tokenize(std::string_view source) {
  return Lexer(source).run();
}

}  // namespace qf::basic
