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
      {"two dimensions hold every element apart",
       "Dim a(1 To 2, 0 To 3), i, j, s\nFor i = 1 To 2: For j = 0 To 3: a(i, j) = i * 10 + j: "
       "Next: Next\n"
       "For i = 1 To 2: For j = 0 To 3: s = s & a(i, j) & \" \": Next: Next\nout.Add s",
       {"10 11 12 13 20 21 22 23 "}},
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
      {"Split, Join and Array: arrays held as values, read, set, walked and bounded",
       "Dim p, names() As String, v, x\np = Split(\"a,b,,c\", \",\")\n"
       "out.Add UBound(p) & \"[\" & p(2) & \"]\" & Join(p, \"-\")\n"
       "out.Add UBound(Split(\"a b c\")) & Split(\"a,b,c\", \",\", 2)(1) & UBound(Split(\"\", "
       "\",\"))\n"
       "names = Split(\"x;y\", \";\")\nout.Add UBound(names) & names(1) & Join(names, \"+\")\n"
       "v = Array(1, \"two\", 3)\nv(1) = \"zwei\"\nFor Each x In v\nout.Add x\nNext\nout.Add v(3)",
       {"3[]a-b--c", "2b,c-1", "1yx+y", "1", "zwei", "3"},
       "添字 3 が配列の範囲（0 To 2）の外です"},
      {"TypeName, VarType and the Is functions, of values, arrays and objects",
       "Dim i As Integer, s As String, a(2) As Long, v, c As New Collection, o As Object\n"
       "out.Add TypeName(i) & \" \" & TypeName(s) & \" \" & TypeName(a) & \" \" & TypeName(v) & "
       "\" \" & TypeName(c) & \" \" & TypeName(o) & \" \" & TypeName(#1/1/2000#) & \" \" & "
       "TypeName(1.5@)\nout.Add VarType(i) & VarType(a) & VarType(Split(\"a\")) & VarType(v) & "
       "VarType(\"x\")\nout.Add IsEmpty(v) & IsEmpty(s) & IsArray(a) & IsArray(i) & IsObject(c) & "
       "IsNull(v)",
       {"Integer String Long() Empty Collection Nothing Date Currency", "28195820408",
        "TrueFalseTrueFalseTrueFalse"}},
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

// Classes as the language's editor saves them: a header and Attribute lines left out, Private
// members unseen from outside, Property Get and Let, Class_Initialize and Class_Terminate
// (when the last reference goes), Me, New and Dim As New, Set … = Nothing.
TEST(Language, ClassesWithPropertiesAndTheirLife) {
  const SourceFile main{"main.bas",
                        "Attribute VB_Name = \"Main\"\nSub Main()\n"
                        "  Dim c As CLabel, d As New CLabel\n  Set c = New CLabel\n"
                        "  c.Caption = \"山田\"\n  out.Add c.Caption & c.Count & d.Count\n"
                        "  c.Bump 2\n  out.Add c.Count & c.Twice(3)\n  out.Add c.Width\n"
                        "  c.Width = 5\n  Set c = Nothing\n  out.Add \"after\"\n"
                        "  out.Add c Is Nothing\n  out.Add d.Helper\nEnd Sub\n"};
  const SourceFile label{
      "label.cls",
      "VERSION 1.0 CLASS\nBEGIN\n  MultiUse = -1  'True\nEND\nAttribute VB_Name = \"CLabel\"\n"
      "Option Base 0\nPrivate mCaption As String\nPublic Width As Integer\n"
      "Private mCount As Long\nPrivate Sub Class_Initialize()\n  mCount = 1: Width = 10\n"
      "End Sub\nPrivate Sub Class_Terminate()\n  out.Add \"bye \" & mCaption\nEnd Sub\n"
      "Public Property Get Caption() As String\n  Caption = mCaption\nEnd Property\n"
      "Public Property Let Caption(ByVal v As String)\n  mCaption = \"[\" & v & \"]\"\n"
      "End Property\nPublic Property Get Count() As Long\n  Count = mCount\nEnd Property\n"
      "Public Sub Bump(n As Long)\n  mCount = mCount + n\n  Me.Note\nEnd Sub\n"
      "Public Function Twice(x As Integer) As Integer\n  Twice = x * 2 + Helper()\n"
      "End Function\nPrivate Function Helper() As Integer\n  Helper = 0\nEnd Function\n"
      "Public Sub Note()\n  Attribute Note.VB_Description = \"x\"\n  out.Add \"note \" & mCount\n"
      "  If mCount > 2 Then Exit Sub\nEnd Sub\n"};
  const Outcome o = RunFiles({main, label});
  EXPECT_EQ(o.lines, (std::vector<std::string>{"[山田]11", "note 3", "36", "10", "bye [山田]",
                                               "after", "True", "bye "}));
  ASSERT_TRUE(o.error);
  EXPECT_EQ(o.error->message, "「Helper」は CLabel の Private なプロシージャです");
  EXPECT_EQ(o.error->line, 14);
  EXPECT_EQ(o.error->file, "main.bas");
  // A parse error names the file it is in; a class is named once.
  const Outcome bad = RunFiles({main, {"x.cls", "Sub F(\nEnd Sub\n"}});
  ASSERT_TRUE(bad.error);
  EXPECT_EQ(bad.error->file, "x.cls");
  EXPECT_EQ(RunFiles({main, label, label}).error->message,
            "クラス「CLabel」が二度定義されています");
  EXPECT_EQ(RunProgram("Sub Main()\nout.Add Me\nEnd Sub").error->message,
            "Me はクラスの中でだけ使えます");
}

