#include "editor.h"

#include "document/number_text.h"
#include "document/object_rows.h"
#include "edit/object_fields.h"
#include "shell/ui_text.h"
#include "view/renderer.h"

namespace qf {

Editor::Editor(Design& design, AppState& app, const ViewState& view, PictureStore& pictures,
               const Measurers& measurers)
    : design_(design),
      app_(app),
      viewState_(view),
      pictures_(pictures),
      measurers_(measurers),
      history_(design.objects, design.layers),
      index_(design, measurers.text, pictures) {}

Editor::~Editor() = default;

RenderContext Editor::renderContext(Surface& surface) {
  return {surface, design_, viewState_, pictures_, state_.pointer.TextEraseBlocked};
}

void Editor::updateModified() {
  app_.modified = settingsChanged_ || !history_.atSaved();
}

void Editor::finishChange(bool changed) {
  if (!changed) return;
  keepCurrentLayer();
  showDamage();
  updateModified();
  if (view_) view_->historyChanged();
}

void Editor::showDamage() {
  const PageIndex::Damage damage = index_.takeDamage(viewState_);
  Surface* surface = view_ ? view_->pageSurface() : nullptr;
  if (!surface) return;
  if (damage.full) {
    fullRedraw();
    return;
  }
  for (const PageRect& r : damage.rects) {
    RenderContext rc = renderContext(*surface);
    RedrawRegion(rc, index_, r);
    drawMarks(r);
    view_->pageChanged(r);
  }
}

void Editor::fullRedraw() {
  Surface* surface = view_ ? view_->pageSurface() : nullptr;
  index_.forgetDamage();
  if (!surface) return;
  RenderContext rc = renderContext(*surface);
  FullRedraw(rc);
  drawMarks(std::nullopt);
  view_->pageChanged(std::nullopt);
}

void Editor::drawMarks(const std::optional<PageRect>& clip) {
  Surface* surface = view_ ? view_->pageSurface() : nullptr;
  if (!surface || !marksShown_ || state_.pointer.SelectionList.empty()) return;
  surface->setClip(clip);
  for (const SelectionEntry& e : state_.pointer.SelectionList) {
    DrawSelectionMarks(*surface, viewState_, e.box());
  }
  surface->setClip(std::nullopt);
}

void Editor::toggleMarks(const SelectionEntry& e) {
  Surface* surface = view_ ? view_->pageSurface() : nullptr;
  if (!surface) return;
  DrawSelectionMarks(*surface, viewState_, e.box());  // a second time they are gone
  const WorkingRect b = e.box();
  const double m = 2 * viewState_.markSize;
  view_->pageChanged(NormalisedRect(b.x1, b.y1, b.x2, b.y2).grown(m, m));
}

void Editor::measureWorking() {
  PlacementState& p = state_.placing;
  const int16_t unit = design_.page.scaleMode;
  if (p.working.Kind == ObjectKind::Text) MeasureWorkingText(p, measurers_.text, unit);
  if (p.working.Kind == ObjectKind::Picture) LoadWorkingPicture(p, measurers_.picture, unit);
}

void Editor::eraseSelection() {
  for (const SelectionEntry& e : state_.pointer.SelectionList) {
    if (marksShown_) toggleMarks(e);
    MarkRow(design_.objects, e.row, false);
  }
  state_.pointer.SelectionList.clear();
  marksShown_ = true;  // an empty selection shows what it has: nothing
}

void Editor::clearSelection() {
  eraseSelection();
  state_.pointer.grab = GrabKind::None;
}

void Editor::ResetEditState() {
  eraseSelection();
  const bool waiting = state_.placing.AddPending;
  state_.ResetEditState();
  // A waiting object is gone: the cross-hair with it.
  if (waiting && view_) view_->pointerShape(PointerShape::Normal);
}

void Editor::keepCurrentLayer() {
  // New objects must land on a layer some row carries, or they would never be seen.
  const TextTable& layers = design_.layers;
  for (int r = 1; r <= layers.itemCount(); ++r) {
    if (NumericPrefix(layers.cell(r, kLayerNumber)) == state_.placing.currentLayer) return;
  }
  const int base = layers.itemCount();
  state_.placing.currentLayer =
      base >= 1 ? RoundToInt<int16_t>(NumericPrefix(layers.cell(base, kLayerNumber))).value_or(1)
                : 1;
  if (view_) view_->layerStatus(state_.placing.currentLayer);
}

bool Editor::undo() {
  return replay(false);
}

bool Editor::redo() {
  return replay(true);
}

bool Editor::replay(bool forward) {
  if (!(forward ? history_.canRedo() : history_.canUndo())) return false;
  // The selection names rows the step may move: it goes, marks and all.
  ResetEditState();
  if (forward) {
    history_.redo();
  } else {
    history_.undo();
  }
  if (history_.firstMovedRow() > 0) RenumberRows(design_.objects, history_.firstMovedRow());
  finishChange(true);
  return true;
}

void Editor::markSaved() {
  history_.markSaved();
  settingsChanged_ = false;
  updateModified();
  if (view_) view_->historyChanged();
}

void Editor::designLoaded(const LoadDecisions& decided) {
  state_.ResetEditState();  // the page is drawn again whole: no marks to erase
  state_.placing.working = decided.lastObject;
  if (decided.currentLayer) state_.placing.currentLayer = *decided.currentLayer;
  history_.clear();
  keepCurrentLayer();
  if (view_) view_->layerStatus(state_.placing.currentLayer);
  markSaved();
}

void Editor::newDesign() {
  ResetEditState();
  design_.objects.clearItems();
  P_InitPalette(design_.palette);
  ResetToBaseLayer(design_.layers);
  state_.placing.currentLayer = 1;
  history_.clear();
  keepCurrentLayer();
  if (view_) view_->layerStatus(state_.placing.currentLayer);
  markSaved();
}

void Editor::setPage(const PageSettings& page) {
  if (page == design_.page) return;
  design_.page = page;
  settingsChanged_ = true;
  updateModified();
  if (view_) view_->historyChanged();
}

void Editor::setGrid(const GridSettings& grid) {
  if (!(grid == design_.grid)) {
    design_.grid = grid;
    settingsChanged_ = true;
    updateModified();
    if (view_) view_->historyChanged();
  }
  fullRedraw();
}

void Editor::setPalette(const Palette& palette) {
  if (palette != design_.palette) {
    design_.palette = palette;
    settingsChanged_ = true;
    updateModified();
    if (view_) view_->historyChanged();
  }
  fullRedraw();
}

int Editor::storeWorkingObject(int index) {
  Change change(*this);
  const int row = StoreWorkingObject(design_.objects, state_, index);
  if (row > 0) RenumberRows(design_.objects, row);
  return row;
}

bool Editor::IsEditableObjectCell(const TextTable& objects, int row, int col) {
  if (row < 1 || row > objects.itemCount()) return false;
  static constexpr int kText[] = {2, 3, 4, 7, 8, 10, 16, 17};
  static constexpr int kLine[] = {2, 3, 4, 5, 6, 10, 16, 17};
  static constexpr int kBox[] = {2, 3, 4, 5, 6, 8, 10, 16, 17};
  static constexpr int kPicture[] = {2, 3, 4, 7, 16, 17};
  static constexpr int kCommand[] = {2, 3, 8, 10, 16, 17};
  auto in = [col](const auto& cols) {
    for (int c : cols) {
      if (c == col) return true;
    }
    return false;
  };
  // By the kind's name as the cell holds it: a ring, or any unlisted name, edits nothing.
  const std::string& kind = objects.cell(row, kColKind);
  if (kind == KindName(ObjectKind::Text)) return in(kText);
  if (kind == KindName(ObjectKind::Line)) return in(kLine);
  if (kind == KindName(ObjectKind::Box)) return in(kBox);
  if (kind == KindName(ObjectKind::Picture)) return in(kPicture);
  if (kind == KindName(ObjectKind::Command)) return in(kCommand);
  return false;
}

std::string Editor::FormatObjectEdit(int col, std::string_view text) {
  if (col >= kColX1 && col <= kColY2 && IsPlainNumber(text)) {
    return FormatFixed3(NumericPrefix(text));
  }
  return std::string(text);
}

bool Editor::commitObjectCell(int row, int col, std::string_view text) {
  if (!IsEditableObjectCell(design_.objects, row, col)) return false;
  const std::string value = FormatObjectEdit(col, text);
  if (design_.objects.cell(row, col) == value) return false;
  Change change(*this);
  design_.objects.setCell(row, col, value);
  return true;
}

bool Editor::pasteObjectCell(int row, int col, std::string_view text) {
  if (row < 1 || row > design_.objects.itemCount() || col < 1 || col >= kObjectColumns) {
    return false;
  }
  if (design_.objects.cell(row, col) == text) return false;
  Change change(*this);
  design_.objects.setCell(row, col, std::string(text));
  return true;
}

bool Editor::deleteObjectRow(int row) {
  if (row < 1 || row > design_.objects.itemCount()) return false;
  eraseSelection();
  {
    Change change(*this);
    design_.objects.removeRow(row);
    RenumberRows(design_.objects, row);
  }
  state_.ResetEditState();
  if (view_) view_->guideText("");
  return true;
}

bool Editor::swapObjectRows(int a, int b) {
  const int n = design_.objects.itemCount();
  if (a < 1 || b < 1 || a > n || b > n || a == b) return false;
  eraseSelection();
  Change change(*this);
  design_.objects.swapCells(a, b, kColKind);
  return true;
}

void Editor::startInsertMode(int row) {
  state_.placing.InsertMode = true;
  state_.placing.insertRow = row >= 1 ? row : 1;
  if (view_) view_->guideText(kGuideInsertMode);
}

bool Editor::selectObjectRow(int row) {
  if (row < 1 || row > design_.objects.itemCount()) return false;
  eraseSelection();
  SelectionEntry entry = entryOf(row);
  // A command opens its dialog instead; it never enters the selection.
  if (entry.record.Kind == ObjectKind::Command) return false;
  addToSelection(std::move(entry));
  finishSelection();
  measureWorking();
  if (view_) {
    view_->pointerShape(PointerShape::Cross);
    view_->guideText(kGuideSelected);
    view_->objectPicked();
  }
  return true;
}

}  // namespace qf
