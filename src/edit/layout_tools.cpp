#include "layout_tools.h"

#include <algorithm>
#include <numeric>

#include "document/object_rows.h"
#include "edit/selection.h"

namespace qf {

namespace {

// An object's box as selection uses it, edges in order.
using Box = PageRect;

// The second point moved so the extent is `size` in its own direction.
double Resized(double first, double second, double size) {
  return second < first ? first - size : first + size;
}

}  // namespace

int MinimumSelection(LayoutTool tool) {
  return tool == LayoutTool::DistributeX || tool == LayoutTool::DistributeY ? 3 : 2;
}

std::vector<WorkingRect> ArrangeObjects(LayoutTool tool, const std::vector<ObjectRecord>& objects) {
  if (static_cast<int>(objects.size()) < MinimumSelection(tool)) return {};
  std::vector<Box> boxes;
  boxes.reserve(objects.size());
  for (const ObjectRecord& o : objects) boxes.push_back(SelectionArea(o));
  const Box& ref = boxes.front();
  std::vector<WorkingRect> places;
  places.reserve(objects.size());

  if (tool == LayoutTool::DistributeX || tool == LayoutTool::DistributeY) {
    const bool across = tool == LayoutTool::DistributeX;
    auto start = [across](const Box& b) { return across ? b.left : b.top; };
    auto length = [across](const Box& b) { return across ? b.right - b.left : b.bottom - b.top; };
    std::vector<size_t> order(objects.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return start(boxes[a]) < start(boxes[b]); });
    const Box& first = boxes[order.front()];
    const Box& last = boxes[order.back()];
    double lengths = 0;
    for (const Box& b : boxes) lengths += length(b);
    const double span = (across ? last.right : last.bottom) - start(first);
    const double gap = (span - lengths) / static_cast<double>(objects.size() - 1);
    std::vector<double> shift(objects.size(), 0);
    double at = start(first);
    for (size_t i : order) {
      shift[i] = at - start(boxes[i]);
      at += length(boxes[i]) + gap;
    }
    // The outer two stay exactly where they are.
    shift[order.front()] = 0;
    shift[order.back()] = 0;
    for (size_t i = 0; i < objects.size(); ++i) {
      places.push_back(PlaceOf(objects[i], across ? shift[i] : 0, across ? 0 : shift[i]));
    }
    return places;
  }

  for (size_t i = 0; i < objects.size(); ++i) {
    const ObjectRecord& o = objects[i];
    const Box& b = boxes[i];
    switch (tool) {
      case LayoutTool::AlignLeft:
        places.push_back(PlaceOf(o, ref.left - b.left, 0));
        break;
      case LayoutTool::AlignRight:
        places.push_back(PlaceOf(o, ref.right - b.right, 0));
        break;
      case LayoutTool::AlignTop:
        places.push_back(PlaceOf(o, 0, ref.top - b.top));
        break;
      case LayoutTool::AlignBottom:
        places.push_back(PlaceOf(o, 0, ref.bottom - b.bottom));
        break;
      case LayoutTool::AlignCentreX:
        places.push_back(PlaceOf(o, (ref.left + ref.right - b.left - b.right) / 2, 0));
        break;
      case LayoutTool::AlignCentreY:
        places.push_back(PlaceOf(o, 0, (ref.top + ref.bottom - b.top - b.bottom) / 2));
        break;
      case LayoutTool::SameWidth:
      case LayoutTool::SameHeight: {
        WorkingRect p = PlaceOf(o, 0, 0);
        // Texts and pictures keep the size their content gives them.
        if (!IsPlacedAtPoint(o.Kind)) {
          if (tool == LayoutTool::SameWidth) {
            p.x2 = Resized(o.X1, o.X2, ref.right - ref.left);
          } else {
            p.y2 = Resized(o.Y1, o.Y2, ref.bottom - ref.top);
          }
        }
        places.push_back(p);
        break;
      }
      case LayoutTool::DistributeX:
      case LayoutTool::DistributeY:
        break;
    }
  }
  return places;
}

}  // namespace qf
