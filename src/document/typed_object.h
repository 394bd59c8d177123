#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

#include "object_record.h"

namespace qf {

// What an object's Text, Field and Style cells mean for its kind, decoded once here so that
// no drawing, walking or writing code reads a code string. Each kind's struct holds exactly
// what its rows carry; the place (X1..Y2), label and layer stay on the record.

// The inside of a box or ring. Any hatch code but "0" makes the object hatched; only the codes
// "1" to "5" name a palette colour. A hatched box is square even when its code names no colour
// (a word pasted into the cell), and such a code fills nothing.
struct Hatch {
  bool hatched = false;
  std::optional<int> palette;  // 1..5

  bool operator==(const Hatch&) const = default;
};

// Which way a repeat block steps.
enum class Direction : int16_t { Down = 0, Across = 1 };

// A pen: the draw style 0..4 (solid, dash, dot, dash-dot, dash-dot-dot) and the width as the
// cell holds it; the printer rounds it.
struct Pen {
  int style = 0;
  float width = 0;

  bool operator==(const Pen&) const = default;
};

struct TextObject {
  std::string text;   // the designed text, or the record's value in a merge
  std::string field;  // the field expression, "" for none
  std::string font;
  float size = 0;
  bool bold = false;
  bool italic = false;
  bool strikethrough = false;
  bool underline = false;
  int16_t align = 0;  // 0 left, 1 right, 2 centre; any other code is neither placed nor printed
  int32_t color = 0;

  bool operator==(const TextObject&) const = default;
};

struct LineObject {
  Pen pen;
  int32_t color = 0;

  bool operator==(const LineObject&) const = default;
};

struct BoxObject {
  Hatch hatch;
  std::string radius;  // the corner radius as written, "" for square corners
  float radiusValue = 0;
  Pen pen;
  int32_t color = 0;

  // Hatched boxes are square whatever radius they carry.
  bool rounded() const { return !hatch.hatched && !radius.empty(); }

  bool operator==(const BoxObject&) const = default;
};

struct PictureObject {
  std::string path;
  bool transparent = false;  // ANDed with the page (any code but "0") rather than copied over it

  bool operator==(const PictureObject&) const = default;
};

struct CommandObject {
  bool start = false;    // "0" starts a repeat block; any other code ends one
  std::string variable;  // the loop variable
  Direction direction = Direction::Down;
  double gap = 0;   // X1: the step of each pass
  float count = 0;  // passes after the first

  bool operator==(const CommandObject&) const = default;
};

struct RingObject {
  Hatch hatch;
  Pen pen;
  int32_t color = 0;

  bool operator==(const RingObject&) const = default;
};

// The symbologies of a barcode, by their codes in the Style cell; any other code prints as the
// first.
enum class Symbology : int16_t {
  Jan13 = 0,
  Jan8 = 1,
  Code39 = 2,
  Nw7 = 3,
  Itf = 4,
  Code128 = 5,
  Qr = 6,
  Customer = 7,  // the Japan Post customer barcode
};
inline constexpr int kSymbologyCount = 8;

// Whether a symbology prints as a square of modules rather than as bars across.
constexpr bool IsTwoDimensional(Symbology s) {
  return s == Symbology::Qr;
}

struct BarcodeObject {
  Symbology symbology = Symbology::Jan13;
  std::string value;     // the designed value, or the record's value in a merge
  std::string field;     // the field expression, "" for none
  float digitsSize = 0;  // points of the digits under a one-dimensional symbol, 0 for none
  int32_t color = 0;

  bool operator==(const BarcodeObject&) const = default;
};

// A row of an unlisted kind: drawn, printed and written by no rule.
struct UnknownObject {
  bool operator==(const UnknownObject&) const = default;
};

using ObjectBody = std::variant<UnknownObject, TextObject, LineObject, BoxObject, PictureObject,
                                CommandObject, RingObject, BarcodeObject>;

// The kind's meaning of a record. The alternatives stand in the order of ObjectKind's codes.
ObjectBody BodyOf(const ObjectRecord& record);
// The record's kind and its Text, Field, Style and the other cells of `body`, the cells the kind
// does not carry emptied; the place (but a command's gap in X1), label and layer stay.
void SetBody(ObjectRecord& record, const ObjectBody& body);

// The record's cells read as a text's, whatever its kind: for measuring and drawing a record
// the caller knows to be a text.
TextObject TextOf(const ObjectRecord& record);
// The repeat command of a record, nullopt for every other kind: walks ask only this.
std::optional<CommandObject> CommandOf(const ObjectRecord& record);

// Visits a body with one callable per kind; a kind without one is a compile error.
template <class... Fs>
struct Overloaded : Fs... {
  using Fs::operator()...;
};
template <class... Fs>
Overloaded(Fs...) -> Overloaded<Fs...>;

}  // namespace qf
