#include "pdf_text.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <QRawFont>
#include <QUuid>
#include <algorithm>
#include <vector>

namespace qf {

namespace {

uint32_t Read16(const QByteArray& b, qsizetype at) {
  if (at < 0 || at + 2 > b.size()) return 0;
  return (static_cast<uint32_t>(static_cast<uchar>(b[at])) << 8) | static_cast<uchar>(b[at + 1]);
}

uint32_t Read32(const QByteArray& b, qsizetype at) {
  return (Read16(b, at) << 16) | Read16(b, at + 2);
}

void Put16(QByteArray& b, uint32_t v) {
  b.append(static_cast<char>((v >> 8) & 0xFF));
  b.append(static_cast<char>(v & 0xFF));
}

void Put32(QByteArray& b, uint32_t v) {
  Put16(b, v >> 16);
  Put16(b, v & 0xFFFF);
}

// The binary-search fields of a font's lists of `count` entries of `size` bytes: the largest
// power of two entries not above the count, in bytes, its logarithm, and the bytes left over.
void PutSearchFields(QByteArray& b, uint32_t count, uint32_t size) {
  uint32_t power = 1;
  uint32_t log = 0;
  while (power * 2 <= count) {
    power *= 2;
    ++log;
  }
  Put16(b, power * size);
  Put16(b, log);
  Put16(b, (count - power) * size);
}

// Characters read from one table at most: a malformed table cannot make the reading endless.
constexpr size_t kMostCharacters = 0x110000;

void ReadFormat4(const QByteArray& cmap, qsizetype at, std::map<char32_t, uint32_t>& out) {
  const uint32_t segments = Read16(cmap, at + 6) / 2;
  const qsizetype ends = at + 14;
  const qsizetype starts = ends + 2 * segments + 2;
  const qsizetype deltas = starts + 2 * segments;
  const qsizetype offsets = deltas + 2 * segments;
  if (offsets + 2 * static_cast<qsizetype>(segments) > cmap.size()) return;
  size_t budget = kMostCharacters;
  for (uint32_t s = 0; s < segments && budget > 0; ++s) {
    const uint32_t end = Read16(cmap, ends + 2 * s);
    const uint32_t start = Read16(cmap, starts + 2 * s);
    const uint32_t delta = Read16(cmap, deltas + 2 * s);
    const qsizetype offsetAt = offsets + 2 * s;
    const uint32_t offset = Read16(cmap, offsetAt);
    for (uint32_t c = start; c <= end && c != 0xFFFF && budget > 0; ++c, --budget) {
      uint32_t glyph = 0;
      if (offset == 0) {
        glyph = (c + delta) & 0xFFFF;
      } else {
        glyph = Read16(cmap, offsetAt + offset + 2 * (c - start));
        if (glyph != 0) glyph = (glyph + delta) & 0xFFFF;
      }
      if (glyph != 0) out.emplace(c, glyph);
    }
  }
}

void ReadFormat12(const QByteArray& cmap, qsizetype at, std::map<char32_t, uint32_t>& out) {
  const uint32_t groups = Read32(cmap, at + 12);
  size_t budget = kMostCharacters;
  for (uint32_t g = 0; g < groups && at + 16 + 12 * (qsizetype{g} + 1) <= cmap.size(); ++g) {
    const qsizetype group = at + 16 + 12 * qsizetype{g};
    const uint32_t first = Read32(cmap, group);
    const uint32_t last = std::min<uint32_t>(Read32(cmap, group + 4), 0x10FFFF);
    const uint32_t glyph = Read32(cmap, group + 8);
    for (uint32_t c = first; c <= last && budget > 0; ++c, --budget) {
      out.emplace(c, glyph + (c - first));
    }
  }
}

// A format 4 subtable mapping each character on its own (few characters, so no ranges).
QByteArray Format4(const std::map<char32_t, uint32_t>& characters) {
  std::vector<std::pair<uint32_t, uint32_t>> segments;
  for (const auto& [c, glyph] : characters) {
    if (c < 0xFFFF) segments.emplace_back(c, glyph);
  }
  segments.emplace_back(0xFFFF, 0);  // the closing segment every format 4 table ends with
  const auto count = static_cast<uint32_t>(segments.size());
  QByteArray t;
  Put16(t, 4);
  Put16(t, 16 + 8 * count);
  Put16(t, 0);  // language
  Put16(t, 2 * count);
  PutSearchFields(t, count, 2);
  for (const auto& s : segments) Put16(t, s.first);  // ends
  Put16(t, 0);                                       // reserved
  for (const auto& s : segments) Put16(t, s.first);  // starts
  for (const auto& s : segments) Put16(t, (s.second - s.first) & 0xFFFF);
  for (size_t i = 0; i < segments.size(); ++i) Put16(t, 0);  // no range offsets
  return t;
}

QByteArray CmapTable(const std::map<char32_t, uint32_t>& characters) {
  QByteArray t;
  Put16(t, 0);  // version
  Put16(t, 1);  // one subtable: Windows, Unicode BMP
  Put16(t, 3);
  Put16(t, 1);
  Put32(t, 12);
  t += Format4(characters);
  return t;
}

QByteArray NameTable(const QString& family, const QString& style) {
  const QString postScript = QString(family).remove(QLatin1Char(' '));
  const std::pair<int, QString> names[] = {{1, family},
                                           {2, style},
                                           {3, family},
                                           {4, family + QLatin1Char(' ') + style},
                                           {6, postScript}};
  QByteArray strings;
  QByteArray t;
  Put16(t, 0);
  Put16(t, static_cast<uint32_t>(std::size(names)));
  Put16(t, static_cast<uint32_t>(6 + 12 * std::size(names)));
  for (const auto& [id, text] : names) {
    QByteArray utf16;
    for (const QChar ch : text) Put16(utf16, ch.unicode());
    Put16(t, 3);      // Windows
    Put16(t, 1);      // Unicode BMP
    Put16(t, 0x409);  // English (United States)
    Put16(t, static_cast<uint32_t>(id));
    Put16(t, static_cast<uint32_t>(utf16.size()));
    Put16(t, static_cast<uint32_t>(strings.size()));
    strings += utf16;
  }
  return t + strings;
}

uint32_t Checksum(const QByteArray& table) {
  uint32_t sum = 0;
  for (qsizetype at = 0; at < table.size(); at += 4) {
    QByteArray word = table.mid(at, 4);
    word.resize(4, '\0');
    sum += Read32(word, 0);
  }
  return sum;
}

// The tables a font engine and the PDF writer read; the character map and the names are made
// anew.
constexpr const char* kCopiedTables[] = {"head", "hhea", "maxp", "OS/2", "hmtx", "post", "loca",
                                         "glyf", "cvt ", "fpgm", "prep", "gasp", "vhea", "vmtx",
                                         "GDEF", "GSUB", "GPOS", "CFF ", "VORG", "BASE", "kern"};

}  // namespace

std::map<char32_t, uint32_t> CharacterMap(const QByteArray& cmap) {
  std::map<char32_t, uint32_t> out;
  const uint32_t tables = Read16(cmap, 2);
  qsizetype best = -1;
  uint32_t bestFormat = 0;
  for (uint32_t i = 0; i < tables; ++i) {
    const qsizetype record = 4 + 8 * static_cast<qsizetype>(i);
    const uint32_t platform = Read16(cmap, record);
    const uint32_t encoding = Read16(cmap, record + 2);
    const auto at = static_cast<qsizetype>(Read32(cmap, record + 4));
    const uint32_t format = Read16(cmap, at);
    const bool unicode = platform == 0 || (platform == 3 && (encoding == 1 || encoding == 10));
    // The full repertoire (format 12) where there is one.
    if (unicode && (format == 12 || (format == 4 && bestFormat != 12))) {
      best = at;
      bestFormat = format;
    }
  }
  if (bestFormat == 12) ReadFormat12(cmap, best, out);
  if (bestFormat == 4) ReadFormat4(cmap, best, out);
  return out;
}

std::set<char32_t> SharedGlyphCharacters(const std::map<char32_t, uint32_t>& characters) {
  std::map<uint32_t, char32_t> lowest;
  std::set<char32_t> shared;
  for (const auto& [c, glyph] : characters) {  // in character order: the first is the lowest
    if (!lowest.emplace(glyph, c).second) shared.insert(c);
  }
  return shared;
}

QByteArray AliasFont(const std::map<QByteArray, QByteArray>& tables,
                     const std::map<char32_t, uint32_t>& characters, const QString& family,
                     const QString& style) {
  std::map<QByteArray, QByteArray> all = tables;
  all["cmap"] = CmapTable(characters);
  all["name"] = NameTable(family, style);
  const auto count = static_cast<uint32_t>(all.size());
  QByteArray font;
  Put32(font, all.count("CFF ") ? 0x4F54544F : 0x00010000);  // "OTTO" for CFF outlines
  Put16(font, count);
  PutSearchFields(font, count, 16);
  auto offset = static_cast<uint32_t>(12 + 16 * count);
  QByteArray body;
  for (const auto& [tag, table] : all) {  // records in tag order
    font += tag.left(4).leftJustified(4, ' ');
    Put32(font, Checksum(table));
    Put32(font, offset + static_cast<uint32_t>(body.size()));
    Put32(font, static_cast<uint32_t>(table.size()));
    body += table;
    while (body.size() % 4 != 0) body.append('\0');
  }
  return font + body;
}

PdfTextMapping::~PdfTextMapping() {
  for (const auto& [key, alias] : aliases_) {
    if (alias.fontId >= 0) QFontDatabase::removeApplicationFont(alias.fontId);
  }
}

PdfTextMapping::Alias& PdfTextMapping::aliasFor(const QFont& font) {
  const QRawFont raw = QRawFont::fromFont(font);
  const QString key = raw.familyName() + QLatin1Char('\n') + raw.styleName();
  auto it = aliases_.find(key);
  if (it != aliases_.end()) return it->second;
  Alias& alias = aliases_[key];
  if (!raw.isValid()) return alias;
  const std::map<char32_t, uint32_t> characters = CharacterMap(raw.fontTable("cmap"));
  for (char32_t c : SharedGlyphCharacters(characters)) {
    if (c < 0xFFFF) alias.shared.emplace(c, characters.at(c));
  }
  return alias;
}

bool PdfTextMapping::makeFont(Alias& alias, const QFont& font) {
  if (alias.fontId >= 0) return true;
  if (alias.failed || alias.shared.empty()) return false;
  // Made only when a text needs it: copying a large face's tables costs more than a page.
  alias.failed = true;
  const QRawFont raw = QRawFont::fromFont(font);
  std::map<QByteArray, QByteArray> tables;
  for (const char* tag : kCopiedTables) {
    const QByteArray table = raw.fontTable(tag);
    if (!table.isEmpty()) tables.emplace(QByteArray(tag), table);
  }
  // A name no other font has: the alias must never stand in for anything else.
  const QString family =
      QStringLiteral("QF Alias ") + QUuid::createUuid().toString(QUuid::WithoutBraces);
  const int id = QFontDatabase::addApplicationFontFromData(
      AliasFont(tables, alias.shared, family, raw.styleName()));
  if (id < 0) return false;
  alias.fontId = id;
  alias.family = QFontDatabase::applicationFontFamilies(id).value(0);
  alias.failed = false;
  return true;
}

void PdfTextMapping::drawLine(QPainter& painter, const QPointF& baseline, const QString& line) {
  const QFont font = painter.font();
  Alias& alias = aliasFor(font);
  auto aliased = [&alias](QChar ch) { return alias.shared.count(ch.unicode()) > 0; };
  if (std::none_of(line.begin(), line.end(), aliased) || !makeFont(alias, font)) {
    painter.drawText(baseline, line);
    return;
  }
  QFont other = font;
  other.setFamily(alias.family);
  // Runs of one kind each, side by side as the whole line would place them.
  double x = baseline.x();
  for (qsizetype from = 0; from < line.size();) {
    const bool inAlias = aliased(line[from]);
    qsizetype to = from + 1;
    while (to < line.size() && aliased(line[to]) == inAlias) ++to;
    const QString run = line.mid(from, to - from);
    const QFont& runFont = inAlias ? other : font;
    painter.setFont(runFont);
    painter.drawText(QPointF(x, baseline.y()), run);
    x += QFontMetricsF(runFont, painter.device()).horizontalAdvance(run);
    from = to;
  }
  painter.setFont(font);
}

}  // namespace qf
