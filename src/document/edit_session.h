#pragma once

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "object_record.h"

namespace qf {

// One selected object of the design window.
struct SelectionEntry {
  int row = 0;          // object row
  ObjectRecord record;  // decoded row, X1..Y2 set to its selection box
  // Top-left corners of the three selection marks, for hit testing.
  std::array<std::pair<double, double>, 3> marks{};
};

// The editing state of one open design: the working object with its working rectangle, the
// extents last measured for it, the selection and the editing flags.
struct EditSession {
  ObjectRecord working;
  WorkingRect rect;
  Extent textExtent;     // of the working object's text, as last measured
  Extent pictureExtent;  // of the working object's picture, as last loaded (0 x 0 if unreadable)

  bool NewObject = false;
  bool InsertMode = false;
  int insertRow = 0;  // the code window's current row: where insert mode puts new rows
  int16_t currentLayer = 1;

  bool DialogAccepted = false;
  bool AddPending = false;
  bool ButtonDown = false;
  bool MoveActive = false;
  bool TextEraseBlocked = false;
  int GrabKind = 0;
  std::vector<SelectionEntry> SelectionList;

  // Clears the editing flags and the selection in one step. Selection marks on screen are the
  // caller's to erase first.
  void ResetEditState() {
    DialogAccepted = false;
    InsertMode = false;
    GrabKind = 0;
    NewObject = false;
    AddPending = false;
    ButtonDown = false;
    MoveActive = false;
    SelectionList.clear();
  }
};

}  // namespace qf
