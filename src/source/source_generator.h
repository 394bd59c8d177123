#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "document/design.h"

namespace qf {

enum class Visibility { Private, Public };

// Visual Basic source that prints the design: F_DataPrint followed by F_RndBox, lines ending in
// CR LF. The flat variant writes all layers as one sequence; the subroutine variant writes one
// Gosub section per layer. Reads the design only.
std::string P_MakeSource(const Design& design, Visibility visibility);
std::string P_MakeSourceSub(const Design& design, Visibility visibility);

// A colour's channels: the stored value holds red in its low byte, then green, then blue.
enum class ColorPart { Red, Green, Blue };
// One channel of a colour, 0 to 255; bits past the low 24 count for nothing.
int P_ColorPart(int32_t color, ColorPart part);
// "r, g, b": the channels as both languages' colour constructors take them.
std::string ColorArguments(int32_t color);
// Doubles every double quote.
std::string P_QuoteEsc(std::string_view text);

}  // namespace qf
