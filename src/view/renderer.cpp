#include "renderer.h"

#include <algorithm>
#include <cmath>

#include "document/object_rows.h"
#include "document/typed_object.h"
#include "object_walk.h"
#include "view/barcode_drawing.h"

namespace qf {

namespace {

constexpr int32_t kRed = Rgb(255, 0, 0);
constexpr int32_t kBlue = Rgb(0, 0, 255);
constexpr int32_t kWhite = Rgb(255, 255, 255);

// The palette colour a hatch names; nothing for an unhatched object or a code that names no
// colour, which leave the fill colour as it is.
std::optional<int32_t> HatchColor(const Palette& palette, const Hatch& hatch) {
  if (!hatch.hatched || !hatch.palette) return std::nullopt;
  return palette[static_cast<size_t>(*hatch.palette)];
}

void SetPen(Surface& s, const Pen& pen) {
  s.setDrawStyle(pen.style);
  const double width = std::nearbyint(static_cast<double>(pen.width));
  s.setDrawWidth(width >= 0 && width <= 1000 ? static_cast<int>(width) : 0);
}

void DrawBox(Surface& s, const WorkingRect& R, const BoxObject& b, const Palette& palette,
             int32_t color) {
  SetPen(s, b.pen);
  if (b.hatch.hatched) {
    // A hatched box is always square. A code that names no colour (a word pasted into the
    // cell) fills nothing: with the fill colour left by whatever was drawn before, the page
    // would depend on what was drawn again last.
    if (const auto fill = HatchColor(palette, b.hatch)) {
      s.setFillStyle(FillStyle::Solid);
      s.setFillColor(*fill);
    }
    s.box(R.x1, R.y1, R.x2, R.y2, color, false);
  } else if (b.rounded()) {
    DrawRoundBox(s, R, b.radiusValue, color);
  } else {
    s.box(R.x1, R.y1, R.x2, R.y2, color, false);
  }
  s.setFillStyle(FillStyle::Transparent);
}

void DrawRing(Surface& s, const WorkingRect& R, const RingObject& g, const Palette& palette,
              int32_t color) {
  SetPen(s, g.pen);
  const int32_t saved = s.fillColor();
  const RingShape shape = RingGeometry(R.x1, R.y1, R.x2, R.y2);
  if (const auto fill = HatchColor(palette, g.hatch)) {
    s.setFillColor(*fill);
    s.setFillStyle(FillStyle::Solid);
  }
  s.circle(shape.cx, shape.cy, shape.radius, color, shape.aspect, std::nullopt, std::nullopt);
  s.setFillColor(saved);
  s.setFillStyle(FillStyle::Transparent);
}

// A line, box or ring of `body`; nothing for the other kinds.
void DrawFigureBody(Surface& s, const WorkingRect& R, const ObjectBody& body,
                    const Palette& palette, DrawMode mode, int32_t color) {
  s.setDrawMode(mode);
  std::visit(Overloaded{
                 [&](const LineObject& l) {
                   SetPen(s, l.pen);
                   s.line(R.x1, R.y1, R.x2, R.y2, color);
                 },
                 [&](const BoxObject& b) { DrawBox(s, R, b, palette, color); },
                 [&](const RingObject& g) { DrawRing(s, R, g, palette, color); },
                 // Its feedback is its box's outline.
                 [&](const BarcodeObject&) { s.box(R.x1, R.y1, R.x2, R.y2, color, false); },
                 [](const TextObject&) {},
                 [](const PictureObject&) {},
                 [](const CommandObject&) {},
                 [](const UnknownObject&) {},
             },
             body);
  s.setDrawMode(DrawMode::CopyPen);
}

// A picture's feedback while it is dragged: inverted, then its bits xored in, so the same two
// calls again take it off.
void DrawPictureFeedback(RenderContext& ctx, const WorkingRect& R, const ObjectRecord& o) {
  const ObjectBody body = BodyOf(o);
  const auto* picture = std::get_if<PictureObject>(&body);
  const Picture* pic = picture ? ctx.pictures.picture(picture->path) : nullptr;
  if (!pic) return;
  // The natural size in page units; the window's own scale applies the zoom.
  const Extent e = PictureExtent(*pic, ctx.design.page.scaleMode);
  Surface& s = ctx.surface;
  s.setDrawMode(DrawMode::NotXorPen);
  s.paintPicture(*pic, R.x2, R.y2, e.width, e.height, RasterOp::DstInvert);
  s.paintPicture(*pic, R.x2, R.y2, e.width, e.height, RasterOp::SrcInvert);
  s.setDrawMode(DrawMode::CopyPen);
}

// Draws the objects a walk visits as paper shows them: figures and pictures in drawing order,
// then the texts over all of them (a printed page lays its texts over the composed figures).
template <typename Walk>
void DrawWalked(RenderContext& ctx, Walk walk) {
  std::vector<std::pair<WorkingRect, ObjectRecord>> texts;
  walk([&ctx, &texts](const WorkingRect& place, const ObjectRecord& o) {
    if (o.Kind == ObjectKind::Text) {
      texts.emplace_back(place, o);
    } else {
      DrawObject(ctx, place, static_cast<int>(o.Kind), DrawObjectMode::ObjectDraw, o);
    }
  });
  for (const auto& [place, o] : texts) {
    DrawObject(ctx, place, static_cast<int>(o.Kind), DrawObjectMode::ObjectDraw, o);
  }
}

}  // namespace

PageRect NormalisedRect(double x1, double y1, double x2, double y2) {
  PageRect r{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
  if (!std::isfinite(r.left) || !std::isfinite(r.top) || !std::isfinite(r.right) ||
      !std::isfinite(r.bottom)) {
    constexpr double kHuge = 1e300;
    return {-kHuge, -kHuge, kHuge, kHuge};
  }
  return r;
}

PageRect FigureArea(ObjectKind kind, const ObjectRecord& o, const WorkingRect& R) {
  switch (kind) {
    case ObjectKind::Box: {
      PageRect area = NormalisedRect(R.x1, R.y1, R.x2, R.y2);
      const ObjectBody body = BodyOf(o);
      if (const auto* box = std::get_if<BoxObject>(&body); box && box->rounded()) {
        // Corner arcs of a radius larger than the box reach outside it.
        const double k = std::fabs(static_cast<double>(box->radiusValue));
        area = area.grown(2 * k, 2 * k);
      }
      return area;
    }
    case ObjectKind::Ring: {
      const RingShape g = RingGeometry(R.x1, R.y1, R.x2, R.y2);
      const double r = std::fabs(static_cast<double>(g.radius));
      return NormalisedRect(g.cx - r, g.cy - r, g.cx + r, g.cy + r);
    }
    case ObjectKind::Text:
    case ObjectKind::Line:
    case ObjectKind::Picture:
    case ObjectKind::Command:
    case ObjectKind::Barcode:  // its symbol and digits stay inside its box
    case ObjectKind::None:
      break;
  }
  return NormalisedRect(R.x1, R.y1, R.x2, R.y2);
}

Extent PictureExtent(const Picture& picture, int16_t scaleMode) {
  return {picture.widthPoints() / 72.0 * UnitsPerInch(scaleMode, false),
          picture.heightPoints() / 72.0 * UnitsPerInch(scaleMode, true)};
}

void DrawFigure(Surface& s, const WorkingRect& R, const ObjectRecord& o, const Palette& palette,
                DrawMode mode, int32_t color) {
  DrawFigureBody(s, R, BodyOf(o), palette, mode, color);
}

FontSpec TextFont(const TextObject& t, double pointSize) {
  return {t.font, pointSize, t.bold, t.italic, t.strikethrough, t.underline};
}

void DrawAsPrinted(Surface& s, const WorkingRect& R, const ObjectRecord& o, const Design& design,
                   PictureStore& pictures, double pointSize) {
  const ObjectBody body = BodyOf(o);
  std::visit(
      Overloaded{
          [&](const TextObject& t) {
            s.setCurrentXY(R.x2, R.y2);
            s.setFont(TextFont(t, pointSize));
            s.setForeColor(t.color);
            s.print(t.text);
          },
          [&](const LineObject& l) {
            DrawFigureBody(s, R, body, design.palette, DrawMode::MaskPen, l.color);
          },
          [&](const BoxObject& b) {
            DrawFigureBody(s, R, body, design.palette, DrawMode::MaskPen, b.color);
          },
          [&](const RingObject& g) {
            DrawFigureBody(s, R, body, design.palette, DrawMode::MaskPen, g.color);
          },
          [&](const PictureObject& p) {
            const Picture* pic = pictures.picture(p.path);
            if (!pic) return;
            const Extent e = PictureExtent(*pic, design.page.scaleMode);
            s.setDrawMode(DrawMode::MaskPen);
            s.paintPicture(*pic, R.x2, R.y2, e.width, e.height,
                           p.transparent ? RasterOp::SrcAnd : RasterOp::SrcCopy);
            s.setDrawMode(DrawMode::CopyPen);
          },
          [&](const BarcodeObject& b) { DrawBarcode(s, R, b, design.page.scaleMode, pointSize); },
          [](const CommandObject&) {},
          [](const UnknownObject&) {},
      },
      body);
}

void DrawObject(RenderContext& ctx, const WorkingRect& R, int kind, DrawObjectMode mode,
                const ObjectRecord& o) {
  Surface& s = ctx.surface;
  const double zoomedSize = static_cast<double>(o.Size) * ctx.view.zoom / 100.0;
  if (kind == kBlockFrame) {
    if (mode == DrawObjectMode::ObjectDraw) return;
    s.setDrawMode(DrawMode::NotXorPen);
    s.setDrawStyle(static_cast<int>(DrawStyle::Dot));
    s.setDrawWidth(1);
    s.box(R.x1, R.y1, R.x2, R.y2, kBlue, false);
    s.setDrawMode(DrawMode::CopyPen);
    return;
  }
  if (mode == DrawObjectMode::ObjectDraw) {
    DrawAsPrinted(s, R, o, ctx.design, ctx.pictures, zoomedSize);
    return;
  }
  switch (static_cast<ObjectKind>(kind)) {
    case ObjectKind::Text:
      if (mode == DrawObjectMode::FeedbackDraw) {
        s.showTextFeedback(R.x2, R.y2);
      } else {
        s.hideTextFeedback();
        const TextObject text = TextOf(o);
        s.setFont(TextFont(text, zoomedSize));
        s.setCurrentXY(R.x1, R.y1);
        if (!ctx.textEraseBlocked) {
          s.setForeColor(kWhite);
          s.print(text.text);
        }
      }
      break;
    case ObjectKind::Line:
    case ObjectKind::Box:
    case ObjectKind::Ring:
    case ObjectKind::Barcode:
      // The feedback is the outline in red; the reversible pen takes it off again.
      DrawFigure(s, R, o, ctx.design.palette, DrawMode::NotXorPen, kRed);
      break;
    case ObjectKind::Picture:
      DrawPictureFeedback(ctx, R, o);
      break;
    case ObjectKind::Command:
    case ObjectKind::None:
      break;
  }
}

void RedrawObjects(RenderContext& ctx, int first, int last) {
  DrawWalked(ctx,
             [&ctx, first, last](const auto& draw) { WalkObjects(ctx.design, first, last, draw); });
}

void RedrawRows(RenderContext& ctx, const std::vector<int>& rows) {
  DrawWalked(ctx, [&ctx, &rows](const auto& draw) { WalkRows(ctx.design, rows, draw); });
}

void FullRedraw(RenderContext& ctx) {
  ClearAndDrawGrid(ctx.surface, ctx.design, ctx.view);
  if (ctx.design.objects.itemCount() >= 1) RedrawObjects(ctx, 1, ctx.design.objects.itemCount());
}

void DrawRoundBox(Surface& s, const WorkingRect& r, float k, int32_t color) {
  constexpr double kPi = 3.1415926;
  const double x1 = r.x1;
  const double y1 = r.y1;
  const double x2 = r.x2;
  const double y2 = r.y2;
  const double kk = k;
  s.circle(x1 + kk, y1 + kk, kk, color, 1, kPi / 2, kPi);
  s.circle(x1 + kk, y2 - kk, kk, color, 1, kPi, kPi * 1.5);
  s.circle(x2 - kk, y2 - kk, kk, color, 1, kPi * 1.5, kPi * 2);
  s.circle(x2 - kk, y1 + kk, kk, color, 1, 0, kPi / 2);
  s.line(x1 + kk, y1, x2 - kk, y1, color);
  s.line(x1, y1 + kk, x1, y2 - kk, color);
  s.line(x1 + kk, y2, x2 - kk, y2, color);
  s.line(x2, y1 + kk, x2, y2 - kk, color);
}

MarkCorners MarkCornersOf(const WorkingRect& b, double m) {
  return {std::pair{b.x1 - m, b.y1 - m}, std::pair{b.x2 + m, b.y2 + m},
          std::pair{b.x1 + (b.x2 - b.x1 - m) / 2, b.y1 + (b.y2 - b.y1 - m) / 2}};
}

MarkCorners DrawSelectionMarks(Surface& s, const ViewState& view, const WorkingRect& b,
                               MarkStyle style) {
  const bool filled = style == MarkStyle::Selected;
  MarkCorners marks{};
  const double m = view.markSize;
  const double x1 = b.x1;
  const double y1 = b.y1;
  const double x2 = b.x2;
  const double y2 = b.y2;
  s.setDrawMode(DrawMode::NotXorPen);
  s.setDrawStyle(static_cast<int>(DrawStyle::Solid));
  s.setDrawWidth(1);
  s.box(x1 - m, y1 - m, x1, y1, kRed, filled);
  marks[0] = {x1 - m, y1 - m};
  s.box(x2, y2, x2 + m, y2 + m, kRed, filled);
  marks[1] = {x2 + m, y2 + m};
  const double cx = x1 + (x2 - x1 - m) / 2;
  const double cy = y1 + (y2 - y1 - m) / 2;
  const int32_t savedColor = s.fillColor();
  s.setFillStyle(filled ? FillStyle::Solid : FillStyle::Transparent);
  s.setFillColor(kRed);
  s.circle(cx + m / 2, cy + m / 2, m / 2, kRed, 1, std::nullopt, std::nullopt);
  marks[2] = {cx, cy};
  s.setFillColor(savedColor);
  s.setFillStyle(FillStyle::Transparent);
  s.setDrawMode(DrawMode::CopyPen);
  return marks;
}

}  // namespace qf
