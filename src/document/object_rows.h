#pragma once

#include "design.h"
#include "edit_session.h"
#include "measure.h"
#include "object_record.h"

namespace qf {

// Reads one object row into a record. Fields the kind does not carry are empty or 0, so a
// record reused for many rows never keeps values of an earlier row. Never fails.
ObjectRecord DecodeObjectRow(const TextTable& objects, int row);
void DecodeObjectRow(ObjectRecord& record, const TextTable& objects, int row);

// Writes the working object into the object list: into a new row when NewObject is set
// (inserted at insertRow in insert mode, else appended; the object takes the current layer),
// otherwise into the row of selection entry `index` (1-based). Returns the row written, 0 when
// the selection entry does not exist.
int StoreWorkingObject(TextTable& objects, EditSession& session, int index);

// Measures the working object's text, or loads its picture, into the session's extents in the
// page unit of scaleMode. An unreadable picture gives 0 x 0.
void MeasureWorkingText(EditSession& session, const TextMeasurer& measurer, int16_t scaleMode);
void LoadWorkingPicture(EditSession& session, const PictureSizer& sizer, int16_t scaleMode);

// The ellipse inscribed in X1,Y1-X2,Y2, in single precision: the radius is the half-axis of
// the longer side, aspect is height over width (1 for a rectangle with a side <= 0).
struct RingShape {
  float cx = 0;
  float cy = 0;
  float radius = 0;
  float aspect = 1;
};
RingShape RingGeometry(double x1, double y1, double x2, double y2);
inline RingShape RingGeometry(const ObjectRecord& r) {
  return RingGeometry(r.X1, r.Y1, r.X2, r.Y2);
}

}  // namespace qf
