#pragma once

#include <vector>

namespace qf {

// One mark of a ruler: where it stands (pixels from the start of the ruler), whether it is
// a numbered one, the page units it stands for, and whether it is halfway between numbers.
struct RulerTick {
  double pixel = 0;
  bool major = false;
  double value = 0;
  bool half = false;

  bool operator==(const RulerTick&) const = default;
};

// Numbered marks stand at least this many pixels apart.
inline constexpr double kRulerLabelGap = 48;

// The step in page units between numbered marks: the smallest of 1, 2 and 5 times a power of
// ten that puts them at least `minPixels` apart. 0 when a unit has no width.
double RulerStep(double pixelsPerUnit, double minPixels);

// The marks of a ruler over the page pixels [from, from + length), the page `pageUnits` long
// at `pixelsPerUnit`: numbered marks every RulerStep, unnumbered ones every tenth of a step.
// Only the page carries marks.
std::vector<RulerTick> RulerTicks(double pixelsPerUnit, double from, double length,
                                  double pageUnits);

}  // namespace qf
