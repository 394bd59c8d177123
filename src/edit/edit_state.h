#pragma once

#include <cstdint>
#include <vector>

#include "document/design.h"
#include "document/measure.h"
#include "document/object_record.h"
#include "view/renderer.h"

namespace qf {

// What a press in the design window took hold of.
enum class GrabKind : int {
  None = 0,          // nothing: the drag draws a block frame, or places the waiting object
  FirstCorner = 1,   // the mark outside the first corner of the one selected object
  SecondCorner = 2,  // the mark outside its second corner
  Centre = 3,        // the dot at its centre: the whole object moves
  Block = 9,         // the inside of a multiple selection's bounds: all of it moves
};

// One selected object of the design window.
struct SelectionEntry {
  int row = 0;          // object row
  ObjectRecord record;  // decoded row, X1..Y2 set to its selection box
  MarkCorners marks{};  // top-left corners of its three marks, for hit testing

  WorkingRect box() const { return {record.X1, record.Y1, record.X2, record.Y2}; }
};

// What placing or rewriting an object needs: the working object with the rectangle it goes to,
// the sizes last measured for it, and where new objects go.
struct PlacementState {
  ObjectRecord working;
  WorkingRect rect;
  Extent textExtent;     // of the working object's text, as last measured
  Extent pictureExtent;  // of its picture, as last loaded (0 x 0 when unreadable)
  int16_t currentLayer = 1;
  int insertRow = 0;  // the code window's current row: where insert mode puts new rows

  bool NewObject = false;       // the working object makes a new row
  bool InsertMode = false;      // new rows go to insertRow instead of the end
  bool AddPending = false;      // the working object waits to be placed by a drag
  bool DialogAccepted = false;  // the last property dialog ended with OK
};

// The pointer's state in the design window and the selection.
struct PointerState {
  bool ButtonDown = false;
  bool MoveActive = false;  // a mark was grabbed: the selection is being moved or resized
  GrabKind grab = GrabKind::None;
  std::vector<SelectionEntry> SelectionList;
  bool TextEraseBlocked = false;  // erasing a text does not overprint it in white
};

struct EditState {
  PlacementState placing;
  PointerState pointer;

  // Clears the editing flags and the selection in one step. Marks on the page are the caller's
  // to erase first.
  void ResetEditState();
};

// Writes the working object into the object list: into a new row when NewObject is set
// (inserted at insertRow in insert mode, at the top when no row was chosen, else appended; the
// object takes the current layer), otherwise into the row of selection entry `index`
// (1-based). Returns the row written, 0 when the selection entry does not exist.
int StoreWorkingObject(TextTable& objects, EditState& state, int index);

// Measures the working object's text, or loads its picture, into the extents in the page unit
// of scaleMode.
void MeasureWorkingText(PlacementState& placing, const TextMeasurer& measurer, int16_t scaleMode);
void LoadWorkingPicture(PlacementState& placing, const PictureSizer& sizer, int16_t scaleMode);

}  // namespace qf
