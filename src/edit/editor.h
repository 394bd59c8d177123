#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "document/design.h"
#include "document/design_file.h"
#include "document/measure.h"
#include "edit/draw_order.h"
#include "edit/edit_state.h"
#include "edit/layout_tools.h"
#include "edit/object_clipboard.h"
#include "edit/selection.h"
#include "edit/selection_marks.h"
#include "edit/tracked_rows.h"
#include "edit/undo_history.h"
#include "shell/app_state.h"
#include "view/page_index.h"
#include "view/page_view.h"
#include "view/surface.h"

namespace qf {

// Pointer shapes of the design window.
enum class PointerShape { Normal = 0, Cross = 2, Busy = 11 };

// What the editor tells the windows that show the design. They draw nothing of the design
// themselves: the editor draws on the page surface and says which part of it changed.
class EditView {
 public:
  virtual ~EditView() = default;
  // The design window's page, or nullptr while there is none.
  virtual Surface* pageSurface() = 0;
  // Pixels of the page changed: inside `area`, or anywhere when there is none.
  virtual void pageChanged(const std::optional<PageRect>& area) = 0;
  virtual void guideText(std::string_view text) = 0;
  virtual void layerStatus(int16_t layer) = 0;
  // Undo, redo, Modified or the design itself may have changed.
  virtual void historyChanged() = 0;
  // An object was picked from a list: the design window comes forward to show it.
  virtual void objectPicked() = 0;
  // A command could not be carried out, and why (a row drag the block rules refuse).
  virtual void refused(std::string_view /*why*/) {}
  virtual void pointerShape(PointerShape /*shape*/) {}
  // The pointer's place (snapped) and the size of what is being dragged, in page units.
  virtual void pointerAt(double /*x*/, double /*y*/) {}
  virtual void dragSize(double /*dx*/, double /*dy*/) {}
  // The text that follows the pointer while a new text is dragged: its text, font at the zoom
  // and colour.
  virtual void prepareTextFeedback(const ObjectRecord& /*text*/) {}
  // The right button on the one selected object: the pop-up menu at the pointer.
  virtual void popupMenu() {}
  // The guides of a drag lined up with another object (none: no guides), shown over the page
  // until the next call; they are feedback, never drawn into the page.
  virtual void snapGuides(const std::optional<GuideLine>& /*down*/,
                          const std::optional<GuideLine>& /*across*/) {}
  // Objects just placed, moved or resized lie partly off the page: a passing word.
  virtual void offPageWarning(std::string_view /*text*/) {}
};

// The two lists a row exchange (入替) works on.
enum class SwapList { Objects, Layers };

// How deleting a layer row would end.
enum class LayerDeletion { Allowed, BaseLayer, NoRow };

// The one place through which the design changes. Every change of the object and layer lists
// goes through it and is one undo step; it decides Modified, owns the editing state (the
// selection, the object waiting to be placed, the insert position, the drag) and shows each
// change on the page by drawing again only the part that changed. Windows read its state and
// call its commands; none of them holds a copy of it.
//
// Each command first ends a drag in progress (its feedback erased), so no command ever meets a
// half-finished gesture; the pointer events are the commands of the design window.
class Editor {
 public:
  Editor(Design& design, const AppState& app, const ViewState& view, PictureStore& pictures,
         const Measurers& measurers);
  ~Editor();
  Editor(const Editor&) = delete;
  Editor& operator=(const Editor&) = delete;

  void attach(EditView* view) { view_ = view; }

  // --- What the windows read
  const Design& design() const { return design_; }
  const UndoHistory& history() const { return history_; }
  const PageIndex& pageIndex() const { return index_; }
  int16_t currentLayer() const { return currentLayer_; }
  // Selected rows, in the order they were chosen.
  const std::vector<int>& selectedRows() const { return selection_.rows(); }
  // A selected row's box and marks as the list and the view give them now.
  WorkingRect selectionBox(int row) const { return SelectionBox(design_.objects, row); }
  MarkCorners markCorners(int row) const;
  // The bounds of a multiple selection.
  WorkingRect GetSelectionBounds() const { return BoundsOf(design_.objects, selection_.rows()); }
  bool insertMode() const { return insertMode_; }
  // Where insert mode puts the next new row (0 when insert mode is off).
  int insertRow() const;
  // An object waits to be placed by a drag (or is being dragged into place).
  bool waiting() const { return waitingObject() != nullptr; }
  Gesture gesture() const;
  size_t clipboardCount() const { return clipboard_.size(); }
  // Counts every change of the design (lists, page, grid, palette, a load or New): whatever was
  // made of the design at one count is out of date at another.
  uint64_t revision() const { return revision_; }
  // The guide text the state asks for.
  std::string guide() const;

