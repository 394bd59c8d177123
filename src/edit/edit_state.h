#pragma once

#include <cstdint>
#include <utility>

#include "document/design.h"
#include "document/measure.h"
#include "document/object_record.h"
#include "edit/selection.h"

namespace qf {

// An object with the place it is written to and the sizes measured for it: the working object
// of placing, moving and rewriting. Each use makes its own; none is shared.
struct WorkingObject {
  ObjectRecord record;
  WorkingRect rect;   // a line, box or ring spans it; a text or picture stands at its second point
  Extent textExtent;  // of the text, as last measured
  Extent pictureExtent;  // of the picture, as last loaded (0 x 0 when unreadable)

  const Extent& measured() const {
    return record.Kind == ObjectKind::Picture ? pictureExtent : textExtent;
  }
};

// Writes the working object into a new row on `layer`: inserted at `insertAt` (1 and up), or
// appended when insertAt is 0. Returns the row.
int StoreWorkingObject(TextTable& objects, WorkingObject& w, int16_t layer, int insertAt);
// Writes it over an existing row, in the record's layer. False when the row does not exist.
bool StoreWorkingObjectAt(TextTable& objects, const WorkingObject& w, int row);

// Measures the working object's text, or loads its picture, into the extents in the page unit
// of scaleMode.
void MeasureWorkingText(WorkingObject& w, const TextMeasurer& measurer, int16_t scaleMode);
void LoadWorkingPicture(WorkingObject& w, const PictureSizer& sizer, int16_t scaleMode);

// What the left button is doing in the design window.
enum class Gesture {
  Idle,     // not down (an object may be waiting to be placed)
  Framing,  // dragging a block frame
  Placing,  // dragging the waiting object into place
  Moving,   // dragging the selection by a mark or by the inside of its bounds
};

// One drag, from press to release. What it moves is read from the list at the press; nothing
// else changes the list until the drag ends or is cancelled.
struct Drag {
  Gesture gesture = Gesture::Idle;
  GrabKind grab = GrabKind::None;
  WorkingRect rect;                // the feedback now
  std::pair<double, double> last;  // the pointer at the previous event, snapped
  WorkingRect bounds;              // of a multiple selection, at the press
  WorkingObject moving;            // the one object being moved or resized
  int kind = 0;                    // what the feedback draws (an object kind, or the frame)
  bool textEraseBlocked = false;   // erasing a text does not overprint it in white
};

}  // namespace qf
