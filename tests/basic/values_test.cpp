// Values at their limits, the logic operators' whole truth tables, loop steps, and the text
// functions a Japanese program uses (StrConv, the byte functions), with the values the
// language gives.
#include <gtest/gtest.h>

#include "basic/test_programs.h"

namespace qf::basic {
namespace {

TEST(Values, EachTypeAtItsLimitsAndOnePast) {
  const std::pair<const char*, const char*> cases[] = {
      {"CInt(32767) & \" \" & CInt(-32768)", "32767 -32768"},
      {"CInt(32768)", "error: オーバーフローしました"},
      {"CInt(-32769)", "error: オーバーフローしました"},
      {"CLng(2147483647) & \" \" & CLng(-2147483648)", "2147483647 -2147483648"},
      {"CLng(2147483648)", "error: オーバーフローしました"},
      {"CLng(-2147483649)", "error: オーバーフローしました"},
      {"CSng(3.402823E+38)", "3.402823E+38"},
      {"CSng(3.5E+38)", "error: オーバーフローしました"},
      {"CDbl(\"1.79769313486231E+308\")", "1.79769313486231E+308"},
      {"CDbl(\"1.8E+308\")", "error: オーバーフローしました"},
      {"CCur(922337203685477)", "922337203685477"},
      {"CCur(922337203685478)", "error: オーバーフローしました"},
      {"CCur(-922337203685477)", "-922337203685477"},
      {"CCur(1.23456)", "1.2346"},
      {"32767 + 1", "error: オーバーフローしました"},
      {"32767& + 1", "32768"},
      {"CInt(32767) + CInt(1)", "error: オーバーフローしました"},
      // A literal is refused by the parse when its type character's type cannot hold it.
      {"32767% + 0", "32767"},
      {"32768%", "error: 数値が型の範囲を超えています（「32768%」 のところ）"},
      {"922337203685477@", "922337203685477"},
      {"922337203685478@", "error: 数値が型の範囲を超えています（「922337203685478@」 のところ）"},
  };
  for (const auto& [expression, expected] : cases) {
    EXPECT_EQ(Eval(expression), expected) << expression;
  }
  // An Enum counts on from its last value, as far as a Long goes.
  const auto enumerated = [](const char* first) {
    const Outcome o = RunProgram(std::string("Enum E\na = ") + first +
                                 "\nb\nEnd Enum\nSub Main()\nout.Add b\nEnd Sub\n");
    return o.error ? o.error->message : o.lines.at(0);
  };
  EXPECT_EQ(enumerated("2147483646"), "2147483647");
  EXPECT_EQ(enumerated("2147483647"),
            "列挙型の値が Long の範囲を超えています（文の終わり のところ）");
}

TEST(Values, LogicOperatorsOnBooleansAndNumbers) {
  const char* kBools[] = {"True", "False"};
  for (const char* a : kBools) {
    for (const char* b : kBools) {
      const bool x = a[0] == 'T';
      const bool y = b[0] == 'T';
      const auto name = [](bool v) { return std::string(v ? "True" : "False"); };
      const std::string both = std::string(a) + " %s " + b;
      EXPECT_EQ(Eval(std::string(a) + " And " + b), name(x && y)) << both;
      EXPECT_EQ(Eval(std::string(a) + " Or " + b), name(x || y)) << both;
      EXPECT_EQ(Eval(std::string(a) + " Xor " + b), name(x != y)) << both;
      EXPECT_EQ(Eval(std::string(a) + " Eqv " + b), name(x == y)) << both;
      EXPECT_EQ(Eval(std::string(a) + " Imp " + b), name(!x || y)) << both;
      EXPECT_EQ(Eval(std::string("Not ") + a), name(!x));
    }
  }
  // On numbers the operators work on each bit of the Long.
  for (const long x : {0L, -1L, 5L, 12L, 32767L}) {
    for (const long y : {0L, -1L, 6L, 12L}) {
      const std::string a = std::to_string(x);
      const std::string b = "(" + std::to_string(y) + ")";
      EXPECT_EQ(Eval(a + " And " + b), std::to_string(x & y));
      EXPECT_EQ(Eval(a + " Or " + b), std::to_string(x | y));
      EXPECT_EQ(Eval(a + " Xor " + b), std::to_string(x ^ y));
      EXPECT_EQ(Eval(a + " Eqv " + b), std::to_string(~(x ^ y)));
      EXPECT_EQ(Eval(a + " Imp " + b), std::to_string(~x | y));
    }
    EXPECT_EQ(Eval("Not " + std::to_string(x)), std::to_string(~x));
  }
}

// Null spreads through arithmetic and comparison, & reads it as no text, And/Or/Imp answer
// where one side decides, and a condition or a typed variable does not take it.
TEST(Values, NullAsTheLanguageCarriesIt) {
  const std::pair<const char*, const char*> cases[] = {
      {"IsNull(Null) & IsNull(Empty) & IsNull(0) & IsNull(\"\")", "TrueFalseFalseFalse"},
      {"VarType(Null) & TypeName(Null)", "1Null"},
      {"IsNull(Null + 1) & IsNull(Null = Null) & IsNull(1 < Null) & IsNull(-Null)",
       "TrueTrueTrueTrue"},
      {"Null & \"a\" & Null", "a"},
      {"IsNull(Null & Null)", "True"},
      {"(False And Null) & (Null And False) & IsNull(True And Null) & IsNull(1 And Null)",
       "FalseFalseTrueTrue"},
      {"(True Or Null) & IsNull(False Or Null) & IsNull(Not Null) & IsNull(Null Xor True)",
       "TrueTrueTrueTrue"},
      {"(False Imp Null) & (Null Imp True) & IsNull(True Imp Null)", "TrueTrueTrue"},
      {"IIf(Null, 1, 2)", "2"},
      {"CStr(Null)", "error: Null の使い方が不正です"},
      {"CInt(Null)", "error: Null の使い方が不正です"},
  };
  for (const auto& [expression, expected] : cases) {
    EXPECT_EQ(Eval(expression), expected) << expression;
  }
  const Outcome o = RunProgram(
      "Sub Main()\nDim v, s As String\nv = Null\nIf v Then out.Add \"yes\" Else out.Add \"no\"\n"
      "Do While v\nLoop\nOn Error Resume Next\ns = v\nout.Add Err.Number\nEnd Sub");
  EXPECT_EQ(o.lines, (std::vector<std::string>{"no", "94"}));
}

TEST(Values, LoopStepsAndBoundsMetExactly) {
  const Outcome o = RunProgram(
      "Sub Main()\nDim i As Integer, n As Integer, s As String\nFor i = 1 To 3: s = s & i: Next\n"
      "out.Add s & \"/\" & i\ns = \"\"\nFor i = 3 To 1 Step -1: s = s & i: Next\nout.Add s & \"/\" "
      "& i\n"
      "s = \"\"\nFor i = 1 To 0: s = s & i: Next\nout.Add \"[\" & s & \"]\" & i\n"
      "For i = 5 To 5: n = n + 1: Next\nout.Add n\nn = 0\n"
      "For i = 1 To 3 Step 0\nn = n + 1: If n = 4 Then Exit For\nNext\nout.Add n & \"/\" & i\n"
      "End Sub");
  EXPECT_EQ(o.lines, (std::vector<std::string>{"123/4", "321/0", "[]1", "1", "4/1"}));
  EXPECT_FALSE(o.error);
}

TEST(Values, JapaneseTextFunctions) {
  const std::pair<const char*, const char*> cases[] = {
      {"StrConv(\"abc\", vbUpperCase) & StrConv(\"hello world\", vbProperCase)", "ABCHello World"},
      {"StrConv(\"ABCｱｲｳｶﾞﾊﾟｳﾞ 1\", vbWide)", "ＡＢＣアイウガパヴ　１"},
      {"StrConv(\"ＡＢＣアイウガパヴ　１\", vbNarrow)", "ABCｱｲｳｶﾞﾊﾟｳﾞ 1"},
      {"StrConv(\"あいう\", vbKatakana) & StrConv(\"アイウ\", vbHiragana)", "アイウあいう"},
      // The ends of each range: a and z, ぁ and ゖ, ァ and ヶ, ﾊ with its marks.
      {"StrConv(\"az{\", vbUpperCase) & StrConv(\"AZ@\", vbLowerCase)", "AZ{az@"},
      {"StrConv(\"ぁゖ\", vbKatakana) & StrConv(\"ァヶ\", vbHiragana)", "ァヶぁゖ"},
      {"StrConv(\"ﾊﾞﾊﾟｶﾞﾄﾞ\", vbWide)", "バパガド"},
      {"StrConv(\"a\", vbWide + vbNarrow)", "error: StrConv の変換の指定が正しくありません"},
      {"LenB(StrConv(\"山田abc\", vbFromUnicode)) & \" \" & LenB(\"山田abc\")", "7 10"},
      {"StrConv(LeftB(StrConv(\"山田商店\", vbFromUnicode), 4), vbUnicode)", "山田"},
      {"StrConv(MidB(StrConv(\"ABC山田\", vbFromUnicode), 4, 2), vbUnicode)", "山"},
      {"RightB(StrConv(\"abc\", vbFromUnicode), 2) & LeftB(\"abc\", 2)", "bca"},
      {"LeftB(StrConv(\"山田\", vbFromUnicode), 3) & \"|\"", "山?|"},
      {"LenB(StrConv(\"①髙\", vbFromUnicode))", "4"},
      {"Round(2.5) & Round(3.5) & Round(-2.5) & \" \" & Round(2.567, 2)", "24-2 2.57"},
      {"Log(0)", "error: Log に 0 以下の数は渡せません"},
      {"Exp(1000)", "error: オーバーフローしました"},
      {"Sin(0) & \" \" & Atn(1) * 4 & \" \" & Round(Cos(0) + Tan(0) + Log(Exp(1)), 5)",
       "0 3.14159265358979 2"},
      {"Hex(255) & \" \" & Hex(-1)", "FF FFFFFFFF"},
      // Whole numbers at the Long's limits; a function's count of arguments; Sqr at 0; Abs
      // keeping a number's type and reading a text as a Double.
      {"Hex(-2147483648)", "80000000"},
      {"Hex(2147483648)", "error: オーバーフローしました"},
      {"DateSerial(2024, 5)", "error: 「DateSerial」の引数の数が違います"},
      {"Year()", "error: 「year」の引数の数が違います"},
      {"Abs()", "error: 「Abs」の引数の数が違います"},
      {"Sqr(0) & Sqr(4)", "02"},
      {"TypeName(Abs(CInt(-3))) & Abs(\"-2.5\") & TypeName(Abs(\"-2.5\"))", "Integer2.5Double"},
  };
  for (const auto& [expression, expected] : cases) {
    EXPECT_EQ(Eval(expression), expected) << expression;
  }
}

// Lengths of none, the constants a call leaves at their default, a font's weight as its
// boldness.
TEST(Values, ZeroLengthsDefaultsAndWeights) {
  EXPECT_EQ(Eval("\"[\" & Mid(\"abc\", 2, 0) & Right(\"abc\", 0) & \"]\""), "[]");
  EXPECT_EQ(Eval("vbDefault & vbUseSystemDayOfWeek"), "00");
  const Outcome o = RunProgram(
      "Sub Main()\nDim f As New StdFont\nf.Weight = 700: out.Add f.Bold\n"
      "f.Weight = 400: out.Add f.Bold\nEnd Sub");
  EXPECT_EQ(o.lines, (std::vector<std::string>{"True", "False"}));
}

}  // namespace
}  // namespace qf::basic
