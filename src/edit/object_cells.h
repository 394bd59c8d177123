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

// Why a value typed or pasted into a cell of an object of `kind` is refused, or nothing when it
// is taken. A number cell refuses a text that starts with no number (the file's tolerant reading
// would make it 0 without a word); a text, file name, loop variable or number refuses to be
// emptied. A label, a text's field and a box's radius may be emptied: empty means none there.
enum class CellRefusal { None, Empty, NotANumber };
CellRefusal RefuseObjectCell(ObjectKind kind, int col, std::string_view text);

}  // namespace qf
