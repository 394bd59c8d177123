#pragma once

#include <optional>
#include <span>
#include <vector>

#include "view/surface.h"

namespace qf {

// The edges and centres of the objects a drag can line up with, sorted along each axis once
// when the drag starts, so that each step of the drag looks them up in logarithmic time.
class EdgeIndex {
 public:
  EdgeIndex() = default;
  // Left, centre and right of every box (and top, middle, bottom).
  explicit EdgeIndex(std::span<const PageRect> boxes);

  // Of the moving positions, the one nearest to a line of the index within `reach` (page
  // units): the shift that lines it up, the line, and how far along it the box that gave the
  // line reaches (its top and bottom for a line across x). None when nothing is within reach.
  struct Snap {
    double shift = 0;
    double line = 0;
    double from = 0;
    double to = 0;
  };
  std::optional<Snap> snapX(std::span<const double> moving, double reach) const;
  std::optional<Snap> snapY(std::span<const double> moving, double reach) const;

  bool empty() const { return xs_.empty(); }

 private:
  struct Edge {
    double at;
    double from;
    double to;
    bool operator<(const Edge& o) const { return at < o.at; }
  };
  static std::optional<Snap> Nearest(const std::vector<Edge>& lines, std::span<const double> moving,
                                     double reach);
  std::vector<Edge> xs_;
  std::vector<Edge> ys_;
};

// Where a dragged position goes along one axis: the object snap when it is nearer than the grid
// snap, the grid snap when it is on, otherwise the position itself.
double NearerSnap(double raw, std::optional<double> grid,
                  const std::optional<EdgeIndex::Snap>& object);

}  // namespace qf
