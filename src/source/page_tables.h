#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace qf {

// Constant names the generated source writes for the page settings; unlisted codes give "".
std::string_view P_PaperName(int code);
std::string_view P_OrientName(int code);
std::string_view P_ScaleName(int code);
// Unit shown beside the margin boxes for a scale mode; "" for modes without one.
std::string_view P_UnitName(int code);

// The page setup lists in their order: 42 paper texts (position = code - 1, the last one
// standing for code 256) and 8 scale texts (position = scale mode).
std::vector<std::string_view> P_FillPaperList();
std::vector<std::string_view> P_FillScaleList();

// A paper's width and height as its list text gives them (the ones the printers' own tables
// round, as Qt's, are given as those tables give them).
enum class PaperUnit { Millimetre, Inch };
struct PaperDimensions {
  double width = 0;
  double height = 0;
  PaperUnit unit = PaperUnit::Millimetre;
};
// The size of a paper code 1 to 41; nullopt for the user-defined size and codes outside the list.
std::optional<PaperDimensions> PaperSize(int code);

inline constexpr int kUserPaperSize = 256;
inline constexpr int kUserPaperPosition = 41;

// List position of a paper code, -1 for a code the list does not hold.
int PaperListPosition(int code);
// Paper code of a list position, 0 for a position outside the list.
int PaperCodeAt(int position);

}  // namespace qf
