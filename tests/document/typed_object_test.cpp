#include "document/typed_object.h"

#include <gtest/gtest.h>

#include "document/cp932.h"
#include "document/design_file.h"
#include "document/object_rows.h"
#include "support/fake_measure.h"
#include "support/random_design.h"

namespace qf {
namespace {

// One object line of a file: the kind's code, then the coded fields; `text`, `style` and
// `align` are written as they stand (quotes and blanks included).
std::string ObjectLine(int kind, std::string_view text, std::string_view style,
                       std::string_view align = "0", std::string_view field = "\"\"") {
  return std::to_string(kind) + ",\"\",1,2,30,40," + std::string(text) + "," + std::string(field) +
         "," + std::string(style) + ",1,0,0,0,0," + std::string(align) + ",0,1\r\n";
}

// Codes read from a file, at both ends of each table and one past, with every blank the field
// reader takes off a field's start and end, come out as the kind's typed value.
TEST(TypedObjects, EachTableAtItsEndsAndOnePastThroughTheFile) {
  struct Case {
    int kind;
    std::string code;
    bool inStyle;  // the code stands in Style rather than Text (or Align for texts)
    ObjectBody expected;
  };
  const auto box = [](bool hatched, std::optional<int> palette) {
    return BoxObject{{hatched, palette}, "", 0, {0, 1}, 0};
  };
  const auto ring = [](bool hatched, std::optional<int> palette) {
    return RingObject{{hatched, palette}, {0, 1}, 0};
  };
  const auto line = [](int style) { return LineObject{{style, 1}, 0}; };
  const auto command = [](bool start, Direction d) { return CommandObject{start, "", d, 1, 1}; };
  const std::vector<Case> cases = {
      // A hatch past the palette reads as none (the grid shows no word for it).
      {3, "0", false, box(false, {})},
      {3, "1", false, box(true, 1)},
      {3, "5", false, box(true, 5)},
      {3, "6", false, box(false, {})},
      {3, "-1", false, box(false, {})},
      {6, "1", false, ring(true, 1)},
      {6, "5", false, ring(true, 5)},
      {6, "6", false, ring(false, {})},
      {2, "0", true, line(0)},
      {2, "4", true, line(4)},
      {2, "5", true, line(0)},
      {2, "-1", true, line(0)},
      {4, "0", true, PictureObject{"", false}},
      {4, "1", true, PictureObject{"", true}},
      {4, "2", true, PictureObject{"", true}},
      {5, "0", false, command(true, Direction::Down)},
      {5, "1", false, command(false, Direction::Down)},
      {5, "2", false, command(false, Direction::Down)},
      {5, "1", true, command(true, Direction::Across)},
      {5, "2", true, command(true, Direction::Across)},
  };
  const std::string_view blanks[][2] = {{"", ""}, {" ", " "}, {"\t", "\t"}, {" \t", "\t "}};
  for (const auto& [before, after] : blanks) {
    std::string file = "VERSION 2.05\r\n9,1,6,15,10,10,10,-1,5,5\r\n1Layer\r\n1,base\r\n";
    const std::vector<std::string_view> aligns = {"0", "2", "3", "-1"};
    file += std::to_string(cases.size() + aligns.size()) + "\r\n";
    const auto quoted = [&](std::string_view code) {
      return std::string(before) + "\"" + std::string(code) + "\"" + std::string(after);
    };
    for (const Case& c : cases) {
      const bool start = c.kind == 5 && c.inStyle;
      file += ObjectLine(c.kind, quoted(c.inStyle ? (start ? "0" : "") : c.code),
                         quoted(c.inStyle ? c.code : "0"));
    }
    for (std::string_view a : aligns) {
      file += ObjectLine(1, "\"t\"", "\"Arial\"",
                         std::string(before) + std::string(a) + std::string(after));
    }
    std::string bytes;
    ASSERT_TRUE(Utf8ToCp932(file, bytes).ok);
    Design d;
    test::FakeMeasurers measurers;
    ASSERT_TRUE(ParseDesign(bytes, d, measurers.get(), nullptr).ok());
    ASSERT_EQ(d.objects.itemCount(), static_cast<int>(cases.size() + aligns.size()));
    for (size_t i = 0; i < cases.size(); ++i) {
      ObjectBody got = BodyOf(DecodeObjectRow(d.objects, static_cast<int>(i) + 1));
      // Only what the table decides is compared: a command's gap and count, a box's size.
      if (auto* c = std::get_if<CommandObject>(&got)) *c = {c->start, "", c->direction, 1, 1};
      EXPECT_EQ(got, cases[i].expected)
          << "kind " << cases[i].kind << " code " << cases[i].code << " blank '" << before << "'";
    }
    const int16_t alignsRead[] = {0, 2, 0, 0};
    for (size_t i = 0; i < aligns.size(); ++i) {
      const int row = static_cast<int>(cases.size() + i) + 1;
      EXPECT_EQ(std::get<TextObject>(BodyOf(DecodeObjectRow(d.objects, row))).align, alignsRead[i])
          << aligns[i];
    }
  }
}

// Every record a design can hold: its body written back reads as the same body, and a row
// rewritten from it holds the same cells, so a dialog that edits the body loses nothing.
TEST(TypedObjects, BodiesWriteBackWhatTheyRead) {
  for (unsigned seed = 1; seed <= 40; ++seed) {
    test::RandomDesigns random(seed);
    Design d;
    const std::vector<int16_t> layers = random.layers(d);
    for (int k = 0; k <= 6; ++k) {
      const ObjectRecord record = random.record(static_cast<ObjectKind>(k), layers);
      const ObjectBody body = BodyOf(record);
      EXPECT_EQ(body.index(), static_cast<size_t>(k));
      ObjectRecord back = record;
      back.Text = "stale";
      back.Bold = -1;
      SetBody(back, body);
      EXPECT_EQ(BodyOf(back), body) << "seed " << seed << " kind " << k;
      if (k == 0) continue;
      TextTable rows = MakeObjectList();
      const int row =
          AddObject(rows, record, {record.X1, record.Y1, record.X2, record.Y2}, {}, record.Layer);
      TextTable rewritten = rows;
      ASSERT_TRUE(
          RewriteObject(rewritten, row, back, {record.X1, record.Y1, record.X2, record.Y2}, {}));
      EXPECT_EQ(rewritten.row(row), rows.row(row)) << "seed " << seed << " kind " << k;
    }
  }
}

}  // namespace
}  // namespace qf
