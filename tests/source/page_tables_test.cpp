#include "source/page_tables.h"

#include <gtest/gtest.h>

namespace qf {
namespace {

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
  EXPECT_EQ(P_PaperName(0), "");
  EXPECT_EQ(P_PaperName(42), "");
  EXPECT_EQ(PaperListPosition(256), 41);
  EXPECT_EQ(PaperListPosition(9), 8);
  EXPECT_EQ(PaperListPosition(300), -1);
  EXPECT_EQ(PaperCodeAt(41), 256);
  EXPECT_EQ(PaperCodeAt(28), 29);
  EXPECT_EQ(PaperCodeAt(42), 0);
}

TEST(PageTables, OrientationAndScaleNames) {
  EXPECT_EQ(P_OrientName(1), "VbPRORPortrait");
  EXPECT_EQ(P_OrientName(2), "VbPRORLandscape");
  EXPECT_EQ(P_OrientName(3), "");
  const auto scales = P_FillScaleList();
  ASSERT_EQ(scales.size(), 8u);
  EXPECT_EQ(scales[5], "インチ");
  EXPECT_EQ(P_UnitName(5), "ｲﾝﾁ");
  EXPECT_EQ(P_UnitName(0), "");
  EXPECT_EQ(P_UnitName(6), "mm");
  EXPECT_EQ(P_ScaleName(6), "VbMillimeters");
  EXPECT_EQ(P_ScaleName(10), "vbContainerSize");
  EXPECT_EQ(P_ScaleName(11), "");
  EXPECT_EQ(P_ScaleName(-1), "");
}

}  // namespace
}  // namespace qf
