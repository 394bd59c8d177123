#include "edit/object_fields.h"
#include "edit/barcode_fields.h"

#include <gtest/gtest.h>

#include "document/number_text.h"
#include "document/object_rows.h"
#include "support/random_design.h"

namespace qf {
namespace {

TEST(ObjectFields, ColourTextBothWays) {
  EXPECT_EQ(ColorText(255), "&H000000FF&");  // pure red: red in the low byte
  EXPECT_EQ(ColorText(Rgb(0, 0, 255)), "&H00FF0000&");
  EXPECT_EQ(ColorFromText("&H000000FF&"), 255);
  EXPECT_EQ(ColorFromText("&HFF0000"), 0xFF0000);
  EXPECT_EQ(ColorFromText("12"), 12);
}

TEST(ObjectFields, TextValidatesInOrderAndWritesEveryField) {
  TextFields f;
  f.fontName = "ＭＳ 明朝";
  f.fontSize = "12";
  EXPECT_EQ(ValidateTextFields(f), TextField::Text);  // empty text first
  f.text = "  ";
  f.fontName = "";
  EXPECT_EQ(ValidateTextFields(f), TextField::Text);
  f.text = "請求書";
  EXPECT_EQ(ValidateTextFields(f), TextField::FontName);
  f.fontName = "ＭＳ 明朝";
  for (const char* bad : {"", "0", "-1", "abc", "12pt", "1e99"}) {
    f.fontSize = bad;
    EXPECT_EQ(ValidateTextFields(f), TextField::FontSize) << bad;
  }
  f.fontSize = " 10.5 ";
  EXPECT_EQ(ValidateTextFields(f), TextField::None);

  f.label = "表題";
  f.field = "rs!Title";
  f.bold = -1;
  f.underline = -1;
  f.align = 2;
  f.color = "&H000000FF&";
  ObjectRecord r;
  r.X1 = 7;
  r.Layer = 3;
  ApplyTextFields(f, r);
  EXPECT_EQ(r.Kind, ObjectKind::Text);
  EXPECT_EQ(r.Label, "表題");
  EXPECT_EQ(r.Text, "請求書");
  EXPECT_EQ(r.Field, "rs!Title");
  EXPECT_EQ(r.Style, "ＭＳ 明朝");
  EXPECT_FLOAT_EQ(r.Size, 10.5f);
  EXPECT_EQ(r.Bold, -1);
  EXPECT_EQ(r.Italic, 0);
  EXPECT_EQ(r.Strikethrough, 0);
  EXPECT_EQ(r.Underline, -1);
  EXPECT_EQ(r.Align, 2);
  EXPECT_EQ(r.Color, 255);
  EXPECT_DOUBLE_EQ(r.X1, 7);  // placing supplies the place
  EXPECT_EQ(r.Layer, 3);
  const TextFields back = TextFieldsOf(r);
  EXPECT_EQ(back.fontSize, "10.5");
  EXPECT_EQ(back.color, "&H000000FF&");
}

TEST(ObjectFields, FiguresTakeAHatchOrRoundedCornersNeverBoth) {
  FigureFields box;
  box.kind = ObjectKind::Box;
  box.hatch = 3;
  EXPECT_FALSE(EnablingOf(box).rounded);
  EXPECT_FALSE(EnablingOf(box).radius);
  box.hatch = 0;
  EXPECT_TRUE(EnablingOf(box).rounded);
  EXPECT_FALSE(EnablingOf(box).radius);  // only once rounded is ticked
  box.rounded = true;
  EXPECT_FALSE(EnablingOf(box).hatch);
  EXPECT_TRUE(EnablingOf(box).radius);

  box.label = "枠";
  box.style = 1;
  box.width = "2";
  box.radius = " 2.5 ";
  box.color = "&H00FF0000&";
  ObjectRecord r;
  ApplyFigureFields(box, r);
  EXPECT_EQ(r.Kind, ObjectKind::Box);
  EXPECT_EQ(r.Text, "0");
  EXPECT_EQ(r.Field, "2.5");
  EXPECT_EQ(r.Style, "1");
  EXPECT_FLOAT_EQ(r.Size, 2);
  EXPECT_EQ(r.Color, Rgb(0, 0, 255));
  box.rounded = false;  // the radius box keeps its text, the box has square corners
  ApplyFigureFields(box, r);
  EXPECT_EQ(r.Field, "");

  FigureFields ring;
  ring.kind = ObjectKind::Ring;
  ring.hatch = 1;
  ring.rounded = true;
  ApplyFigureFields(ring, r);
  EXPECT_EQ(r.Kind, ObjectKind::Ring);
  EXPECT_EQ(r.Text, "1");
  EXPECT_EQ(r.Field, "");
  FigureFields line;
  line.kind = ObjectKind::Line;
  line.hatch = 4;
  ApplyFigureFields(line, r);
  EXPECT_EQ(r.Text, "");
  EXPECT_EQ(r.Field, "");
  EXPECT_FALSE(EnablingOf(line).hatch);

  r.Style = "7";
  EXPECT_EQ(FigureFieldsOf(r).style, 0);  // a style no list offers shows the first
  for (const char* bad : {"", "x", "2px", "1e", "2E+"}) {
    line.width = bad;
    EXPECT_EQ(ValidateFigureFields(line), FigureField::Width) << bad;
  }
  for (const char* good : {"3", "1e1", "2E-12", " 0.5 "}) {
    line.width = good;
    EXPECT_EQ(ValidateFigureFields(line), FigureField::None) << good;
  }
}

TEST(ObjectFields, PicturesAndCommands) {
  ObjectRecord r;
  ApplyPictureFields({"ロゴ", "/tmp/logo.png", true}, r);
  EXPECT_EQ(r.Kind, ObjectKind::Picture);
  EXPECT_EQ(r.Text, "/tmp/logo.png");
  EXPECT_EQ(r.Style, "1");
  ApplyPictureFields({"ロゴ", "", false}, r);
  EXPECT_EQ(r.Style, "0");
  EXPECT_EQ(r.Text, "");

  CommandFields c;
  c.label = "明細";
  c.gap = "0";
  EXPECT_EQ(ValidateCommandFields(c), CommandField::Gap);
  c.gap = "5mm";  // refused, not read as 5
  EXPECT_EQ(ValidateCommandFields(c), CommandField::Gap);
  c.gap = "6.5";
  c.count = "-1";
  EXPECT_EQ(ValidateCommandFields(c), CommandField::Count);
  c.count = "3x";
  EXPECT_EQ(ValidateCommandFields(c), CommandField::Count);
  c.count = "3";
  c.variable = " ";
  EXPECT_EQ(ValidateCommandFields(c), CommandField::Variable);
  c.label = "";
  EXPECT_EQ(ValidateCommandFields(c), CommandField::Label);  // the label is checked first
  c.label = "明細";
  c.variable = "sngJ";
  c.start = false;
  c.direction = 1;
  EXPECT_EQ(ValidateCommandFields(c), CommandField::None);
  ApplyCommandFields(c, r);
  EXPECT_EQ(r.Kind, ObjectKind::Command);
  EXPECT_DOUBLE_EQ(r.X1, 6.5);
  EXPECT_EQ(r.Text, "1");
  EXPECT_EQ(r.Style, "1");
  EXPECT_EQ(r.Field, "sngJ");
  EXPECT_FLOAT_EQ(r.Size, 3);
}

// Every kind's record through its dialog's fields and back: what the dialog shows is what
// OK writes, field for field, for records whose every field holds its own value.
TEST(ObjectFields, EveryKindRoundTripsThroughItsFields) {
  test::RandomDesigns random(7);
  const std::vector<int16_t> layers = {1, 4, 32767};
  for (int i = 0; i < 300; ++i) {
    const auto kind = static_cast<ObjectKind>(1 + i % 7);
    const ObjectRecord r = random.record(kind, layers);
    ObjectRecord back = r;  // place and layer come from elsewhere: they must stay
    switch (kind) {
      case ObjectKind::Text:
        EXPECT_EQ(TextFieldsOf(r).italic, r.Italic) << i;
        ApplyTextFields(TextFieldsOf(r), back);
        break;
      case ObjectKind::Line:
      case ObjectKind::Box:
      case ObjectKind::Ring:
        ApplyFigureFields(FigureFieldsOf(r), back);
        break;
      case ObjectKind::Picture:
        ApplyPictureFields(PictureFieldsOf(r), back);
        break;
      case ObjectKind::Command:
        ApplyCommandFields(CommandFieldsOf(r), back);
        break;
      case ObjectKind::Barcode:
        ApplyBarcodeFields(BarcodeFieldsOf(r), back);
        break;
      case ObjectKind::None:
        break;
    }
    if (kind == ObjectKind::Box && !r.Field.empty()) {
      EXPECT_DOUBLE_EQ(NumericPrefix(back.Field), NumericPrefix(r.Field)) << i;
      back.Field = r.Field;  // the radius comes back as "###0.000"
    }
    EXPECT_EQ(back, r) << "record " << i << " of kind " << static_cast<int>(kind);
  }
  // Values no dialog offers fall back to the first choice; a width no Single holds is none.
  ObjectRecord r;
  TextFields text;
  text.align = 5;
  ApplyTextFields(text, r);
  EXPECT_EQ(r.Align, 0);
  FigureFields box;
  box.hatch = 7;
  box.style = 9;
  box.width = "1e99";
  ApplyFigureFields(box, r);
  EXPECT_EQ(r.Text, "0");
  EXPECT_EQ(r.Style, "0");
  EXPECT_EQ(r.Size, 0.0f);
  // The digits' size: 0 is none and taken, below it or not a number refused; a symbology no
  // list entry has is the first.
  BarcodeFields barcode;
  for (const char* size : {"0", "9", "12.5"}) {
    barcode.digitsSize = size;
    EXPECT_EQ(ValidateBarcodeFields(barcode), BarcodeField::None) << size;
  }
  for (const char* size : {"-0.5", "-1", "9pt", "", "1e99"}) {
    barcode.digitsSize = size;
    EXPECT_EQ(ValidateBarcodeFields(barcode), BarcodeField::DigitsSize) << size;
  }
  for (int code : {-1, 8}) {
    barcode.symbology = code;
    ApplyBarcodeFields(barcode, r);
    EXPECT_EQ(r.Style, "0") << code;
  }
  barcode.symbology = 7;
  ApplyBarcodeFields(barcode, r);
  EXPECT_EQ(r.Style, "7");
}

TEST(ObjectFields, TheCommandDialogOffersTheStartsOfTheLayerAndCopiesOne) {
  TextTable t = MakeObjectList();
  auto command = [&](const char* label, const char* mode, const char* dir, double gap, float count,
                     int16_t layer) {
    ObjectRecord c;
    c.Kind = ObjectKind::Command;
    c.Label = label;
    c.Text = mode;
    c.Style = dir;
    c.X1 = gap;
    c.Size = count;
    c.Field = std::string("v") + label;
    AddObject(t, c, {}, {}, layer);
  };
  command("明細", "0", "1", 7.5, 4, 2);
  command("明細", "1", "1", 5, 9, 2);
  command("他", "0", "0", 5, 9, 1);
  command("列", "0", "0", 3, 2, 2);
  const std::vector<StartCommand> starts = StartCommandsOf(t, 2);
  ASSERT_EQ(starts.size(), 2u);
  EXPECT_EQ(starts[0].label, "明細");
  EXPECT_EQ(starts[0].row, 1);
  EXPECT_EQ(starts[1].row, 4);
  EXPECT_TRUE(StartCommandsOf(t, 9).empty());

  CommandFields f;
  f.start = false;
  CopyStart(t, 1, f);
  EXPECT_EQ(f.direction, 1);
  EXPECT_EQ(f.gap, "7.500");
  EXPECT_EQ(f.variable, "v明細");
  EXPECT_EQ(f.count, "4");
  EXPECT_FALSE(f.start);  // start or end is the user's
}

}  // namespace
}  // namespace qf
