// The printing language: what short programs print or return, and how they stop.
#include <gtest/gtest.h>

#include <deque>

#include "basic/field_values.h"
#include "basic/interpreter.h"
#include "basic/records.h"
#include "basic/run_source.h"
#include "basic/test_programs.h"
#include "support/design_builder.h"
#include "support/recording_surface.h"

namespace qf::basic {
namespace {

// Each expression evaluated alone gives the text beside it (an error as "error: " and its message).
void ExpectEvaluations(std::initializer_list<std::pair<const char*, const char*>> cases) {
  for (const auto& [expression, expected] : cases) {
    EXPECT_EQ(Eval(expression), expected) << expression;
  }
}

// Operators at their precedence, left to right at one level; Integer and Long bounds either
// side; division by zero; a text in &H is a number.
TEST(Basic, OperatorsPrecedenceAndOverflow) {
  ExpectEvaluations({
      {"2 + 3 * 4", "14"},
      {"-2 ^ 2", "-4"},
      {"2 ^ 3 ^ 2", "64"},
      {"7 \\ 2", "3"},
      {"-7 \\ 2", "-3"},
      {"7 Mod 3", "1"},
      {"-7 Mod 3", "-1"},
      {"5.5 Mod 2", "0"},
      {"10 / 4", "2.5"},
      {"1 + 2 & 3", "33"},
      {"\"a\" + \"b\"", "ab"},
      {"\"2\" + 3", "5"},
      {"Not 0", "-1"},
      {"3 > 2 And 2 > 1", "True"},
      {"1 = 1 Or 1 / 0", "error: 0 で除算しました"},
      {"30000 + 30000", "error: オーバーフローしました"},
      {"30000& + 30000", "60000"},
      {"Not False", "True"},
      {"Not True", "False"},
      {"\"a\" * 2", "error: 型が一致しません（\"a\" は数値ではありません）"},
      {"vbCrLf = Chr(13) & Chr(10)", "True"},
      {"&HFF + &H10&", "271"},
      {"Nothing2", "error: 「Nothing2」が定義されていません"},
      {"2 <= 2", "True"},
      {"3 <= 2", "False"},
      {"10 - 3 - 2", "5"},
      {"100 / 10 / 5", "2"},
      {"\"&H1F\" * 1", "31"},
      {"\"&h1f\" * 1", "31"},
      {"2147483647.4 \\ 1", "2147483647"},
      {"2147483647.5 \\ 1", "error: オーバーフローしました"},
      {"2147483647& + 1", "error: オーバーフローしました"},
      {"2147483646& + 1", "2147483647"},
      {"32767 + 1", "error: オーバーフローしました"},
      {"32766 + 1", "32767"},
      {"5 \\ 0", "error: 0 で除算しました"},
      {"5 Mod 0", "error: 0 で除算しました"},
  });
}

// The conversion functions, their rounding to even and their bounds.
TEST(Basic, ConversionsAndNumberTexts) {
  ExpectEvaluations({
      {"Str(0.5) & \"|\" & Str(-0.5)", " .5|-.5"},
      {"CInt(2.5)", "2"},
      {"CInt(3.5)", "4"},
      {"CInt(-2.5)", "-2"},
      {"CInt(32767.5)", "error: オーバーフローしました"},
      {"CInt(32767.4)", "32767"},
      {"CLng(2147483647)", "2147483647"},
      {"CLng(2147483648#)", "error: オーバーフローしました"},
      {"CStr(1.5)", "1.5"},
      {"Str(5)", " 5"},
      {"Str(-5)", "-5"},
      {"Val(\" 12ab\")", "12"},
      {"Val(\"x\")", "0"},
      {"Val(\"+3\")", "3"},
      {"CDbl(\"1,234.5\")", "1234.5"},
      {"Chr(65) & Asc(\"B\")", "A66"},
      {"RGB(255, 128, 1)", "98559"},
      {"Val(\"1.25kg\")", "1.25"},
      {"CSng(0.1) + 1&", "1.10000000149012"},
      {"CSng(0.1) + 1", "1.1"},
      {"Val(\"1e3\") + Val(\"2E2\")", "1200"},
      {"CBool(\"True\") & CBool(\" false \")", "TrueFalse"},
  });
}

// Functions of texts (characters, not bytes, counted), IIf, Abs and Like patterns.
TEST(Basic, TextFunctionsAndLike) {
  ExpectEvaluations({
      {"MidB(StrConv(\"あb\", vbFromUnicode), 2)", "?b"},
      {"Mid(\"abc\", 3)", "c"},
      {"Mid(\"abc\", 4)", ""},
      {"Left(\"abc\", 0)", ""},
      {"Left(\"請求書\", 2)", "請求"},
      {"Right$(\"請求書\", 1)", "書"},
      {"Mid(\"abcdef\", 2, 3)", "bcd"},
      {"Mid(\"abc\", 5)", ""},
      {"Len(\"請求書ab\")", "5"},
      {"Trim(\"  a b  \")", "a b"},
      {"LTrim(\" a \") & \"|\"", "a |"},
      {"RTrim(\" a \") & \"|\"", " a|"},
      {"UCase(\"ab\")", "AB"},
      {"LCase(\"AB\")", "ab"},
      {"InStr(\"abcabc\", \"c\")", "3"},
      {"InStr(4, \"abcabc\", \"c\")", "6"},
      {"InStr(\"abc\", \"z\")", "0"},
      {"Replace(\"a-b-c\", \"-\", \"+\")", "a+b+c"},
      {"IIf(1 > 2, \"済\", \"\") & \"|\"", "|"},
      {"Abs(-3)", "3"},
      {"Int(-2.5)", "-3"},
      {"Fix(-2.5)", "-2"},
      {"Len(Space(1000000))", "1000000"},
      {"Space(1000001)", "error: Space の長さが範囲の外です"},
      {"Space(-1)", "error: Space の長さが範囲の外です"},
      {"\"abc\" Like \"a*c\"", "True"},
      {"\"abc\" Like \"a?\"", "False"},
      {"\"a1\" Like \"*#\"", "True"},
      {"RTrim(\"  \") & \"|\"", "|"},
      {"\"0\" Like \"#\"", "True"},
      {"Left((\"abc\"), 2)", "ab"},
  });
}

// Format codes for numbers and dates, literal parts and sections.
TEST(Basic, FormatCodes) {
  ExpectEvaluations({
      {"Format(\"2026/12/07\", \"hh:nn:ss\")", "00:00:00"},
      {"Format(\"2026/12/07 9:05\", \"hh:nn\")", "09:05"},
      {"Format(1234567, \"#,##0\")", "1,234,567"},
      {"Format(0, \"#,##0\")", "0"},
      {"Format(3.14159, \"0.00\")", "3.14"},
      {"Format(2.5, \"0\")", "3"},
      {"Format(1000, \"#,##0円\")", "1,000円"},
      {"Format(-1234, \"#,##0\")", "-1,234"},
      {"Format(1234, \"\\#,##0\")", "#1,234"},
      {"Format(\"abc\", \"#,##0\")", "abc"},
      {"Format(\"2026/12/07\", \"yyyy年m月d日\")", "2026年12月7日"},
      {"Format(\"2026-1-5\", \"yyyy/mm/dd\")", "2026/01/05"},
      {"Format(5, \"0\"\" 個\"\"\")", "5 個"},
      {"Format(1, \"#.##\")", "1."},
      {"Format(0, \"0.0;(0.0);ゼロ\")", "ゼロ"},
      {"Format(-1, \"0.0;(0.0);ゼロ\")", "(1.0)"},
      {"Format(1.5, \"0.##\")", "1.5"},
      {"Format(1.25, \"0.#\")", "1.3"},
  });
}

// A builtin given too few or too many arguments says so.
TEST(Basic, ArgumentsCounted) {
  ExpectEvaluations({
      {"Trim()", "error: 「Trim」の引数の数が違います"},
      {"UCase(\"a\", \"b\")", "error: 「UCase」の引数の数が違います"},
      {"Len()", "error: 「Len」の引数の数が違います"},
      {"Sgn()", "error: 「Sgn」の引数の数が違います"},
      {"DateValue(\"2024/1/1\", 1)", "error: 「DateValue」の引数の数が違います"},
  });
}

TEST(Basic, ProgramsRunAndStopWithTheirLine) {
  const struct {
    const char* source;
    std::vector<std::string> lines;
    int errorLine;
    const char* error;
  } cases[] = {
      // Names are the same in any case, "Z" included.
      {"Sub Main()\nDim Zed\nzed = 3\nout.Add ZED\nEnd Sub", {"3"}, 0, ""},
      {"Sub Main()\nDim i As Integer\nFor i = 10 To 1 Step -3\nout.Add i\nNext i\nout.Add i\nEnd "
       "Sub",
       {"10", "7", "4", "1", "-2"},
       0,
       ""},
      {"Sub Main()\nDim sngI As Single, sngIGain As Single, sngIPos As Single, sngJ As Single\n"
       "sngIGain = 6.5\nFor sngI = 0 To 1\nsngIPos = sngI * sngIGain\nFor sngJ = 0 To 1\n"
       "out.Add sngIPos + sngJ * 40\nNext sngJ\nNext sngI\nEnd Sub",
       {"0", "40", "6.5", "46.5"},
       0,
       ""},
      {"Private Sub Main()\n  GoSub Two\n  out.Add \"1\"\n  Exit Sub\n'two\ntwo:\n  out.Add \"2\"\n"
       "  Return\nEnd Sub",
       {"2", "1"},
       0,
       ""},
      // Error handlers as VB6 runs them: Resume Next after the failed statement, Resume to
      // try it again, Resume label; Err and Error$ describe the error until Resume clears it.
      {"Sub Main()\nDim d As Integer\nOn Error GoTo H\nout.Add 10 / d\nout.Add \"next\"\n"
       "d = 0: out.Add 1 \\ d\nErr.Raise 1001, \"slip\", \"無い\"\nout.Add \"skipped\"\n"
       "Back:\nout.Add Err.Number\nExit Sub\n"
       "H:\nout.Add Err & \" \" & Error$ & \" \" & Err.Source\n"
       "If Err.Number = 11 And d = 0 Then d = 5: Resume\nIf Err = 1001 Then Resume Back\n"
       "Resume Next\nEnd Sub",
       {"11 0 で除算しました ", "2", "next", "11 0 で除算しました ", "0", "1001 無い slip", "0"},
       0,
       ""},
      // An error in a handler, or with GoTo 0, goes to the caller; Exit Sub from a handler clears
      // Err; a call that fails under Resume Next gives its depth back.
      {"Sub Main()\nOn Error Resume Next\nDim i As Integer\nFor i = 1 To 300\nFails\nNext\n"
       "out.Add Err.Number & \" \" & Error$(6)\nErr.Clear\nTaken\nout.Add Err.Number\n"
       "On Error GoTo 0\nFails\nEnd Sub\n"
       "Sub Fails()\nErr.Raise 513\nEnd Sub\n"
       "Sub Taken()\nOn Error GoTo H\nErr.Raise 9\nExit Sub\nH:\nExit Sub\nEnd Sub",
       {"513 オーバーフローしました。", "0"},
       15,
       "アプリケーション定義またはオブジェクト定義のエラーです。"},
      {"Sub Main()\nOn Error GoTo H\nout.Add 1 / 0\nExit Sub\nH:\nout.Add \"h\"\nDim x As Integer\n"
       "x = 40000\nEnd Sub",
       {"h"},
       8,
       "オーバーフローしました"},
      {"Sub Main()\nout.Add 1\nResume Next\nEnd Sub",
       {"1"},
       3,
       "エラーが発生していないのに Resume があります。"},
      // Type … End Type: records copied whole by an assignment, nested, in arrays and With;
      // a member keeps its type.
      {"Private Type Adr\nCity As String\nEnd Type\nType Slip\nNo As Integer\nA As Adr\nEnd Type\n"
       "Dim m(1) As Slip\nSub Main()\nDim s As Slip, t As Slip\ns.No = 7: s.A.City = \"大阪\"\n"
       "t = s: t.A.City = \"京都\"\nm(1) = t\nWith m(0)\n.No = 4\nEnd With\n"
       "out.Add s.A.City & m(1).A.City & m(1).No & m(0).No\nm(0).No = 40000\nEnd Sub",
       {"大阪京都74"},
       18,
       "オーバーフローしました"},
      {"Type T\nX As Integer\nEnd Type\nSub Main()\nDim t As T\nout.Add t.Y\nEnd Sub",
       {},
       6,
       "型「T」にメンバー「y」はありません"},
      // A text of 16 MB is made; one byte more stops.
      {"Sub Main()\nDim s As String, i As Integer\ns = \"a\"\nFor i = 1 To 24\ns = s & s\nNext\n"
       "out.Add Len(s)\ns = s & \"b\"\nEnd Sub",
       {"16777216"},
       8,
       "文字列が長すぎます（16 MB まで）"},
      // While ends when its condition fails; an Integer over a Long divides as Longs, so
      // -32768 \ -1& is 32768 (as Integers it would overflow).
      {"Sub Main()\nDim i As Integer\nWhile i < 2\ni = i + 1\nWend\nout.Add i\n"
       "i = -32767 - 1\nout.Add i \\ -1&\nout.Add i Mod -7&\nEnd Sub",
       {"2", "32768", "-1"},
       0,
       ""},
      {"Sub Main()\nDim n As Long\nDo While n < 3: n = n + 1: Loop\nout.Add n\n"
       "Do\nn = n - 1\nIf n = 1 Then Exit Do\nLoop Until n < 0\nout.Add n\nEnd Sub",
       {"3", "1"},
       0,
       ""},
      {"Sub Main()\nDim x As Integer\nx = 5\nIf x > 9 Then\nout.Add \"a\"\nElseIf x > 4 Then\n"
       "out.Add \"b\"\nElse\nout.Add \"c\"\nEnd If\nIf x = 5 Then out.Add \"d\" Else out.Add "
       "\"e\"\n"
       "Select Case x\nCase 1, 2\nout.Add \"f\"\nCase 3 To 5\nout.Add \"g\"\nCase Else\nout.Add "
       "\"h\"\n"
       "End Select\nEnd Sub",
       {"b", "d", "g"},
       0,
       ""},
      {"Public Sub Main()\nDim a As Integer\na = 1\nTwice a\nout.Add a\nCall Twice((a))\nout.Add "
       "a\n"
       "out.Add Sq(a) _\n  + 1\nEnd Sub\nSub Twice(ByRef v As Integer)\nv = v * 2\nEnd Sub\n"
       "Function Sq(ByVal v As Integer) As Long\nSq = v * v\nEnd Function",
       {"2", "2", "5"},
       0,
       ""},
      {"Sub Main()\nDim arr(2) As Long\narr(2) = 7\nout.Add arr(2) + arr(0)\narr(3) = 1\nEnd Sub",
       {"7"},
       5,
       "添字 3 が配列の範囲（0 To 2）の外です"},
      {"Sub Main()\nout.Add \"x\"\nReturn\nEnd Sub", {"x"}, 3, "GoSub のない Return です"},
      // A name never declared: Empty without Option Explicit; a call of no procedure refused.
      {"Sub Main()\nDim i As Integer\ni = undefinedName + 1\nout.Add i\nNoSuchSub\nEnd Sub",
       {"1"},
       5,
       "「NoSuchSub」が定義されていません"},
      {"Sub Main()\nDim i As Integer\ni = 32767\ni = i + 1\nEnd Sub",
       {},
       4,
       "オーバーフローしました"},
      {"Sub Main()\nDo\nLoop\nEnd Sub",
       {},
       3,
       "実行の手数が上限（100000）を超えました。終わらないループではありませんか"},
      {"Sub Main()\nOn Error Resume Next\nout.Add 1 / 0\nout.Add \"next\"\nEnd Sub",
       {"next"},
       0,
       ""},
      {"Private n As Long\nSub Main()\nn = n + 2\nout.Add n\nEnd Sub", {"2"}, 0, ""},
      // A Sub that fails is one statement of its caller: Resume Next goes on after the call.
      {"Sub G()\nout.Add 1 / 0\nEnd Sub\nSub Main()\nOn Error Resume Next\nG\nout.Add "
       "\"after\"\nEnd "
       "Sub",
       {"after"},
       0,
       ""},
      {"Sub Main()\nIf 1 Then\nout.Add 1\nEnd Sub", {}, 2, "ブロックが閉じられていません"},
      {"Sub Main()\nout.Add \"a\nEnd Sub", {}, 2, "文字列が \" で閉じられていません"},
      {"Sub Main()\nMain\nEnd Sub", {}, 2, "呼び出しが深すぎます（64 段まで）"},
      {"Sub Main()\nWith out\n.Add 1\nEnd With\nEnd Sub _", {"1"}, 0, ""},
      {"Sub Main()\nRem\ta remark\nout.Add 1 + _\n  2\nout.Add 1 / 0\nEnd Sub",
       {"3"},
       5,
       "0 で除算しました"},
      {"Sub Main()\nDim o As Object\nSet o = 5\nEnd Sub", {}, 3, "Set の右辺はオブジェクトです"},
      {"Sub Main()\nSelect Case 1\nCase Else\nCase 1\nEnd Select\nEnd Sub",
       {},
       4,
       "Case Else のあとに Case は書けません"},
      {"Sub Main()\nDim i As Integer\nFor i = 1 To 5\nIf i = 3 Then\nExit For\nEnd If\nNext\n"
       "out.Add i\nEnd Sub",
       {"3"},
       0,
       ""},
      {"Sub Main()\nDim x\nx = .a\nEnd Sub", {}, 3, "式が必要です（「.」 のところ）"},
      {"Sub Main()\r\nout.Add 1\r\nout.Add 1 / 0\r\nEnd Sub", {"1"}, 3, "0 で除算しました"},
      {"Sub Main()\nout.Add F()\nout.Add F(2)\nout.Add F(, 3)\nEnd Sub\n"
       "Function F(Optional x As Integer = 7, Optional y As Integer) As Integer\nF = x + y\n"
       "End Function",
       {"7", "2", "10"},
       0,
       ""},
      {"Sub Main()\nDim s As String\ns = \"ab\"\nDo\ns = s & s\nLoop\nEnd Sub",
       {},
       5,
       "文字列が長すぎます（16 MB まで）"},
  };
  for (const auto& c : cases) {
    const Outcome o = RunProgram(c.source);
    EXPECT_EQ(o.lines, c.lines) << c.source;
    if (c.errorLine == 0) {
      EXPECT_FALSE(o.error) << c.source << "\n" << (o.error ? o.error->message : "");
    } else {
      ASSERT_TRUE(o.error) << c.source;
      EXPECT_EQ(o.error->line, c.errorLine) << c.source;
      EXPECT_EQ(o.error->message, c.error) << c.source;
    }
  }
}

}  // namespace
}  // namespace qf::basic

