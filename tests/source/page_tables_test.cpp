#include "source/page_tables.h"

#include <gtest/gtest.h>

namespace qf {
namespace {

// The names and places inside the tables; their ends and the codes past them are the last
// test's.
TEST(PageTables, PaperListAndConstantNames) {
  const auto papers = P_FillPaperList();
  ASSERT_EQ(papers.size(), 42u);
  EXPECT_EQ(papers[0], "ﾚﾀｰ、8 1/2 x 11 ｲﾝﾁ");
  EXPECT_EQ(papers[8], "A4、210 x 297 mm");
  EXPECT_EQ(papers[28], "封筒 C3、324 x 458 mm");
  EXPECT_EQ(papers[41], "ﾕｰｻﾞｰ定義ｻｲｽﾞ");
  EXPECT_EQ(P_PaperName(1), "VbPRPSLetter");  // the first code and the last
  EXPECT_EQ(P_PaperName(29), "VbPRPSEnvC3");
  EXPECT_EQ(P_PaperName(41), "VbPRPSFanfoldLglGerman");
  EXPECT_EQ(P_PaperName(256), "VbPRPSUser");
  EXPECT_EQ(PaperListPosition(256), 41);
  EXPECT_EQ(PaperListPosition(9), 8);
  EXPECT_EQ(PaperListPosition(300), -1);
  EXPECT_EQ(PaperCodeAt(41), 256);
  EXPECT_EQ(PaperCodeAt(28), 29);
}

TEST(PageTables, OrientationAndScaleNames) {
  EXPECT_EQ(P_OrientName(1), "VbPRORPortrait");
  EXPECT_EQ(P_OrientName(2), "VbPRORLandscape");
  const auto scales = P_FillScaleList();
  ASSERT_EQ(scales.size(), 8u);
  EXPECT_EQ(scales[5], "インチ");
  EXPECT_EQ(P_UnitName(5), "ｲﾝﾁ");
  EXPECT_EQ(P_UnitName(0), "");
  EXPECT_EQ(P_UnitName(6), "mm");
  EXPECT_EQ(P_ScaleName(6), "VbMillimeters");
  EXPECT_EQ(P_ScaleName(10), "vbContainerSize");
}

// Each code table at both ends and one past them, both ways where it goes both ways.
TEST(PageTables, EveryTableAtItsEndsAndOnePast) {
  for (int code = 1; code <= 41; ++code) {
    EXPECT_EQ(PaperListPosition(code), code - 1);
    EXPECT_EQ(PaperCodeAt(code - 1), code);
    EXPECT_FALSE(P_PaperName(code).empty()) << code;
  }
  for (int code : {-1, 0, 42, 255, 257}) {
    EXPECT_EQ(PaperListPosition(code), -1) << code;
    EXPECT_EQ(P_PaperName(code), "") << code;
  }
  for (int position : {-1, 42}) EXPECT_EQ(PaperCodeAt(position), 0) << position;
  EXPECT_EQ(P_PaperName(40), "VbPRPSFanfoldStdGerman");
  for (int code : {-1, 0, 3}) EXPECT_EQ(P_OrientName(code), "") << code;
  EXPECT_EQ(P_ScaleName(0), "VbUser");
  EXPECT_EQ(P_UnitName(1), "Twip");
  EXPECT_EQ(P_UnitName(7), "cm");
  for (int code : {8, 10}) EXPECT_EQ(P_UnitName(code), "") << code;
  for (int code : {-1, 11}) {
    EXPECT_EQ(P_UnitName(code), "") << code;
    EXPECT_EQ(P_ScaleName(code), "") << code;
  }
  EXPECT_EQ(P_FillScaleList().back(), "センチメートル");
}

}  // namespace
}  // namespace qf
