// The editor as a whole: commands and steps, the page and its marks, the design's settings.
#include "editor.h"

#include <algorithm>
#include <iterator>

#include "barcode/barcode.h"
#include "document/number_text.h"
#include "document/object_rows.h"
#include "document/typed_object.h"
#include "shell/ui_text.h"
#include "view/renderer.h"

namespace qf {

namespace {

constexpr std::string_view kGuideAdd[] = {
    "",
    "テキスト・オブジェクトの追加：ドラッグ＆ドロップで座標固定",
    "ライン・オブジェクトの追加：ドラッグ＆ドロップで座標固定",
    "ボックス・オブジェクトの追加：ドラッグ＆ドロップで座標固定",
    "画像・オブジェクトの追加：ドラッグ＆ドロップで座標固定",
    "",
    "リング・オブジェクトの追加：ドラッグ＆ドロップで座標固定",
    "バーコード・オブジェクトの追加：ドラッグ＆ドロップで座標固定",
};

// Why the one barcode of a selection cannot print (it is crossed in red on the page), or "".
std::string BarcodeGuide(const Design& design, int row) {
  const ObjectRecord o = DecodeObjectRow(design.objects, row);
  const ObjectBody body = BodyOf(o);
  const auto* barcode = std::get_if<BarcodeObject>(&body);
  if (!barcode) return {};
  const BarcodeDrawing drawn =
      PlaceBarcodeObject(*barcode, {o.X1, o.Y1, o.X2, o.Y2}, design.page.scaleMode);
  const auto* error = std::get_if<BarcodeError>(&drawn);
  return error ? "バーコードを印刷できません：" + error->reason : std::string();
}

}  // namespace

Editor::Editor(Design& design, const AppState& app, const ViewState& view, PictureStore& pictures,
               const Measurers& measurers)
    : design_(design),
      app_(app),
      viewState_(view),
      pictures_(pictures),
      measurers_(measurers),
      history_(design.objects, design.layers),
      index_(design, measurers.text, pictures),
      selection_(design.objects),
      insertAt_(design.objects, TrackedRows::OnRemove::KeepPlace),
      swapObjects_(design.objects),
      swapLayers_(design.layers) {}

Editor::~Editor() = default;

Editor::Command::Command(Editor& editor, bool endsDrag) : editor_(editor) {
  if (editor_.commandDepth_++ > 0) return;
  if (endsDrag) editor_.endDrag();
  editor_.hideMarks();
}

Editor::Command::~Command() {
  if (--editor_.commandDepth_ > 0) return;
  editor_.dropUneditable();
  editor_.showMarks();
  editor_.syncRowMarks();
  editor_.notifyWindows();
}

bool Editor::editable(int row) const {
  if (row < 1 || row > design_.objects.itemCount()) return false;
  // The layer as the object's record reads it.
  const int16_t layer =
      RoundToInt<int16_t>(NumericPrefix(design_.objects.cell(row, kColLayer))).value_or(0);
  return IsLayerVisible(design_.layers, layer) && !IsLayerLocked(design_.layers, layer);
}

void Editor::dropUneditable() {
  // A layer locked or hidden, or an object moved onto such a layer, takes its objects out of
  // the selection: no command may change what cannot be seen or picked.
  const std::vector<int>& rows = selection_.rows();
  std::vector<int> kept;
  std::copy_if(rows.begin(), rows.end(), std::back_inserter(kept),
               [this](int r) { return editable(r); });
  if (kept.size() != rows.size()) selection_.assign(kept);
}

RenderContext Editor::renderContext(Surface& surface) {
  // A text's feedback is taken off as it came (the label that follows the pointer): never by
  // printing it over in white, which would wipe what lies under it.
  return {surface, design_, viewState_, pictures_, true};
}

MarkCorners Editor::markCorners(int row) const {
  return MarkCornersOf(selectionBox(row), viewState_.markSize);
}

int Editor::insertRow() const {
  if (!insertMode_) return 0;
  return insertAt_.empty() ? 1 : insertAt_.rows().front();
}

std::string Editor::guide() const {
  if (swapWaiting(SwapList::Objects) || swapWaiting(SwapList::Layers)) {
    return std::string(kGuideSwap);
  }
  if (const WorkingObject* w = waitingObject()) {
    const auto kind = static_cast<size_t>(w->record.Kind);
    std::string text(kind < std::size(kGuideAdd) ? kGuideAdd[kind] : "");
    // An object on a layer that is hidden or locked would not be seen or could not be picked.
    const std::string layer = "ﾚｲﾔｰ" + std::to_string(currentLayer_);
    if (!IsLayerVisible(design_.layers, currentLayer_)) {
      text += "（" + layer + "は非表示です）";
    } else if (IsLayerLocked(design_.layers, currentLayer_)) {
      text += "（" + layer + "はﾛｯｸされています）";
    }
    return text;
  }
  if (selection_.size() == 1) {
    const std::string refused = BarcodeGuide(design_, selection_.rows().front());
    return refused.empty() ? std::string(kGuideSelected) : refused;
  }
  if (selection_.size() > 1) return std::string(kGuideBlock);
  return std::string(insertMode_ ? kGuideInsertMode : "");
}

void Editor::notifyWindows() {
  if (!view_) return;
  view_->guideText(guide());
  view_->pointerShape(waiting() || !selection_.empty() ? PointerShape::Cross
                                                       : PointerShape::Normal);
  view_->historyChanged();
}

void Editor::finishChange(bool changed) {
  if (!changed) return;
  ++revision_;
  keepCurrentLayer();
  showDamage();
}

void Editor::showDamage() {
  const PageIndex::Damage damage = index_.takeDamage(viewState_);
  Surface* surface = view_ ? view_->pageSurface() : nullptr;
  if (!surface) return;
  if (damage.full) {
    const bool shown = marks_.shown();
    hideMarks();
    RenderContext rc = renderContext(*surface);
    FullRedraw(rc);
    owed_.clear();
    index_.forgetDamage();
    view_->pageChanged(std::nullopt);
    if (shown) showMarks();
    return;
  }
  for (const PageRect& r : damage.rects) {
    RenderContext rc = renderContext(*surface);
    RedrawRegion(rc, index_, r);
    view_->pageChanged(r);
  }
}

void Editor::fullRedraw() {
  Command command(*this);
  Surface* surface = view_ ? view_->pageSurface() : nullptr;
  index_.forgetDamage();
  if (!surface) return;
  RenderContext rc = renderContext(*surface);
  FullRedraw(rc);
  owed_.clear();
  view_->pageChanged(std::nullopt);
}

void Editor::pageDrawnElsewhere(std::vector<PageRect> owed) {
  index_.forgetDamage();
  owed_ = std::move(owed);
  // The page is new: no marks or feedback are on it.
  marks_.forgetPage();
  abandonDrag();
}

void Editor::drawOwed(const std::optional<PageRect>& within) {
  Surface* surface = view_ ? view_->pageSurface() : nullptr;
  if (!surface || owed_.empty()) return;
  const bool shown = marks_.shown();
  hideMarks();
  std::vector<PageRect> later;
  for (const PageRect& r : owed_) {
    const PageRect part = within ? r.intersected(*within) : r;
    if (within && !within->contains(r)) later.push_back(r);  // drawn again whole then
    if (part.empty()) continue;
    RenderContext rc = renderContext(*surface);
    RedrawRegion(rc, index_, part);
    view_->pageChanged(part);
  }
  owed_ = std::move(later);
  if (shown) showMarks();
}

void Editor::toggleMarks(const WorkingRect& box, MarkStyle style) {
  Surface* surface = view_ ? view_->pageSurface() : nullptr;
  if (!surface) return;
  DrawSelectionMarks(*surface, viewState_, box, style);  // a second time they are gone
  const double m = 2 * viewState_.markSize;
  view_->pageChanged(NormalisedRect(box.x1, box.y1, box.x2, box.y2).grown(m, m));
}

void Editor::hideMarks() {
  marks_.hide([this](const WorkingRect& box, MarkStyle style) { toggleMarks(box, style); });
}

void Editor::showMarks() {
  // Without a page the marks count as shown, none drawn: the next page is drawn afresh.
  std::vector<SelectionMarks::Mark> marks;
  if (view_ && view_->pageSurface()) marks = MarksOf(design_.objects, selection_.rows());
  marks_.show(std::move(marks),
              [this](const WorkingRect& box, MarkStyle style) { toggleMarks(box, style); });
}

void Editor::syncRowMarks() {
  marks_.syncRows(design_.objects, selection_);
}

WorkingObject Editor::working(const ObjectRecord& record, const WorkingRect& place) const {
  WorkingObject w;
  w.record = record;
  w.rect = place;
  measure(w);
  return w;
}

void Editor::measure(WorkingObject& w) const {
  const int16_t unit = design_.page.scaleMode;
  if (w.record.Kind == ObjectKind::Text) MeasureWorkingText(w, measurers_.text, unit);
  if (w.record.Kind == ObjectKind::Picture) LoadWorkingPicture(w, measurers_.picture, unit);
}

int Editor::storeNew(WorkingObject& w) {
  const int row = StoreWorkingObject(design_.objects, w, currentLayer_, insertRow());
  if (row > 0) RenumberRows(design_.objects, row);
  return row;
}

void Editor::ResetEditState() {
  Command command(*this);
  dropModes();
}

void Editor::dropModes() {
  dropWaiting();
  insertMode_ = false;
  insertAt_.clear();
  selection_.clear();
}

void Editor::keepCurrentLayer() {
  // New objects must land on a layer some row carries, or they would never be seen.
  const TextTable& layers = design_.layers;
  for (int r = 1; r <= layers.itemCount(); ++r) {
    if (NumericPrefix(layers.cell(r, kLayerNumber)) == currentLayer_) return;
  }
  const int base = layers.itemCount();
  currentLayer_ =
      base >= 1 ? RoundToInt<int16_t>(NumericPrefix(layers.cell(base, kLayerNumber))).value_or(1)
                : 1;
  if (view_) view_->layerStatus(currentLayer_);
}

bool Editor::undo() {
  return replay(false);
}

bool Editor::redo() {
  return replay(true);
}

bool Editor::replay(bool forward) {
  Command command(*this);
  if (!(forward ? history_.canRedo() : history_.canUndo())) return false;
  if (forward) {
    history_.redo();
  } else {
    history_.undo();
  }
  if (history_.firstMovedRow() > 0) RenumberRows(design_.objects, history_.firstMovedRow());
  // A step taken in another page unit brings back sizes measured in that unit.
  remeasureRows(&history_.replayedRows());
  finishChange(true);
  return true;
}

void Editor::markSaved() {
  history_.markSaved();
  settingsChanged_ = false;
  if (view_) view_->historyChanged();
}

void Editor::designLoaded(const LoadDecisions& decided) {
  Command command(*this);
  // The lists were replaced whole: nothing of the old design's state names a row of the new.
  dropModes();
  marks_.forgetRows();
  if (decided.currentLayer) currentLayer_ = *decided.currentLayer;
  history_.clear();
  history_.setStrict(true);
  ++revision_;
  keepCurrentLayer();
  if (view_) view_->layerStatus(currentLayer_);
  markSaved();
}

void Editor::newDesign() {
  Command command(*this);
  dropModes();
  {
    // A new design, not a change of the old one: no step to take back.
    UndoHistory::Unrecorded fresh(history_);
    design_.objects.clearItems();
    P_InitPalette(design_.palette);
    ResetToBaseLayer(design_.layers);
  }
  marks_.forgetRows();
  currentLayer_ = 1;
  history_.clear();
  history_.setStrict(true);
  ++revision_;
  keepCurrentLayer();
  if (view_) view_->layerStatus(currentLayer_);
  markSaved();
}

void Editor::settingsChanged() {
  settingsChanged_ = true;
  ++revision_;
}

void Editor::setPage(const PageSettings& page) {
  if (page == design_.page) return;
  Command command(*this);
  design_.page = page;
  // A step undone was made on the page before: redone now, it would write that page's sizes
  // over this one's.
  history_.dropRedo();
  // Texts and pictures are measured in the page unit: every stored size and every area is
  // measured again.
  remeasureRows(nullptr);
  index_.remeasureAll();
  settingsChanged();
}

void Editor::setGrid(const GridSettings& grid) {
  Command command(*this);
  if (!(grid == design_.grid)) {
    design_.grid = grid;
    settingsChanged();
  }
  fullRedraw();
}

void Editor::setPalette(const Palette& palette) {
  Command command(*this);
  if (palette != design_.palette) {
    design_.palette = palette;
    settingsChanged();
  }
  fullRedraw();
}

void Editor::beginAdd(const ObjectRecord& object) {
  Command command(*this);
  // A new object takes the place of the selection: rows are about to move under it.
  selection_.clear();
  mode_ = pointer::Waiting{working(object, {})};
  if (view_ && object.Kind == ObjectKind::Text) view_->prepareTextFeedback(object);
}

void Editor::cancelAdd() {
  Command command(*this);
  dropWaiting();
}

int Editor::addCommand(const ObjectRecord& command) {
  Command guard(*this);
  selection_.clear();
  WorkingObject w = working(command, {});
  int row = 0;
  {
    Change change(*this);
    row = storeNew(w);
  }
  insertMode_ = false;
  if (app_.autoRedraw) fullRedraw();
  return row;
}

int Editor::addObject(const ObjectRecord& object, const WorkingRect& place) {
  Command command(*this);
  WorkingObject w = working(object, place);
  int row = 0;
  {
    Change change(*this);
    row = storeNew(w);
  }
  insertMode_ = false;
  return row;
}

bool Editor::rewriteRow(int row, const ObjectRecord& record) {
  if (row < 1 || row > design_.objects.itemCount()) return false;
  Command command(*this);
  const WorkingRect place{record.X1, record.Y1, record.X2, record.Y2};
  Change change(*this);
  RewriteObject(design_.objects, row, record, place, {});
  return true;
}

}  // namespace qf
