#pragma once

#include <array>
#include <optional>
#include <utility>
#include <vector>
#include "document/design.h"

#include "document/object_record.h"
#include "document/typed_object.h"
#include "page_view.h"
#include "surface.h"

namespace qf {

// How DrawObject draws (the numbers are part of the interface).
enum class DrawObjectMode : int {
  FeedbackErase = 0,  // removes what FeedbackDraw drew; may overprint a text in white
  FeedbackDraw = 1,   // rubber-band feedback in fixed colours
  ObjectDraw = 2,     // the object in its own colours and styles
};

// Kind argument 0 of DrawObject: the dotted frame of a block selection.
inline constexpr int kBlockFrame = 0;

// What the design-window renderer draws with.
struct RenderContext {
  Surface& surface;
  const Design& design;
  const ViewState& view;
  PictureStore& pictures;
  bool textEraseBlocked = false;  // FeedbackErase of a text does not overprint it in white
};

// Draws an object as paper shows it: figures and pictures with the mask pen (overlaps combine as
// ink does, nothing cancels), pictures by their transparency choice, texts at `pointSize`.
void DrawAsPrinted(Surface& surface, const WorkingRect& place, const ObjectRecord& object,
                   const Design& design, PictureStore& pictures, double pointSize);

// Draws one thing: an object of `kind` (or kBlockFrame) from `object`, placed by `place`. The
// object itself is drawn as printed, at the zoom; its feedback and the block frame are drawn
// reversibly: the same feedback call again removes them.
void DrawObject(RenderContext& ctx, const WorkingRect& place, int kind, DrawObjectMode mode,
                const ObjectRecord& object);

// Draws the visible object rows first..last in layer order with repeats expanded, the texts
// over the figures and pictures as on paper.
void RedrawObjects(RenderContext& ctx, int first, int last);
// Draws the given rows (ascending) as RedrawObjects would draw them among all the rows.
void RedrawRows(RenderContext& ctx, const std::vector<int>& rows);

// ClearAndDrawGrid, then every object.
void FullRedraw(RenderContext& ctx);

// A box with quarter-circle corners of radius k, in the surface's current mode, style and width.
void DrawRoundBox(Surface& surface, const WorkingRect& r, float k, int32_t color);

// The top-left corners of the three selection marks of a selection box, for hit testing.
using MarkCorners = std::array<std::pair<double, double>, 3>;
// Where the marks of a selection box stand, for a mark size in page units.
MarkCorners MarkCornersOf(const WorkingRect& box, double markSize);
// How a selected object's marks look: the reference of the layout tools (the first of several
// selected) has hollow marks.
enum class MarkStyle { Selected, Reference };
// Draws (or, drawn again, erases) the three marks of a selected object's box.
MarkCorners DrawSelectionMarks(Surface& surface, const ViewState& view, const WorkingRect& box,
                               MarkStyle style = MarkStyle::Selected);

// A guide line of a drag lined up with another object: at `at` (an x for a line down, a y for
// one across), from `from` to `to` along it, between the two objects.
struct GuideLine {
  double at = 0;
  double from = 0;
  double to = 0;
  bool operator==(const GuideLine&) const = default;
};

// A line, box or ring in the given draw mode and outline colour (the object's own, or red for
// feedback), hatching from the palette. Leaves the surface in copy pen and transparent fill.
void DrawFigure(Surface& surface, const WorkingRect& place, const ObjectRecord& object,
                const Palette& palette, DrawMode mode, int32_t color);

// The rectangle between two points; a coordinate no double holds makes it the whole plane
// (such a shape is drawn nowhere or everywhere, and everywhere is never wrong).
PageRect NormalisedRect(double x1, double y1, double x2, double y2);
// The page area a line, box or ring drawn at `place` covers, its pen aside: a rounded box's
// arcs and a ring drawn backwards reach past the rectangle. Other kinds: the rectangle.
PageRect FigureArea(ObjectKind kind, const ObjectRecord& figure, const WorkingRect& place);

// A picture's natural size in the page unit of a scale mode.
Extent PictureExtent(const Picture& picture, int16_t scaleMode);

// The font of a text object at a point size.
FontSpec TextFont(const TextObject& text, double pointSize);

}  // namespace qf
