#pragma once

#include <vector>

#include "document/object_record.h"

namespace qf {

// The 配置 menu's tools.
enum class LayoutTool {
  AlignLeft,
  AlignRight,
  AlignTop,
  AlignBottom,
  AlignCentreX,  // 左右中央揃え
  AlignCentreY,  // 上下中央揃え
  DistributeX,   // 左右に均等配置
  DistributeY,   // 上下に均等配置
  SameWidth,
  SameHeight,
};

// Objects a tool needs: two to align or size, three to distribute.
int MinimumSelection(LayoutTool tool);

// The places `objects` (in the order they were selected: the first is the reference) take under
// a tool, as AddObject takes places: a line, box or ring its two points, a text or picture its
// point twice. Edges are those of the boxes selection uses: a text or picture by its measured
// box, a line by its ends, a ring by its rectangle. Distribution keeps the outer two (by their
// left or top edge) and makes the gaps between neighbours equal; same width and height change
// lines, boxes and rings only, from their first point. Nothing is snapped. Empty when there are
// fewer objects than the tool needs.
std::vector<WorkingRect> ArrangeObjects(LayoutTool tool, const std::vector<ObjectRecord>& objects);

}  // namespace qf