namespace qf::basic {
namespace {

// Programs and design fields come from other people: nesting past the bound is refused with the
// line, never a crash, on both sides of the bound, however deep (parentheses, Not, signs,
// operators, members, one-line Ifs).
TEST(Basic, NestingIsBoundedBeforeTheStackIs) {
  const auto nested = [](const std::string& open, const std::string& inner,
                         const std::string& close, int n) {
    std::string e;
    for (int i = 0; i < n; ++i) e += open;
    e += inner;
    for (int i = 0; i < n; ++i) e += close;
    return e;
  };
  const std::string deep = "式や If の入れ子が深すぎます（256 段まで）";
  struct Case {
    std::string expression;
    bool taken;
  };
  std::vector<Case> cases;
  for (const int n : {255, 256, 20000}) {
    cases.push_back({nested("(", "1", ")", n), n < 256});
    cases.push_back({nested("Not ", "0", "", n), n < 256});
    cases.push_back({nested("-", "1", "", n), n < 256});
    cases.push_back({nested("CStr(", "1", ")", n), n < 256});
  }
  for (const int n : {256, 257}) {
    std::string sum = "1";
    for (int i = 1; i < n; ++i) sum += "+1";
    cases.push_back({sum, n == 256});
  }
  for (const Case& c : cases) {
    const std::string v = Eval(c.expression);
    EXPECT_EQ(v.find(deep) == std::string::npos, c.taken) << c.expression.size() << " " << v;
  }
  // In a program it names the line; one-line Ifs nest as deep.
  const Outcome o = RunProgram("Sub Main()\nout.Add 1\n" +
                               nested("If 1 Then ", "out.Add 2", "", 300) + "\nEnd Sub");
  ASSERT_TRUE(o.error);
  EXPECT_EQ(o.error->line, 3);
  EXPECT_EQ(o.error->message.rfind(deep, 0), 0u) << o.error->message;
  EXPECT_FALSE(
      RunProgram("Sub Main()\n" + nested("If 1 Then ", "out.Add 2", "", 255) + "\nEnd Sub").error);
  // A design's field: the merge shows nothing there and says why.
  std::string why;
  EXPECT_FALSE(
      FieldExpressions().evaluate(nested("(", "rs!姓", ")", 20000), {"姓"}, {"山田"}, &why));
  EXPECT_EQ(why.rfind(deep, 0), 0u) << why;
}

// A merge's field expressions show what the program will print; one that names what the records
// cannot give finds its column by its last name, as before.
TEST(Basic, MergeFieldsAreEvaluatedExpressions) {
  test::DesignBuilder b;
  const char* fields[] = {"Format(rs!金額, \"#,##0\")",
                          "rs!姓 & \" \" & rs!名",
                          "IIf(rs!区分 = \"1\", \"済\", \"\")",
                          "Format(rs!日付, \"yyyy年m月d日\")",
                          "Items(sngI).顧客名",
                          "rs!無い"};
  for (const char* f : fields) b.text("x", 1, 2, 0, f);
  const std::vector<std::string> header = {"金額", "姓", "名", "区分", "日付", "顧客名"};
  const FieldMatch m = MatchFields(b.design, header, &FieldExpressions());
  EXPECT_EQ(m.evaluated.size(), 4u);
  EXPECT_EQ(m.found, std::vector<std::string>{"Items(sngI).顧客名"});
  EXPECT_EQ(m.missing, std::vector<std::string>{"rs!無い"});
  MergedPage page;
  page.match = &m;
  page.records = {{"1234567", "山田", "太郎", "1", "2026/12/08", "山田商店"},
                  {"abc", "", "", "2", "x", ""}};
  const std::vector<std::vector<std::string>> expected = {
      {"1,234,567", "山田 太郎", "済", "2026年12月8日", "山田商店"}, {"abc", " ", "", "x", ""}};
  for (long pass = 0; pass < 2; ++pass) {
    for (int row = 1; row <= 5; ++row) {
      EXPECT_EQ(page.value(row, pass).value_or("?"),
                expected[static_cast<size_t>(pass)][static_cast<size_t>(row - 1)])
          << fields[row - 1] << " pass " << pass;
    }
  }
  EXPECT_FALSE(page.value(6, 0));  // no column: the literal text stays
  std::string why;
  EXPECT_FALSE(FieldExpressions().evaluate("CLng(rs!金額)", header, page.records[1], &why));
  EXPECT_EQ(why, "型が一致しません（\"abc\" は数値ではありません）");
  EXPECT_EQ(FieldExpressions().evaluate("rs.Fields(\"姓\")", header, page.records[0], &why),
            "山田");
  EXPECT_FALSE(FieldExpressions().evaluate("rs.Bogus(\"姓\")", header, page.records[0], &why));
  // A field is one expression: what follows a ":" or a line break never runs.
  for (const char* injected : {"rs!姓: Err.Raise 7", "rs!姓\nEnd", "rs!姓 : x = 1"}) {
    why.clear();
    EXPECT_FALSE(FieldExpressions().evaluate(injected, header, page.records[0], &why)) << injected;
    EXPECT_EQ(why.rfind("式は一つだけ書けます（文は続けられません）（「", 0), 0u) << injected;
  }
  EXPECT_FALSE(FieldExpressions().evaluate("rs!姓 rs!名", header, page.records[0], &why));
  EXPECT_EQ(why, "式の終わりが必要です（「rs」 のところ）");
}

}  // namespace
}  // namespace qf::basic

