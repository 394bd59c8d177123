#pragma once

#include <optional>
#include <string_view>

#include "design.h"
#include "measure.h"
#include "object_record.h"

namespace qf {

// Reads one object row into a record. Fields the kind does not carry are empty or 0, so a
// record reused for many rows never keeps values of an earlier row. Never fails.
ObjectRecord DecodeObjectRow(const TextTable& objects, int row);
void DecodeObjectRow(ObjectRecord& record, const TextTable& objects, int row);

// Adds an object as a new row on `layer`: inserted at `insertAt` (1..rowCount()), or appended
// when insertAt is 0. A line, box or ring spans `place`; a text or picture stands at its second
// point with `measured` as its width and height. Returns the new row.
int AddObject(TextTable& objects, ObjectRecord object, const WorkingRect& place,
              const Extent& measured, int16_t layer, int insertAt = 0);
// Writes an object over an existing row, placed as AddObject places it; its layer is the
// record's. Columns the kind does not use are left as they are. False when the row does not
// exist.
bool RewriteObject(TextTable& objects, int row, const ObjectRecord& object,
                   const WorkingRect& place, const Extent& measured);

// A text's size in its font, or a picture's natural size, in the page unit of scaleMode. An
// unreadable picture gives 0 x 0.
Extent MeasureText(const TextMeasurer& measurer, const ObjectRecord& text, int16_t scaleMode);
Extent MeasurePicture(const PictureSizer& sizer, std::string_view path, int16_t scaleMode);

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

// The palette entry a hatch code "0" to "5" picks; nullopt for any other code (a word pasted into
// the cell), which fills nothing.
inline std::optional<int> HatchPaletteIndex(std::string_view code) {
  if (code.size() != 1 || code[0] < '0' || code[0] > '5') return std::nullopt;
  return code[0] - '0';
}

}  // namespace qf
