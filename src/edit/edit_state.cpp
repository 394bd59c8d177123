#include "edit_state.h"

#include "document/object_rows.h"

namespace qf {

void EditState::ResetEditState() {
  placing.DialogAccepted = false;
  placing.InsertMode = false;
  placing.NewObject = false;
  placing.AddPending = false;
  pointer.grab = GrabKind::None;
  pointer.ButtonDown = false;
  pointer.MoveActive = false;
  pointer.SelectionList.clear();
}

int StoreWorkingObject(TextTable& objects, EditState& state, int index) {
  PlacementState& p = state.placing;
  const Extent& measured = p.working.Kind == ObjectKind::Picture ? p.pictureExtent : p.textExtent;
  if (p.NewObject) {
    p.working.Layer = p.currentLayer;
    const int at = p.InsertMode ? (p.insertRow < 1 ? 1 : p.insertRow) : 0;
    return AddObject(objects, p.working, p.rect, measured, p.currentLayer, at);
  }
  const auto& list = state.pointer.SelectionList;
  if (index < 1 || index > static_cast<int>(list.size())) return 0;
  const int row = list[static_cast<size_t>(index - 1)].row;
  return RewriteObject(objects, row, p.working, p.rect, measured) ? row : 0;
}

void MeasureWorkingText(PlacementState& p, const TextMeasurer& measurer, int16_t scaleMode) {
  p.textExtent = MeasureText(measurer, p.working, scaleMode);
}

void LoadWorkingPicture(PlacementState& p, const PictureSizer& sizer, int16_t scaleMode) {
  p.pictureExtent = MeasurePicture(sizer, p.working.Text, scaleMode);
}

}  // namespace qf
