#pragma once

#include <string>

#include "document/design.h"
#include "document/object_record.h"
#include "page_view.h"
#include "surface.h"

namespace qf {

// Draws one object on a printed page: like the design window, but with the mask pen (overlaps
// darken), texts at their point size and pictures at their natural size.
void PrintObject(Surface& page, const WorkingRect& place, const ObjectRecord& object,
                 const Design& design, PictureStore& pictures);

// Prints the whole design on one page, walking the objects exactly as the design window's
// redraw does. Sets the printer to the design's paper, orientation and scale mode first.
// Returns false with a reason when the printer could not print.
bool PrintDesign(const Design& design, PrinterPort& printer, PictureStore& pictures,
                 std::string* error);

}  // namespace qf
