#include "page_tables.h"

#include <array>

namespace qf {

namespace {

struct Paper {
  std::string_view text;
  std::string_view constant;
};

// Codes 1 to 41 in order, then 256.
constexpr std::array<Paper, 42> kPapers{{
    {"ﾚﾀｰ、8 1/2 x 11 ｲﾝﾁ", "VbPRPSLetter"},
    {"ﾚﾀｰ ｽﾓｰﾙ、8 1/2 x 11 ｲﾝﾁ", "VbPRPSLetterSmall"},
    {"ﾀﾌﾞﾛｲﾄﾞ、11 x 17 ｲﾝﾁ", "VbPRPSTabloid"},
    {"ﾚｼﾞｬｰ、17 x 11 ｲﾝﾁ", "VbPRPSLedger"},
    {"ﾘｰｶﾞﾙ、8 1/2 x 14 ｲﾝﾁ", "VbPRPSLegal"},
    {"ｽﾃｰﾄﾒﾝﾄ、5 1/2 x 8 1/2 ｲﾝﾁ", "VbPRPSStatement"},
    {"ｴｸﾞｾﾞｸﾃｨﾌﾞ、7 1/2 x 10 1/2 ｲﾝﾁ", "VbPRPSExecutive"},
    {"A3、297 x 420 mm", "VbPRPSA3"},
    {"A4、210 x 297 mm", "VbPRPSA4"},
    {"A4 Small、210 x 297 mm", "VbPRPSA4Small"},
    {"A5、148 x 210 mm", "VbPRPSA5"},
    {"B4、250 x 354 mm", "VbPRPSB4"},
    {"B5、182 x 257 mm", "VbPRPSB5"},
    {"ﾌｫﾘｵ、8 1/2 x 13 ｲﾝﾁ", "VbPRPSFolio"},
    {"ｸｫｰﾄ、215 x 275 mm", "VbPRPSQuarto"},
    {"10 x 14 ｲﾝﾁ", "VbPRPS10x14"},
    {"11 x 17 ｲﾝﾁ", "VbPRPS11x17"},
    {"ﾉｰﾄ、8 1/2 x 11 ｲﾝﾁ", "VbPRPSNote"},
    {"封筒 #9、3 7/8 x 8 7/8 ｲﾝﾁ", "VbPRPSEnv9"},
    {"封筒 #10、4 1/8 x 9 1/2 ｲﾝﾁ", "VbPRPSEnv10"},
    {"封筒 #11、4 1/2 x 10 3/8 ｲﾝﾁ", "VbPRPSEnv11"},
    {"封筒 #12、4 1/2 x 11 ｲﾝﾁ", "VbPRPSEnv12"},
    {"封筒 #14、5 x 11 1/2 ｲﾝﾁ", "VbPRPSEnv14"},
    {"C ｻｲｽﾞ ｼｰﾄ", "VbPRPSCSheet"},
    {"D ｻｲｽﾞ ｼｰﾄ", "VbPRPSDSheet"},
    {"E ｻｲｽﾞ ｼｰﾄ", "VbPRPSESheet"},
    {"封筒 DL、110 x 220 mm", "VbPRPSEnvDL"},
    {"封筒 C5、162 x 229 mm", "VbPRPSEnvC5"},
    {"封筒 C3、324 x 458 mm", "VbPRPSEnvC3"},
    {"封筒 C4、229 x 324 mm", "VbPRPSEnvC4"},
    {"封筒 C6、114 x 162 mm", "VbPRPSEnvC6"},
    {"封筒 C65、114 x 229 mm", "VbPRPSEnvC65"},
    {"封筒 B4、250 x 353 mm", "VbPRPSEnvB4"},
    {"封筒 B5、176 x 250 mm", "VbPRPSEnvB5"},
    {"封筒 B6、176 x 125 mm", "VbPRPSEnvB6"},
    {"封筒、110 x 230 mm", "VbPRPSEnvItaly"},
    {"封筒 Monarch、3 7/8 x 7 1/2 ｲﾝﾁ", "VbPRPSEnvMonarch"},
    {"封筒、3 5/8 x 6 1/2 ｲﾝﾁ", "VbPRPSEnvPersonal"},
    {"U.S. ｽﾀﾝﾀﾞｰﾄﾞ ﾌｧﾝﾌｫｰﾙﾄﾞ、14 7/8 x 11 ｲﾝﾁ", "VbPRPSFanfoldUS"},
    {"ﾄﾞｲﾂ ｽﾀﾝﾀﾞｰﾄﾞ ﾌｧﾝﾌｫｰﾙﾄﾞ、8 1/2 x 12 ｲﾝﾁ", "VbPRPSFanfoldStdGerman"},
    {"ﾄﾞｲﾂ ﾘｰｶﾞﾙ ﾌｧﾝﾌｫｰﾙﾄﾞ、8 1/2 x 13 ｲﾝﾁ", "VbPRPSFanfoldLglGerman"},
    {"ﾕｰｻﾞｰ定義ｻｲｽﾞ", "VbPRPSUser"},
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
