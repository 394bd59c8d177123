#pragma once

#include "barcode/barcode.h"
#include "document/object_record.h"
#include "document/typed_object.h"
#include "view/surface.h"

namespace qf {

// Draws a barcode as paper shows it, its digits at `pointSize` (the zoom applied); a value or
// box that cannot be printed draws the box crossed in red instead.
void DrawBarcode(Surface& s, const WorkingRect& box, const BarcodeObject& barcode,
                 int16_t scaleMode, double pointSize);
// ... a symbol placed already.
void DrawPlacedBarcode(Surface& s, const WorkingRect& box, const BarcodeDrawing& placed,
                       int32_t color, double pointSize);

}  // namespace qf
