#include "edit_state.h"

#include "document/object_rows.h"

namespace qf {

int StoreWorkingObject(TextTable& objects, WorkingObject& w, int16_t layer, int insertAt) {
  w.record.Layer = layer;
  return AddObject(objects, w.record, w.rect, w.measured(), layer, insertAt < 0 ? 0 : insertAt);
}

bool StoreWorkingObjectAt(TextTable& objects, const WorkingObject& w, int row) {
  return RewriteObject(objects, row, w.record, w.rect, w.measured());
}

void MeasureWorkingText(WorkingObject& w, const TextMeasurer& measurer, int16_t scaleMode) {
  w.textExtent = MeasureText(measurer, w.record, scaleMode);
}

void LoadWorkingPicture(WorkingObject& w, const PictureSizer& sizer, int16_t scaleMode) {
  w.pictureExtent = MeasurePicture(sizer, w.record.Text, scaleMode);
}

}  // namespace qf