// Without Option Explicit a name never assigned reads as Empty; with it, a name never declared
// is refused before anything runs, with its line.
TEST(Language, OptionExplicitRefusesUndeclaredNames) {
  const Outcome loose =
      RunProgram("Sub Main()\nb = 2\nout.Add \"[\" & c & \"]\" & (c + 1) & b\nEnd Sub");
  EXPECT_EQ(loose.lines, (std::vector<std::string>{"[]12"}));
  EXPECT_FALSE(loose.error);
  const std::string declared =
      "Option Explicit\nConst K = 1\nPrivate Total As Long\nEnum Kinds\nkA\nkB = 5: kC\nEnd Enum\n"
      "Sub Main()\nDim i As Integer, v\nFor i = 1 To K: Total = Total + i: Next\n"
      "For Each v In Array2(kB)\nNext\nPrinter.Print Format(Now, \"yyyy\") & rs!Name & Err & "
      "TypeName(v) & VarType(v) & IsEmpty(v) & IsNull(v) & IsArray(v) & IsObject(v)\n";
  const auto refused = [&](const std::string& rest) {
    try {
      Parse(declared + rest);
    } catch (const BasicError& e) {
      return std::to_string(e.line) + " " + e.message;
    }
    return std::string("ran");
  };
  EXPECT_EQ(refused("End Sub\nFunction Array2(n)\nArray2 = n\nEnd Function\n"), "ran");
  // An Enum's members count on from the last value given.
  EXPECT_EQ(RunProgram("Enum Kinds\nkA\nkB = 5\nkC\nEnd Enum\nSub Main()\nout.Add kA & kB & kC\n"
                       "End Sub")
                .lines,
            (std::vector<std::string>{"056"}));
  EXPECT_EQ(refused("x = 1\nEnd Sub\nFunction Array2(n)\nEnd Function\n"),
            "14 変数が定義されていません（「x」）");
  EXPECT_EQ(refused("End Sub\nFunction Array2(n)\nArray2 = m\nEnd Function\n"),
            "16 変数が定義されていません（「m」）");
  EXPECT_EQ(refused("Call Nowhere\nEnd Sub\nFunction Array2(n)\nEnd Function\n"),
            "14 変数が定義されていません（「Nowhere」）");
}

// A form's code runs without its description: the controls' block is left out.
TEST(Language, TheCodeOfAFormRuns) {
  const SourceFile form{"slip.frm",
                        "VERSION 5.00\nObject = \"{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0\"; "
                        "\"MSCOMCTL.OCX\"\nBegin VB.Form frmSlip\n   Caption = \"Slip\"\n"
                        "   Begin VB.CommandButton cmdPrint\n      Caption = \"Print\"\n   End\n"
                        "End\nAttribute VB_Name = \"frmSlip\"\nAttribute VB_Creatable = False\n"
                        "Sub Main()\n  out.Add \"line \" & 12\n  Screen.MousePointer = 11\n"
                        "End Sub\n"};
  const Outcome o = RunFiles({form});
  EXPECT_EQ(o.lines, (std::vector<std::string>{"line 12"}));
  EXPECT_FALSE(o.error) << o.error->message;
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
      "out.Add Screen.MousePointer & vbYellow\nout.Add App.Path & App.EXEName\n"
      "out.Add MsgBox(\"bad\", 6)\nEnd Sub");
  EXPECT_EQ(o.lines, (std::vector<std::string>{"1", "6", "7", "2", "4", "1", "既定|", "1165535",
                                               ".Quillform"}));
  EXPECT_EQ(o.said,
            (std::vector<std::string>{"MsgBox：ok?", "MsgBox「確認」：y", "MsgBox：n", "MsgBox：c",
                                      "MsgBox：r", "MsgBox：x", "InputBox：name?", "InputBox：q",
                                      "a 1           b", "", "a   b  c", " d", "MsgBox：bad"}));
  ASSERT_TRUE(o.error);
  EXPECT_EQ(o.error->message, "MsgBox のボタンの値が正しくありません");
}

