#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "document/design.h"
#include "document/object_record.h"
#include "page_barcodes.h"
#include "page_values.h"
#include "page_view.h"
#include "surface.h"

namespace qf {

// Draws one object on a printed page as the design window draws it, texts at their point size.
void PrintObject(Surface& page, const WorkingRect& place, const ObjectRecord& object,
                 const Design& design, PictureStore& pictures);

// Prints the whole design on one page, walking the objects exactly as the design window's
// redraw does. Sets the printer to the design's paper, orientation and scale mode first.
// Returns false with a reason when the printer could not print.
// `going`, when given, is asked every so many objects of a long page (a moment to show progress);
// false stops the printing there, returning false. `underlay`, when given, draws on the page
// before its objects (an export's grid).
bool PrintDesign(const Design& design, PrinterPort& printer, PictureStore& pictures,
                 std::string* error, const std::function<bool()>& going = {},
                 const std::function<void(Surface&)>& underlay = {});

// Prints a text showing `value` instead of its literal text, placed as the generated program
// places a field: right and centre alignment by the difference of the two widths. The value is
// one line: its line breaks print as blanks.
void PrintValue(Surface& page, const WorkingRect& place, const ObjectRecord& text,
                std::string_view value);

// Prints one page with `values` standing in for texts, as one document; `going` and `underlay`
// as for PrintDesign.
bool PrintOnePage(const Design& design, PrinterPort& printer, PictureStore& pictures,
                  const PageValues& values, std::string* error,
                  const std::function<bool()>& going = {},
                  const std::function<void(Surface&)>& underlay = {});

// The first barcode of the page (with `values` standing in, when given) whose value cannot be
// encoded or whose box is too small for it; nothing is printed of such a page.
std::optional<BarcodeRefusal> RefusedBarcode(const Design& design, const PageValues* values);
// What the user is told of it: "行 3 のバーコード: …", with the field when a value was given.
std::string RefusalText(const BarcodeRefusal& refused);
// Whether the design has a barcode (with `fromField`, one that takes its value from a field).
bool HasBarcode(const Design& design, bool fromField = false);

// Prints one page for each set of values `next` gives, until it gives none, as one document.
// `next` is asked before each page, so it can also stop the printing (a cancel); false with a
// reason when the printer could not print, or nothing was given to print.
// `going` and `underlay` as for PrintDesign, `underlay` on every page.
bool PrintPages(const Design& design, PrinterPort& printer, PictureStore& pictures,
                const std::function<const PageValues*()>& next, std::string* error,
                const std::function<bool()>& going = {},
                const std::function<void(Surface&)>& underlay = {});

}  // namespace qf
