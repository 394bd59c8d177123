#include "ruler_scale.h"

#include <algorithm>
#include <cmath>

namespace qf {

double RulerStep(double pixelsPerUnit, double minPixels) {
  if (!(pixelsPerUnit > 0) || !std::isfinite(pixelsPerUnit)) return 0;
  const double units = minPixels / pixelsPerUnit;  // the least step in units
  double power = std::pow(10.0, std::floor(std::log10(units)));
  for (;;) {
    for (double m : {1.0, 2.0, 5.0}) {
      // A hair under, so a step of exactly the gap is taken despite rounding.
      if (m * power * (1 + 1e-9) >= units) return m * power;
    }
    power *= 10;
  }
}

std::vector<RulerTick> RulerTicks(double pixelsPerUnit, double from, double length,
                                  double pageUnits) {
  std::vector<RulerTick> ticks;
  const double step = RulerStep(pixelsPerUnit, kRulerLabelGap);
  if (step <= 0 || !(length > 0) || !(pageUnits > 0)) return ticks;
  // A step is at least kRulerLabelGap (48) pixels, so its tenths are at least 4.8 apart.
  constexpr int parts = 10;
  const double minor = step / parts;
  const double first = std::max(0.0, from / pixelsPerUnit);
  const double last = std::min(pageUnits, (from + length) / pixelsPerUnit);
  // Counted from the page's edge, never summed, so marks do not drift along a long ruler.
  const long begin = static_cast<long>(std::ceil(first / minor - 1e-9));
  const long end = static_cast<long>(std::floor(last / minor + 1e-9));
  for (long i = begin; i <= end; ++i) {
    const double value = static_cast<double>(i) * minor;
    ticks.push_back({value * pixelsPerUnit - from, i % parts == 0, value, i % parts == parts / 2});
  }
  return ticks;
}

}  // namespace qf
