#pragma once

#include <string>
#include <string_view>

#include "document/design.h"
#include "document/names.h"

namespace qf {

// The code window's rules for the cells of an object row.

// Whether a cell of an object row is edited in place (by its kind as the cell names it).
bool IsEditableObjectCell(const TextTable& objects, int row, int col);
// The text an edit or paste writes into a cell of an object of `kind`: the value as the design
// reads it (coordinates in "###0.000", sizes, colours and layers as numbers), so the cell shows
// what the file will read back; other cells as typed.
std::string ObjectCellText(ObjectKind kind, int col, std::string_view text);

}  // namespace qf
