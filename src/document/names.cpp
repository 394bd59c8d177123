#include "names.h"

#include <array>

namespace qf {

namespace {

struct Entry {
  std::string_view code;
  std::string_view word;
};

constexpr std::array<Entry, 6> kHatch{
    {{"0", ""}, {"1", "色１"}, {"2", "色２"}, {"3", "色３"}, {"4", "色４"}, {"5", "色５"}}};
constexpr std::array<Entry, 5> kLineStyle{
    {{"0", "実線"}, {"1", "鎖線"}, {"2", "点線"}, {"3", "一点鎖線"}, {"4", "二点鎖線"}}};
constexpr std::array<Entry, 2> kTransparency{{{"0", "不透過"}, {"1", "透過"}}};
constexpr std::array<Entry, 2> kCommandMode{{{"0", "開始"}, {"1", "終了"}}};
constexpr std::array<Entry, 2> kDirection{{{"0", "縦"}, {"1", "横"}}};
constexpr std::array<std::string_view, 8> kKindWords{"",     "ﾃｷｽﾄ",  "ﾗｲﾝ",  "ﾎﾞｯｸｽ",
                                                     "画像", "ｺﾏﾝﾄﾞ", "ﾘﾝｸﾞ", "ﾊﾞｰｺｰﾄﾞ"};
// The symbologies a barcode prints, by the code its Style cell holds.
constexpr std::array<Entry, 8> kSymbology{{{"0", "JAN13"},
                                           {"1", "JAN8"},
                                           {"2", "CODE39"},
                                           {"3", "NW7"},
                                           {"4", "ITF"},
                                           {"5", "CODE128"},
                                           {"6", "QR"},
                                           {"7", "ｶｽﾀﾏﾊﾞｰｺｰﾄﾞ"}}};
constexpr std::array<std::string_view, 3> kAlignWords{"左", "右", "中"};

template <size_t N>
std::string CodeOf(const std::array<Entry, N>& table, std::string_view word) {
  for (const Entry& e : table) {
    if (e.word == word) return std::string(e.code);
  }
  return {};
}

template <size_t N>
std::string WordOf(const std::array<Entry, N>& table, std::string_view code) {
  for (const Entry& e : table) {
    if (e.code == code) return std::string(e.word);
  }
  return {};
}

// Tables of two entries whose second word stands for every code but the first.
template <size_t N>
std::string WordOfTwo(const std::array<Entry, N>& table, std::string_view code) {
  return std::string(code == table[0].code ? table[0].word : table[1].word);
}

}  // namespace

ObjectKind KindFromName(std::string_view word) {
  for (size_t i = 1; i < kKindWords.size(); ++i) {
    if (kKindWords[i] == word) return static_cast<ObjectKind>(i);
  }
  return ObjectKind::None;
}

std::string KindName(ObjectKind kind) {
  const auto code = static_cast<int16_t>(kind);
  if (code < 1 || code >= static_cast<int16_t>(kKindWords.size())) return {};
  return std::string(kKindWords[static_cast<size_t>(code)]);
}

std::string HatchCode(std::string_view word) {
  return CodeOf(kHatch, word);
}
std::string HatchName(std::string_view code) {
  return WordOf(kHatch, code);
}
std::string LineStyleCode(std::string_view word) {
  return CodeOf(kLineStyle, word);
}
std::string LineStyleName(std::string_view code) {
  return WordOf(kLineStyle, code);
}

int16_t AlignFromName(std::string_view word) {
  for (size_t i = 0; i < kAlignWords.size(); ++i) {
    if (kAlignWords[i] == word) return static_cast<int16_t>(i);
  }
  return 0;
}

std::string AlignName(int16_t code) {
  if (code < 0 || code >= static_cast<int16_t>(kAlignWords.size())) return {};
  return std::string(kAlignWords[static_cast<size_t>(code)]);
}

std::string TransparencyCode(std::string_view word) {
  return CodeOf(kTransparency, word);
}
std::string TransparencyName(std::string_view code) {
  return WordOfTwo(kTransparency, code);
}
std::string CommandModeCode(std::string_view word) {
  return CodeOf(kCommandMode, word);
}
std::string CommandModeName(std::string_view code) {
  return WordOfTwo(kCommandMode, code);
}
std::string DirectionCode(std::string_view word) {
  return CodeOf(kDirection, word);
}
std::string DirectionName(std::string_view code) {
  return WordOfTwo(kDirection, code);
}

int16_t FlagFromCell(std::string_view cell) {
  return cell.empty() ? 0 : -1;
}
std::string FlagCell(int16_t flag) {
  return flag != 0 ? "■" : "";
}

std::string SymbologyCode(std::string_view word) {
  return CodeOf(kSymbology, word);
}
std::string SymbologyName(std::string_view code) {
  // A code no table entry has (a file from elsewhere) prints as the first symbology.
  const std::string word = WordOf(kSymbology, code);
  return word.empty() ? std::string(kSymbology[0].word) : word;
}

}  // namespace qf
