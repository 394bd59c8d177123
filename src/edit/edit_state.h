#pragma once

#include <memory>
#include <optional>

#include <cstdint>
#include <utility>
#include <variant>

#include "document/design.h"
#include "document/measure.h"
#include "document/object_record.h"
#include "edit/object_snap.h"
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

// The pointer tool's mode: exactly one state at a time, each holding only what it needs, so a
// drag without its object or a waiting object beside a frame cannot be written.
namespace pointer {
// While the left button is down: the feedback now, the pointer (snapped) at the previous
// event, and where the button went down (not snapped), to tell a click from a drag.
struct Track {
  WorkingRect rect;
  std::pair<double, double> last;
  std::pair<double, double> pressed;
  // What a moved or placed object can line up with (none for a frame), and the guide lines
  // shown where it does.
  std::shared_ptr<const EdgeIndex> edges;
  std::optional<GuideLine> guideX;  // down the page at an x
  std::optional<GuideLine> guideY;  // across at a y
};
struct Idle {};
// An object a dialog made waits to be placed by a drag.
struct Waiting {
  WorkingObject object;
};
// ... and is being dragged into place.
struct Placing {
  WorkingObject object;
  Track track;
};
// A block frame is being dragged.
struct Framing {
  Track track;
};
// The one selected object, taken by a mark (read from the list at the press).
struct MovingOne {
  WorkingObject object;
  GrabKind grab;
  Track track;
};
// Several selected objects, taken inside their bounds (as they were at the press).
struct MovingBlock {
  WorkingRect bounds;
  Track track;
};
}  // namespace pointer
using PointerMode = std::variant<pointer::Idle, pointer::Waiting, pointer::Placing,
                                 pointer::Framing, pointer::MovingOne, pointer::MovingBlock>;

}  // namespace qf
