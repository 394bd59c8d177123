#pragma once

#include <gtest/gtest.h>

#include "document/object_rows.h"
#include "edit/editor.h"
#include "support/fake_measure.h"
#include "support/recording_surface.h"

namespace qf::test {

// A window that draws nothing and keeps what the editor says in passing: refusals and
// off-page warnings, in turn.
struct TellingView final : EditView {
  Surface* pageSurface() override { return nullptr; }
  void pageChanged(const std::optional<PageRect>&) override {}
  void guideText(std::string_view) override {}
  void layerStatus(int16_t) override {}
  void historyChanged() override {}
  void objectPicked() override {}
  void refused(std::string_view why) override { said.emplace_back(why); }
  void offPageWarning(std::string_view text) override { said.emplace_back(text); }
  std::vector<std::string> said;
};

// A design held by an editor with no window: changes are recorded, nothing is drawn.
struct EditingFixture {
  // Every change of a loaded design went through an undo step.
  ~EditingFixture() { EXPECT_EQ(editor.history().unrecordedChanges(), 0u); }
  // The design as it stands counts as loaded from a file.
  void loaded() {
    RenumberRows(design.objects);
    editor.designLoaded({});
  }
  // A press, a move and a release on the page; returns how many objects are selected then.
  int frame(double x1, double y1, double x2, double y2) {
    editor.pointerPressed(x1, y1);
    editor.pointerMoved(x2, y2);
    editor.pointerReleased(x2, y2);
    return static_cast<int>(editor.selectedRows().size());
  }
  void drag(double x1, double y1, double x2, double y2) {
    editor.pointerPressed(x1, y1);
    editor.pointerMoved((x1 + x2) / 2, (y1 + y2) / 2);
    editor.pointerReleased(x2, y2);
  }
  std::string cell(int row, int col) const { return design.objects.cell(row, col); }

  Design design;
  AppState app;
  ViewState view;
  FakeMeasurers measurers;
  FakePictures pictures;
  Editor editor{design, app, view, pictures, measurers.get()};
};

// Adds objects as the editor's lists hold them, on the current layer.
struct EditorBench : EditingFixture {
  int text(double x, double y, const std::string& s) {
    ObjectRecord r;
    r.Kind = ObjectKind::Text;
    r.Text = s;
    r.Style = "ＭＳ 明朝";
    r.Size = 10;
    // The size measuring gives, as a load stores it.
    return AddObject(design.objects, r, {x, y, x, y},
                     MeasureText(measurers.text, r, design.page.scaleMode), editor.currentLayer());
  }
  int figure(ObjectKind kind, double x1, double y1, double x2, double y2) {
    ObjectRecord r;
    r.Kind = kind;
    r.Style = "0";
    r.Size = 1;
    r.Text = kind == ObjectKind::Line ? "" : "0";
    return AddObject(design.objects, r, {x1, y1, x2, y2}, {}, editor.currentLayer());
  }
  int command(bool start) {
    ObjectRecord r;
    r.Kind = ObjectKind::Command;
    r.X1 = 5;
    r.Text = start ? "0" : "1";
    r.Style = "0";
    r.Size = 2;
    return AddObject(design.objects, r, {}, {}, editor.currentLayer());
  }
};

}  // namespace qf::test
