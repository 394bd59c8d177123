#include "page_index.h"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <tuple>
#include <utility>

#include "document/number_text.h"
#include "document/object_rows.h"
#include "document/typed_object.h"
#include "object_walk.h"

namespace qf {

namespace {

// The pen as DrawFigure sets it, in pixels.
float PenPad(float size) {
  const double width = std::nearbyint(static_cast<double>(size));
  const double pen = width >= 0 && width <= 1000 ? std::max(width, 1.0) : 1.0;
  return static_cast<float>(pen / 2 + 2);
}

// Characters in the longest line of a UTF-8 text.
int LongestLine(std::string_view text) {
  int longest = 0;
  int n = 0;
  for (const char c : text) {
    if (c == '\r' || c == '\n') {
      n = 0;
      continue;
    }
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) longest = std::max(longest, ++n);
  }
  return longest;
}

// Page units a pixel of the view, across and down; one unit before the view is laid out, so
// that a pad of pixels still covers something.
std::pair<double, double> PadUnits(const ViewState& view) {
  const auto [ux, uy] = UnitsPerPixel(view);
  return {ux > 0 ? ux : 1, uy > 0 ? uy : 1};
}

int16_t LayerOfCell(const std::string& cell) {
  return RoundToInt<int16_t>(NumericPrefix(cell)).value_or(0);
}

}  // namespace

PageIndex::PageIndex(const Design& design, const TextMeasurer& measurer, PictureStore& pictures)
    : design_(design), measurer_(measurer), pictures_(pictures) {
  design_.objects.addListener(this);
  design_.layers.addListener(this);
  tableReset(design_.objects);
}

PageIndex::~PageIndex() {
  design_.objects.removeListener(this);
  design_.layers.removeListener(this);
}

void PageIndex::measure(int row) {
  RowInfo& info = rows_[static_cast<size_t>(row - 1)];
  gridPlace(row - 1, false);
  if (info.state == State::Unmeasured) --unmeasured_;
  DecodeObjectRow(scratch_, design_.objects, row);
  const ObjectRecord& o = scratch_;
  info.layer = o.Layer;
  info.command = o.Kind == ObjectKind::Command;
  info.own = {};
  info.padPx = 0;
  const PageRect cells = NormalisedRect(o.X1, o.Y1, o.X1 + o.X2, o.Y1 + o.Y2);
  const auto figure = [&info, &o](const Pen& pen) {
    info.own = FigureArea(o.Kind, o, {o.X1, o.Y1, o.X2, o.Y2});
    info.padPx = PenPad(pen.width);
  };
  std::visit(Overloaded{
                 [&](const TextObject& t) {
                   const Extent e = MeasureText(measurer_, o, design_.page.scaleMode);
                   // Glyphs may reach past their advance (italics, hinting at small zooms): a
                   // quarter of the size more, and two pixels a character.
                   info.own = NormalisedRect(o.X1, o.Y1, o.X1 + e.width, o.Y1 + e.height)
                                  .grown(std::fabs(e.width) / 4, std::fabs(e.height) / 4);
                   info.padPx = 4 + 2 * static_cast<float>(LongestLine(t.text));
                   // The box its cells give too, as the selection takes it.
                   info.own.unite(cells);
                 },
                 [&](const PictureObject& p) {
                   if (const Picture* pic = pictures_.picture(p.path)) {
                     const Extent e = PictureExtent(*pic, design_.page.scaleMode);
                     info.own = NormalisedRect(o.X1, o.Y1, o.X1 + e.width, o.Y1 + e.height);
                     info.padPx = 2;
                   }
                   info.own.unite(cells);
                 },
                 [&](const LineObject& l) { figure(l.pen); },
                 [&](const BoxObject& b) { figure(b.pen); },
                 [&](const RingObject& g) { figure(g.pen); },
                 // Bars, digits and the red cross of a refused value stay inside the box.
                 [&](const BarcodeObject&) {
                   figure(Pen{0, 1});
                 },
                 [](const CommandObject&) {},
                 [](const UnknownObject&) {},
             },
             BodyOf(o));
  info.state = State::Measured;
  gridPlace(row - 1, true);
}

