// The page after any change made through the editor equals a full redraw, pixel for pixel,
// though only the damaged parts are drawn again: random designs changed by random steps.
#include "platform/region_redraw_fixture.h"

namespace qf {
namespace {

using test::RandomObject;
using test::RegionRedraw;

// Changes the page unit as page setup and the printer do: the printable page measured again in
// the new unit, the page image made anew, the design told.
void SetUnits(RegionRedraw::Editing& e, int16_t mode) {
  PageSettings page = e.design.page;
  page.scaleMode = mode;
  e.editor.setPage(page);
  e.view.page.scaleMode = mode;
  e.view.page.scaleWidth = e.view.page.widthTwips / 1440 * UnitsPerInch(mode, false);
  e.view.page.scaleHeight = e.view.page.heightTwips / 1440 * UnitsPerInch(mode, true);
  e.page.rebuild(e.view);
  e.editor.fullRedraw();
}

// One seed's run: a random design changed by random steps of every kind, each step checked.
class ModelRun {
 public:
  ModelRun(unsigned seed, std::string pic)
      : seed_(seed),
        rng_(seed),
        e_(seed % 3 == 0 ? 150
           : seed % 2    ? 100
                         : 50),
        pic_(std::move(pic)) {
    fill();
  }

  // Returns early on the first failure (the test's fatal failure says where).
  void run(int steps) {
    for (int step = 0; step < steps; ++step) {
      const int fullBefore = e_.page.fullRedraws;
      // What a command may meet: a drag under way half the time.
      if (rng_() % 4 == 0) press();
      const std::string what = randomStep(step);
      if (::testing::Test::HasFatalFailure()) return;
      // Zoom, units, grid and loads draw the whole page; other changes only what they touch.
      if (what != "zoom" && what != "grid" && what != "open" && what.rfind("units", 0) != 0) {
        ++partialSteps;
        fullRedraws += e_.page.fullRedraws - fullBefore;
      }
      checkStep("step " + std::to_string(step) + ": " + what);
      if (::testing::Test::HasFatalFailure()) return;
    }
    checkHistory("at the end");
    EXPECT_EQ(e_.page.image, RegionRedraw::Reference(e_)) << "seed " << seed_;
  }

  int fullRedraws = 0;
  int partialSteps = 0;

 private:
  double coord() { return 20.0 + static_cast<double>(rng_() % 900) / 10; }
  int pick(int n) { return n < 1 ? 0 : static_cast<int>(1 + rng_() % n); }
  int rows() const { return e_.design.objects.itemCount(); }
  int layers() const { return e_.design.layers.itemCount(); }
  static bool MeasuredKind(ObjectKind k) {
    return k == ObjectKind::Text || k == ObjectKind::Picture;
  }

  // The size a text or picture row holds: what measuring gives in the page unit now.
  Extent measured(const ObjectRecord& o) {
    const int16_t unit = e_.design.page.scaleMode;
    return o.Kind == ObjectKind::Picture ? MeasurePicture(e_.sizer, o.Text, unit)
                                         : MeasureText(e_.text, o, unit);
  }

  void sizesMeasured(const std::string& when) {
    const TextTable& t = e_.design.objects;
    for (int r = 1; r <= t.itemCount(); ++r) {
      const ObjectRecord o = DecodeObjectRow(t, r);
      if (!MeasuredKind(o.Kind)) continue;
      const Extent x = measured(o);
      ASSERT_EQ(t.cell(r, kColX2) + " " + t.cell(r, kColY2),
                FormatFixed3(x.width) + " " + FormatFixed3(x.height))
          << "seed " << seed_ << " " << when << ": row " << r;
    }
  }

  // Overlapping texts, pictures, hatched boxes and rings in one corner, a repeat block, two
  // layers; "Open" starts again from such a design.
  void fill() {
    e_.editor.newDesign();
    e_.editor.addLayer(1);
    TextTable objects = e_.design.objects;
    for (int i = 0; i < 24; ++i) {
      if (i == 8 || i == 14) {
        ObjectRecord cmd;
        cmd.Kind = ObjectKind::Command;
        cmd.X1 = 7;
        cmd.Text = i == 8 ? "0" : "1";
        cmd.Style = rng_() % 2 ? "0" : "1";
        cmd.Size = 2;
        AddObject(objects, cmd, {}, {}, 1);
        continue;
      }
      const ObjectRecord r = RandomObject(rng_, pic_);
      const double x = coord();
      const double y = coord();
      AddObject(objects, r, {x, y, x + coord() / 3, y + coord() / 4}, measured(r),
                static_cast<int16_t>(1 + rng_() % 2));
    }
    RenumberRows(objects);
    e_.design.objects = objects;  // read in whole, as a load does
    unitsChanged_ = false;
    e_.editor.designLoaded({});
    e_.editor.fullRedraw();
  }

