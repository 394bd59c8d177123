#include "edit/draw_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <numeric>
#include <random>
#include <string>

#include "editing_fixture.h"
#include "support/design_builder.h"

namespace qf {
namespace {

constexpr RowRole O = RowRole::Object;
constexpr RowRole S = RowRole::BlockStart;
constexpr RowRole E = RowRole::BlockEnd;
using Rows = std::vector<int>;

// The start row of the innermost block around each row (0 outside any), rows named as in
// `order` (entry i is the row standing at i + 1).
std::vector<int> EnclosingBlocks(const std::vector<RowRole>& roles, const Rows& order) {
  std::vector<int> enclosing(roles.size() + 1), open;
  for (int original : order) {
    const RowRole role = roles[static_cast<size_t>(original - 1)];
    if (role == E && !open.empty()) open.pop_back();
    enclosing[static_cast<size_t>(original)] = open.empty() ? 0 : open.back();
    if (role == S) open.push_back(original);
  }
  return enclosing;
}

// Worked out by hand on A s B C e D (rows 1–6): a block inside is passed as one step.
TEST(DrawOrder, MovesWithinItsBlock) {
  const std::vector<RowRole> roles{O, S, O, O, E, O};
  EXPECT_EQ(ReorderRows(OrderMove::ToFront, roles, {3}), (Rows{1, 2, 4, 3, 5, 6}));
  EXPECT_EQ(ReorderRows(OrderMove::ToFront, roles, {1}), (Rows{2, 3, 4, 5, 6, 1}));
  EXPECT_EQ(ReorderRows(OrderMove::Forward, roles, {1}), (Rows{2, 3, 4, 5, 1, 6}));
  EXPECT_EQ(ReorderRows(OrderMove::Backward, roles, {6}), (Rows{1, 6, 2, 3, 4, 5}));
  EXPECT_EQ(ReorderRows(OrderMove::ToBack, roles, {4, 6}), (Rows{6, 1, 2, 4, 3, 5}));
  EXPECT_EQ(ReorderRows(OrderMove::Backward, roles, {3}), (Rows{1, 2, 3, 4, 5, 6}));
  // Commands are never moved; the rows as they are.
  EXPECT_EQ(ReorderRows(OrderMove::ToFront, roles, {2, 5}), (Rows{1, 2, 3, 4, 5, 6}));
  // A run climbs together; selected objects keep their order.
  const std::vector<RowRole> flat{O, O, O, O};
  EXPECT_EQ(ReorderRows(OrderMove::Forward, flat, {1, 2}), (Rows{3, 1, 2, 4}));
  EXPECT_EQ(ReorderRows(OrderMove::Forward, flat, {1, 4}), (Rows{2, 1, 3, 4}));
  EXPECT_EQ(ReorderRows(OrderMove::Backward, flat, {1, 3}), (Rows{1, 3, 2, 4}));
  EXPECT_EQ(ReorderRows(OrderMove::ToBack, flat, {4, 2}), (Rows{2, 4, 1, 3}));
  // A block never closed holds every row after its start: nothing passes it.
  EXPECT_EQ(ReorderRows(OrderMove::ToFront, {O, S, O, O}, {1}), (Rows{1, 2, 3, 4}));
  EXPECT_EQ(ReorderRows(OrderMove::ToFront, {O, O, S, O}, {1}), (Rows{2, 1, 3, 4}));
  // An end without a start stays where it is and is passed.
  EXPECT_EQ(ReorderRows(OrderMove::ToFront, {O, E, O}, {1}), (Rows{2, 3, 1}));
}

// Over random lists with nested, unclosed and stray commands: a permutation; no row changes its
// block; commands keep their order, and so do the unselected objects and the selected ones of
// one block; front
// and back are idempotent; a move forward then back restores a lone object not on top.
TEST(DrawOrder, PropertiesOverRandomLists) {
  std::mt19937 rng(18);
  for (int round = 0; round < 2000; ++round) {
    const int n = 1 + static_cast<int>(rng() % 14);
    std::vector<RowRole> roles;
    for (int i = 0; i < n; ++i) {
      const auto k = rng() % 6;
      roles.push_back(k == 0 ? S : k == 1 ? E : O);
    }
    Rows selected;
    for (int r = 1; r <= n; ++r) {
      if (rng() % 3 == 0) selected.push_back(r);
    }
    Rows identity(static_cast<size_t>(n));
    for (int r = 1; r <= n; ++r) identity[static_cast<size_t>(r - 1)] = r;
    const auto before = EnclosingBlocks(roles, identity);
    const auto isSelectedObject = [&](int r) {
      return roles[static_cast<size_t>(r - 1)] == O &&
             std::find(selected.begin(), selected.end(), r) != selected.end();
    };
    for (OrderMove move :
         {OrderMove::ToFront, OrderMove::ToBack, OrderMove::Forward, OrderMove::Backward}) {
      const Rows order = ReorderRows(move, roles, selected);
      Rows sorted = order;
      std::sort(sorted.begin(), sorted.end());
      ASSERT_EQ(sorted, identity);
      EXPECT_EQ(EnclosingBlocks(roles, order), before);
      std::vector<std::function<bool(int)>> kept{
          [&](int r) { return roles[static_cast<size_t>(r - 1)] != O; },
          [&](int r) { return roles[static_cast<size_t>(r - 1)] == O && !isSelectedObject(r); }};
      for (int block : before) {  // the selected, among those of one block
        kept.push_back([&, block](int r) {
          return isSelectedObject(r) && before[static_cast<size_t>(r)] == block;
        });
      }
      for (const auto& keeps : kept) {
        Rows seq;
        std::copy_if(order.begin(), order.end(), std::back_inserter(seq), keeps);
        EXPECT_TRUE(std::is_sorted(seq.begin(), seq.end()));
      }
      if (move == OrderMove::ToFront || move == OrderMove::ToBack) {
        Rows newPlaces;  // the selected objects at their new rows
        for (int i = 0; i < n; ++i) {
          if (isSelectedObject(order[static_cast<size_t>(i)])) newPlaces.push_back(i + 1);
        }
        std::vector<RowRole> newRoles;
        for (int r : order) newRoles.push_back(roles[static_cast<size_t>(r - 1)]);
        EXPECT_EQ(ReorderRows(move, newRoles, newPlaces), identity);
      }
    }
    const int lone = 1 + static_cast<int>(rng() % n);
    const Rows up = ReorderRows(OrderMove::Forward, roles, {lone});
    if (up != identity) {
      std::vector<RowRole> upRoles;
      for (int r : up) upRoles.push_back(roles[static_cast<size_t>(r - 1)]);
      const int at = static_cast<int>(std::find(up.begin(), up.end(), lone) - up.begin()) + 1;
      Rows back = ReorderRows(OrderMove::Backward, upRoles, {at});
      for (int& r : back) r = up[static_cast<size_t>(r - 1)];
      EXPECT_EQ(back, identity);
    }
  }
}

// In the editor: one step, the selection follows its objects, the block's rows stay its own.
// A row drag takes what keeps every row in the block it stood in: the row (a block with its
// start, end and all between) moved as one run to where it was dropped, every other row in its
// order. It refuses what would move a row across a block's edge, a block's end, and rows that
// are not there.
TEST(DrawOrder, RowDragsOverRandomLists) {
  std::mt19937 rng(26);
  int taken = 0;
  int refused = 0;
  for (int round = 0; round < 4000; ++round) {
    const int n = 1 + static_cast<int>(rng() % 9);
    std::vector<RowRole> roles(static_cast<size_t>(n));
    for (RowRole& r : roles) r = std::array{O, O, S, E}[rng() % 4];
    const int from = 1 + static_cast<int>(rng() % static_cast<unsigned>(n));
    const int to = 1 + static_cast<int>(rng() % static_cast<unsigned>(n + 1));
    const RowDrag drag = DragRow(roles, from, to);
    if (roles[static_cast<size_t>(from - 1)] == E) {
      EXPECT_FALSE(drag.refused.empty());
      continue;
    }
    // The run that moves: a start and rows up to its own end (the last row when none).
    int last = from;
    if (roles[static_cast<size_t>(from - 1)] == S) {
      int depth = 0;
      for (last = from; last <= n; ++last) {
        const RowRole r = roles[static_cast<size_t>(last - 1)];
        depth += r == S ? 1 : r == E ? -1 : 0;
        if (depth == 0) break;
      }
      last = std::min(last, n);
    }
    Rows same(static_cast<size_t>(n));
    std::iota(same.begin(), same.end(), 1);
    Rows moved;
    for (int r = 1; r <= n + 1; ++r) {
      if (r == to) {
        for (int m = from; m <= last; ++m) moved.push_back(m);
      }
      if (r <= n && (r < from || r > last)) moved.push_back(r);
    }
    if (to > from && to <= last + 1) moved = same;
    std::string rs;
    for (RowRole r : roles) rs += r == O ? 'O' : r == S ? 'S' : 'E';
    const std::string where = "round " + std::to_string(round) + " " + rs + " " +
                              std::to_string(from) + "->" + std::to_string(to);
    // Which end closes each start: a stray end must not come to close a block either.
    const auto closers = [&roles](const Rows& order) {
      std::vector<int> closer(roles.size() + 1), open;
      for (int original : order) {
        const RowRole role = roles[static_cast<size_t>(original - 1)];
        if (role == E && !open.empty()) {
          closer[static_cast<size_t>(open.back())] = original;
          open.pop_back();
        }
        if (role == S) open.push_back(original);
      }
      return closer;
    };
    if (EnclosingBlocks(roles, moved) == EnclosingBlocks(roles, same) &&
        closers(moved) == closers(same)) {
      EXPECT_EQ(drag.refused, "") << where;
      EXPECT_EQ(drag.order, moved) << where;
      ++taken;
    } else {
      EXPECT_NE(drag.refused, "") << where;
      EXPECT_TRUE(drag.order.empty()) << where;
      ++refused;
    }
  }
  EXPECT_GT(taken, 1000);
  EXPECT_GT(refused, 300);
  for (const auto& [from, to] : {std::pair{0, 1}, {3, 1}, {1, 0}, {1, 4}}) {
    EXPECT_NE(DragRow({O, O}, from, to).refused, "") << from << " " << to;
  }
  EXPECT_EQ(DragRow({O, O}, 1, 3).order, (Rows{2, 1}));
  EXPECT_EQ(DragRow({O, O}, 2, 1).order, (Rows{2, 1}));
}

TEST(DrawOrder, OneStepInTheEditor) {
  test::EditingFixture e;
  test::DesignBuilder b;
  b.box(1, 2, 3, 4, "0", "").repeat("i", true, 5, 2);
  b.box(11, 12, 13, 14, "0", "").box(21, 22, 23, 24, "0", "").end("i", true);
  b.box(31, 32, 33, 34, "0", "");
  e.design = b.design;
  e.loaded();
  EXPECT_FALSE(e.editor.canReorder());
  e.editor.selectRows({3, 1});
  ASSERT_TRUE(e.editor.reorder(OrderMove::ToFront));
  const auto x1s = [&] {
    Rows xs;
    for (int r = 1; r <= 6; ++r) xs.push_back(std::atoi(e.cell(r, kColX1).c_str()));
    return xs;
  };
  EXPECT_EQ(x1s(), (Rows{5, 21, 11, 5, 31, 1}));  // the commands' gaps
  EXPECT_EQ(e.cell(4, 0), "4");                   // row numbers stay in order
  EXPECT_EQ(e.editor.selectedRows(), (Rows{3, 6}));
  ASSERT_TRUE(e.editor.reorder(OrderMove::Backward));
  EXPECT_EQ(x1s(), (Rows{5, 11, 21, 5, 1, 31}));
  EXPECT_EQ(e.editor.selectedRows(), (Rows{2, 5}));
  ASSERT_TRUE(e.editor.undo());
  ASSERT_TRUE(e.editor.undo());
  EXPECT_EQ(x1s(), (Rows{1, 5, 11, 21, 5, 31}));
  EXPECT_FALSE(e.editor.canUndo());

  // A row dragged in the code window: the block by its start, as one step; into the block, or
  // its end alone, refused and nothing changed.
  e.editor.selectRows({6});
  ASSERT_TRUE(e.editor.moveObjectRow(2, 7));
  EXPECT_EQ(x1s(), (Rows{1, 31, 5, 11, 21, 5}));
  EXPECT_EQ(e.editor.selectedRows(), Rows{2});  // the selected box went along
  EXPECT_FALSE(e.editor.moveObjectRow(2, 4));
  EXPECT_FALSE(e.editor.moveObjectRow(6, 1));
  EXPECT_FALSE(e.editor.moveObjectRow(4, 4)) << "dropped where it was";
  EXPECT_EQ(x1s(), (Rows{1, 31, 5, 11, 21, 5}));
  ASSERT_TRUE(e.editor.moveObjectRow(5, 4));
  EXPECT_EQ(x1s(), (Rows{1, 31, 5, 21, 11, 5}));
  ASSERT_TRUE(e.editor.undo());
  ASSERT_TRUE(e.editor.undo());
  EXPECT_EQ(x1s(), (Rows{1, 5, 11, 21, 5, 31}));
  EXPECT_FALSE(e.editor.canUndo());
}

}  // namespace
}  // namespace qf