bool PageIndex::cellRange(const PageRect& r, int& x0, int& y0, int& x1, int& y1) const {
  if (r.empty() || !(grid_.width > 0) || !(grid_.height > 0)) return false;
  const double n = Grid::kCells;
  auto cell = [n](double v, double extent) {
    return static_cast<int>(std::clamp(std::floor(v / extent * n), 0.0, n - 1));
  };
  x0 = cell(r.left, grid_.width);
  x1 = cell(r.right, grid_.width);
  y0 = cell(r.top, grid_.height);
  y1 = cell(r.bottom, grid_.height);
  return true;
}

void PageIndex::gridPlace(int index, bool add) {
  if (!grid_.valid) return;
  const RowInfo& info = rows_[static_cast<size_t>(index)];
  if (info.unit >= 0 || info.own.empty() || info.state == State::Unmeasured) return;
  const PageRect r = info.own.grown(grid_.ux * info.padPx, grid_.uy * info.padPx);
  int x0 = 0;
  int y0 = 0;
  int x1 = 0;
  int y1 = 0;
  const bool fits = cellRange(r, x0, y0, x1, y1) && (x1 - x0 + 1) * (y1 - y0 + 1) <= 64 &&
                    std::isfinite(r.left) && std::isfinite(r.right) && std::isfinite(r.top) &&
                    std::isfinite(r.bottom);
  auto place = [&](std::vector<int>& list) {
    if (add) {
      list.push_back(index);
    } else if (auto it = std::find(list.begin(), list.end(), index); it != list.end()) {
      *it = list.back();
      list.pop_back();
    }
  };
  if (!fits) {
    place(grid_.spanning);
    return;
  }
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) place(grid_.cells[static_cast<size_t>(y * Grid::kCells + x)]);
  }
}

void PageIndex::buildGrid(const ViewState& view) {
  grid_ = Grid{};
  grid_.width = view.page.scaleWidth;
  grid_.height = view.page.scaleHeight;
  std::tie(grid_.ux, grid_.uy) = PadUnits(view);
  grid_.cells.assign(Grid::kCells * Grid::kCells, {});
  grid_.valid = true;
  for (size_t i = 0; i < rows_.size(); ++i) gridPlace(static_cast<int>(i), true);
}

void PageIndex::addFootprint(int row) {
  const RowInfo& info = rows_[static_cast<size_t>(row - 1)];
  if (info.unit >= 0 && info.unit < static_cast<int>(units_.size())) {
    const Unit& u = units_[static_cast<size_t>(info.unit)];
    damage_.push_back({u.area, u.padPx});
  } else if (!info.own.empty()) {
    damage_.push_back({info.own, info.padPx});
  }
}

void PageIndex::ensureBaseline() {
  if (!needBaseline_) return;
  needBaseline_ = false;
  update();
  damage_.clear();
  drawnUnreliable_ = unreliable_;
}

void PageIndex::touchRow(int row) {
  if (row < 1 || row > static_cast<int>(rows_.size())) return;
  ensureBaseline();
  RowInfo& info = rows_[static_cast<size_t>(row - 1)];
  if (info.state == State::Changed) return;  // its place on the page is already owed
  if (info.state == State::Unmeasured) measure(row);
  addFootprint(row);
  info.state = State::Changed;
  changedRows_.push_back(row);
}

void PageIndex::touchLayer(const TextTable& layers, int row) {
  ensureBaseline();
  const int16_t number = LayerOfCell(layers.cell(row, kLayerNumber));
  touchedLayers_.insert(number);
  for (size_t i = 0; i < rows_.size(); ++i) {
    if (rows_[i].state != State::Changed && rows_[i].layer == number) {
      addFootprint(static_cast<int>(i) + 1);
    }
  }
  structureDirty_ = true;
}

void PageIndex::cellAboutToChange(const TextTable& t, int row, int col) {
  if (&t == &design_.layers) {
    // Only a layer's number and its hide mark change what is drawn.
    if (col == kLayerNumber || col == kLayerHide) touchLayer(t, row);
  } else if (col != kColNumber) {  // row numbers and selection marks are not drawn
    touchRow(row);
  }
}

void PageIndex::cellChanged(const TextTable& t, int row, int col) {
  if (&t == &design_.layers && (col == kLayerNumber || col == kLayerHide)) {
    touchedLayers_.insert(LayerOfCell(t.cell(row, kLayerNumber)));
  }
}

