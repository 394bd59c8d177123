#pragma once

#include <cstdint>
#include <set>
#include <vector>

#include "document/design.h"
#include "document/measure.h"
#include "page_view.h"
#include "renderer.h"
#include "surface.h"

namespace qf {

// Where each object row draws on the page, kept current as the two lists change, and the parts
// of the page that changes have touched since they were last drawn. A change is then shown by
// drawing the page again inside those parts alone (RedrawRegion) instead of all of it.
//
// Every area is conservative: it holds every pixel the row can draw at any zoom, and the box
// the selection takes for it (a text's or picture's cells). A row inside a
// repeat block counts as its whole outermost block, with every pass. Where the index cannot
// follow the walk exactly (a block left open at the end of a visible layer, two visible layer
// rows with one number, a walk near its step cap) it asks for a full redraw instead.
class PageIndex final : private TableListener {
 public:
  PageIndex(const Design& design, const TextMeasurer& measurer, PictureStore& pictures);
  ~PageIndex() override;
  PageIndex(const PageIndex&) = delete;
  PageIndex& operator=(const PageIndex&) = delete;

  struct Damage {
    std::vector<PageRect> rects;  // in page units, for the view they were asked for
    bool full = false;            // draw the whole page instead
  };
  // What changed since the last call, then forgets it.
  Damage takeDamage(const ViewState& view);
  // Every row whose drawing can reach into `region`, ascending, with whole repeat blocks.
  std::vector<int> rowsTouching(const PageRect& region, const ViewState& view);
  // The whole page changed (palette, page, grid): nothing partial is owed any more.
  void forgetDamage();
  // The page unit changed: every row is measured again, and the page is owed whole.
  void remeasureAll() { tableReset(design_.objects); }

  // How many rows the last region had to draw again (for the benchmarks).
  size_t rowsLastTouching() const { return lastTouching_; }

 private:
  enum class State : uint8_t {
    Measured,    // `own` is where the row draws on the page now
    Unmeasured,  // drawn as it stands, not measured yet
    Changed,     // changed since it was drawn: its new place is owed as damage
  };
  struct RowInfo {
    PageRect own;     // page units, without the pixel pad
    float padPx = 0;  // pixels added on every side
    int16_t layer = 0;
    bool command = false;
    State state = State::Unmeasured;
    int unit = -1;  // outermost repeat block, -1 when none
  };
  struct Unit {
    PageRect area;
    float padPx = 0;
  };
  struct Pending {
    PageRect rect;
    float padPx = 0;
  };

  void cellAboutToChange(const TextTable& t, int row, int col) override;
  void cellChanged(const TextTable& t, int row, int col) override;
  void rowsInserted(const TextTable& t, int first, int count) override;
  void rowsAboutToBeRemoved(const TextTable& t, int first, int count) override;
  void rowsRemoved(const TextTable& t, int first, int count) override;
  void rowsAboutToBeSwapped(const TextTable& t, int a, int b, int firstCol) override;
  void rowsSwapped(const TextTable& t, int a, int b, int firstCol) override;
  void tableReset(const TextTable& t) override;

  // Rows by where they draw, so that finding those that reach into a region does not visit
  // every row: a grid of cells over the page, each listing the rows outside repeat blocks whose
  // area reaches into it. Built again when rows move or the view changes; a row measured again
  // moves between cells.
  struct Grid {
    static constexpr int kCells = 32;  // across and down
    bool valid = false;
    double width = 0;  // the page, in page units
    double height = 0;
    double ux = 1;  // page units a pixel
    double uy = 1;
    std::vector<std::vector<int>> cells;  // row indices (0-based)
    std::vector<int> spanning;            // rows too large for cells: always looked at
  };
  void buildGrid(const ViewState& view);
  void gridPlace(int index, bool add);
  bool cellRange(const PageRect& r, int& x0, int& y0, int& x1, int& y1) const;

  void ensureBaseline();
  void touchRow(int row);  // damages where it draws now; its new place follows on update
  void touchLayer(const TextTable& layers, int row);  // every object of that layer's number
  void addFootprint(int row);
  void measure(int row);
  void update();
  void rebuildStructure();
  PageRect padded(const PageRect& r, float padPx, const ViewState& view) const;

  const Design& design_;
  const TextMeasurer& measurer_;
  PictureStore& pictures_;
  std::vector<RowInfo> rows_;  // index = object row - 1
  std::vector<Unit> units_;
  std::vector<int> changedRows_;     // object rows in State::Changed
  std::set<int16_t> touchedLayers_;  // layer numbers whose objects are damaged after the change
  std::vector<Pending> damage_;
  Grid grid_;
  std::vector<std::vector<int>> unitRows_;  // row indices of each unit
  std::vector<uint32_t> seen_;              // per row: the query that last took it
  uint32_t query_ = 0;
  bool full_ = true;  // a full redraw is owed
  bool structureDirty_ = true;
  bool needBaseline_ = false;     // the page was drawn whole; index it before the next change
  bool unreliable_ = false;       // the walk cannot be followed: always draw everything
  bool drawnUnreliable_ = false;  // so it was when the page was last drawn
  int unmeasured_ = 0;
  size_t lastTouching_ = 0;
  ObjectRecord scratch_;
};

// Draws the page again inside `region` alone: cleared, its grid, and every visible object that
// reaches into it, in drawing order, each clipped to the region. What lies outside stays as it
// is, so afterwards the page equals a full redraw when `region` held all that changed.
void RedrawRegion(RenderContext& ctx, PageIndex& index, const PageRect& region);

}  // namespace qf
