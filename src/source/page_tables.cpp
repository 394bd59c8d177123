#include "page_tables.h"

#include <array>
#include <optional>

namespace qf {

namespace {

struct Paper {
  std::string_view text;
  std::string_view constant;
  PaperDimensions size;
};

// Codes 1 to 41 in order, then 256.
constexpr std::array<Paper, 42> kPapers{{
    {"ﾚﾀｰ、8 1/2 x 11 ｲﾝﾁ", "VbPRPSLetter", 8.5, 11, PaperUnit::Inch},
    {"ﾚﾀｰ ｽﾓｰﾙ、8 1/2 x 11 ｲﾝﾁ", "VbPRPSLetterSmall", 8.5, 11, PaperUnit::Inch},
    {"ﾀﾌﾞﾛｲﾄﾞ、11 x 17 ｲﾝﾁ", "VbPRPSTabloid", 11, 17, PaperUnit::Inch},
    {"ﾚｼﾞｬｰ、17 x 11 ｲﾝﾁ", "VbPRPSLedger", 17, 11, PaperUnit::Inch},
    {"ﾘｰｶﾞﾙ、8 1/2 x 14 ｲﾝﾁ", "VbPRPSLegal", 8.5, 14, PaperUnit::Inch},
    {"ｽﾃｰﾄﾒﾝﾄ、5 1/2 x 8 1/2 ｲﾝﾁ", "VbPRPSStatement", 5.5, 8.5, PaperUnit::Inch},
    {"ｴｸﾞｾﾞｸﾃｨﾌﾞ、7 1/2 x 10 1/2 ｲﾝﾁ", "VbPRPSExecutive", 7.5, 10.5, PaperUnit::Inch},
    {"A3、297 x 420 mm", "VbPRPSA3", 297, 420, PaperUnit::Millimetre},
    {"A4、210 x 297 mm", "VbPRPSA4", 210, 297, PaperUnit::Millimetre},
    {"A4 Small、210 x 297 mm", "VbPRPSA4Small", 210, 297, PaperUnit::Millimetre},
    {"A5、148 x 210 mm", "VbPRPSA5", 148, 210, PaperUnit::Millimetre},
    {"B4、250 x 354 mm", "VbPRPSB4", 250, 353, PaperUnit::Millimetre},
    {"B5、182 x 257 mm", "VbPRPSB5", 182, 257, PaperUnit::Millimetre},
    {"ﾌｫﾘｵ、8 1/2 x 13 ｲﾝﾁ", "VbPRPSFolio", 8.5, 13, PaperUnit::Inch},
    {"ｸｫｰﾄ、215 x 275 mm", "VbPRPSQuarto", 215, 275, PaperUnit::Millimetre},
    {"10 x 14 ｲﾝﾁ", "VbPRPS10x14", 10, 14, PaperUnit::Inch},
    {"11 x 17 ｲﾝﾁ", "VbPRPS11x17", 11, 17, PaperUnit::Inch},
    {"ﾉｰﾄ、8 1/2 x 11 ｲﾝﾁ", "VbPRPSNote", 8.5, 11, PaperUnit::Inch},
    {"封筒 #9、3 7/8 x 8 7/8 ｲﾝﾁ", "VbPRPSEnv9", 3.875, 8.875, PaperUnit::Inch},
    {"封筒 #10、4 1/8 x 9 1/2 ｲﾝﾁ", "VbPRPSEnv10", 4.125, 9.5, PaperUnit::Inch},
    {"封筒 #11、4 1/2 x 10 3/8 ｲﾝﾁ", "VbPRPSEnv11", 4.5, 10.375, PaperUnit::Inch},
    {"封筒 #12、4 1/2 x 11 ｲﾝﾁ", "VbPRPSEnv12", 4.75, 11, PaperUnit::Inch},
    {"封筒 #14、5 x 11 1/2 ｲﾝﾁ", "VbPRPSEnv14", 5, 11.5, PaperUnit::Inch},
    {"C ｻｲｽﾞ ｼｰﾄ", "VbPRPSCSheet", 17, 22, PaperUnit::Inch},
    {"D ｻｲｽﾞ ｼｰﾄ", "VbPRPSDSheet", 22, 34, PaperUnit::Inch},
    {"E ｻｲｽﾞ ｼｰﾄ", "VbPRPSESheet", 34, 44, PaperUnit::Inch},
    {"封筒 DL、110 x 220 mm", "VbPRPSEnvDL", 110, 220, PaperUnit::Millimetre},
    {"封筒 C5、162 x 229 mm", "VbPRPSEnvC5", 162, 229, PaperUnit::Millimetre},
    {"封筒 C3、324 x 458 mm", "VbPRPSEnvC3", 324, 458, PaperUnit::Millimetre},
    {"封筒 C4、229 x 324 mm", "VbPRPSEnvC4", 229, 324, PaperUnit::Millimetre},
    {"封筒 C6、114 x 162 mm", "VbPRPSEnvC6", 114, 162, PaperUnit::Millimetre},
    {"封筒 C65、114 x 229 mm", "VbPRPSEnvC65", 114, 229, PaperUnit::Millimetre},
    {"封筒 B4、250 x 353 mm", "VbPRPSEnvB4", 250, 353, PaperUnit::Millimetre},
    {"封筒 B5、176 x 250 mm", "VbPRPSEnvB5", 176, 250, PaperUnit::Millimetre},
    {"封筒 B6、176 x 125 mm", "VbPRPSEnvB6", 176, 125, PaperUnit::Millimetre},
    {"封筒、110 x 230 mm", "VbPRPSEnvItaly", 110, 230, PaperUnit::Millimetre},
    {"封筒 Monarch、3 7/8 x 7 1/2 ｲﾝﾁ", "VbPRPSEnvMonarch", 3.875, 7.5, PaperUnit::Inch},
    {"封筒、3 5/8 x 6 1/2 ｲﾝﾁ", "VbPRPSEnvPersonal", 3.625, 6.5, PaperUnit::Inch},
    {"U.S. ｽﾀﾝﾀﾞｰﾄﾞ ﾌｧﾝﾌｫｰﾙﾄﾞ、14 7/8 x 11 ｲﾝﾁ", "VbPRPSFanfoldUS", 14.875, 11, PaperUnit::Inch},
    {"ﾄﾞｲﾂ ｽﾀﾝﾀﾞｰﾄﾞ ﾌｧﾝﾌｫｰﾙﾄﾞ、8 1/2 x 12 ｲﾝﾁ", "VbPRPSFanfoldStdGerman", 8.5, 12, PaperUnit::Inch},
    {"ﾄﾞｲﾂ ﾘｰｶﾞﾙ ﾌｧﾝﾌｫｰﾙﾄﾞ、8 1/2 x 13 ｲﾝﾁ", "VbPRPSFanfoldLglGerman", 8.5, 13, PaperUnit::Inch},
    {"ﾕｰｻﾞｰ定義ｻｲｽﾞ", "VbPRPSUser", 0, 0, PaperUnit::Millimetre},
}};

struct Scale {
  std::string_view text;  // "" for modes the dialog does not offer
  std::string_view unit;
  std::string_view constant;
};

constexpr std::array<Scale, 11> kScales{{
    {"ユーザー定義サイズ", "", "VbUser"},
    {"twip", "Twip", "VbTwips"},
    {"ポイント", "Pos", "VbPoints"},
    {"ピクセル", "Pic", "VbPixels"},
    {"キャラクタ", "Char", "VbCharacters"},
    {"インチ", "ｲﾝﾁ", "VbInches"},
    {"ミリメートル", "mm", "VbMillimeters"},
    {"センチメートル", "cm", "VbCentimeters"},
    {"", "", "VbHimetric"},
    {"", "", "VbContainerPosition"},
    {"", "", "vbContainerSize"},
}};
constexpr size_t kOfferedScales = 8;

}  // namespace

std::optional<PaperDimensions> PaperSize(int code) {
  if (code < 1 || code >= kUserPaperSize) return std::nullopt;
  const int pos = PaperListPosition(code);
  if (pos < 0) return std::nullopt;
  return kPapers[static_cast<size_t>(pos)].size;
}

int PaperListPosition(int code) {
  if (code == kUserPaperSize) return kUserPaperPosition;
  if (code >= 1 && code <= kUserPaperPosition) return code - 1;
  return -1;
}

int PaperCodeAt(int position) {
  if (position == kUserPaperPosition) return kUserPaperSize;
  if (position >= 0 && position < kUserPaperPosition) return position + 1;
  return 0;
}

std::string_view P_PaperName(int code) {
  const int pos = PaperListPosition(code);
  return pos < 0 ? std::string_view() : kPapers[static_cast<size_t>(pos)].constant;
}

std::string_view P_OrientName(int code) {
  switch (code) {
    case 1:
      return "VbPRORPortrait";
    case 2:
      return "VbPRORLandscape";
    default:
      return {};
  }
}

std::string_view P_ScaleName(int code) {
  if (code < 0 || code >= static_cast<int>(kScales.size())) return {};
  return kScales[static_cast<size_t>(code)].constant;
}

std::string_view P_UnitName(int code) {
  if (code < 0 || code >= static_cast<int>(kScales.size())) return {};
  return kScales[static_cast<size_t>(code)].unit;
}

std::vector<std::string_view> P_FillPaperList() {
  std::vector<std::string_view> list;
  for (const Paper& p : kPapers) list.push_back(p.text);
  return list;
}

std::vector<std::string_view> P_FillScaleList() {
  std::vector<std::string_view> list;
  for (size_t i = 0; i < kOfferedScales; ++i) list.push_back(kScales[i].text);
  return list;
}

}  // namespace qf