// A Type's array members: fixed bounds or sized by ReDim [Preserve], elements of the member's
// type, copied with their record, bounded, walked by For Each, records inside records.
TEST(Language, ArrayMembersOfTypes) {
  const char* declarations =
      "Type Item\n  Code As String * 3\nEnd Type\n"
      "Type Row\n  Cells(1 To 3) As Long\n  Tags() As String\n  Items(1) As Item\nEnd Type\n";
  RunCases(
      {
          {"fixed, typed, copied",
           "Dim r As Row, c As Row, x\nr.Cells(1) = \"7\": r.Cells(3) = 9: c = r: c.Cells(1) = 1\n"
           "out.Add TypeName(r.Cells(1)) & r.Cells(1) & r.Cells(2) & r.Cells(3) & c.Cells(1)\n"
           "out.Add LBound(r.Cells) & UBound(r.Cells)\nFor Each x In r.Cells: out.Add x: Next",
           {"Long7091", "13", "7", "0", "9"}},
          {"ReDim, Preserve, a whole array",
           "Dim r As Row\nReDim r.Tags(1)\nr.Tags(1) = \"a\"\nReDim Preserve r.Tags(2)\n"
           "out.Add r.Tags(1) & UBound(r.Tags)\nReDim r.Tags(1 To 1)\nout.Add \"[\" & r.Tags(1) & "
           "\"]\"\n"
           "r.Tags = Split(\"x,y\", \",\")\nout.Add r.Tags(1)",
           {"a2", "[]", "y"}},
          {"records in a member",
           "Dim r As Row\nr.Items(1).Code = \"ABCD\"\nout.Add r.Items(1).Code",
           {"ABC"}},
          {"past the bounds",
           "Dim r As Row\nr.Cells(4) = 1",
           {},
           "添字 4 が配列の範囲（1 To 3）の外です"},
          {"before its ReDim",
           "Dim r As Row\nout.Add r.Tags(0)",
           {},
           "添字 0 が配列の範囲（0 To -1）の外です"},
      },
      declarations);
  try {
    (void)Parse("Type T\n  a(1, 2) As Long\n  b( As Long\nEnd Type\nSub Main()\nEnd Sub\n");
    ADD_FAILURE() << "parsed";
  } catch (const BasicError& e) {
    EXPECT_EQ(e.message, "Type の配列のメンバーは一次元です（「,」 のところ）");
    EXPECT_TRUE(e.more.empty());  // the rest of the Type is passed over, not read as more errors
  }
  try {
    (void)Parse("Type T x\n  a As Long\nEnd Type\n");
    ADD_FAILURE() << "parsed";
  } catch (const BasicError& e) {
    EXPECT_EQ(e.message, "文の終わりが必要です（「x」 のところ）");
  }
}

// Each declared name gets a slot of its procedure once: parameters, the result, Dim, Const and
// ReDim, not a record's member a ReDim sizes; names elsewhere are told theirs.
TEST(Language, DeclaredNamesHaveSlots) {
  const Program p = Parse(
      "Type R\n  m() As Long\nEnd Type\nDim g\nFunction F(a)\n  Dim b, r As R\n  Const c = 1\n"
      "  ReDim d(2)\n  ReDim r.m(2)\n  F = a + b + c + d(0) + g + h\nEnd Function\n");
  const Procedure& f = p.procedures.at("f");
  EXPECT_EQ(f.slotOf, (std::map<std::string, int, std::less<>>{
                          {"a", 0}, {"f", 1}, {"b", 2}, {"r", 3}, {"c", 4}, {"d", 5}}));
  EXPECT_EQ(p.moduleSlots, 1);
  std::vector<std::pair<Scope, int>> seen;
  for (const Expr* e = p.procedures.at("f").code.back().b.get(); e; e = e->a.get()) {
    const Expr& named = e->kind == Expr::Kind::Binary ? *e->b : *e;
    const Expr& name = named.kind == Expr::Kind::Call ? *named.a : named;
    seen.emplace_back(name.scope, name.slot);
    if (e->kind != Expr::Kind::Binary) break;
  }
  EXPECT_EQ(seen, (std::vector<std::pair<Scope, int>>{{Scope::ByName, -1},
                                                      {Scope::Module, 0},
                                                      {Scope::Local, 5},
                                                      {Scope::Local, 4},
                                                      {Scope::Local, 2},
                                                      {Scope::Local, 0}}));
}