void PageIndex::rowsInserted(const TextTable& t, int first, int count) {
  if (&t == &design_.layers) {
    ensureBaseline();
    for (int r = first; r < first + count; ++r) {
      touchedLayers_.insert(LayerOfCell(t.cell(r, kLayerNumber)));
    }
    structureDirty_ = true;
    return;
  }
  ensureBaseline();
  const auto at = static_cast<size_t>(first - 1);
  if (at > rows_.size()) return;
  if (at < rows_.size()) {
    for (int& r : changedRows_) {
      if (r >= first) r += count;
    }
  }
  grid_.valid = false;  // rows below move
  RowInfo fresh;
  fresh.state = State::Changed;
  rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(at), static_cast<size_t>(count), fresh);
  for (int r = first; r < first + count; ++r) changedRows_.push_back(r);
  if (!units_.empty()) structureDirty_ = true;
}

void PageIndex::rowsAboutToBeRemoved(const TextTable& t, int first, int count) {
  if (&t == &design_.layers) {
    for (int r = first; r < first + count; ++r) touchLayer(t, r);
    return;
  }
  ensureBaseline();
  for (int r = first; r < first + count && r <= static_cast<int>(rows_.size()); ++r) {
    RowInfo& info = rows_[static_cast<size_t>(r - 1)];
    if (info.state == State::Unmeasured) measure(r);
    if (info.state == State::Measured) addFootprint(r);
    if (info.command || info.unit >= 0) structureDirty_ = true;
  }
}

void PageIndex::rowsRemoved(const TextTable& t, int first, int count) {
  if (&t == &design_.layers) return;
  const auto from = static_cast<size_t>(first - 1);
  if (from >= rows_.size()) return;
  const size_t to = std::min(rows_.size(), from + static_cast<size_t>(count));
  for (size_t i = from; i < to; ++i) {
    if (rows_[i].state == State::Unmeasured) --unmeasured_;
  }
  rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(from),
              rows_.begin() + static_cast<std::ptrdiff_t>(to));
  // Rows below move: the grid and the blocks' row lists name them by place.
  grid_.valid = false;
  if (!units_.empty()) structureDirty_ = true;
  std::vector<int> kept;
  kept.reserve(changedRows_.size());
  for (int r : changedRows_) {
    if (r < first) {
      kept.push_back(r);
    } else if (r >= first + count) {
      kept.push_back(r - count);
    }
  }
  changedRows_ = std::move(kept);
}

void PageIndex::rowsAboutToBeSwapped(const TextTable& t, int a, int b, int /*firstCol*/) {
  if (&t == &design_.layers) {
    touchLayer(t, a);
    touchLayer(t, b);
    return;
  }
  touchRow(a);
  touchRow(b);
  if (!units_.empty()) structureDirty_ = true;
}

void PageIndex::rowsSwapped(const TextTable& t, int a, int b, int /*firstCol*/) {
  if (&t == &design_.layers) {
    touchedLayers_.insert(LayerOfCell(t.cell(a, kLayerNumber)));
    touchedLayers_.insert(LayerOfCell(t.cell(b, kLayerNumber)));
  }
}

void PageIndex::tableReset(const TextTable& /*t*/) {
  // Contents replaced whole (a load): everything is drawn again, and measured when next needed.
  rows_.assign(static_cast<size_t>(std::max(0, design_.objects.itemCount())), RowInfo{});
  unmeasured_ = static_cast<int>(rows_.size());
  units_.clear();
  unitRows_.clear();
  grid_.valid = false;
  changedRows_.clear();
  touchedLayers_.clear();
  damage_.clear();
  full_ = true;
  structureDirty_ = true;
  needBaseline_ = false;
}

