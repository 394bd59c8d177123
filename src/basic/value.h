#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace qf::basic {

// The language's numbers for its own failures, as Err.Number gives them.
inline constexpr int kErrInvalidCall = 5;
inline constexpr int kErrOverflow = 6;
inline constexpr int kErrSubscript = 9;
inline constexpr int kErrDivision = 11;
inline constexpr int kErrTypeMismatch = 13;
inline constexpr int kErrResumeWithoutError = 20;
inline constexpr int kErrInvalidNull = 94;

// A failure of a program, found by the parse, the run or an evaluation alike: where it
// happened and why, in Japanese.
struct BasicError {
  BasicError(int at = 0, std::string why = {}, int code = kErrInvalidCall, std::string in = {})
      : line(at), message(std::move(why)), number(code), file(std::move(in)) {}
  int line = 0;
  int column = 0;  // the character of the line (from 1) where it began; 0 when not known
  std::string message;
  int number = kErrInvalidCall;      // Err.Number
  std::string file;                  // the source file of the line, when a program has several
  std::string procedure;             // the procedure it stopped in, as the program spells it
  std::vector<std::string> callers;  // the procedures that called that one, outermost first
  std::vector<BasicError> more;      // what else a parse found wrong, after this one
};

class Object;

// The language's value types, in the order of the alternatives a Value holds.
// Bytes: a text as a Japanese Windows stores it (CP932), as StrConv(s, vbFromUnicode) makes it
// for the byte functions (LenB, LeftB, MidB …); anywhere else it reads as its text.
enum class Type {
  Empty,
  Null,
  Boolean,
  Integer,
  Long,
  Single,
  Double,
  Currency,
  Date,
  String,
  Bytes,
  Object
};

// One value of the language: exactly one of its types, each with the payload that type has
// (an Integer is 16 bits, a Currency a count of ten-thousandths), so no value can be a number
// and a text at once. Numbers are read as doubles, the width every type fits in.
class Value {
 public:
  Value() = default;

  static Value Null() { return Value(NullMark{}); }
  static Value Bool(bool b) { return Value(b); }
  // The whole-number factories refuse what their type cannot hold ("オーバーフロー").
  static Value Int(double n);
  static Value Lng(double n);
  static Value Sng(double n) { return Value(static_cast<float>(n)); }
  static Value Dbl(double n) { return Value(n); }
  static Value Cur(double n);
  static Value Day(double serial) { return Value(DateSerial{serial}); }
  static Value Str(std::string s) { return Value(std::move(s)); }
  static Value Raw(std::string bytes) { return Value(CodedBytes{std::move(bytes)}); }
  static Value Obj(std::shared_ptr<Object> o) { return Value(std::move(o)); }
  // A number as a value of the numeric type `t` (Double for a type that is no number).
  static Value Of(Type t, double n);

  Type type() const { return static_cast<Type>(data_.index()); }
  // The number a numeric value (Boolean, Date too) holds; 0 for any other.
  double number() const;
  // The text of a String, the bytes of Bytes; empty for any other.
  const std::string& text() const;
  // The object of an Object value (null for Nothing); null for any other.
  const std::shared_ptr<Object>& object() const;

  bool isNumeric() const {
    const Type t = type();
    return t != Type::String && t != Type::Bytes && t != Type::Object && t != Type::Null;
  }
  bool isText() const { return type() == Type::String || type() == Type::Bytes; }
  bool isNull() const { return type() == Type::Null; }

 private:
  struct NullMark {};
  struct DateSerial {
    double days;
  };
  struct CodedBytes {
    std::string bytes;
  };
  struct Money {
    int64_t tenThousandths;
  };
  using Data = std::variant<std::monostate, NullMark, bool, int16_t, int32_t, float, double, Money,
                            DateSerial, std::string, CodedBytes, std::shared_ptr<Object>>;
  template <class T>
  explicit Value(T payload) : data_(std::move(payload)) {}

  static_assert(std::variant_size_v<Data> == static_cast<size_t>(Type::Object) + 1,
                "one alternative per type, in the order of Type");
  Data data_;
};

// Thrown inside the interpreter; the runner turns it into a BasicError with the line.
struct RunFailure {
  std::string message;
  int number = kErrInvalidCall;  // Err.Number
};

// Conversions as the language makes them; a failure throws RunFailure.
double ToNumber(const Value& v);
std::string ToText(const Value& v);
bool ToBool(const Value& v);
// Whether a condition holds: Null does not, as If, Do and IIf read it.
bool Holds(const Value& v);
// Rounds half to even, as the language does when it makes an integer of a number.
double BankersRound(double v);
// A value of a declared type: Integer and Long refuse what they cannot hold ("オーバーフロー").
Value Coerce(const Value& v, Type type);
// The type a declaration names ("Integer", "String" ...), Empty for Variant and unknown names.
Type TypeNamed(std::string_view name);
// A text as characters and back: the string functions count what the user sees, not bytes.
std::u32string Chars(std::string_view s);
std::string Utf8(std::u32string_view s);
// The text of CP932 bytes; a character cut in half reads as "?".
std::string BytesText(std::string_view bytes);
// The type a name's type character gives ($ String, % Integer …), Empty for none.
Type TypeOfChar(char c);
// A text of a fixed length (String * n): cut to n characters or filled out with blanks.
std::string FixedText(std::string_view text, size_t length);
// How the language writes a number as text (Str without its leading blank, CStr).
std::string NumberText(double v, Type type);

// Something with members: the printer, its font, a picture, a record set.
class Object {
 public:
  virtual ~Object() = default;
  virtual std::string_view typeName() const = 0;
  // A property or a method without arguments; the name in lower case.
  virtual Value get(std::string_view member);
  virtual void set(std::string_view member, const Value& value);
  // A method or an indexed property; an argument left out is Empty with `missing` set.
  virtual Value call(std::string_view member, const std::vector<Value>& args,
                     const std::vector<bool>& missing);
  // The object used with arguments and no member: rs("Name").
  virtual Value index(const std::vector<Value>& args);
  // The value the object stands for where a value is wanted (Err is Err.Number); none when it
  // has no default property.
  virtual std::optional<Value> defaultValue() { return std::nullopt; }
  // What For Each visits, in order; an object that is no group refuses.
  virtual std::vector<Value> items();
};

// The value itself, or the default value of the object it holds.
Value Plain(const Value& v);

// Lower-case ASCII letters; other bytes stay (names may be Japanese).
std::string Lower(std::string_view name);

}  // namespace qf::basic