  // --- The design as a whole
  // The design differs from its file: the history has moved from where it was saved, or the
  // page, grid or palette changed since.
  bool modified() const { return settingsChanged_ || !history_.atSaved(); }
  bool canUndo() const { return history_.canUndo(); }
  bool canRedo() const { return history_.canRedo(); }
  bool undo();
  bool redo();
  // The design was written to its file.
  void markSaved();
  // A design was read into the lists: its decisions taken over, the history starts afresh.
  void designLoaded(const LoadDecisions& decided);
  // File New: empty lists, the base layer alone and current, default palette, no history.
  void newDesign();
  // Page, grid or palette changed: Modified, and the page is drawn again whole.
  void setPage(const PageSettings& page);
  void setGrid(const GridSettings& grid);
  void setPalette(const Palette& palette);
  // The whole page drawn again: grid, every object, the selection's marks.
  void fullRedraw();
  // The page was drawn elsewhere (the first page, made while the windows were built), but for
  // the `owed` parts, which drawOwed draws.
  void pageDrawnElsewhere(std::vector<PageRect> owed = {});
  // Draws what is owed of the page: the parts that reach into `within`, or all of it.
  void drawOwed(const std::optional<PageRect>& within = std::nullopt);
  // Drops a drag, a waiting object, insert mode and the selection, marks erased first.
  void ResetEditState();

  // --- Adding an object: its dialog made it
  // The object waits for a drag in the design window (cross-hair, guide text); an object that
  // was waiting gives way to it.
  void beginAdd(const ObjectRecord& object);
  // A waiting object is dropped (insert mode and the selection stay).
  void cancelAdd();
  // A command is stored at once, as one step (in insert mode at the insert position).
  int addCommand(const ObjectRecord& command);
  // An object stored as a placing drag over `place` would store it, as one step.
  int addObject(const ObjectRecord& object, const WorkingRect& place);
  // Rewrites a row from a record (a command edited in its dialog), as one step.
  bool rewriteRow(int row, const ObjectRecord& record);

  // --- The design window's pointer, in page units before snapping
  // The pointer snapped to the grid from the margins, when snapping is on. A position on the
  // pixel a grid line is drawn on takes that line.
  std::pair<double, double> SnapToGrid(double x, double y) const;
  // The left button. With `extend` (Shift) nothing is taken hold of: a click adds the object
  // under the pointer to the selection or takes it out, a frame adds what it holds. A press and
  // release no farther apart than kClickSlopPx is a click: it selects the object drawn on top
  // there (objectAt), or drops the selection on empty page.
  void pointerPressed(double x, double y, bool extend = false);
  void pointerMoved(double x, double y);
  void pointerReleased(double x, double y, bool extend = false);
  static constexpr double kClickSlopPx = 3;
  // How near (in pixels) a dragged edge or centre comes to another object's before it snaps.
  static constexpr double kObjectSnapPx = 5;
  // The right button: ends a drag; otherwise the pop-up menu on one selected object, or the
  // waiting object and the selection dropped.
  void rightReleased();
  // The objects whose box has a corner (a line: an end) in the frame, on visible, unlocked
  // layers, become the selection (or, with `extend`, join it); returns how many are selected.
  int SelectInFrame(const WorkingRect& frame, bool extend = false);
  // The row of the object drawn on top at a point (within half a mark of it) on a visible,
  // unlocked layer: texts over figures, then the later in drawing order. 0 for none.
  int objectAt(double x, double y);
  // Ctrl+A: every object of the visible, unlocked layers, in drawing order.
  void selectAll();
  // Tab and Shift+Tab: the next (or previous) object in drawing order after the last one
  // chosen becomes the one selected, round from the end to the start. False with no object.
  bool stepSelection(bool forward);
  // The Delete key: the selected rows go, the highest first, as one step.
  bool deleteSelection();
  // Escape: a drag, a waiting object and the selection are dropped.
  void escape();
  // Which mark of the one selected object (or the inside of several's bounds) a raw pointer
  // position takes hold of.
  GrabKind HitTestSelection(double x, double y) const;
  GrabKind HitTestBlock(double x, double y) const;
  // Moves the selected objects by dx, dy as one step; they stay selected (the arrow keys).
  bool moveSelection(double dx, double dy);
  // The 配置 tools on the selected objects (commands aside), the first selected the reference;
  // one step, and they stay selected. False when too few are selected.
  bool arrange(LayoutTool tool);
  bool canArrange(LayoutTool tool) const;
  // The drawing-order tools on the selected objects (commands are never moved), each within its
  // own repeat block; one step, and they stay selected. False when no object is selected.
  bool reorder(OrderMove move);
  bool canReorder() const;
  // A double-click: the object drawn on top at a point (a line within half a mark of it), on a
  // visible, unlocked layer, becomes the one selected. False (the selection as it was) when
  // there is none or a drag is under way.
  bool pickObjectAt(double x, double y);
  // Rows become the selection (as a frame would choose them).
  void selectRows(const std::vector<int>& rows);
  // Shift+click and Ctrl+click: an object's row joins the selection, or leaves it when it was
  // in it. Nothing for a command or a row that does not exist.
  void toggleSelected(int row);
  void clearSelection();

