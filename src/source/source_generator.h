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

// A colour component, part "R", "G" or "B" (any case), 0 for any other part.
int P_ColorPart(int32_t color, std::string_view part);
// Doubles every double quote.
std::string P_QuoteEsc(std::string_view text);

}  // namespace qf
