#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <type_traits>
#include <utility>
#include <vector>

#include "document/design.h"
#include "document/number_text.h"
#include "document/object_rows.h"
#include "document/typed_object.h"

namespace qf {

// One open repeat block.
struct RepeatFrame {
  int direction = 0;  // 0 down, anything else across
  double gap = 0;
  int count = 0;
  int startRow = 0;  // index of the start command in the list walked
  int counter = 0;
};

// Where a visited object stands: its row, and the pass of the repeat blocks around it counted
// through them all, the innermost fastest (0 outside any block). A block of 3 passes inside one
// of 10 numbers its 30 passes 0 to 29.
struct WalkPosition {
  int row = 0;
  long pass = 0;
};

// A walk never draws more objects than this, so a design with huge repeat counts cannot freeze
// the window.
inline constexpr long kMaxWalkSteps = 2'000'000;

// Visits the given object rows (ascending) in drawing order: the layer of the last layer row
// first, up to the first row's; repeat blocks expanded, each pass shifted by its gap. fn gets the
// place to draw at (text and pictures: their point twice) and the decoded row, and its
// WalkPosition when it takes a third argument. Rows outside the
// list are passed over as if absent, so a list must hold every row of the blocks it touches.
template <class Fn>
void WalkRows(const Design& d, const std::vector<int>& rows, Fn&& fn) {
  const TextTable& objects = d.objects;
  // Layer of every listed row, read once instead of once per layer.
  std::vector<int16_t> rowLayer(rows.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    rowLayer[i] = RoundToInt<int16_t>(NumericPrefix(objects.cell(rows[i], kColLayer))).value_or(0);
  }

  std::vector<RepeatFrame> stack;
  ObjectRecord rec;
  long steps = 0;
  for (int layerRow = d.layers.itemCount(); layerRow >= 1; --layerRow) {
    const double number = NumericPrefix(d.layers.cell(layerRow, kLayerNumber));
    if (!IsLayerVisible(d.layers, number)) continue;
    for (size_t i = 0; i < rows.size(); ++i) {
      if (static_cast<double>(rowLayer[i]) != number) continue;
      if (++steps > kMaxWalkSteps) return;
      const int r = rows[i];
      if (r < 1 || r > objects.itemCount()) continue;
      DecodeObjectRow(rec, objects, r);
      if (const std::optional<CommandObject> command = CommandOf(rec)) {
        if (command->start) {
          RepeatFrame f;
          f.direction = command->direction == Direction::Down ? 0 : 1;
          f.gap = command->gap;
          f.count = RoundToInt<int>(static_cast<double>(command->count)).value_or(0);
          f.startRow = static_cast<int>(i);
          stack.push_back(f);
        } else if (!stack.empty()) {
          RepeatFrame& top = stack.back();
          if (top.counter < top.count) {
            ++top.counter;
            i = static_cast<size_t>(top.startRow);  // the loop goes on with the row after the start
          } else {
            stack.pop_back();
          }
        }
        continue;
      }
      double dx = 0;
      double dy = 0;
      for (const RepeatFrame& f : stack) {
        (f.direction == 0 ? dy : dx) += f.counter * f.gap;
      }
      WorkingRect place;
      if (IsPlacedAtPoint(rec.Kind)) {
        place = {rec.X1 + dx, rec.Y1 + dy, rec.X1 + dx, rec.Y1 + dy};
      } else {
        place = {rec.X1 + dx, rec.Y1 + dy, rec.X2 + dx, rec.Y2 + dy};
      }
      if constexpr (std::is_invocable_v<Fn, const WorkingRect&, const ObjectRecord&,
                                        const WalkPosition&>) {
        long pass = 0;
        // Held far below overflow: no page has that many passes anyway.
        for (const RepeatFrame& f : stack) {
          pass = std::min(pass, 1L << 30) * (f.count + 1L) + f.counter;
        }
        fn(place, rec, WalkPosition{r, pass});
      } else {
        fn(place, rec);
      }
    }
  }
}

// Visits the visible object rows first..last as WalkRows does.
template <class Fn>
void WalkObjects(const Design& d, int first, int last, Fn&& fn) {
  last = std::min(last, d.objects.itemCount());
  first = std::max(first, 1);
  if (first > last) return;
  std::vector<int> rows(static_cast<size_t>(last - first + 1));
  for (size_t i = 0; i < rows.size(); ++i) rows[i] = first + static_cast<int>(i);
  WalkRows(d, rows, std::forward<Fn>(fn));
}

}  // namespace qf
