#include "source/csharp_generator.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "document/design_file.h"
#include "support/design_builder.h"
#include "support/fake_measure.h"

namespace qf {
namespace {

using test::DesignBuilder;

std::string ReadFile(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// The golden files were read by eye once: a flat invoice, and a design of hatches, rounded
// boxes, rings, pictures and nested repeat blocks on two layers.
TEST(CSharpGenerator, WholeDesignsMatchTheGoldenFiles) {
  namespace fs = std::filesystem;
  const fs::path data(QF_TEST_DATA);
  test::FakeMeasurers m;
  for (const auto& [design, golden] :
       {std::pair{"invoice.qfd", "golden_invoice.cs"}, std::pair{"golden.qfd", "golden.cs"}}) {
    Design d;
    ASSERT_TRUE(LoadDesign(data / design, d, m.get()).ok());
    const std::string text = P_MakeCSharp(d, "QfPrint");
    if (std::getenv("QF_UPDATE_GOLDEN")) std::ofstream(data / golden, std::ios::binary) << text;
    EXPECT_EQ(text, ReadFile(data / golden)) << golden;
  }
}

TEST(CSharpGenerator, NamesAndStringsAsCSharpTakesThem) {
  const std::pair<const char*, const char*> names[] = {
      {"sngI", "sngI"},   {"明細_1", "明細_1"}, {"ｶﾅ", "ｶﾅ"}, {"Ａ１", "Ａ１"}, {"1x", "_1x"},
      {"a b", "a_b"},     {"a-b.c", "a_b_c"},   {"×÷", "__"}, {"", "_"},        {"class", "@class"},
      {"Class", "Class"}, {"while", "@while"},  {"@x", "_x"}, {"\xff", "_"},    {"「式」", "_式_"},
  };
  for (const auto& [name, expected] : names) EXPECT_EQ(CSharpIdentifier(name), expected) << name;
  const std::pair<const char*, const char*> bodies[] = {
      {"請求書", "請求書"},
      {"C:\\logo.bmp", "C:\\\\logo.bmp"},
      {"\"hi\"", "\\\"hi\\\""},
      {"二行\r\n目", "二行\\r\\n目"},
      {"a\tb\rc\nd", "a\\tb\\rc\\nd"},
      {"\x01\x1f\x7f ~", "\\u0001\\u001F\\u007F ~"},
  };
  for (const auto& [text, expected] : bodies) EXPECT_EQ(CSharpStringBody(text), expected) << text;
}

// Each range of letters and digits C# takes in a name, at its ends and one past them.
TEST(CSharpGenerator, NameCharactersAtEachRangesEnds) {
  const std::pair<char32_t, char32_t> ranges[] = {
      {'A', 'Z'},       {'a', 'z'},       {'_', '_'},       {'0', '9'},       {0xC0, 0xD6},
      {0xD8, 0xF6},     {0xF8, 0x24F},    {0x370, 0x3FF},   {0x400, 0x4FF},   {0x3041, 0x3096},
      {0x30A1, 0x30FA}, {0x30FC, 0x30FC}, {0x3400, 0x4DBF}, {0x4E00, 0x9FFF}, {0xF900, 0xFAFF},
      {0xFF10, 0xFF19}, {0xFF21, 0xFF3A}, {0xFF41, 0xFF5A}, {0xFF66, 0xFF9F}, {0xAC00, 0xD7A3}};
  auto taken = [&](char32_t c) {
    return std::any_of(std::begin(ranges), std::end(ranges),
                       [c](auto r) { return c >= r.first && c <= r.second; });
  };
  auto utf8 = [](char32_t c) {
    std::string out;
    if (c < 0x80) return out += static_cast<char>(c), out;
    if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
    } else {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    }
    return out += static_cast<char>(0x80 | (c & 0x3F)), out;
  };
  for (const auto& [from, to] : ranges) {
    for (char32_t c : {char32_t(from - 1), from, to, char32_t(to + 1)}) {
      const std::string name = "a" + utf8(c);
      EXPECT_EQ(CSharpIdentifier(name), taken(c) ? name : std::string("a_"))
          << std::hex << static_cast<unsigned>(c);
    }
  }
}

// Page units for every scale mode, one past the table and an unknown mode read as twips.
TEST(CSharpGenerator, EveryScaleModeSetsItsPageUnit) {
  const std::pair<int16_t, const char*> units[] = {
      {0, "g.PageUnit = GraphicsUnit.Point;\r\n        g.PageScale = 0.05f;"},
      {1, "g.PageUnit = GraphicsUnit.Point;\r\n        g.PageScale = 0.05f;"},
      {2, "g.PageUnit = GraphicsUnit.Point;\r\n        g.PageScale = 1f;\r\n        cellX = 1f;"},
      {3, "g.PageUnit = GraphicsUnit.Pixel;"},
      {4,
       "g.PageUnit = GraphicsUnit.Point;\r\n        g.PageScale = 1f;\r\n        cellX = 6f;"
       "\r\n        cellY = 12f;"},
      {5, "g.PageUnit = GraphicsUnit.Inch;"},
      {6, "g.PageUnit = GraphicsUnit.Millimeter;\r\n        g.PageScale = 1f;"},
      {7, "g.PageUnit = GraphicsUnit.Millimeter;\r\n        g.PageScale = 10f;"},
      {8, "g.PageUnit = GraphicsUnit.Point;\r\n        g.PageScale = 0.05f;"},
  };
  for (const auto& [mode, expected] : units) {
    DesignBuilder b;
    b.design.page.scaleMode = mode;
    EXPECT_NE(P_MakeCSharp(b.design, "Q").find(expected), std::string::npos) << mode;
  }
}

// Blocks nest with names of their own, an end without a start closes nothing, a block left
// open ends with its layer, a hidden layer prints nothing, and the field of a pass names it.
TEST(CSharpGenerator, BlocksAndLayersAsThePageHasThem) {
  DesignBuilder b;
  b.repeat("sngI", true, 6.5f, 2.6f);
  b.repeat("sngI", false, 40, -3);
  b.text("品名", 20, 45, 0, "Items(sngI).品名");
  b.end("sngI", false);
  b.end("sngI", true);
  b.end("x", true);
  b.repeat("sngK", true, 5, 1);
  b.figure(ObjectKind::Line, 1, 2, 3, 4);
  const std::string cs = P_MakeCSharp(b.design, "Q");
  EXPECT_NE(cs.find("for (int sngI = 0; sngI <= 3; sngI++)"), std::string::npos);
  EXPECT_NE(cs.find("for (int sngI_ = 0; sngI_ <= 0; sngI_++)"), std::string::npos);
  EXPECT_NE(cs.find("float sngI_Pos = sngI_ * 40f;"), std::string::npos);
  EXPECT_NE(cs.find("Pass(Pass(\"Items(sngI).品名\", \"sngI\", sngI), \"sngI\", sngI_)"),
            std::string::npos);
  EXPECT_NE(cs.find("20f + sngI_Pos, 45f + sngIPos"), std::string::npos);
  EXPECT_NE(cs.find("Line(g, 1f, 2f + sngKPos, 3f, 4f + sngKPos"), std::string::npos);
  std::istringstream lines(cs);
  int open = 0;
  for (std::string line; std::getline(lines, line);) {
    for (const char c : line) open += c == '{' ? 1 : c == '}' ? -1 : 0;
    EXPECT_GE(open, 0);
  }
  EXPECT_EQ(open, 0);

  DesignBuilder hidden;
  hidden.layer(2, "裏").on(2).figure(ObjectKind::Box, 1, 2, 3, 4);
  hidden.design.layers.setCell(1, kLayerHide, "非");
  const std::string none = P_MakeCSharp(hidden.design, "Q");
  EXPECT_EQ(none.find("Box(g, 1f"), std::string::npos);
  EXPECT_NE(none.find("非表示"), std::string::npos);

  // A copied picture covers what is under it; a transparent one leaves its white out.
  DesignBuilder pictures;
  pictures.picture("C:\\pics\\copy.bmp", 10, 20, false);
  pictures.picture("and.bmp", 30, 40, true);
  const std::string drawn = P_MakeCSharp(pictures.design, "Q");
  EXPECT_NE(drawn.find("Picture(g, \"C:\\\\pics\\\\copy.bmp\", 10f, 20f, false);"),
            std::string::npos);
  EXPECT_NE(drawn.find("Picture(g, \"and.bmp\", 30f, 40f, true);"), std::string::npos);
}

}  // namespace
}  // namespace qf
