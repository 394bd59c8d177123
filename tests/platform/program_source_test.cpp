// Program sources as other people's editors save them: which encoding is read.
#include <gtest/gtest.h>

#include "platform/program_export.h"

namespace qf {
namespace {

TEST(ProgramSource, EachEncodingIsToldApartOrNamedByItsLine) {
  const struct {
    const char* what;
    std::string bytes;
    SourceEncoding encoding;
    const char* text;   // what is read; nullptr when it is refused
    const char* error;  // the reason of a refusal
  } cases[] = {
      {"UTF-8, its mark dropped", "\xEF\xBB\xBF\xE9\x87\x91 a", SourceEncoding::Detect, "金 a", ""},
      {"CP932 with kana", "\x82\xA0\x8B\xE0", SourceEncoding::Detect, "あ金", ""},
      {"CP932 kanji alone, which Western reads as ‹àŠz", "\x8B\xE0\x8A\x7A", SourceEncoding::Detect,
       "金額", ""},
      {"CP932 half-width katakana", "\xC3\xDE\xB0\xC0", SourceEncoding::Detect, "ﾃﾞｰﾀ", ""},
      {"Windows-1252 accents that CP932 also reads", "R\xE9sum\xE9", SourceEncoding::Detect,
       "Résumé", ""},
      {"Windows-1252, a lone capital that CP932 reads as one katakana",
       "\xC9"
       "COLE",
       SourceEncoding::Detect, "ÉCOLE", ""},
      {"Windows-1252 quotes and euro", "\x93x\x94 \x80", SourceEncoding::Detect, "“x” €", ""},
      {"a byte nothing reads, named by its line", "a\nb\n\x81", SourceEncoding::Detect, nullptr,
       "3 行目に UTF-8、シフトJIS(コードページ932)、Windows-1252 のどれでも読めないバイトがあります"
       "（--encoding で文字コードを指定できます）"},
      {"UTF-8 named: a broken sequence refused", "ok\n\xE9t\xE9", SourceEncoding::Utf8, nullptr,
       "2 行目に UTF-8 として読めないバイトがあります"},
      {"CP932 named, where Windows-1252 would also read", "\x8B\xE0", SourceEncoding::Cp932, "金",
       ""},
      {"Windows-1252 named, an unassigned byte", "\x8D", SourceEncoding::Windows1252, nullptr,
       "1 行目に Windows-1252 として読めないバイトがあります"},
  };
  for (const auto& c : cases) {
    std::string text;
    std::string error;
    const bool ok = DecodeProgram(c.bytes, &text, &error, c.encoding);
    EXPECT_EQ(ok, c.text != nullptr) << c.what;
    if (c.text) {
      EXPECT_EQ(text, c.text) << c.what;
    }
    EXPECT_EQ(error, c.error) << c.what;
  }
  EXPECT_EQ(SourceEncodingNamed("Windows-1252"), SourceEncoding::Windows1252);
  EXPECT_EQ(SourceEncodingNamed("SJIS"), SourceEncoding::Cp932);
  EXPECT_EQ(SourceEncodingNamed("latin1"), std::nullopt);
}

}  // namespace
}  // namespace qf
