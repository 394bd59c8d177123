// The Printer as a program finds it: twips from the start, scales of its own, pages and jobs,
// fonts by name and as objects, relative points.
#include <gtest/gtest.h>

#include "basic/run_source.h"
#include "basic/test_programs.h"
#include "support/design_builder.h"

namespace qf::basic {
namespace {

struct Printed {
  RecordingPort port;
  std::optional<BasicError> error;
};

std::unique_ptr<Printed> Print(const std::string& body) {
  auto p = std::make_unique<Printed>();
  test::FakePictures pictures;
  p->error =
      RunOnPrinter("Sub F_DataPrint()\n" + body + "\nEnd Sub\n", "F_DataPrint", p->port, pictures);
  return p;
}

// What each page printed, a line of "at" and "print" calls a page.
std::vector<std::vector<std::string>> Texts(const RecordingPort& port) {
  std::vector<std::vector<std::string>> out;
  for (const auto& page : port.pages) out.push_back(page.only({"print"}));
  return out;
}

TEST(Printer, StartsInTwipsAndTakesScalesOfItsOwn) {
  // The port's printable area is the A4 page, 11906 x 16838 twips: Scale maps the program's
  // units onto it.
  const auto p = Print(
      "Printer.Print Printer.ScaleMode; Printer.TextHeight(\"A\");\n"
      "Printer.Scale (0, 0)-(100, 100)\nPrinter.Print Printer.ScaleMode; Printer.ScaleWidth;\n"
      "Printer.Line (10, 10)-(20, 20)\nPrinter.Scale (50, 100)-(150, 0)\n"
      "Printer.Line (50, 100)-(150, 0)\nPrinter.ScaleLeft = 10: Printer.Line (10, 0)-(10, 0)\n"
      "Printer.Scale\nPrinter.Print Printer.ScaleMode;\nPrinter.ScaleWidth = 0");
  ASSERT_TRUE(p->error);
  EXPECT_EQ(p->error->message, "ScaleWidth に 0 は使えません");
  EXPECT_EQ(p->error->line, 11);
  const auto& page = p->port.pages.at(0);
  EXPECT_EQ(page.only({"print"}), (std::vector<std::string>{"print  1 ", "print  180 ", "print  0 ",
                                                            "print  100 ", "print  1 "}));
  EXPECT_EQ(
      page.only({"line"}),
      (std::vector<std::string>{"line 1190.6,1683.8-2381.2,3367.6 #000000",
                                "line 0,0-11906,16838 #000000", "line 0,16838-0,16838 #000000"}));
}

TEST(Printer, PagesAndJobsAsTheLanguageMakesThem) {
  // NewPage then EndDoc: no blank page. Each EndDoc ends a job; both jobs reach the document,
  // which ends once. Page counts from 1 in each job.
  auto p = Print(
      "Printer.Print Printer.Page\nPrinter.NewPage\nPrinter.Print Printer.Page\n"
      "Printer.NewPage\nPrinter.EndDoc\nPrinter.Print Printer.Page\nPrinter.EndDoc");
  ASSERT_FALSE(p->error) << p->error->message;
  EXPECT_EQ(Texts(p->port),
            (std::vector<std::vector<std::string>>{{"print  1 "}, {"print  2 "}, {"print  1 "}}));
  EXPECT_EQ(p->port.ended, 1);
  // Two NewPages in a row leave a blank page between.
  p = Print("Printer.Print \"a\"\nPrinter.NewPage\nPrinter.NewPage\nPrinter.Print \"b\"");
  EXPECT_EQ(Texts(p->port), (std::vector<std::vector<std::string>>{{"print a"}, {}, {"print b"}}));
  // Nothing printed: no page and no document.
  p = Print("Printer.EndDoc");
  EXPECT_TRUE(p->port.pages.empty());
  EXPECT_EQ(p->port.ended, 0);
}

TEST(Printer, PrintPastTheBottomStartsAPage) {
  // 72 pt lines are 25.4 mm: eleven fit above 297 mm (the eleventh ends at 279.4), the
  // twelfth would end at 304.8 and goes to the top of the next page.
  const auto p = Print(
      "Printer.ScaleMode = 6: Printer.FontSize = 72\nDim i As Integer\n"
      "For i = 1 To 12\nPrinter.Print \"L\" & i\nNext\nPrinter.Print Printer.Page;");
  ASSERT_FALSE(p->error) << p->error->message;
  ASSERT_EQ(p->port.pages.size(), 2u);
  const auto first = p->port.pages[0].only({"print"});
  ASSERT_EQ(first.size(), 11u);
  EXPECT_EQ(first.back(), "print L11");
  EXPECT_EQ(p->port.pages[1].only({"at", "print"}),
            (std::vector<std::string>{"at 0,0", "print L12", "at 0,25.4", "print  2 "}));
}

TEST(Printer, FontsByNameAndAsObjects) {
  const auto p = Print(
      "Printer.Font = \"Arial\": Printer.FontSize = 12\nPrinter.Print Printer.Font; "
      "Printer.TextHeight(\"A\")\nDim f As New StdFont\nf.Name = \"ＭＳ ゴシック\": f.Size = 12: "
      "f.Bold = True\nSet Printer.Font = f\nDim s As String\ns = Printer.Font\n"
      "Printer.Print s; Printer.TextHeight(\"A\"); Printer.Font.Bold");
  ASSERT_FALSE(p->error) << p->error->message;
  const auto& page = p->port.pages.at(0);
  // Arial's line is its ascent and descent, 2288 / 2048 em; the MS faces' line is the em.
  EXPECT_EQ(page.only({"print"}),
            (std::vector<std::string>{"print Arial", "print  268.125 ", "print ＭＳ ゴシック",
                                      "print  240 ", "print True"}));
  EXPECT_EQ(page.only({"font"}).back(), "font ＭＳ ゴシック 12 B");
}

// Tab(n) goes to column n (a column is the width of the font's digit: 1 on the test page) and
// to the next line when the text is past it; Spc(n) leaves n columns; "," goes to the next
// zone of 14 columns.
TEST(Printer, TabSpcAndZonesPlaceText) {
  const auto p = Print(
      "Printer.ScaleMode = 6\nPrinter.Print \"ab\"; Tab(5); \"c\"\n"
      "Printer.Print \"abcdef\"; Tab(3); \"x\"; Spc(2); \"y\"\nPrinter.Print \"a\", \"b\"; Tab; "
      "\"z\"");
  ASSERT_FALSE(p->error) << p->error->message;
  const std::vector<std::string> placed = p->port.pages.at(0).only({"at"});
  const std::vector<std::string> expected = {"at 0,0",      "at 4,0",     "at 0,3.175",
                                             "at 2,6.35",   "at 5,6.35",  "at 0,9.525",
                                             "at 14,9.525", "at 28,9.525"};
  EXPECT_EQ(placed, expected);
}

// A ScaleMode of a unit ends the program's own scale; the one printer is Printers(0) only.
TEST(Printer, AUnitEndsTheOwnScale) {
  const auto p = Print(
      "Printer.Scale (0, 0)-(100, 100)\nPrinter.ScaleMode = 6\n"
      "Printer.Print Printer.ScaleMode; Printer.ScaleWidth; Printer.ScaleLeft\n"
      "Printer.Line (0, 0)-(10, 5)\nSet x = Printers(0)\nSet x = Printers(1)");
  ASSERT_TRUE(p->error);
  EXPECT_EQ(p->error->message, "プリンターは Printers(0) の一台です");
  EXPECT_EQ(p->error->line, 7);
  const auto& page = p->port.pages.at(0);
  EXPECT_EQ(page.only({"print"}),
            (std::vector<std::string>{"print  6 ", "print  210.0086 ", "print  0 "}));
  EXPECT_EQ(page.only({"line"}), (std::vector<std::string>{"line 0,0-10,5 #000000"}));
}

TEST(Printer, StepMakesPointsRelative) {
  const auto p = Print(
      "Printer.Line (10, 10)-Step(5, 5)\nPrinter.Line -Step(5, 0)\n"
      "Printer.Line Step(1, 1)-Step(2, 2), , B\nPrinter.PSet Step(1, 0)\n"
      "Printer.Circle Step(0, 10), 3\nPrinter.Print Printers.Count; Printers(0).Copies\n"
      "Printer.Scale (0, 0)-(5953, 8419)\nPrinter.PaintPicture LoadPicture(\"logo.png\"), 10, 20, "
      "30, 40");
  ASSERT_FALSE(p->error) << p->error->message;
  const auto& page = p->port.pages.at(0);
  EXPECT_EQ(page.only({"line", "box", "circle"}),
            (std::vector<std::string>{"line 10,10-15,15 #000000", "line 15,15-20,15 #000000",
                                      "box 21,16-23,18 #000000", "line 24,18-24,18 #000000",
                                      "circle 24,28 r3 #000000 a1"}));
  EXPECT_EQ(page.only({"print"}), (std::vector<std::string>{"print  1 ", "print  1 "}));
  // A picture is drawn at the program's scale: half the page's twips a unit here.
  EXPECT_EQ(page.only({"picture"}), (std::vector<std::string>{"picture 20,40 60x80 CC0020"}));
}

}  // namespace
}  // namespace qf::basic