  // --- The program's own object clipboard
  bool copySelection();
  bool cutSelection();
  // Adds the clipboard's objects two grid steps further right and down each time, selected;
  // they keep every attribute, their layer too.
  bool paste();

  // --- Properties of the one selected object
  // The selected object rewritten with a dialog's result at its place, in its row and layer.
  bool rewriteSelected(const ObjectRecord& result);

  // --- The code window
  // A committed edit of the cell editor. False when nothing changed, or when the value is
  // refused (RefuseObjectCell): the cell keeps its value and the status bar says why.
  bool commitObjectCell(int row, int col, std::string_view text);
  // Clipboard text pasted into a cell, whatever the column, refused as an edit is.
  bool pasteObjectCell(int row, int col, std::string_view text);
  bool deleteObjectRow(int row);
  bool swapObjectRows(int a, int b);
  // A row dragged to stand before row `to` (after the last: the count plus one), as one step,
  // by DragRow's rules; a drag those refuse changes nothing and the window is told why.
  bool moveObjectRow(int from, int to);
  // 入替 in the code or layer window: an exchange of the list waits for the next row clicked
  // (the guide says so). The row waiting follows its row while rows move; it is dropped when
  // its row goes. Nothing when an exchange of the list waits already or no row is chosen.
  void startSwap(SwapList list, int row);
  // A row of the list was clicked: a waiting exchange takes it (layers: never the base layer).
  // True when one was waiting.
  bool finishSwap(SwapList list, int row);
  bool swapWaiting(SwapList list) const { return swapRow(list).size() > 0; }
  // Insert mode on: new objects go to `row` (row 1 when none was chosen).
  void startInsertMode(int row);
  // A double-click: the row's object becomes the one selected. False for a command row or a
  // row that does not exist.
  bool selectObjectRow(int row);

  // --- The layer window
  void chooseLayer(int row);
  // The current layer by its number (a layer window taking back the choice of a click).
  void setCurrentLayer(int16_t number);
  // A layer's new name; a blank one is refused (the status bar says so) and changes nothing.
  bool renameLayer(int row, std::string_view name);
  bool pasteLayerCell(int row, int col, std::string_view text);
  // Adds a layer above `row` (row 1 when none is chosen); returns its row.
  int addLayer(int row);
  LayerDeletion checkLayerDeletion(int row) const;
  bool deleteLayer(int row);
  // Exchanges two layers; false (and nothing done) when either is the base layer.
  bool swapLayers(int a, int b);
  // View settings, not changes of the design: no undo step, no Modified.
  void toggleLock(int row);
  void toggleHide(int row);

 private:
  // One command: a drag in progress ends first and the marks come off the page; at its end
  // the page is shown as it now is, the marks go back for the selection as it now is, and the
  // windows hear of the state. Commands nest; the outermost does the work.
  class Command {
   public:
    explicit Command(Editor& editor, bool endsDrag = true);
    ~Command();
    Command(const Command&) = delete;
    Command& operator=(const Command&) = delete;

   private:
    Editor& editor_;
  };
  // One undo step: opened when made, closed and shown on the page when it ends.
  class Change {
   public:
    explicit Change(Editor& editor) : editor_(editor) { editor_.history_.begin(); }
    ~Change() { editor_.finishChange(editor_.history_.commit()); }
    Change(const Change&) = delete;
    Change& operator=(const Change&) = delete;

   private:
    Editor& editor_;
  };

