// The language as printing routines use it beyond what we generate: arrays that change size,
// Static, fixed-length texts, the Mid statement, For Each, collections, type characters.
#include <gtest/gtest.h>

#include "basic/test_programs.h"

namespace qf::basic {
namespace {

struct Case {
  const char* what;
  const char* body;  // the statements of Sub Main
  std::vector<std::string> lines;
  const char* error = "";  // the reason a stop gives, empty when the program runs through
};

void RunCases(const std::vector<Case>& cases, const char* declarations = "") {
  for (const Case& c : cases) {
    const Outcome o =
        RunProgram(std::string(declarations) + "\nSub Main()\n" + c.body + "\nEnd Sub\n");
    EXPECT_EQ(o.lines, c.lines) << c.what;
    EXPECT_EQ(o.error ? o.error->message : "", c.error) << c.what;
  }
}

TEST(Language, ArraysThatChangeSize) {
  RunCases({
      {"ReDim sizes, Preserve keeps what still fits, bounds from 1",
       "Dim a() As Integer\nReDim a(2)\na(2) = 5: a(0) = 1\nReDim Preserve a(4)\n"
       "out.Add a(0) & a(2) & a(4) & LBound(a) & UBound(a)\nReDim Preserve a(1)\n"
       "out.Add UBound(a) & a(0)\nReDim a(1 To 3)\nout.Add LBound(a) & UBound(a) & a(1)",
       {"15004", "11", "130"}},
      {"two dimensions: UBound of each, Preserve keeps each element's place",
       "Dim g() As Long\nReDim g(1, 2)\ng(1, 2) = 7: g(0, 1) = 3\nReDim Preserve g(1, 3)\n"
       "out.Add UBound(g, 1) & UBound(g, 2) & g(1, 2) & g(0, 1) & g(1, 3)",
       {"13730"}},
      {"a dimension past the array's is refused",
       "Dim g(2, 3)\nout.Add UBound(g, 3)",
       {},
       "UBound の次元が配列の外です"},
      {"Erase empties a fixed array and frees a dynamic one",
       "Dim b(2) As Integer, d() As String\nb(1) = 3: ReDim d(1): d(1) = \"x\"\nErase b, d\n"
       "out.Add b(1) & UBound(b)\nout.Add UBound(d)",
       {"02"},
       "UBound の次元が配列の外です"},
      {"an array not sized yet",
       "Dim d() As Integer\nd(0) = 1",
       {},
       "大きさの決まっていない配列です（ReDim で大きさを決めてください）"},
      {"a fixed array cannot be ReDim'd",
       "Dim b(2)\nReDim b(3)",
       {},
       "大きさを決めて宣言した配列は ReDim できません"},
      {"ReDim declares a name not seen before; an array of a Type",
       "ReDim n(1) As String\nn(1) = \"a\"\nout.Add n(1) & UBound(n)",
       {"a1"}},
  });
}

TEST(Language, StaticFixedTextsAndMid) {
  RunCases(
      {
          {"Static keeps its value between calls; Dim does not",
           "Call Tally: Call Tally: Call Tally",
           {"1 1", "2 1", "3 1"}},
          {"String * n is filled out with blanks and cut",
           "Dim s As String * 5\nout.Add \"[\" & s & \"]\"\ns = \"ab\": out.Add \"[\" & s & \"]\"\n"
           "s = \"abcdefg\": out.Add s & Len(s)\ns = \"日本語の文字\": out.Add s",
           {"[     ]", "[ab   ]", "abcde5", "日本語の文"}},
          {"a member of a Type keeps its fixed length",
           "Dim r As Slip\nr.Code = \"A1\": out.Add \"[\" & r.Code & \"]\"",
           {"[A1  ]"}},
          {"the Mid statement replaces in place, never past the end",
           "Dim s As String\ns = \"ABCDEF\"\nMid(s, 2, 3) = \"xyzw\": out.Add s\n"
           "Mid$(s, 5) = \"123\": out.Add s\nMid(s, 1, 1) = \"\": out.Add s\nMid(s, 7) = \"q\"",
           {"AxyzEF", "Axyz12", "Axyz12"},
           "Mid の開始位置が文字列の外です"},
          {"type characters: a name with and without is one name; the character gives the type",
           "Dim s$, i%\ns = 3 + 4: out.Add s & \"x\"\nout.Add Len(k) & k%\ni = 40000",
           {"7x", "15"},
           "オーバーフローしました"},
          {"a one-line If with assignments in both branches",
           "Dim a As Integer\nIf a = 0 Then a = 1 Else a = 2\nout.Add a\n"
           "If a = 0 Then a = 1 Else a = 2: out.Add \"else\"\nout.Add a",
           {"1", "else", "2"}},
      },
      "Const k% = 5\nType Slip\nCode As String * 4\nEnd Type\n"
      "Sub Tally()\nStatic n As Integer\nDim m As Integer\nn = n + 1: m = m + 1\n"
      "out.Add n & \" \" & m\nEnd Sub\n");
}

TEST(Language, ForEachAndCollections) {
  RunCases({
      {"For Each over an array, in order",
       "Dim a(2) As Integer, v As Variant, t As Integer\na(0) = 1: a(1) = 2: a(2) = 4\n"
       "For Each v In a\nt = t * 10 + v\nNext v\nout.Add t",
       {"124"}},
      {"an empty group runs no pass; Exit For leaves",
       "Dim c As New Collection, v\nFor Each v In c\nout.Add \"never\"\nNext\n"
       "c.Add 1: c.Add 2: c.Add 3\nFor Each v In c\nIf v = 2 Then Exit For\nout.Add v\nNext\n"
       "out.Add v",
       {"1", "2"}},
      {"a Collection: Add with keys, before and after, Item by place and key, Remove, Count",
       "Dim c As Collection\nSet c = New Collection\nc.Add \"b\", \"kb\"\nc.Add \"a\", \"ka\", 1\n"
       "c.Add \"c\", , , 2\nout.Add c(1) & c.Item(2) & c(3) & c(\"KB\") & c.Count\n"
       "c.Remove \"ka\": c.Remove 1\nout.Add c.Count & c(1)",
       {"abcb3", "1c"}},
      {"a key twice is refused",
       "Dim c As New Collection\nc.Add 1, \"k\"\nc.Add 2, \"K\"",
       {},
       "キー「K」はもうコレクションにあります"},
      {"a place past the end, and 0",
       "Dim c As New Collection\nc.Add 1\nout.Add c(1)\nout.Add c(2)",
       {"1"},
       "コレクションの範囲の外です（1 から 1）"},
      {"nested For Each over two collections",
       "Dim x As New Collection, y As New Collection, i, j\nx.Add 1: x.Add 2: y.Add \"a\": "
       "y.Add \"b\"\nFor Each i In x\nFor Each j In y\nout.Add i & j\nNext j, i",
       {"1a", "1b", "2a", "2b"}},
      {"a number is no group",
       "Dim v\nFor Each v In 5\nNext",
       {},
       "For Each で回せるのは配列かコレクションです"},
  });
}

// A run has no screen: MsgBox answers with its default button and, like Debug.Print and
// InputBox, leaves its text in the run's messages; DoEvents and the mouse pointer do nothing.
TEST(Language, NoScreenInARun) {
  const Outcome o = RunProgram(
      "Sub Main()\nout.Add MsgBox(\"ok?\")\nout.Add MsgBox(\"y\", vbYesNo + vbQuestion, \"確認\")\n"
      "out.Add MsgBox(\"n\", vbYesNo Or vbDefaultButton2)\n"
      "out.Add MsgBox(\"c\", vbYesNoCancel + vbDefaultButton3)\n"
      "out.Add MsgBox(\"r\", vbAbortRetryIgnore + vbDefaultButton2)\n"
      "out.Add MsgBox(\"x\", vbOKOnly + vbDefaultButton3)\n"
      "out.Add InputBox(\"name?\", \"t\", \"既定\") & \"|\" & InputBox(\"q\")\n"
      "Debug.Print \"a\"; 1, \"b\"\nDebug.Print\nDebug.Print \"a\"; Tab(5); \"b\"; Spc(2); \"c\"; "
      "Tab(2); \"d\"\nDoEvents\nScreen.MousePointer = vbHourglass\n"
      "out.Add Screen.MousePointer & vbYellow\nout.Add MsgBox(\"bad\", 6)\nEnd Sub");
  EXPECT_EQ(o.lines, (std::vector<std::string>{"1", "6", "7", "2", "4", "1", "既定|", "1165535"}));
  EXPECT_EQ(o.said,
            (std::vector<std::string>{"MsgBox：ok?", "MsgBox「確認」：y", "MsgBox：n", "MsgBox：c",
                                      "MsgBox：r", "MsgBox：x", "InputBox：name?", "InputBox：q",
                                      "a 1           b", "", "a   b  c", " d", "MsgBox：bad"}));
  ASSERT_TRUE(o.error);
  EXPECT_EQ(o.error->message, "MsgBox のボタンの値が正しくありません");
}

}  // namespace
}  // namespace qf::basic