// Names mean the nearest variable: the procedure's own (from its slot), its class's member, the
// module's; recursion gives each call its own; a Dim in a loop keeps its value.
TEST(Language, NamesFindTheirVariables) {
  const Outcome o = RunFiles(
      {{"Main.bas",
        "Dim x, y\nSub Main()\n  x = 1: y = 2\n  Shadow 5\n  out.Add x & y & Depth(3)\n"
        "  Dim i, c As New Counter\n  For i = 1 To 3\n    Dim s As String\n    s = s & \"a\"\n"
        "  Next\n  c.Up: c.Up\n  out.Add s & c.Seen & x\nEnd Sub\n"
        "Sub Shadow(y)\n  Dim x\n  x = 7: y = y + 1\n  out.Add x & y\nEnd Sub\n"
        "Function Depth(n)\n  Dim here\n  here = n\n  If n > 0 Then Depth = Depth(n - 1) + here\n"
        "End Function\n"},
       {"Counter.cls",
        "Private x\nSub Up()\n  x = x + 1\nEnd Sub\n"
        "Property Get Seen()\n  Seen = x\nEnd Property\n"}});
  EXPECT_EQ(o.lines, (std::vector<std::string>{"76", "126", "aaa21"}));
  EXPECT_FALSE(o.error) << o.error->message;
}

// As New makes its object where the variable is first used, and again after Set … = Nothing;
// the module's objects end (Class_Terminate) when the program does.
TEST(Language, AsNewObjectsAndTheirEnd) {
  const Outcome o = RunFiles(
      {{"Main.bas",
        "Dim keep As New Counter\nSub Main()\n  Dim c As New Counter\n  out.Add \"declared\"\n"
        "  c.Up\n  Set c = Nothing\n  c.Up\n  keep.Up\n  out.Add \"end\"\nEnd Sub\n"},
       {"Counter.cls",
        "Private n\nPrivate Sub Class_Initialize()\n  out.Add \"init\"\nEnd Sub\n"
        "Private Sub Class_Terminate()\n  out.Add \"term\"\nEnd Sub\nSub Up()\n  n = n + 1\n"
        "End Sub\n"}});
  EXPECT_FALSE(o.error);
  EXPECT_EQ(o.lines, (std::vector<std::string>{"declared", "init", "term", "init", "init", "end",
                                               "term", "term"}));
}

// A stop names the character its statement begins at, the procedure and the calls that led
// there; a handled error deeper down leaves no caller behind.
TEST(Language, AStopSaysWhereAndThroughWhichCalls) {
  const Outcome o = RunProgram(
      "Sub Main()\n  Outer\nEnd Sub\nSub Outer()\n  On Error Resume Next\n  Inner 0\n"
      "  On Error GoTo 0\n  Dim n: n = 1: Inner n\nEnd Sub\nSub Inner(n)\n  n = 1: n = 2 / n\n"
      "  n = 1 / 0\nEnd Sub");
  ASSERT_TRUE(o.error);
  EXPECT_EQ(Describe(*o.error, "a.bas"),
            "「a.bas」の 12 行目 3 文字目（Main → Outer → Inner）：0 で除算しました");
  EXPECT_EQ(Eval("Error$(11)"), "0 で除算しました。");
  const Outcome inner = RunProgram("Sub Main()\n  Dim n: n = 0: n = 1 / n\nEnd Sub");
  ASSERT_TRUE(inner.error);
  EXPECT_EQ(inner.error->column, 17);
  EXPECT_TRUE(inner.error->callers.empty());
}

// A parse goes on past an error to the next procedure (or the next statement outside them)
// and reports up to twenty.
TEST(Language, AParseReportsEachProcedureItCannotRead) {
  try {
    (void)Parse(
        "Dim a As\nSub A()\n  x = (1 +\n  y = 2\nEnd Sub\nSub B()\n  If Then\nEnd Sub\n"
        "Sub C()\nEnd Sub\n");
    ADD_FAILURE() << "parsed";
  } catch (const BasicError& e) {
    std::vector<int> lines = {e.line};
    for (const BasicError& more : e.more) lines.push_back(more.line);
    EXPECT_EQ(lines, (std::vector<int>{1, 3, 7}));
    EXPECT_EQ(e.more.at(1).column, 6);  // at Then
  }
  for (const int bad : {20, 21}) {
    std::string source;
    for (int i = 0; i < bad; ++i) source += "Sub P" + std::to_string(i) + "()\nx = )\nEnd Sub\n";
    try {
      (void)Parse(source);
      ADD_FAILURE() << "parsed";
    } catch (const BasicError& e) {
      EXPECT_EQ(e.more.size(), 19u) << bad;
      EXPECT_EQ(e.more.back().line, 59) << bad;
    }
  }
}

}  // namespace
}  // namespace qf::basic
