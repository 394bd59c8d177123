#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "document/design.h"
#include "document/design_file.h"
#include "document/measure.h"
#include "edit/edit_state.h"
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
  // Undo, redo or Modified may have changed.
  virtual void historyChanged() = 0;
  // An object was picked from a list: the design window comes forward to show it.
  virtual void objectPicked() = 0;
  virtual void pointerShape(PointerShape /*shape*/) {}
  // The pointer's place (snapped) and the size of what is being dragged, in page units.
  virtual void pointerAt(double /*x*/, double /*y*/) {}
  virtual void dragSize(double /*dx*/, double /*dy*/) {}
  // The text that follows the pointer while a new text is dragged: its text, font at the zoom
  // and colour.
  virtual void prepareTextFeedback(const ObjectRecord& /*text*/) {}
  // The right button on the one selected object: the pop-up menu at the pointer.
  virtual void popupMenu() {}
};

// How deleting a layer row would end.
enum class LayerDeletion { Allowed, BaseLayer, NoRow };

// The one place through which the design changes. Every change of the object and layer lists
// goes through it and is one undo step; it decides Modified, keeps the editing state, and shows
// each change on the page by drawing again only the part that changed.
class Editor {
 public:
  Editor(Design& design, AppState& app, const ViewState& view, PictureStore& pictures,
         const Measurers& measurers);
  ~Editor();
  Editor(const Editor&) = delete;
  Editor& operator=(const Editor&) = delete;

  void attach(EditView* view) { view_ = view; }

  const Design& design() const { return design_; }
  EditState& state() { return state_; }
  const EditState& state() const { return state_; }
  int16_t currentLayer() const { return state_.placing.currentLayer; }
  const UndoHistory& history() const { return history_; }
  const PageIndex& pageIndex() const { return index_; }

  // --- The design as a whole
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
  // The page was drawn whole elsewhere (the first page, made while the windows were built).
  void pageDrawnElsewhere() { index_.forgetDamage(); }
  // Clears the editing state after erasing the selection's marks.
  void ResetEditState();

  // Writes the working object as one step: a new row when NewObject is set (in insert mode at
  // the insert position), otherwise the row of selection entry `index`. Returns the row.
  int storeWorkingObject(int index = 0);

  // --- Adding an object: its dialog has filled the working object
  // The working object waits for a drag in the design window (cross-hair, guide text).
  void beginAdd();
  // A waiting object is dropped (insert mode and the selection stay).
  void cancelAdd();
  // A command is stored at once, as one step (in insert mode at the insert position).
  int addCommand();
  // Rewrites a row from a record (a command edited in its dialog), as one step.
  bool rewriteRow(int row, const ObjectRecord& record);

  // --- The design window's pointer, in page units before snapping
  // The pointer snapped to the grid from the margins, when snapping is on.
  std::pair<double, double> SnapToGrid(double x, double y) const;
  void pointerPressed(double x, double y);  // left button
  void pointerMoved(double x, double y);
  void pointerReleased(double x, double y);  // left button
  // The right button: cancels a waiting object and clears the selection.
  void rightReleased();
  // The objects whose box has a corner (a line: an end) in the frame, on unlocked layers, become
  // the selection, their marks drawn and rows marked; returns how many.
  int SelectInFrame(const WorkingRect& frame);
  // The Delete key: the selected rows go, the highest first, as one step.
  bool deleteSelection();
  // Escape: a waiting object or a drag in progress is dropped and the selection cleared.
  void escape();
  // Which mark of the one selected object (or the inside of several's bounds) a raw pointer
  // position takes hold of.
  GrabKind HitTestSelection(double x, double y) const;
  GrabKind HitTestBlock(double x, double y) const;
  // The smallest and largest corners over every selected box.
  WorkingRect GetSelectionBounds() const;
  // Moves the selected objects by dx, dy as one step; they stay selected (the arrow keys).
  bool moveSelection(double dx, double dy);

  // --- The program's own object clipboard
  bool copySelection();
  bool cutSelection();
  // Adds the clipboard's objects two grid steps further right and down each time, selected;
  // they keep every attribute, their layer too.
  bool paste();
  size_t clipboardCount() const { return clipboard_.size(); }

  // --- Properties of the one selected object
  // The selected object rewritten with a dialog's result at its place, in its row and layer.
  bool rewriteSelected(const ObjectRecord& result);

  // --- The code window
  // Whether a cell of an object row is edited in place (by its kind).
  static bool IsEditableObjectCell(const TextTable& objects, int row, int col);
  // The text a committed edit writes: coordinates in "###0.000" when they are numbers.
  static std::string FormatObjectEdit(int col, std::string_view text);
  // A committed edit of the cell editor. False when nothing changed.
  bool commitObjectCell(int row, int col, std::string_view text);
  // Clipboard text pasted into a cell, whatever the column.
  bool pasteObjectCell(int row, int col, std::string_view text);
  bool deleteObjectRow(int row);
  bool swapObjectRows(int a, int b);
  // Insert mode on: new objects go to `row` (row 1 when none was chosen).
  void startInsertMode(int row);
  // A double-click: the row's object becomes the one selected. False for a command row or a
  // row that does not exist.
  bool selectObjectRow(int row);
  void clearSelection();

  // --- The layer window
  void chooseLayer(int row);
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

  bool replay(bool forward);
  void finishChange(bool changed);
  SelectionEntry entryOf(int row) const;
  void addToSelection(SelectionEntry entry);
  void selectRows(const std::vector<int>& rows);
  void finishSelection();
  void endMove(const WorkingRect& d);
  void shiftEntries(double dx, double dy);
  std::vector<SelectionEntry> takeSelection();
  int storeAt(int index, const WorkingRect& place);
  void drawFeedback(const WorkingRect& place, int kind, DrawObjectMode mode);
  int dragKind() const;
  void moveDrag(double x, double y);
  void showDragSize();
  void showDamage();
  void drawMarks(const std::optional<PageRect>& clip);
  // Draws an entry's marks, or erases them when they are drawn, and shows that part.
  void toggleMarks(const SelectionEntry& entry);
  // The working object's text measured, or its picture's size read, into the extents.
  void measureWorking();
  void eraseSelection();
  void keepCurrentLayer();
  void updateModified();
  RenderContext renderContext(Surface& surface);

  Design& design_;
  AppState& app_;
  const ViewState& viewState_;
  PictureStore& pictures_;
  Measurers measurers_;
  EditState state_;
  UndoHistory history_;
  PageIndex index_;
  EditView* view_ = nullptr;
  bool settingsChanged_ = false;      // page, grid or palette changed since the last save
  std::pair<double, double> last_{};  // the pointer at the drag's previous event, snapped
  WorkingRect bounds_;                // of a selection of several objects
  std::vector<ObjectRecord> clipboard_;
  // The selection's marks are on the page (not while its entries are being written back).
  bool marksShown_ = true;
};

}  // namespace qf