  // Row numbers and "●", lock and hide marks are no part of the design, and not undone; the
  // sizes of texts and pictures follow the unit (sizesMeasured checks them). A row that was a
  // text when the unit changed and is a box before or after it takes its corner from the size
  // in the unit of the moment: once the unit has changed, no X2 and Y2 are compared.
  std::pair<TextTable, TextTable> design() const {
    TextTable objects = e_.design.objects;
    for (int r = 1; r <= objects.itemCount(); ++r) {
      objects.setCell(r, kColNumber, "");
      if (unitsChanged_ || MeasuredKind(KindFromName(objects.cell(r, kColKind)))) {
        objects.setCell(r, kColX2, "");
        objects.setCell(r, kColY2, "");
      }
    }
    TextTable layers = e_.design.layers;
    for (int r = 1; r <= layers.itemCount(); ++r) {
      layers.setCell(r, kLayerLock, "");
      layers.setCell(r, kLayerHide, "");
    }
    return std::make_pair(objects, layers);
  }

  // The design at each place in the history, as the steps left it (at_); undo back to the last
  // load and redo to here must pass through each exactly.
  void expectAtPlace(const std::string& what) {
    const size_t p = e_.editor.history().position();
    sizesMeasured(what);
    if (at_.count(p)) {
      ASSERT_TRUE(design() == at_.at(p)) << "seed " << seed_ << " " << what << " to " << p;
    }
  }

  void checkHistory(const char* when) {
    const size_t end = e_.editor.history().position();  // steps undone before stay undone
    while (e_.editor.undo()) {
      expectAtPlace("undo");
      if (::testing::Test::HasFatalFailure()) return;
    }
    ASSERT_EQ(e_.editor.history().position(), 0u);
    while (e_.editor.history().position() < end) {
      ASSERT_TRUE(e_.editor.redo());
      expectAtPlace("redo");
      if (::testing::Test::HasFatalFailure()) return;
    }
    ASSERT_TRUE(at_.count(end) && design() == at_.at(end)) << "seed " << seed_ << " " << when;
  }

  // After each step: the page equals a full redraw with the marks where the list puts the
  // selected rows, the rows marked "●" are the selection, nothing changed outside an undo step.
  void checkStep(const std::string& what) {
    // A new step makes every place after it another design.
    at_.erase(at_.upper_bound(e_.editor.history().position()), at_.end());
    at_.insert_or_assign(e_.editor.history().position(), design());
    ASSERT_EQ(e_.editor.history().unrecordedChanges(), 0u) << "seed " << seed_ << " " << what;
    sizesMeasured(what);
    if (::testing::Test::HasFatalFailure()) return;
    const TextTable& t = e_.design.objects;
    const TextTable& l = e_.design.layers;
    std::vector<int> marked;
    for (int r = 1; r <= t.itemCount(); ++r) {
      if (t.cell(r, kColNumber).rfind("●", 0) == 0) marked.push_back(r);
    }
    std::vector<int> selected = e_.editor.selectedRows();
    std::sort(selected.begin(), selected.end());
    ASSERT_EQ(marked, selected) << "seed " << seed_ << " " << what;
    for (int r : selected) {
      const double layer = NumericPrefix(t.cell(r, kColLayer));
      ASSERT_TRUE(IsLayerVisible(l, layer) && !IsLayerLocked(l, layer))
          << "seed " << seed_ << " " << what << " left row " << r;
    }
    if (e_.editor.gesture() != Gesture::Idle) return;  // its feedback is on the page
    comparePage(what);
  }