void PageIndex::update() {
  if (rows_.size() != static_cast<size_t>(std::max(0, design_.objects.itemCount()))) {
    tableReset(design_.objects);  // out of step: start again from a full redraw
  }
  for (int r : changedRows_) {
    RowInfo& info = rows_[static_cast<size_t>(r - 1)];
    if (info.state != State::Changed) continue;
    const bool wasCommand = info.command;
    const int16_t wasLayer = info.layer;
    const bool inUnit = info.unit >= 0;
    measure(r);
    if (wasCommand || info.command || wasLayer != info.layer || inUnit) structureDirty_ = true;
  }
  if (unmeasured_ > 0) {
    for (size_t i = 0; i < rows_.size(); ++i) {
      if (rows_[i].state != State::Unmeasured) continue;
      const bool inUnit = rows_[i].unit >= 0;
      measure(static_cast<int>(i) + 1);
      if (inUnit || rows_[i].command) structureDirty_ = true;
    }
  }
  if (structureDirty_) rebuildStructure();
  for (int r : changedRows_) addFootprint(r);
  changedRows_.clear();
  if (!touchedLayers_.empty()) {
    for (size_t i = 0; i < rows_.size(); ++i) {
      if (touchedLayers_.count(rows_[i].layer)) addFootprint(static_cast<int>(i) + 1);
    }
    touchedLayers_.clear();
  }
}

void PageIndex::rebuildStructure() {
  structureDirty_ = false;
  unreliable_ = false;
  units_.clear();
  unitRows_.clear();
  grid_.valid = false;  // rows move in and out of blocks
  for (RowInfo& info : rows_) info.unit = -1;

  // Visible layers in drawing order; a number carried twice would be drawn twice.
  std::vector<int16_t> order;
  for (int lr = design_.layers.itemCount(); lr >= 1; --lr) {
    const double n = NumericPrefix(design_.layers.cell(lr, kLayerNumber));
    if (!IsLayerVisible(design_.layers, n)) continue;
    const auto number = RoundToInt<int16_t>(n);
    if (!number || static_cast<double>(*number) != n) continue;  // no object carries it
    if (std::find(order.begin(), order.end(), *number) != order.end()) unreliable_ = true;
    order.push_back(*number);
  }

  struct Frame {
    PageRect area;
    double steps = 0;
    double count = 0;
    double shift = 0;  // count x gap
    bool across = false;
    size_t first = 0;  // index in the layer's rows
  };
  double totalSteps = 0;
  std::vector<int> layerRows;
  std::vector<Frame> stack;
  for (const int16_t number : order) {
    layerRows.clear();
    for (size_t i = 0; i < rows_.size(); ++i) {
      if (rows_[i].layer == number) layerRows.push_back(static_cast<int>(i) + 1);
    }
    stack.clear();
    for (size_t k = 0; k < layerRows.size(); ++k) {
      const int r = layerRows[k];
      const RowInfo& info = rows_[static_cast<size_t>(r - 1)];
      if (!stack.empty()) stack.back().steps += 1;
      if (info.command) {
        DecodeObjectRow(scratch_, design_.objects, r);
        const CommandObject command = CommandOf(scratch_).value_or(CommandObject{});
        if (command.start) {
          Frame f;
          const int count = RoundToInt<int>(static_cast<double>(command.count)).value_or(0);
          f.shift = count > 0 ? count * command.gap : 0;
          f.steps = 0;
          f.across = command.direction == Direction::Across;
          f.first = k;
          f.count = count;
          stack.push_back(f);
        } else if (!stack.empty()) {
          Frame f = stack.back();
          stack.pop_back();
          // Passes of an absurd count are capped by the walk; such a design is drawn whole.
          const double passes = std::max(0.0, f.count) + 1;
          const double steps = 1 + passes * (f.steps + 1);
          PageRect area = f.area;
          if (!area.empty() && f.shift != 0) {
            area.unite(
                f.across
                    ? PageRect{area.left + f.shift, area.top, area.right + f.shift, area.bottom}
                    : PageRect{area.left, area.top + f.shift, area.right, area.bottom + f.shift});
          }
          float pad = 0;
          for (size_t j = f.first; j <= k; ++j) {
            pad = std::max(pad, rows_[static_cast<size_t>(layerRows[j] - 1)].padPx);
          }
          if (!stack.empty()) {
            stack.back().area.unite(area);
            stack.back().steps += steps - 1;
          } else {
            totalSteps += steps;
            const int id = static_cast<int>(units_.size());
            units_.push_back({area, pad});
            unitRows_.emplace_back();
            for (size_t j = f.first; j <= k; ++j) {
              rows_[static_cast<size_t>(layerRows[j] - 1)].unit = id;
              unitRows_.back().push_back(layerRows[j] - 1);
            }
          }
        } else {
          totalSteps += 1;
        }
        continue;
      }
      if (stack.empty()) {
        totalSteps += 1;
      } else {
        stack.back().area.unite(info.own);
      }
    }
    // A block left open goes on into the next layer as the walk draws it; not followed here.
    if (!stack.empty()) unreliable_ = true;
  }
  if (totalSteps > static_cast<double>(kMaxWalkSteps) / 2) unreliable_ = true;
}

