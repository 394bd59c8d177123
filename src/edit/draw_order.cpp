#include "draw_order.h"

#include <algorithm>
#include <cstddef>

namespace qf {

namespace {

// One step of a segment: an object row, or a whole block (start to end) or a stray end that
// does not move.
struct Item {
  int first = 0;
  int end = 0;  // a block: the row of its end, 0 while it has none
  bool block = false;
  bool selected = false;
};

// The steps of one segment, in order. A block item's inner rows are segment `first`.
using Segment = std::vector<Item>;

void Reorder(OrderMove move, Segment::iterator begin, Segment::iterator end) {
  const auto chosen = [](const Item& i) { return i.selected; };
  switch (move) {
    case OrderMove::ToFront:
      std::stable_partition(begin, end, [&](const Item& i) { return !chosen(i); });
      break;
    case OrderMove::ToBack:
      std::stable_partition(begin, end, chosen);
      break;
    case OrderMove::Forward:
      // From the end, so a run of selected items climbs together and the last stays on top.
      for (auto i = end; i - begin > 1;) {
        --i;
        if (chosen(i[-1]) && !chosen(*i)) std::iter_swap(i - 1, i);
      }
      break;
    case OrderMove::Backward:
      for (auto i = begin; end - i > 1;) {
        ++i;
        if (chosen(*i) && !chosen(i[-1])) std::iter_swap(i - 1, i);
      }
      break;
  }
}

}  // namespace

std::vector<int> ReorderRows(OrderMove move, const std::vector<RowRole>& roles,
                             const std::vector<int>& selected) {
  const int n = static_cast<int>(roles.size());
  std::vector<char> isSelected(roles.size() + 1, 0);
  for (int r : selected) {
    if (r >= 1 && r <= n && roles[static_cast<size_t>(r - 1)] == RowRole::Object) {
      isSelected[static_cast<size_t>(r)] = 1;
    }
  }
  // Segments by the row of their block's start (0: outside any block); a stack instead of
  // recursion, as blocks may nest as deep as the list is long.
  std::vector<Segment> segments(roles.size() + 1);
  std::vector<std::pair<int, size_t>> open;  // a block's start row and its item in the parent
  const auto top = [&]() -> Segment& { return segments[open.empty() ? 0 : open.back().first]; };
  for (int r = 1; r <= n; ++r) {
    switch (roles[static_cast<size_t>(r - 1)]) {
      case RowRole::Object:
        top().push_back({r, 0, false, isSelected[static_cast<size_t>(r)] != 0});
        break;
      case RowRole::BlockStart: {
        Segment& parent = top();
        parent.push_back({r, 0, true, false});
        open.emplace_back(r, parent.size() - 1);
        break;
      }
      case RowRole::BlockEnd:
        if (open.empty()) {
          top().push_back({r, 0, true, false});  // an end without a start stays where it is
        } else {
          const size_t item = open.back().second;
          open.pop_back();
          top()[item].end = r;
        }
        break;
    }
  }
  for (Segment& s : segments) {
    if (s.empty() || std::none_of(s.begin(), s.end(), [](const Item& i) { return i.selected; })) {
      continue;
    }
    // A block never closed holds every row after its start: nothing may pass it, or it would
    // enter the block.
    const Item& last = s.back();
    const bool unclosed = last.block && last.end == 0 &&
                          roles[static_cast<size_t>(last.first - 1)] == RowRole::BlockStart;
    Reorder(move, s.begin(), unclosed ? s.end() - 1 : s.end());
  }
  // Written out: a block's start, its own segment, its end (when it has one).
  std::vector<int> order;
  order.reserve(roles.size());
  struct Frame {
    int segment;
    size_t next;
    int end;  // the row that closes the block, 0 when none is written
  };
  std::vector<Frame> walk{{0, 0, 0}};
  while (!walk.empty()) {
    Frame& f = walk.back();
    const Segment& s = segments[static_cast<size_t>(f.segment)];
    if (f.next == s.size()) {
      if (f.end != 0) order.push_back(f.end);
      walk.pop_back();
      continue;
    }
    const Item item = s[f.next++];
    order.push_back(item.first);
    if (item.block && roles[static_cast<size_t>(item.first - 1)] == RowRole::BlockStart) {
      walk.push_back({item.first, 0, item.end});
    }
  }
  return order;
}

RowDrag DragRow(const std::vector<RowRole>& roles, int from, int to) {
  const int n = static_cast<int>(roles.size());
  RowDrag result;
  if (from < 1 || from > n || to < 1 || to > n + 1) {
    result.refused = "その行はありません。";
    return result;
  }
  // The block each row stands in (its start row; 0: none), and where each block ends (n when
  // it is never closed).
  std::vector<int> inside(static_cast<size_t>(n) + 2, 0);
  std::vector<int> endOf(static_cast<size_t>(n) + 1, 0);
  std::vector<int> open;
  for (int r = 1; r <= n; ++r) {
    const RowRole role = roles[static_cast<size_t>(r - 1)];
    if (role == RowRole::BlockEnd && !open.empty()) {
      // The gap before an end lies in the block it closes; the end itself stands in it too.
      inside[static_cast<size_t>(r)] = open.back();
      endOf[static_cast<size_t>(open.back())] = r;
      open.pop_back();
      continue;
    }
    inside[static_cast<size_t>(r)] = open.empty() ? 0 : open.back();
    if (role == RowRole::BlockStart) open.push_back(r);
  }
  for (int start : open) endOf[static_cast<size_t>(start)] = n;
  inside[static_cast<size_t>(n) + 1] = open.empty() ? 0 : open.back();

  const RowRole role = roles[static_cast<size_t>(from - 1)];
  if (role == RowRole::BlockEnd) {
    result.refused = "ブロックの終わりは始まりと一緒に動きます。始まりの行をドラッグしてください。";
    return result;
  }
  const int last = role == RowRole::BlockStart ? endOf[static_cast<size_t>(from)] : from;
  // The gap before row `to` stands in the block of row `to`, unless `to` opens a block: then
  // the gap is outside it, where the start stands.
  const int gap = inside[static_cast<size_t>(to)];
  const bool ownGap = to >= from && to <= last + 1;
  // A block never closed holds every row after its start: moved, it would take in the rows
  // it passed.
  const bool unclosed =
      role == RowRole::BlockStart && std::find(open.begin(), open.end(), from) != open.end();
  if (unclosed && !ownGap) {
    result.refused = "終わりのないブロックは動かせません。";
    return result;
  }
  if (!ownGap && gap != inside[static_cast<size_t>(from)]) {
    result.refused = role == RowRole::BlockStart
                         ? "ブロックはほかのブロックの中へも外へも動かせません。"
                         : "オブジェクトは繰り返しブロックの中へも外へも動かせません。";
    return result;
  }
  result.order.reserve(static_cast<size_t>(n));
  for (int r = 1; r <= n + 1; ++r) {
    if (r == to && !ownGap) {
      for (int m = from; m <= last; ++m) result.order.push_back(m);
    }
    if (r <= n && (r < from || r > last || ownGap)) result.order.push_back(r);
  }
  return result;
}

}  // namespace qf
