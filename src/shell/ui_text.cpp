#include "ui_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>

#include "document/number_text.h"

namespace qf {

int ZoomFromText(std::string_view text) {
  return RoundToInt<int>(NumericPrefix(text)).value_or(0);
}

int NextZoomStep(int zoom, bool in) {
  const int* first = std::begin(kZoomSteps);
  const int* last = std::end(kZoomSteps);
  if (in) {
    const int* above = std::upper_bound(first, last, zoom);
    return above == last ? *(last - 1) : *above;
  }
  const int* below = std::lower_bound(first, last, zoom);
  return below == first ? *first : *(below - 1);
}

std::string ZoomEnterText(std::string_view typed) {
  if (typed.find('%') != std::string_view::npos) return std::string(typed);
  const double v = std::clamp(NumericPrefix(typed), -1e9, 300.0);
  // "##0\%": a whole number, rounded half away from zero as the format does.
  const long long whole = std::llround(v);
  return std::to_string(whole) + "%";
}

std::string DefaultDesignName(const std::tm& when) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "QF%02d%02d%02d%02d.qfd", when.tm_mon + 1, when.tm_mday,
                when.tm_hour, when.tm_min);
  return buf;
}

}  // namespace qf
