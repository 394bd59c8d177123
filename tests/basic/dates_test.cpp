// Dates as the language keeps them on a Japanese Windows: literals, DateSerial and its carries,
// DateAdd, DateDiff, DatePart, the texts CDate reads, the limits, the clock.
#include <gtest/gtest.h>

#include "basic/test_programs.h"

namespace qf::basic {
namespace {

void ExpectValues(const std::vector<std::pair<const char*, const char*>>& cases) {
  for (const auto& [expression, expected] : cases) {
    EXPECT_EQ(Eval(expression), expected) << expression;
  }
}

TEST(Dates, LiteralsSerialsAndTheirCarries) {
  ExpectValues({
      {"#2024/05/17#", "2024/05/17"},
      {"#5/17/2024 10:30:00 AM#", "2024/05/17 10:30:00"},
      {"#10:30#", "10:30:00"},
      {"CDate(0)", "0:00:00"},
      {"CDate(45429)", "2024/05/17"},
      {"CDate(-1.25)", "1899/12/29 6:00:00"},
      {"DateSerial(2024, 13, 1)", "2025/01/01"},
      {"DateSerial(2024, 3, 0)", "2024/02/29"},
      {"DateSerial(2023, 3, 0)", "2023/02/28"},
      {"DateSerial(24, 5, 17)", "2024/05/17"},
      {"DateSerial(29, 1, 1) & \" \" & DateSerial(30, 1, 1)", "2029/01/01 1930/01/01"},
      {"TimeSerial(25, 0, 0)", "1899/12/31 1:00:00"},
      {"TimeSerial(10, 90, 0)", "11:30:00"},
      {"#2024/05/17# + 1", "2024/05/18"},
      {"#2024/05/17# - #2024/05/01#", "16"},
      {"#2024/05/17# - 17", "2024/04/30"},
      // The limits: 100/01/01 and 9999/12/31, one past each refused.
      {"CDate(-657434)", "100/01/01"},
      {"CDate(2958465)", "9999/12/31"},
      {"CDate(2958466)", "error: オーバーフローしました（日付は 100/01/01 から 9999/12/31 まで）"},
      {"#100/1/1# - 1", "error: オーバーフローしました（日付は 100/01/01 から 9999/12/31 まで）"},
      {"#9999/12/31 23:59:59#", "9999/12/31 23:59:59"},
  });
}

TEST(Dates, AddDiffAndParts) {
  ExpectValues({
      {"DateAdd(\"m\", 1, #2024/01/31#)", "2024/02/29"},
      {"DateAdd(\"m\", -1, #2024/03/31#)", "2024/02/29"},
      {"DateAdd(\"yyyy\", 1, #2024/02/29#)", "2025/02/28"},
      {"DateAdd(\"q\", 1, #2024/11/30#)", "2025/02/28"},
      {"DateAdd(\"d\", -1, #2024/03/01#)", "2024/02/29"},
      {"DateAdd(\"ww\", 2, #2024/05/17#)", "2024/05/31"},
      {"DateAdd(\"h\", 25, #2024/05/17 10:30#)", "2024/05/18 11:30:00"},
      {"DateAdd(\"n\", -31, #2024/05/17 0:30#)", "2024/05/16 23:59:00"},
      {"DateAdd(\"s\", 30, #23:59:45#)", "1899/12/31 0:00:15"},
      {"DateAdd(\"x\", 1, #2024/05/17#)", "error: DateAdd の単位「x」は使えません"},
      {"DateDiff(\"d\", #2024/05/17 23:59#, #2024/05/18 0:01#)", "1"},
      {"DateDiff(\"d\", #2024/05/18#, #2024/05/17#)", "-1"},
      {"DateDiff(\"h\", #10:59#, #11:01#)", "1"},
      {"DateDiff(\"n\", #10:59:59#, #11:00:00#)", "1"},
      {"DateDiff(\"m\", #2024/01/31#, #2024/02/01#)", "1"},
      {"DateDiff(\"yyyy\", #2024/12/31#, #2025/01/01#)", "1"},
      {"DateDiff(\"q\", #2024/03/31#, #2024/04/01#)", "1"},
      {"DateDiff(\"ww\", #2024/05/11#, #2024/05/12#)", "1"},
      {"DateDiff(\"ww\", #2024/05/12#, #2024/05/18#)", "0"},
      {"DateDiff(\"w\", #2024/05/01#, #2024/05/14#)", "1"},
      {"DateDiff(\"w\", #2024/05/01#, #2024/05/15#)", "2"},
      {"DatePart(\"q\", #2024/05/17#) & DatePart(\"y\", #2024/03/01#)", "261"},
      {"DatePart(\"ww\", #2024/01/06#) & DatePart(\"ww\", #2024/01/07#)", "12"},
      {"Weekday(#2024/05/17#) & Weekday(#2024/05/17#, vbMonday) & Weekday(#2024/05/19#)", "651"},
      {"Year(#2024/05/17 10:30:15#) & Month(#2024/05/17#) & Day(#2024/05/17#)", "2024517"},
      {"Hour(#10:30:15#) & Minute(#10:30:15#) & Second(#10:30:15#)", "103015"},
      {"MonthName(5) & WeekdayName(6) & WeekdayName(6, True)", "5月金曜日金"},
      {"WeekdayName()", "error: 「WeekdayName」の引数の数が違います"},
  });
}

TEST(Dates, TextsAsAJapaneseWindowsReadsThem) {
  ExpectValues({
      {"CDate(\"2024/5/17\")", "2024/05/17"},
      {"CDate(\"2024-05-17 9:05\")", "2024/05/17 9:05:00"},
      {"CDate(\"24/5/17\")", "2024/05/17"},
      {"CDate(\"2024年5月17日\")", "2024/05/17"},
      {"CDate(\"令和6年5月17日\")", "2024/05/17"},
      {"CDate(\"令和元年5月1日\")", "2019/05/01"},
      {"CDate(\"平成31年4月30日\")", "2019/04/30"},
      {"CDate(\"午後 3:05\")", "15:05:00"},
      {"CDate(\"5/17/2024\")", "error: 型が一致しません（\"5/17/2024\" は日付ではありません）"},
      {"IsDate(\"2024/2/29\") & IsDate(\"2023/2/29\") & IsDate(45000) & IsDate(#1/1/2000#)",
       "TrueFalseFalseTrue"},
      {"DateValue(\"2024/5/17 10:30\") & \"|\" & TimeValue(\"2024/5/17 10:30\")",
       "2024/05/17|10:30:00"},
  });
}

TEST(Dates, TheClockAndDateVariables) {
  const Outcome o = RunProgram(
      "Sub Main()\nDim d As Date, c As Currency\nout.Add Now & \"|\" & Date & \"|\" & Time & "
      "\"|\" & Timer\nd = \"2024/5/17\": d = d + 0.5\nout.Add d\nc = 922337203685477.5807\n"
      "out.Add CCur(1234.56789)\nd = \"五月\"\nEnd Sub");
  EXPECT_EQ(o.lines, (std::vector<std::string>{"2024/05/17 10:30:00|2024/05/17|10:30:00|37800",
                                               "2024/05/17 12:00:00", "1234.5679"}));
  ASSERT_TRUE(o.error);
  EXPECT_EQ(o.error->message, "型が一致しません（\"五月\" は日付ではありません）");
  EXPECT_EQ(Eval("CCur(922337203685477) * 10"), "error: オーバーフローしました");
}

// A format's codes beside letters that are none (a lone "a", a run of "-"), three d's for the
// day's short name, a time with a blank after it, DateDiff's arguments counted.
TEST(Dates, CodesBesideLiteralsAndCounts) {
  const std::pair<const char*, const char*> cases[] = {
      {"Format(#2024/05/17#, \"ddd\") & \"|\" & Format(#2024/05/17#, \"yyyy a---mm\")",
       "Fri|2024 a---05"},
      {"CDate(\"10:30 \") & \"|\" & CDate(\"10:30 PM \")", "10:30:00|22:30:00"},
      {"DateDiff(\"d\", #2024/05/17#)", "error: 「DateDiff」の引数の数が違います"},
  };
  for (const auto& [expression, expected] : cases) {
    EXPECT_EQ(Eval(expression), expected) << expression;
  }
}

}  // namespace
}  // namespace qf::basic
