#pragma once

#include <QByteArray>
#include <QString>
#include <map>
#include <set>

class QFont;
class QPainter;
class QPointF;

namespace qf {

// The characters of a font's character map (cmap table), each with its glyph.
std::map<char32_t, uint32_t> CharacterMap(const QByteArray& cmap);

// The characters that share their glyph with a lower one ("￥" with "¥", "～" with "〜" in the
// IPA fonts): a PDF names each glyph's character once, and names the lowest.
std::set<char32_t> SharedGlyphCharacters(const std::map<char32_t, uint32_t>& characters);

// A font file (sfnt) made of a font's tables with a character map of only `characters` and
// the names of `family`: the same glyphs under another name.
QByteArray AliasFont(const std::map<QByteArray, QByteArray>& tables,
                     const std::map<char32_t, uint32_t>& characters, const QString& family,
                     const QString& style);

// Text drawn into a PDF reads back (text extraction, search, copy) as the characters drawn.
// Where a font gives two characters one glyph, the higher one is drawn from an alias of the
// font whose character map holds only such characters: the page looks the same, and the PDF
// names the character that was drawn. The aliases are application fonts for as long as this
// object lives.
class PdfTextMapping {
 public:
  PdfTextMapping() = default;
  ~PdfTextMapping();
  PdfTextMapping(const PdfTextMapping&) = delete;
  PdfTextMapping& operator=(const PdfTextMapping&) = delete;

  // Draws one line as painter.drawText(baseline, line) would.
  void drawLine(QPainter& painter, const QPointF& baseline, const QString& line);

 private:
  struct Alias {
    std::map<char32_t, uint32_t> shared;  // the characters drawn from the alias, with glyphs
    QString family;                       // the alias, once made
    int fontId = -1;
    bool failed = false;  // could not be made: drawn as they are
  };
  // What a face shares; its alias is made by makeFont when a text first needs it.
  Alias& aliasFor(const QFont& font);
  bool makeFont(Alias& alias, const QFont& font);

  std::map<QString, Alias> aliases_;  // by the face's family and style
};

}  // namespace qf