PageRect PageIndex::padded(const PageRect& r, float padPx, const ViewState& view) const {
  const auto [ux, uy] = PadUnits(view);
  return r.grown(ux * padPx, uy * padPx);
}

PageIndex::Damage PageIndex::takeDamage(const ViewState& view) {
  ensureBaseline();
  update();
  Damage d;
  // What was drawn while the walk could not be followed is nowhere in the areas: going back
  // to a design the index follows takes one full redraw too.
  d.full = full_ || unreliable_ || drawnUnreliable_;
  drawnUnreliable_ = unreliable_;
  if (!d.full) {
    for (const Pending& p : damage_) {
      const PageRect r = padded(p.rect, p.padPx, view);
      if (!r.empty()) d.rects.push_back(r);
    }
    // Many small parts cost more to draw one by one than their bounds at once.
    if (d.rects.size() > 32) {
      PageRect all;
      for (const PageRect& r : d.rects) all.unite(r);
      d.rects.assign(1, all);
    }
  }
  damage_.clear();
  full_ = false;
  return d;
}

void PageIndex::forgetDamage() {
  damage_.clear();
  touchedLayers_.clear();
  full_ = false;
  // Rows changed since the last update are drawn as they now stand.
  if (!changedRows_.empty()) structureDirty_ = true;
  for (int r : changedRows_) {
    RowInfo& info = rows_[static_cast<size_t>(r - 1)];
    if (info.state == State::Changed) {
      info.state = State::Unmeasured;
      ++unmeasured_;
    }
  }
  changedRows_.clear();
  needBaseline_ = unmeasured_ > 0 || structureDirty_;
  if (!needBaseline_) drawnUnreliable_ = unreliable_;
}

std::vector<int> PageIndex::rowsTouching(const PageRect& region, const ViewState& view) {
  ensureBaseline();
  update();
  // Plain names, not a structured binding: the lambda below captures them.
  const auto units = PadUnits(view);
  const double ux = units.first;
  const double uy = units.second;
  if (!grid_.valid || grid_.width != view.page.scaleWidth ||
      grid_.height != view.page.scaleHeight || grid_.ux != ux || grid_.uy != uy) {
    buildGrid(view);
  }
  if (seen_.size() != rows_.size()) seen_.assign(rows_.size(), 0);
  if (++query_ == 0) {
    std::fill(seen_.begin(), seen_.end(), 0);
    query_ = 1;
  }
  std::vector<int> rows;
  auto take = [&](int i) {
    uint32_t& seen = seen_[static_cast<size_t>(i)];
    if (seen == query_) return;
    seen = query_;
    const RowInfo& info = rows_[static_cast<size_t>(i)];
    if (info.own.grown(ux * info.padPx, uy * info.padPx).intersects(region)) rows.push_back(i + 1);
  };
  int x0 = 0;
  int y0 = 0;
  int x1 = 0;
  int y1 = 0;
  if (cellRange(region, x0, y0, x1, y1)) {
    for (int y = y0; y <= y1; ++y) {
      for (int x = x0; x <= x1; ++x) {
        for (int i : grid_.cells[static_cast<size_t>(y * Grid::kCells + x)]) take(i);
      }
    }
  }
  for (int i : grid_.spanning) take(i);
  for (size_t u = 0; u < units_.size(); ++u) {
    if (!padded(units_[u].area, units_[u].padPx, view).intersects(region)) continue;
    for (int i : unitRows_[u]) rows.push_back(i + 1);
  }
  std::sort(rows.begin(), rows.end());
  lastTouching_ = rows.size();
  return rows;
}

void RedrawRegion(RenderContext& ctx, PageIndex& index, const PageRect& region) {
  if (region.empty()) return;
  const std::vector<int> rows = index.rowsTouching(region, ctx.view);
  ctx.surface.setClip(region);
  ClearAndDrawGrid(ctx.surface, ctx.design, ctx.view);
  RedrawRows(ctx, rows);
  ctx.surface.setClip(std::nullopt);
}

}  // namespace qf
