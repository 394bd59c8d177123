#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "document/object_record.h"
#include "document/text_table.h"

namespace qf {

// What the object dialogs hold, as the user typed it, and the rules that turn it into the
// working object. The dialogs are widgets over these; every rule is here, testable without a
// display.

// Colour texts of every dialog: "&H" + 8 hex digits + "&" (pure red "&H000000FF&"), and back.
std::string ColorText(int32_t color);
int32_t ColorFromText(std::string_view text);

// Whether a text is one plain number (blanks around it allowed): "12", "-2.5", "1e3"; not
// "12pt", "5mm" or "".
bool IsPlainNumber(std::string_view text);

// frmText.
struct TextFields {
  std::string label;
  std::string text;
  std::string field;
  std::string fontName;
  std::string fontSize;
  int16_t bold = 0;  // -1 on, 0 off, as the toggles hold them
  int16_t italic = 0;
  int16_t strikethrough = 0;
  int16_t underline = 0;
  int align = 0;  // 0 left, 1 right, 2 centre
  std::string color = "&H00000000&";
};
// Which box fails first, or none.
enum class TextField { None = 0, Text = 1, FontName = 5, FontSize = 6 };
TextField ValidateTextFields(const TextFields& f);
// Writes the fields over `object` (a text); its coordinates and layer stay.
void ApplyTextFields(const TextFields& f, ObjectRecord& object);
TextFields TextFieldsOf(const ObjectRecord& text);

// frmLine, frmBox and frmRing.
struct FigureFields {
  ObjectKind kind = ObjectKind::Box;  // line, box or ring
  std::string label;
  int style = 0;  // 0 solid .. 4 dash-dot-dot
  std::string width = "1";
  int hatch = 0;         // 0 none, 1..5 the palette's colours (box and ring)
  bool rounded = false;  // box only
  std::string radius = "1.000";
  std::string color = "&H00000000&";
};
enum class FigureField { None = 0, Width = 3 };
// The width must be a plain number.
FigureField ValidateFigureFields(const FigureFields& f);
void ApplyFigureFields(const FigureFields& f, ObjectRecord& object);
FigureFields FigureFieldsOf(const ObjectRecord& figure);
// Which of the box's hatch list, rounded check box and radius box can be used: a box gets a
// hatch or rounded corners, never both.
struct FigureEnabling {
  bool hatch = true;
  bool rounded = true;
  bool radius = true;
};
FigureEnabling EnablingOf(const FigureFields& f);

// frmPic.
struct PictureFields {
  std::string label;
  std::string path;
  bool transparent = false;
};
void ApplyPictureFields(const PictureFields& f, ObjectRecord& object);
PictureFields PictureFieldsOf(const ObjectRecord& picture);

// frmCMD.
struct CommandFields {
  std::string label;
  bool start = true;  // "開始", else "終了"
  int direction = 0;  // 0 down, 1 across
  std::string gap = "5.000";
  std::string count = "10";
  std::string variable = "sngI";
};
// Which box fails first, in the order label, gap, count, variable. The gap and the count must
// be plain positive numbers.
enum class CommandField { None, Label, Gap, Count, Variable };
CommandField ValidateCommandFields(const CommandFields& f);
void ApplyCommandFields(const CommandFields& f, ObjectRecord& object);
CommandFields CommandFieldsOf(const ObjectRecord& command);

// The start commands of a layer, for the command dialog's label list.
struct StartCommand {
  std::string label;
  int row = 0;
};
std::vector<StartCommand> StartCommandsOf(const TextTable& objects, int16_t layer);
// Takes a start command's direction, gap, variable and count; start or end stays.
void CopyStart(const TextTable& objects, int row, CommandFields& f);

}  // namespace qf
