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

// Every source of change mixed in random order, pointer gestures started and cut short in
// every state, and after each step: the page equals a full redraw with the marks where the list
// puts the selected rows, the rows marked "●" are the selection, nothing changed outside an
// undo step; undo back to each load gives its lists back exactly, and redo the end.
// QF_MODEL_SEEDS=n runs n seeds (a long run), from QF_MODEL_FIRST on; the suite runs a few.
TEST_F(RegionRedraw, EveryChangeLeavesThePageAsAFullRedraw) {
  const std::string pic = picture();
  const char* env = std::getenv("QF_MODEL_SEEDS");
  const char* first = std::getenv("QF_MODEL_FIRST");
  const unsigned from = first ? static_cast<unsigned>(std::atoi(first)) : 1;
  const unsigned seeds = from - 1 + (env ? static_cast<unsigned>(std::atoi(env)) : 8);
  int fullRedraws = 0;
  int partialSteps = 0;
  for (unsigned seed = from; seed <= seeds; ++seed) {
    std::mt19937 rng(seed);
    Editing e(seed % 3 == 0 ? 150 : seed % 2 ? 100 : 50);
    auto coord = [&] { return 20.0 + static_cast<double>(rng() % 900) / 10; };
    auto pick = [&](int n) { return n < 1 ? 0 : static_cast<int>(1 + rng() % n); };
    // The size a text or picture row holds: what measuring gives in the page unit now.
    auto measured = [&](const ObjectRecord& o) {
      const int16_t unit = e.design.page.scaleMode;
      return o.Kind == ObjectKind::Picture ? MeasurePicture(e.sizer, o.Text, unit)
                                           : MeasureText(e.text, o, unit);
    };
    auto measuredKind = [](ObjectKind k) {
      return k == ObjectKind::Text || k == ObjectKind::Picture;
    };
    auto sizesMeasured = [&](const std::string& when) {
      const TextTable& t = e.design.objects;
      for (int r = 1; r <= t.itemCount(); ++r) {
        const ObjectRecord o = DecodeObjectRow(t, r);
        if (!measuredKind(o.Kind)) continue;
        const Extent x = measured(o);
        ASSERT_EQ(t.cell(r, kColX2) + " " + t.cell(r, kColY2),
                  FormatFixed3(x.width) + " " + FormatFixed3(x.height))
            << "seed " << seed << " " << when << ": row " << r;
      }
    };
    bool unitsChanged = false;
    // Overlapping texts, pictures, hatched boxes and rings in one corner, a repeat block, two
    // layers; "Open" starts again from such a design.
    auto fill = [&] {
      e.editor.newDesign();
      e.editor.addLayer(1);
      TextTable objects = e.design.objects;
      for (int i = 0; i < 24; ++i) {
        if (i == 8 || i == 14) {
          ObjectRecord cmd;
          cmd.Kind = ObjectKind::Command;
          cmd.X1 = 7;
          cmd.Text = i == 8 ? "0" : "1";
          cmd.Style = rng() % 2 ? "0" : "1";
          cmd.Size = 2;
          AddObject(objects, cmd, {}, {}, 1);
          continue;
        }
        const ObjectRecord r = RandomObject(rng, pic);
        const double x = coord();
        const double y = coord();
        AddObject(objects, r, {x, y, x + coord() / 3, y + coord() / 4}, measured(r),
                  static_cast<int16_t>(1 + rng() % 2));
      }
      RenumberRows(objects);
      e.design.objects = objects;  // read in whole, as a load does
      unitsChanged = false;
      e.editor.designLoaded({});
      e.editor.fullRedraw();
    };
    fill();
    // Row numbers and "●", lock and hide marks are no part of the design, and not undone; the
    // sizes of texts and pictures follow the unit (sizesMeasured checks them). A row that was a
    // text when the unit changed and is a box before or after it takes its corner from the size
    // in the unit of the moment: once the unit has changed, no X2 and Y2 are compared.
    auto design = [&] {
      TextTable objects = e.design.objects;
      for (int r = 1; r <= objects.itemCount(); ++r) {
        objects.setCell(r, kColNumber, "");
        if (unitsChanged || measuredKind(KindFromName(objects.cell(r, kColKind)))) {
          objects.setCell(r, kColX2, "");
          objects.setCell(r, kColY2, "");
        }
      }
      TextTable layers = e.design.layers;
      for (int r = 1; r <= layers.itemCount(); ++r) {
        layers.setCell(r, kLayerLock, "");
        layers.setCell(r, kLayerHide, "");
      }
      return std::make_pair(objects, layers);
    };
    // The design at each place in the history, as the steps left it; undo back to the last
    // load and redo to here must pass through each exactly.
    std::map<size_t, std::pair<TextTable, TextTable>> at{{0, design()}};
    auto checkHistory = [&](const char* when) {
      const size_t end = e.editor.history().position();  // steps undone before stay undone
      auto expect = [&](const char* what) {
        const size_t p = e.editor.history().position();
        sizesMeasured(what);
        if (at.count(p)) {
          ASSERT_TRUE(design() == at.at(p)) << "seed " << seed << " " << what << " to " << p;
        }
      };
      while (e.editor.undo()) expect("undo");
      ASSERT_EQ(e.editor.history().position(), 0u);
      while (e.editor.history().position() < end) {
        ASSERT_TRUE(e.editor.redo());
        expect("redo");
      }
      ASSERT_TRUE(at.count(end) && design() == at.at(end)) << "seed " << seed << " " << when;
    };
    // A press somewhere that matters: on a mark of the selection, inside its bounds, anywhere.
    auto press = [&] {
      const std::vector<int>& sel = e.editor.selectedRows();
      double x = coord();
      double y = coord();
      if (!sel.empty() && rng() % 3) {
        if (sel.size() == 1) {
          const MarkCorners marks = e.editor.markCorners(sel.front());
          const size_t k = rng() % 3;
          const double m = e.view.markSize;
          x = marks[k].first + (k == 1 ? -m / 2 : m / 2);
          y = marks[k].second + (k == 1 ? -m / 2 : m / 2);
        } else {
          const WorkingRect b = e.editor.GetSelectionBounds();
          x = (b.x1 + b.x2) / 2;
          y = (b.y1 + b.y2) / 2;
        }
      }
      e.editor.pointerPressed(x, y);
      for (int n = static_cast<int>(rng() % 3); n > 0; --n) e.editor.pointerMoved(coord(), coord());
    };
    static const char* kValues[] = {"12.5", "12pt", "abc", "-3", "変更後の文字列", "&HFF&", "2",
                                    "",     "x",    "24",  "1e1"};
    for (int step = 0; step < 150; ++step) {
      const TextTable& t = e.design.objects;
      const TextTable& l = e.design.layers;
      const int rows = t.itemCount();
      const int fullBefore = e.page.fullRedraws;
      std::string what;
      // What a command may meet: a drag under way half the time.
      if (rng() % 4 == 0) press();
      switch (rng() % 16) {
        case 0:
        case 1: {
          const int col = 2 + static_cast<int>(rng() % 16);
          what = "edit cell " + std::to_string(col);
          e.editor.commitObjectCell(pick(rows), col, kValues[rng() % std::size(kValues)]);
          break;
        }
        case 2: {
          const int col = 1 + static_cast<int>(rng() % 17);
          what = "paste cell " + std::to_string(col);
          // The value first: the order the two are drawn from the generator is fixed so.
          const std::string value = col == kColLayer ? std::to_string(1 + rng() % 3)
                                                     : kValues[rng() % std::size(kValues)];
          e.editor.pasteObjectCell(pick(rows), col, value);
          break;
        }
        case 3:
          what = std::array{"delete row", "swap rows", "drag row"}[rng() % 3];
          if (what == "delete row") {
            e.editor.deleteObjectRow(pick(rows));
          } else if (what == "swap rows") {
            e.editor.swapObjectRows(pick(rows), pick(rows));
          } else {
            e.editor.moveObjectRow(pick(rows), pick(rows + 1));
          }
          break;
        case 4: {
          what = "add";
          const double x = coord();
          const double y = coord();
          if (rng() % 2) e.editor.startInsertMode(pick(rows + 1));
          e.editor.addObject(RandomObject(rng, pic), {x, y, x + 15, y + 9});
          break;
        }
        case 5:
          switch (rng() % 8) {
            case 7:
              what = "paste layer cell";
              e.editor.pasteLayerCell(pick(l.itemCount()), 1 + static_cast<int>(rng() % 4),
                                      rng() % 2 ? "■" : std::to_string(rng() % 4));
              break;
            case 0:
              what = "add layer";
              e.editor.addLayer(pick(l.itemCount()));
              break;
            case 1:
              what = "delete layer";
              e.editor.deleteLayer(pick(l.itemCount()));
              break;
            case 2:
              what = "swap layers";
              e.editor.swapLayers(pick(l.itemCount()), pick(l.itemCount()));
              break;
            case 3:
              what = "rename layer";
              e.editor.renameLayer(pick(l.itemCount()), "名" + std::to_string(step));
              break;
            case 4:
            case 5: {
              // Often the layer of a selected object, which must leave the selection.
              const std::vector<int>& sel = e.editor.selectedRows();
              int row = pick(l.itemCount());
              for (int r = 1; !sel.empty() && rng() % 2 && r <= l.itemCount(); ++r) {
                if (l.cell(r, kLayerNumber) == t.cell(sel.front(), kColLayer)) row = r;
              }
              what = rng() % 2 ? "lock" : "hide";
              if (what == "lock") {
                e.editor.toggleLock(row);
              } else {
                e.editor.toggleHide(row);
              }
              break;
            }
            default:
              what = "current layer";
              e.editor.chooseLayer(pick(l.itemCount()));
              break;
          }
          break;
        case 6: {
          // Choosing objects: a row, a frame, a click, each with Shift or not, Ctrl+A, Tab.
          const bool shift = rng() % 2 == 0;
          const double x = coord();
          const double y = coord();
          switch (rng() % 5) {
            case 0:
              what = "pick row";
              e.editor.selectObjectRow(pick(rows));
              break;
            case 1:
              what = shift ? "shift+frame" : "frame";
              if (!shift) e.editor.escape();
              e.editor.pointerPressed(x, y, shift);
              e.editor.pointerMoved(x + 20, y + 20);
              e.editor.pointerReleased(x + 40, y + 30, shift);
              break;
            case 2: {
              what = shift ? "shift+click" : "click";
              // On an object's own point as often as not, so that clicks hit.
              double cx = x;
              double cy = y;
              if (rows > 0 && rng() % 2) {
                const ObjectRecord o = DecodeObjectRow(e.design.objects, pick(rows));
                cx = o.X1;
                cy = o.Y1;
              }
              e.editor.pointerPressed(cx, cy, shift);
              e.editor.pointerReleased(cx + 0.1, cy, shift);
              break;
            }
            case 3:
              what = "select all";
              e.editor.selectAll();
              break;
            default:
              what = shift ? "shift+tab" : "tab";
              e.editor.stepSelection(!shift);
              break;
          }
          break;
        }
        case 7: {
          // A gesture ended by whatever comes: the button, the right button, Escape, a command.
          press();
          const int end = static_cast<int>(rng() % 8);
          what = "gesture ended by " + std::to_string(end);
          switch (end) {
            case 0:
            case 1:
              e.editor.pointerReleased(coord(), coord());
              break;
            case 2:
              e.editor.rightReleased();
              e.editor.pointerReleased(coord(), coord());  // the left button comes up later
              break;
            case 3:
              e.editor.escape();
              break;
            case 4:
              e.editor.deleteSelection();
              break;
            case 5:
              e.editor.undo();
              break;
            case 6:
              e.editor.paste();
              break;
            default:
              e.editor.cutSelection();
              break;
          }
          break;
        }
        case 8: {
          // An object waits; meanwhile a paste, a row pick or a drag that places it.
          what = "waiting object";
          e.editor.beginAdd(RandomObject(rng, pic));
          switch (rng() % 4) {
            case 0:
              e.editor.paste();
              break;
            case 1:
              e.editor.selectObjectRow(pick(rows));
              break;
            default:
              e.editor.pointerPressed(coord(), coord());
              e.editor.pointerMoved(coord(), coord());
              e.editor.pointerReleased(coord(), coord());
              break;
          }
          break;
        }
        case 9:
          switch (rng() % 5) {
            case 0:
              what = "copy and paste";
              e.editor.copySelection();
              e.editor.paste();
              break;
            case 1:
              what = "cut";
              e.editor.cutSelection();
              break;
            case 2:
              what = "paste";
              e.editor.paste();
              break;
            case 3:
              what = "arrow";
              e.editor.moveSelection(rng() % 2 ? 5 : -0.5, rng() % 2 ? 5 : 0);
              break;
            default:
              what = "delete selection";
              e.editor.deleteSelection();
              break;
          }
          break;
        case 10: {
          what = "properties";
          const std::vector<int>& sel = e.editor.selectedRows();
          if (sel.size() != 1) break;
          ObjectRecord r = DecodeObjectRow(t, sel.front());
          r.Size = static_cast<float>(1 + rng() % 24);
          if (r.Kind == ObjectKind::Text) r.Text = rng() % 2 ? "大きな文字列" : "x";
          if (r.Kind == ObjectKind::Box || r.Kind == ObjectKind::Ring) {
            r.Text = std::to_string(rng() % 6);
          }
          e.editor.rewriteSelected(r);
          break;
        }
        case 11:
        case 12:
          what = rng() % 3 ? "undo" : "redo";
          if (what == "undo") {
            e.editor.undo();
          } else {
            e.editor.redo();
          }
          break;
        case 13:
          what = "zoom";
          e.view.zoom = rng() % 2 ? 75 : 125;
          e.page.rebuild(e.view);
          e.editor.fullRedraw();
          break;
        case 14: {
          const int16_t modes[] = {6, 5, 7, 2};
          const int16_t mode = modes[rng() % 4];
          what = "units " + std::to_string(mode);
          SetUnits(e, mode);
          unitsChanged = true;
          for (auto& [place, lists] : at) {
            for (int r = 1; r <= lists.first.itemCount(); ++r) {
              lists.first.setCell(r, kColX2, "");
              lists.first.setCell(r, kColY2, "");
            }
          }
          break;
        }
        default:
          if (rng() % 4) {
            what = "grid";
            GridSettings g = e.design.grid;
            g.width = static_cast<float>(2 + rng() % 6);
            g.height = static_cast<float>(3 + rng() % 6);
            e.editor.setGrid(g);
          } else {
            checkHistory("before a load");
            what = "open";
            fill();
            at.clear();
          }
          break;
      }
      // Zoom, units, grid and loads draw the whole page; other changes only what they touch.
      if (what != "zoom" && what != "grid" && what != "open" && what.rfind("units", 0) != 0) {
        ++partialSteps;
        fullRedraws += e.page.fullRedraws - fullBefore;
      }
      // A new step makes every place after it another design.
      at.erase(at.upper_bound(e.editor.history().position()), at.end());
      at.insert_or_assign(e.editor.history().position(), design());
      ASSERT_EQ(e.editor.history().unrecordedChanges(), 0u)
          << "seed " << seed << " step " << step << ": " << what;
      sizesMeasured("step " + std::to_string(step) + ": " + what);
      std::vector<int> marked;
      for (int r = 1; r <= t.itemCount(); ++r) {
        if (t.cell(r, kColNumber).rfind("●", 0) == 0) marked.push_back(r);
      }
      std::vector<int> selected = e.editor.selectedRows();
      std::sort(selected.begin(), selected.end());
      ASSERT_EQ(marked, selected) << "seed " << seed << " step " << step << ": " << what;
      for (int r : selected) {
        const double layer = NumericPrefix(t.cell(r, kColLayer));
        ASSERT_TRUE(IsLayerVisible(l, layer) && !IsLayerLocked(l, layer))
            << "seed " << seed << " step " << step << ": " << what << " left row " << r;
      }
      if (e.editor.gesture() != Gesture::Idle) continue;  // its feedback is on the page
      const QImage expected = Reference(e);
      if (e.page.image != expected) {
        // Kept where a developer can look at them after the test's folder is gone.
        const auto tmp = std::filesystem::temp_directory_path();
        e.page.image.save(QString::fromStdString((tmp / "qf_region_page.png").string()));
        expected.save(QString::fromStdString((tmp / "qf_region_expected.png").string()));
        QRect wrong;
        for (int y = 0; y < expected.height(); ++y) {
          for (int x = 0; x < expected.width(); ++x) {
            if (e.page.image.pixel(x, y) != expected.pixel(x, y)) wrong |= QRect(x, y, 1, 1);
          }
        }
        FAIL() << "seed " << seed << " step " << step << ": " << what << " left pixels "
               << wrong.left() << "," << wrong.top() << " to " << wrong.right() << ","
               << wrong.bottom() << " wrong";
      }
    }
    checkHistory("at the end");
    EXPECT_EQ(e.page.image, Reference(e)) << "seed " << seed;
  }
  // The changes were shown by parts, not by drawing the whole page each time (a block left
  // open by a deleted end or a pasted kind is drawn whole until it closes again).
  EXPECT_LT(fullRedraws, partialSteps / 4);
}

}  // namespace
}  // namespace qf