namespace qf::basic {
namespace {

// Records a program is handed: rs by column name or number (past the last refused), the page's
// records by number (past the page, or before it, empty), NAME.Column the first of them; Err
// cleared by Clear.
TEST(Basic, RecordsByNumberAndName) {
  CsvError why;
  RecordSet rs(CsvReader::FromBytes("Name,No\nA,1\nB,2\nC,3\n", "r.csv", {}, &why));
  EXPECT_EQ(ToText(rs.index({Value::Int(1)})), "1");
  EXPECT_THROW(rs.index({Value::Int(2)}), RunFailure);
  PageRecords page(CsvReader::FromBytes("Name,No\nA,1\nB,2\nC,3\n", "r.csv", {}, &why), 2);
  const auto name = [&](int i) {
    return ToText(page.index({Value::Int(i)}).object()->get("name"));
  };
  EXPECT_EQ(name(1), "B");
  EXPECT_EQ(name(2), "");
  EXPECT_EQ(name(-1), "");
  EXPECT_EQ(ToText(page.get("name")), "A");
  EXPECT_EQ(RunProgram("Sub Main()\nOn Error Resume Next\nErr.Raise 7\nout.Add Err\nErr.Clear\n"
                       "out.Add Err\nEnd Sub")
                .lines,
            (std::vector<std::string>{"7", "0"}));
}

// A record set moved about as ADO moves one: counts, positions, BOF and EOF, Fields by number
// and name with their names and values, !Name inside With rs.
TEST(Basic, RecordSetsAreNavigated) {
  CsvError why;
  auto rs = std::make_shared<RecordSet>(
      CsvReader::FromBytes("Name,No\nA,1\nB,2\nC,3\n", "r.csv", {}, &why));
  const Outcome o = RunProgram(
      "Sub Main()\nout.Add rs.RecordCount & rs.AbsolutePosition & rs!Name\n"
      "rs.MoveLast: out.Add rs!Name & rs.AbsolutePosition\nrs.MovePrevious: out.Add rs(\"name\")\n"
      "rs.MoveFirst: rs.MovePrevious: out.Add rs.BOF & rs.AbsolutePosition\n"
      "rs.MoveNext: out.Add rs.Fields.Count & rs.Fields(1).Name & rs.Fields(\"No\") & "
      "rs.Fields(0).Value\nWith rs\n.MoveLast: .MoveNext\nout.Add .EOF & .AbsolutePosition\n"
      ".MoveFirst\nout.Add !Name & !No\nEnd With\nDim f\nFor Each f In rs.Fields\n"
      "out.Add f.Name & \"=\" & f\nNext\nrs.MoveLast: rs.MoveNext: rs.MoveNext\nEnd Sub",
      rs);
  EXPECT_EQ(o.lines, (std::vector<std::string>{"31A", "C3", "B", "True-2", "2No1A", "True-3", "A1",
                                               "Name=A", "No=1"}));
  ASSERT_TRUE(o.error);
  EXPECT_EQ(o.error->message, "レコードの終わり (EOF) を越えて MoveNext しました");
  EXPECT_EQ(o.error->line, 17);
  // No records: at once at the start and the end.
  auto none = std::make_shared<RecordSet>(CsvReader::FromBytes("Name\n", "r.csv", {}, &why));
  EXPECT_EQ(RunProgram("Sub Main()\nout.Add rs.BOF & rs.EOF & rs.RecordCount\nEnd Sub", none).lines,
            (std::vector<std::string>{"TrueTrue0"}));
}

// Run without records, a stop at a name the program reads as records (rs!…, NAME(i).…, NAME.…)
// says which names a data file gives; one it declares itself is none of them.
TEST(Basic, WithoutRecordsAStopSaysWhichNamesADataFileGives) {
  RecordingPort port;
  test::FakePictures pictures;
  const auto error = RunOnPrinter(
      "Sub F_DataPrint()\n  Dim Own(1) As String\n  Printer.Print Own(0) & Cust.顧客名\n"
      "  Printer.Print Items(0).品名 & rs!番号\nEnd Sub\n",
      "F_DataPrint", port, pictures);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->line, 3);
  EXPECT_EQ(error->message,
            "「Cust」が定義されていません（Cust、Items、rs はデータのレコードです。"
            "差し込みデータでデータファイルを選ぶと、ページのレコードが入ります）");
}

// The Printer object drives its port's pages with the state the program set: Print moves the
// current point by the text's width (a number with the blank of its sign), TextWidth measures
// in the page's font, Line BF, an arc, NewPage, EndDoc once.
TEST(Basic, ThePrinterDrawsOnItsPortsPages) {
  RecordingPort port;
  test::FakePictures pictures;
  const auto error = RunOnPrinter(
      "Sub F_DataPrint()\n  Printer.PaperSize = 8: Printer.Orientation = 2: Printer.ScaleMode = 6\n"
      "  Printer.Font.Name = \"ＭＳ 明朝\": Printer.Font.Size = 12: Printer.FontBold = True\n"
      "  Printer.CurrentX = 10: Printer.CurrentY = 20\n  Printer.Print \"ab\"; 0;\n"
      "  Printer.CurrentX = Printer.TextWidth(\"abcd\") + Printer.TextHeight(\"a\") * 0\n"
      "  Printer.Print \"x\"\n  Printer.Line (1, 2)-(3, 4), RGB(255, 0, 0), BF\n"
      "  Printer.Circle (5, 5), 2, , 0, 3.1415926 / 2\n  Printer.NewPage\n"
      "  Printer.Print \"p2\";\n  Printer.EndDoc\nEnd Sub\n",
      "F_DataPrint", port, pictures);
  ASSERT_FALSE(error) << error->message;
  ASSERT_EQ(port.pages.size(), 2u);
  EXPECT_EQ(port.page().paperSize, 8);
  EXPECT_EQ(port.page().orientation, 2);
  EXPECT_EQ(port.ended, 1);
  EXPECT_EQ(port.pages[0].only({"font"}).front(), "font ＭＳ 明朝 12 B");
  EXPECT_EQ(port.pages[0].only({"at", "print", "boxfill", "circle"}),
            (std::vector<std::string>{"at 10,20", "print ab", "at 12,20", "print  0 ", "at 4,20",
                                      "print x", "boxfill 1,2-3,4 #0000FF",
                                      "circle 5,5 r2 #000000 a1 arc 0-1.571"}));
  EXPECT_EQ(port.pages[1].only({"at", "print"}), (std::vector<std::string>{"at 0,0", "print p2"}));
}

// A program that ends after NewPage without EndDoc still ends its document, once.
TEST(Basic, APrintedDocumentEndsWithoutEndDoc) {
  RecordingPort port;
  test::FakePictures pictures;
  const auto error =
      RunOnPrinter("Sub F_DataPrint()\n  Printer.Print \"p1\"\n  Printer.NewPage\nEnd Sub\n",
                   "F_DataPrint", port, pictures);
  ASSERT_FALSE(error) << error->message;
  EXPECT_EQ(port.ended, 1);
}

}  // namespace
}  // namespace qf::basic
