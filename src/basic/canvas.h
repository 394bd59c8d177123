#pragma once

#include <optional>
#include <string_view>

#include "basic/value.h"

namespace qf::basic {

// An object that takes the drawing statements with their own syntax: Print, Line, Circle, PSet.
class Canvas : public Object {
 public:
  // Text at CurrentX, CurrentY; CurrentX moves past it.
  virtual void printText(std::string_view text) = 0;
  // Print's ",": CurrentX to the next print zone.
  virtual void nextZone() = 0;
  // The end of a Print without ";" or ",": CurrentX to the left edge, CurrentY a line down.
  virtual void newLine() = 0;
  // Print's Tab(n): to column n (from 1), on the next line when the text is past it already.
  virtual void tabTo(long column) = 0;
  // Print's Spc(n): n columns of blank.
  virtual void spaces(long count) = 0;
  // Line (x1, y1)-(x2, y2), colour, B / BF; no first point: from CurrentX, CurrentY.
  virtual void drawLine(std::optional<double> x1, std::optional<double> y1, double x2, double y2,
                        std::optional<int32_t> color, bool box, bool fill) = 0;
  virtual void drawCircle(double x, double y, double radius, std::optional<int32_t> color,
                          std::optional<double> start, std::optional<double> end,
                          std::optional<double> aspect) = 0;
  virtual void setPixel(double x, double y, std::optional<int32_t> color) = 0;
};

}  // namespace qf::basic