  void comparePage(const std::string& what) {
    const QImage expected = RegionRedraw::Reference(e_);
    if (e_.page.image == expected) return;
    // Kept where a developer can look at them after the test's folder is gone.
    const auto tmp = std::filesystem::temp_directory_path();
    e_.page.image.save(QString::fromStdString((tmp / "qf_region_page.png").string()));
    expected.save(QString::fromStdString((tmp / "qf_region_expected.png").string()));
    QRect wrong;
    for (int y = 0; y < expected.height(); ++y) {
      for (int x = 0; x < expected.width(); ++x) {
        if (e_.page.image.pixel(x, y) != expected.pixel(x, y)) wrong |= QRect(x, y, 1, 1);
      }
    }
    FAIL() << "seed " << seed_ << " " << what << " left pixels " << wrong.left() << ","
           << wrong.top() << " to " << wrong.right() << "," << wrong.bottom() << " wrong";
  }

  // A press somewhere that matters: on a mark of the selection, inside its bounds, anywhere.
  void press() {
    const std::vector<int>& sel = e_.editor.selectedRows();
    double x = coord();
    double y = coord();
    if (!sel.empty() && rng_() % 3) {
      if (sel.size() == 1) {
        const MarkCorners marks = e_.editor.markCorners(sel.front());
        const size_t k = rng_() % 3;
        const double m = e_.view.markSize;
        x = marks[k].first + (k == 1 ? -m / 2 : m / 2);
        y = marks[k].second + (k == 1 ? -m / 2 : m / 2);
      } else {
        const WorkingRect b = e_.editor.GetSelectionBounds();
        x = (b.x1 + b.x2) / 2;
        y = (b.y1 + b.y2) / 2;
      }
    }
    e_.editor.pointerPressed(x, y);
    for (int n = static_cast<int>(rng_() % 3); n > 0; --n) {
      e_.editor.pointerMoved(coord(), coord());
    }
  }

  // One step of every source of change, chosen at random; returns what it did.
  std::string randomStep(int step);
  std::string cellStep(bool paste);
  std::string rowStep();
  std::string layerStep(int step);
  std::string chooseStep();
  std::string endedGesture();
  std::string waitingStep();
  std::string clipboardStep();
  std::string propertiesStep();
  std::string unitsStep();
  std::string gridOrOpen();