  // Whether a row's object lies on a visible, unlocked layer: only those may be selected.
  bool editable(int row) const;
  void dropUneditable();
  bool replay(bool forward);
  void finishChange(bool changed);
  void settingsChanged();
  void showDamage();
  void hideMarks();
  void showMarks();
  void toggleMarks(const WorkingRect& box, MarkStyle style);
  void syncRowMarks();
  void notifyWindows();
  void keepCurrentLayer();
  RenderContext renderContext(Surface& surface);
  WorkingObject working(const ObjectRecord& record, const WorkingRect& place) const;
  void measure(WorkingObject& w) const;
  int storeNew(WorkingObject& w);
  void setSelection(const std::vector<int>& rows);
  // The texts measured from the cell that changed are measured again (a text's size, font,
  // flags or text; a picture's file).
  void remeasureRow(int row, int col);
  // The stored size of a text or picture row as measuring gives it in the page unit now.
  void remeasure(int row, const ObjectRecord& o);
  // ... for the rows given, or for every row; no undo step.
  void remeasureRows(const std::vector<int>* rows);
  TrackedRows& swapRow(SwapList list) {
    return list == SwapList::Objects ? swapObjects_ : swapLayers_;
  }
  const TrackedRows& swapRow(SwapList list) const {
    return list == SwapList::Objects ? swapObjects_ : swapLayers_;
  }
  // Says so when any of the rows lies partly off the page.
  void warnOffPage(const std::vector<int>& rows);
  // A blank layer name is refused, with the reason in the status bar.
  bool refuseEmptyLayerName(std::string_view name);

  // The pointer's state machine (editor_pointer.cpp).
  const WorkingObject* waitingObject() const;
  // The track of a drag under way, or nullptr.
  pointer::Track* track();
  const pointer::Track* track() const;
  bool dragging() const { return track() != nullptr; }
  // A waiting object gives way (not while it is dragged: commands end drags first).
  void dropWaiting();
  // The waiting object, insert mode and the selection dropped (a drag has ended before).
  void dropModes();
  // A drag under way stops, its feedback left as it is: a waiting object waits again.
  void abandonDrag();
  void endDrag();  // a drag in progress is dropped, its feedback erased
  void drawFeedback(const pointer::Track& shown, DrawObjectMode mode);
  // The edges a drag starting now can line up with.
  std::shared_ptr<const EdgeIndex> snapEdges() const;
  // Where a raw pointer position puts the drag: snapped to the grid or to other objects'
  // edges and centres, whichever is nearer; sets the track's guides.
  std::pair<double, double> dragPoint(double x, double y);
  // Stretches the track's guides to reach the feedback as it stands.
  void reachGuides();
  void moveDrag(double x, double y);
  void showDragSize();
  void finishPlacing(const WorkingObject& placed, const WorkingRect& place);
  // What each row of the object list is to the drawing order.
  std::vector<RowRole> rowRoles() const;
  // Rewrites the object list in a new order (entry i the row that goes to row i + 1) by
  // exchanges, which the selection follows.
  void applyOrder(const std::vector<int>& order);
  // The one object `one`, or (without it) every selected object as far as `bounds` moved.
  void finishMoving(const WorkingObject* one, const WorkingRect& place, const WorkingRect& bounds);
  // Whether the pointer at a raw position is still within the click slop of the press.
  bool withinClick(const pointer::Track& track, double x, double y) const;
  // A click at a raw position: the object there chosen alone, or (extend) added or taken out.
  void clickAt(double x, double y, bool extend);
  // The rows of visible, unlocked objects in drawing order, each once.
  std::vector<int> selectableRows() const;

  Design& design_;
  const AppState& app_;
  const ViewState& viewState_;
  PictureStore& pictures_;
  Measurers measurers_;
  UndoHistory history_;
  PageIndex index_;
  EditView* view_ = nullptr;

  Selection selection_;
  bool insertMode_ = false;
  TrackedRows insertAt_;     // the insert position, one row, while insert mode is on
  TrackedRows swapObjects_;  // the object row an exchange waits with, if one waits
  TrackedRows swapLayers_;   // ... the layer row
  int16_t currentLayer_ = 1;
  PointerMode mode_;
  ObjectClipboard clipboard_;

  SelectionMarks marks_;
  std::vector<PageRect> owed_;  // parts of the page not drawn yet (see pageDrawnElsewhere)

  int commandDepth_ = 0;
  bool settingsChanged_ = false;  // page, grid or palette changed since the last save
  uint64_t revision_ = 0;
};

}  // namespace qf
