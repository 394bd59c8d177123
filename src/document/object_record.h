#pragma once

#include <cstdint>
#include <string>

#include "names.h"

namespace qf {

// One decoded object row. Field names and order follow the object line of the design file.
struct ObjectRecord {
  ObjectKind Kind = ObjectKind::None;
  std::string Label;
  double X1 = 0;
  double Y1 = 0;
  double X2 = 0;
  double Y2 = 0;
  std::string Text;   // text, picture path, hatch code, or start/end code
  std::string Field;  // field expression, corner radius, or loop variable
  std::string Style;  // font name, line style, transparency or direction code
  float Size = 0;     // font size, line width or repeat count
  int16_t Bold = 0;   // -1 true, 0 false
  int16_t Italic = 0;
  int16_t Strikethrough = 0;
  int16_t Underline = 0;
  int16_t Align = 0;
  int32_t Color = 0;  // red + 256 * green + 65536 * blue
  int16_t Layer = 0;

  bool operator==(const ObjectRecord&) const = default;
};

// First and second point of the place an object is written to or drawn at.
struct WorkingRect {
  double x1 = 0;
  double y1 = 0;
  double x2 = 0;
  double y2 = 0;

  bool operator==(const WorkingRect&) const = default;
};

// Width and height in page units.
struct Extent {
  double width = 0;
  double height = 0;
};

}  // namespace qf
