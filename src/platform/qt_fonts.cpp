#include "qt_fonts.h"

#include <QString>
#include <QStringList>

namespace qf {

namespace {

struct Substitution {
  const char* windowsName;
  const char* family;
};

// The IPA fonts were made to stand in for the MS faces (their metrics follow them, and Debian's
// font rules alias the MS names to them); Noto CJK, where they are missing, has the glyphs too.
// Noto also maps the Kangxi radicals to the ideographs' own glyphs, so a PDF's text would read
// back as radicals (月 as U+2F49): the IPA faces do not.
constexpr Substitution kSubstitutions[] = {
    {"ＭＳ ゴシック", "IPAGothic"},     {"MS Gothic", "IPAGothic"},
    {"ＭＳ Ｐゴシック", "IPAPGothic"},  {"MS PGothic", "IPAPGothic"},
    {"ＭＳ ＵＩ Gothic", "IPAPGothic"}, {"MS UI Gothic", "IPAPGothic"},
    {"メイリオ", "IPAPGothic"},         {"Meiryo", "IPAPGothic"},
    {"ＭＳ 明朝", "IPAMincho"},         {"MS Mincho", "IPAMincho"},
    {"ＭＳ Ｐ明朝", "IPAPMincho"},      {"MS PMincho", "IPAPMincho"},
};

}  // namespace

void InstallFontSubstitutions() {
  for (const Substitution& s : kSubstitutions) {
    const QString family = QString::fromUtf8(s.family);
    const bool mincho = family.contains(QLatin1String("Mincho"));
    const bool fixed = !family.startsWith(QLatin1String("IPAP"));
    QStringList fallbacks{family};
    if (mincho) {
      fallbacks << QStringLiteral("Noto Serif CJK JP");
    } else if (fixed) {
      fallbacks << QStringLiteral("Noto Sans Mono CJK JP") << QStringLiteral("Noto Sans CJK JP");
    } else {
      fallbacks << QStringLiteral("Noto Sans CJK JP");
    }
    QFont::insertSubstitutions(QString::fromUtf8(s.windowsName), fallbacks);
  }
}

QStringList TextLines(const QString& text) {
  QString normalized = text;
  normalized.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  normalized.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return normalized.split(QLatin1Char('\n'));
}

QFont MakeDesignFont(std::string_view name, double pointSize, bool bold, bool italic,
                     bool strikethrough, bool underline) {
  QFont font(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
  if (pointSize > 0) font.setPointSizeF(pointSize);
  font.setBold(bold);
  font.setItalic(italic);
  font.setStrikeOut(strikethrough);
  font.setUnderline(underline);
  return font;
}

}  // namespace qf