  unsigned seed_;
  std::mt19937 rng_;
  RegionRedraw::Editing e_;
  std::string pic_;
  bool unitsChanged_ = false;
  std::map<size_t, std::pair<TextTable, TextTable>> at_;
};

constexpr const char* kValues[] = {"12.5", "12pt", "abc", "-3", "変更後の文字列", "&HFF&", "2",
                                   "",     "x",    "24",  "1e1"};

std::string ModelRun::randomStep(int step) {
  switch (rng_() % 16) {
    case 0:
    case 1:
      return cellStep(false);
    case 2:
      return cellStep(true);
    case 3:
      return rowStep();
    case 4: {
      const double x = coord();
      const double y = coord();
      if (rng_() % 2) e_.editor.startInsertMode(pick(rows() + 1));
      e_.editor.addObject(RandomObject(rng_, pic_), {x, y, x + 15, y + 9});
      return "add";
    }
    case 5:
      return layerStep(step);
    case 6:
      return chooseStep();
    case 7:
      return endedGesture();
    case 8:
      return waitingStep();
    case 9:
      return clipboardStep();
    case 10:
      return propertiesStep();
    case 11:
    case 12: {
      const bool undo = rng_() % 3 != 0;
      if (undo) {
        e_.editor.undo();
      } else {
        e_.editor.redo();
      }
      return undo ? "undo" : "redo";
    }
    case 13:
      e_.view.zoom = rng_() % 2 ? 75 : 125;
      e_.page.rebuild(e_.view);
      e_.editor.fullRedraw();
      return "zoom";
    case 14:
      return unitsStep();
    default:
      return gridOrOpen();
  }
}

std::string ModelRun::cellStep(bool paste) {
  if (!paste) {
    const int col = 2 + static_cast<int>(rng_() % 16);
    e_.editor.commitObjectCell(pick(rows()), col, kValues[rng_() % std::size(kValues)]);
    return "edit cell " + std::to_string(col);
  }
  const int col = 1 + static_cast<int>(rng_() % 17);
  // The value first: the order the two are drawn from the generator is fixed so.
  const std::string value =
      col == kColLayer ? std::to_string(1 + rng_() % 3) : kValues[rng_() % std::size(kValues)];
  e_.editor.pasteObjectCell(pick(rows()), col, value);
  return "paste cell " + std::to_string(col);
}

std::string ModelRun::rowStep() {
  const int n = rows();
  switch (rng_() % 3) {
    case 0:
      e_.editor.deleteObjectRow(pick(n));
      return "delete row";
    case 1: {
      const int a = pick(n);
      e_.editor.swapObjectRows(a, pick(n));
      return "swap rows";
    }
    default: {
      const int from = pick(n);
      e_.editor.moveObjectRow(from, pick(n + 1));
      return "drag row";
    }
  }
}

std::string ModelRun::layerStep(int step) {
  const TextTable& l = e_.design.layers;
  switch (rng_() % 8) {
    case 7: {
      const int row = pick(layers());
      const int col = 1 + static_cast<int>(rng_() % 4);
      e_.editor.pasteLayerCell(row, col, rng_() % 2 ? "■" : std::to_string(rng_() % 4));
      return "paste layer cell";
    }
    case 0:
      e_.editor.addLayer(pick(layers()));
      return "add layer";
    case 1:
      e_.editor.deleteLayer(pick(layers()));
      return "delete layer";
    case 2: {
      const int a = pick(layers());
      e_.editor.swapLayers(a, pick(layers()));
      return "swap layers";
    }
    case 3:
      e_.editor.renameLayer(pick(layers()), "名" + std::to_string(step));
      return "rename layer";
    case 4:
    case 5: {
      // Often the layer of a selected object, which must leave the selection.
      const std::vector<int>& sel = e_.editor.selectedRows();
      int row = pick(layers());
      for (int r = 1; !sel.empty() && rng_() % 2 && r <= l.itemCount(); ++r) {
        if (l.cell(r, kLayerNumber) == e_.design.objects.cell(sel.front(), kColLayer)) row = r;
      }
      if (rng_() % 2) {
        e_.editor.toggleLock(row);
        return "lock";
      }
      e_.editor.toggleHide(row);
      return "hide";
    }
    default:
      e_.editor.chooseLayer(pick(layers()));
      return "current layer";
  }
}

// Choosing objects: a row, a frame, a click, each with Shift or not, Ctrl+A, Tab.
std::string ModelRun::chooseStep() {
  const bool shift = rng_() % 2 == 0;
  const double x = coord();
  const double y = coord();
  switch (rng_() % 5) {
    case 0:
      e_.editor.selectObjectRow(pick(rows()));
      return "pick row";
    case 1:
      if (!shift) e_.editor.escape();
      e_.editor.pointerPressed(x, y, shift);
      e_.editor.pointerMoved(x + 20, y + 20);
      e_.editor.pointerReleased(x + 40, y + 30, shift);
      return shift ? "shift+frame" : "frame";
    case 2: {
      // On an object's own point as often as not, so that clicks hit.
      double cx = x;
      double cy = y;
      if (rows() > 0 && rng_() % 2) {
        const ObjectRecord o = DecodeObjectRow(e_.design.objects, pick(rows()));
        cx = o.X1;
        cy = o.Y1;
      }
      e_.editor.pointerPressed(cx, cy, shift);
      e_.editor.pointerReleased(cx + 0.1, cy, shift);
      return shift ? "shift+click" : "click";
    }
    case 3:
      e_.editor.selectAll();
      return "select all";
    default:
      e_.editor.stepSelection(!shift);
      return shift ? "shift+tab" : "tab";
  }
}

// A gesture ended by whatever comes: the button, the right button, Escape, a command.
std::string ModelRun::endedGesture() {
  press();
  const int end = static_cast<int>(rng_() % 8);
  switch (end) {
    case 0:
    case 1:
      e_.editor.pointerReleased(coord(), coord());
      break;
    case 2:
      e_.editor.rightReleased();
      e_.editor.pointerReleased(coord(), coord());  // the left button comes up later
      break;
    case 3:
      e_.editor.escape();
      break;
    case 4:
      e_.editor.deleteSelection();
      break;
    case 5:
      e_.editor.undo();
      break;
    case 6:
      e_.editor.paste();
      break;
    default:
      e_.editor.cutSelection();
      break;
  }
  return "gesture ended by " + std::to_string(end);
}

// An object waits; meanwhile a paste, a row pick or a drag that places it.
std::string ModelRun::waitingStep() {
  e_.editor.beginAdd(RandomObject(rng_, pic_));
  switch (rng_() % 4) {
    case 0:
      e_.editor.paste();
      break;
    case 1:
      e_.editor.selectObjectRow(pick(rows()));
      break;
    default: {
      const double x = coord();
      const double y = coord();
      e_.editor.pointerPressed(x, y);
      const double mx = coord();
      const double my = coord();
      e_.editor.pointerMoved(mx, my);
      const double rx = coord();
      const double ry = coord();
      e_.editor.pointerReleased(rx, ry);
      break;
    }
  }
  return "waiting object";
}

std::string ModelRun::clipboardStep() {
  switch (rng_() % 5) {
    case 0:
      e_.editor.copySelection();
      e_.editor.paste();
      return "copy and paste";
    case 1:
      e_.editor.cutSelection();
      return "cut";
    case 2:
      e_.editor.paste();
      return "paste";
    case 3: {
      const double dx = rng_() % 2 ? 5 : -0.5;
      e_.editor.moveSelection(dx, rng_() % 2 ? 5 : 0);
      return "arrow";
    }
    default:
      e_.editor.deleteSelection();
      return "delete selection";
  }
}

std::string ModelRun::propertiesStep() {
  const std::vector<int>& sel = e_.editor.selectedRows();
  if (sel.size() != 1) return "properties";
  ObjectRecord r = DecodeObjectRow(e_.design.objects, sel.front());
  r.Size = static_cast<float>(1 + rng_() % 24);
  if (r.Kind == ObjectKind::Text) r.Text = rng_() % 2 ? "大きな文字列" : "x";
  if (r.Kind == ObjectKind::Box || r.Kind == ObjectKind::Ring) r.Text = std::to_string(rng_() % 6);
  e_.editor.rewriteSelected(r);
  return "properties";
}

std::string ModelRun::unitsStep() {
  const int16_t modes[] = {6, 5, 7, 2};
  const int16_t mode = modes[rng_() % 4];
  SetUnits(e_, mode);
  unitsChanged_ = true;
  for (auto& [place, lists] : at_) {
    for (int r = 1; r <= lists.first.itemCount(); ++r) {
      lists.first.setCell(r, kColX2, "");
      lists.first.setCell(r, kColY2, "");
    }
  }
  return "units " + std::to_string(mode);
}

std::string ModelRun::gridOrOpen() {
  if (rng_() % 4) {
    GridSettings g = e_.design.grid;
    g.width = static_cast<float>(2 + rng_() % 6);
    g.height = static_cast<float>(3 + rng_() % 6);
    e_.editor.setGrid(g);
    return "grid";
  }
  checkHistory("before a load");
  fill();
  at_.clear();
  return "open";
}

// Every source of change mixed in random order, pointer gestures started and cut short in
// every state, each step checked; undo back to each load gives its lists back exactly, and
// redo the end. QF_MODEL_SEEDS=n runs n seeds (a long run), from QF_MODEL_FIRST on; the suite
// runs a few.
TEST_F(RegionRedraw, EveryChangeLeavesThePageAsAFullRedraw) {
  const std::string pic = picture();
  const char* env = std::getenv("QF_MODEL_SEEDS");
  const char* first = std::getenv("QF_MODEL_FIRST");
  const unsigned from = first ? static_cast<unsigned>(std::atoi(first)) : 1;
  const unsigned seeds = from - 1 + (env ? static_cast<unsigned>(std::atoi(env)) : 8);
  int fullRedraws = 0;
  int partialSteps = 0;
  for (unsigned seed = from; seed <= seeds; ++seed) {
    ModelRun run(seed, pic);
    run.run(150);
    if (HasFatalFailure()) return;
    fullRedraws += run.fullRedraws;
    partialSteps += run.partialSteps;
  }
  // The changes were shown by parts, not by drawing the whole page each time (a block left
  // open by a deleted end or a pasted kind is drawn whole until it closes again).
  EXPECT_LT(fullRedraws, partialSteps / 4);
}

}  // namespace
}  // namespace qf
