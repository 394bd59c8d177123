#include "platform/pdf_text.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QRawFont>

namespace qf {
namespace {

// The font's character map read by either of its Unicode tables gives the same characters, and
// the characters a PDF could not tell apart are the higher ones of each shared glyph.
TEST(PdfTextMapping, CharacterMapsAndSharedGlyphs) {
  const QRawFont raw = QRawFont::fromFont(QFont(QStringLiteral("IPAGothic")));
  ASSERT_EQ(raw.familyName(), QStringLiteral("IPAGothic"));  // a package the tests install
  const QByteArray cmap = raw.fontTable("cmap");
  const std::map<char32_t, uint32_t> full = CharacterMap(cmap);
  ASSERT_GT(full.size(), 10000u);
  for (char32_t c : {U'A', U'¥', U'￥', U'表', U'〜', U'～'}) {
    EXPECT_EQ(full.at(c), raw.glyphIndexesForString(QString::fromUcs4(&c, 1)).value(0))
        << static_cast<uint32_t>(c);
  }
  // The same table with its full-repertoire subtable hidden: the BMP table alone.
  QByteArray bmpOnly = cmap;
  const int tables = (static_cast<uchar>(cmap[2]) << 8) | static_cast<uchar>(cmap[3]);
  for (int i = 0; i < tables; ++i) {
    if (cmap[4 + 8 * i + 3] == 10) bmpOnly[4 + 8 * i + 1] = 7;  // platform 7: no one's
  }
  std::map<char32_t, uint32_t> bmp = full;
  std::erase_if(bmp, [](const auto& e) { return e.first > 0xFFFF; });
  EXPECT_EQ(CharacterMap(bmpOnly), bmp);
  EXPECT_TRUE(CharacterMap(QByteArray()).empty());
  EXPECT_TRUE(CharacterMap(cmap.left(20)).empty());  // records pointing past the end

  const std::set<char32_t> shared = SharedGlyphCharacters(full);
  for (char32_t c : {U'￥', U'～', U'￠', U'￡', U'￢'})
    EXPECT_TRUE(shared.count(c)) << static_cast<uint32_t>(c);
  for (char32_t c : {U'¥', U'〜', U'¢', U'£', U'¬', U'表', U'A'})
    EXPECT_FALSE(shared.count(c)) << static_cast<uint32_t>(c);
  EXPECT_EQ(SharedGlyphCharacters({{1, 5}, {2, 6}, {3, 5}, {9, 5}}), (std::set<char32_t>{3, 9}));

  // The alias: the same glyphs for the shared characters, nothing for the others.
  std::map<QByteArray, QByteArray> copied;
  for (const char* tag : {"head", "hhea", "maxp", "OS/2", "hmtx", "post", "loca", "glyf"}) {
    copied.emplace(tag, raw.fontTable(tag));
  }
  std::map<char32_t, uint32_t> aliased;
  for (char32_t c : shared) {
    if (c < 0xFFFF) aliased.emplace(c, full.at(c));
  }
  const QByteArray file = AliasFont(copied, aliased, "QF Test Alias", "Regular");
  // Ten tables: eight copied, the character map and the names; the directory's search fields.
  auto at16 = [&file](int at) {
    return static_cast<uchar>(file[at]) << 8 | static_cast<uchar>(file[at + 1]);
  };
  EXPECT_EQ(at16(4), 10);
  EXPECT_EQ(at16(6), 128);  // 8 entries of 16 bytes
  EXPECT_EQ(at16(8), 3);
  EXPECT_EQ(at16(10), 32);
  for (int i = 0; i < 10; ++i) {  // every table starts on a four-byte boundary
    const int at = 12 + 16 * i + 8;
    EXPECT_EQ(at16(at + 2) % 4, 0);
  }
  const QRawFont alias = QRawFont(file, 12);
  ASSERT_TRUE(alias.isValid());
  EXPECT_EQ(alias.familyName(), QStringLiteral("QF Test Alias"));
  EXPECT_EQ(CharacterMap(alias.fontTable("cmap")), aliased);
  EXPECT_EQ(alias.glyphIndexesForString(QStringLiteral("￥～")),
            raw.glyphIndexesForString(QStringLiteral("￥～")));
  EXPECT_FALSE(alias.supportsCharacter(U'¥'));
  EXPECT_FALSE(alias.supportsCharacter(U'A'));
}

}  // namespace
}  // namespace qf
