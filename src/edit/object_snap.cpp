#include "object_snap.h"

#include <algorithm>
#include <cmath>

namespace qf {

EdgeIndex::EdgeIndex(std::span<const PageRect> boxes) {
  xs_.reserve(boxes.size() * 3);
  ys_.reserve(boxes.size() * 3);
  for (const PageRect& b : boxes) {
    for (double v : {b.left, (b.left + b.right) / 2, b.right}) {
      if (std::isfinite(v)) xs_.push_back({v, b.top, b.bottom});
    }
    for (double v : {b.top, (b.top + b.bottom) / 2, b.bottom}) {
      if (std::isfinite(v)) ys_.push_back({v, b.left, b.right});
    }
  }
  std::sort(xs_.begin(), xs_.end());
  std::sort(ys_.begin(), ys_.end());
}

std::optional<EdgeIndex::Snap> EdgeIndex::Nearest(const std::vector<Edge>& lines,
                                                  std::span<const double> moving, double reach) {
  std::optional<Snap> best;
  if (!(reach > 0)) return best;
  for (double m : moving) {
    if (!std::isfinite(m)) continue;
    // The lines on either side of the position are the only candidates.
    const auto above = std::lower_bound(lines.begin(), lines.end(), Edge{m, 0, 0});
    for (auto it : {above, above == lines.begin() ? lines.end() : std::prev(above)}) {
      if (it == lines.end()) continue;
      const double shift = it->at - m;
      if (std::fabs(shift) > reach) continue;
      if (best && std::fabs(shift) >= std::fabs(best->shift)) continue;
      best = Snap{shift, it->at, it->from, it->to};
    }
  }
  return best;
}

std::optional<EdgeIndex::Snap> EdgeIndex::snapX(std::span<const double> moving,
                                                double reach) const {
  return Nearest(xs_, moving, reach);
}

std::optional<EdgeIndex::Snap> EdgeIndex::snapY(std::span<const double> moving,
                                                double reach) const {
  return Nearest(ys_, moving, reach);
}

double NearerSnap(double raw, std::optional<double> grid,
                  const std::optional<EdgeIndex::Snap>& object) {
  if (object && (!grid || std::fabs(object->shift) < std::fabs(*grid - raw))) {
    return raw + object->shift;
  }
  return grid.value_or(raw);
}

}  // namespace qf
