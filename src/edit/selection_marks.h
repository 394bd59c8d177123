#pragma once

#include <functional>
#include <utility>
#include <vector>

#include "document/design.h"
#include "edit/selection.h"
#include "view/renderer.h"

namespace qf {

// The selection as the page and the object list show it. Marks are drawn on the page by
// inverting its pixels, so taking them off is drawing the same marks again: what was drawn is
// kept until then, whatever the selection has become since. The list marks the selected rows
// in a column of its own, and only those.
class SelectionMarks {
 public:
  using Mark = std::pair<WorkingRect, MarkStyle>;
  // Draws one mark on the page; the same call a second time takes it off.
  using Toggle = std::function<void(const WorkingRect&, MarkStyle)>;

  bool shown() const { return shown_; }
  // The marks go on the page, unless they are on it already.
  void show(std::vector<Mark> marks, const Toggle& toggle);
  // The marks drawn come off the page.
  void hide(const Toggle& toggle);
  // The page was drawn afresh: no mark is on it any more.
  void forgetPage();
  // The list's column marks the selection's rows; the rows marked before and no longer
  // selected are cleared where they still exist.
  void syncRows(TextTable& objects, const Selection& selection);
  // The list was replaced whole: none of its rows carries a mark.
  void forgetRows() { markedRows_.clear(); }

 private:
  std::vector<Mark> drawn_;
  bool shown_ = false;
  std::vector<int> markedRows_;
};

// The marks a selection gets: each row's box as the list holds it now, the first of several
// (the layout tools' reference) marked apart.
std::vector<SelectionMarks::Mark> MarksOf(const TextTable& objects, const std::vector<int>& rows);

}  // namespace qf
