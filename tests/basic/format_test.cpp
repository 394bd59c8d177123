// Format and its kin as a Japanese Windows writes them: named formats, digit masks with their
// literals, text masks, dates, FormatNumber and its kin with their options.
#include <gtest/gtest.h>

#include "basic/test_programs.h"

namespace qf::basic {
namespace {

TEST(Format, AsTheLanguageWritesEachKind) {
  const std::pair<const char*, const char*> cases[] = {
      // Named number formats, money in yen with no places.
      {"Format(15230.5, \"Currency\")", "¥15,231"},
      {"Format(-15230.5, \"currency\")", "-¥15,231"},
      {"Format(1234.5, \"Fixed\") & \" \" & Format(1234.5, \"Standard\")", "1234.50 1,234.50"},
      {"Format(0.125, \"Percent\")", "12.50%"},
      {"Format(15230.5, \"Scientific\")", "1.52E+04"},
      {"Format(1234.5, \"General Number\")", "1234.5"},
      {"Format(0, \"Yes/No\") & Format(-1, \"True/False\") & Format(5, \"On/Off\")", "NoTrueOn"},
      // Digit masks: digits dealt into the places from the right, literals among them.
      {"Format(1633334400, \"(###)####-####\")", "(16)3333-4400"},
      {"Format(12, \"0-0-0\")", "0-1-2"},
      {"Format(12345, \"0-0\")", "1234-5"},
      {"Format(0, \"#-#\")", "-"},
      {"Format(5, \"(###)\")", "(5)"},
      {"Format(123, \"00000\")", "00123"},
      {"Format(-1234, \"#,##0;(#,##0)\")", "(1,234)"},
      // Text masks.
      {"Format(\"0312345678\", \"@@@@-@@@@-@@\")", "0312-3456-78"},
      {"Format(\"abc\", \"@@@@@\") & \"|\" & Format(\"abc\", \"!@@@@@\")", "  abc|abc  "},
      {"Format(\"abc\", \">\") & Format(\"ABC\", \"<@@@@\") & Format(\"ab\", \"&&&&\")",
       "ABC abcab"},
      {"Format(\"abcdef\", \"@@@\") & \"|\" & Format(\"abcdef\", \"!@@@\")", "abcdef|abcdef"},
      {"Format(\"山田\", \"@@@@\")", "  山田"},
      // Dates by name and by code, texts read as dates.
      {"Format(#2024/05/17#, \"Long Date\")", "2024年5月17日"},
      {"Format(#2024/05/17#, \"Short Date\") & \" \" & Format(#2024/05/17#, \"Medium Date\")",
       "2024/05/17 24-05-17"},
      {"Format(#10:30:05#, \"Long Time\") & \" \" & Format(#10:30:05#, \"Short Time\")",
       "10:30:05 10:30"},
      {"Format(#10:30#, \"Medium Time\") & \" \" & Format(#15:05#, \"h:nn AM/PM\")",
       "10:30 午前 3:05 午後"},
      {"Format(#2024/05/17#, \"ggge年m月d日(aaa)\")", "令和6年5月17日(金)"},
      {"Format(#1989/01/07#, \"gge\") & Format(#1989/01/08#, \"gge\")", "昭64平1"},
      {"Format(#2024/05/17#, \"yyyy/mm/dd dddd mmm\")", "2024/05/17 Friday May"},
      {"Format(#2024/05/17 9:05:03#, \"yy.m.d hh:mm:ss\")", "24.5.17 09:05:03"},
      {"Format(\"2024/5/17\", \"yyyy年m月d日\")", "2024年5月17日"},
      {"Format(\"abc\", \"0.00\") & Format(Empty, \"0\")", "abc"},
      {"Format(#2024/05/17#)", "2024/05/17"},
      // FormatNumber and its kin: places, the leading 0, parentheses, groups.
      {"FormatNumber(1234.567)", "1,234.57"},
      {"FormatNumber(0.5, 1, vbFalse)", ".5"},
      {"FormatNumber(-3, 0, , vbTrue)", "(3)"},
      {"FormatNumber(1234567, 0, , , vbFalse)", "1234567"},
      {"FormatNumber(-0.001, 2)", "0.00"},
      {"FormatNumber(1, 31)", "error: 小数点以下の桁数が範囲の外です"},
      {"FormatCurrency(15230.5) & \" \" & FormatCurrency(-1.5, 1)", "¥15,231 -¥1.5"},
      {"FormatCurrency(-2, , , vbTrue)", "(¥2)"},
      {"FormatPercent(0.1234) & \" \" & FormatPercent(1, 0)", "12.34% 100%"},
      {"FormatDateTime(#2024/05/17 10:30#)", "2024/05/17 10:30:00"},
      {"FormatDateTime(#2024/05/17 10:30#, vbLongDate)", "2024年5月17日"},
      {"FormatDateTime(#2024/05/17 10:30#, vbShortTime)", "10:30"},
      {"FormatDateTime(#2024/05/17#, 5)", "error: FormatDateTime の形式は 0 から 4 までです"},
  };
  for (const auto& [expression, expected] : cases) {
    EXPECT_EQ(Eval(expression), expected) << expression;
  }
}

}  // namespace
}  // namespace qf::basic
