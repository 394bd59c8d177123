#include "edit/selection_marks.h"

namespace qf {

void SelectionMarks::show(std::vector<Mark> marks, const Toggle& toggle) {
  if (shown_) return;
  shown_ = true;
  for (const auto& [box, style] : marks) toggle(box, style);
  drawn_ = std::move(marks);
}

void SelectionMarks::hide(const Toggle& toggle) {
  if (!shown_) return;
  shown_ = false;
  for (const auto& [box, style] : drawn_) toggle(box, style);
  drawn_.clear();
}

void SelectionMarks::forgetPage() {
  drawn_.clear();
  shown_ = false;
}

void SelectionMarks::syncRows(TextTable& objects, const Selection& selection) {
  for (int r : markedRows_) {
    if (r >= 1 && r <= objects.itemCount() && !selection.contains(r)) MarkRow(objects, r, false);
  }
  for (int r : selection.rows()) MarkRow(objects, r, true);
  markedRows_ = selection.rows();
}

std::vector<SelectionMarks::Mark> MarksOf(const TextTable& objects, const std::vector<int>& rows) {
  std::vector<SelectionMarks::Mark> marks;
  marks.reserve(rows.size());
  for (int row : rows) {
    const MarkStyle style =
        rows.size() > 1 && row == rows.front() ? MarkStyle::Reference : MarkStyle::Selected;
    marks.emplace_back(SelectionBox(objects, row), style);
  }
  return marks;
}

}  // namespace qf
