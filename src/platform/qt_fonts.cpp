#include "qt_fonts.h"

#include <QString>
#include <QStringList>

namespace qf {

namespace {

struct Substitution {
  const char* windowsName;
  const char* family;
};

// Gothic faces map to the sans family, Mincho faces to the serif family.
constexpr Substitution kSubstitutions[] = {
    {"ＭＳ ゴシック", "Noto Sans Mono CJK JP"}, {"MS Gothic", "Noto Sans Mono CJK JP"},
    {"ＭＳ Ｐゴシック", "Noto Sans CJK JP"},    {"MS PGothic", "Noto Sans CJK JP"},
    {"ＭＳ ＵＩ Gothic", "Noto Sans CJK JP"},   {"MS UI Gothic", "Noto Sans CJK JP"},
    {"メイリオ", "Noto Sans CJK JP"},           {"Meiryo", "Noto Sans CJK JP"},
    {"ＭＳ 明朝", "Noto Serif CJK JP"},         {"MS Mincho", "Noto Serif CJK JP"},
    {"ＭＳ Ｐ明朝", "Noto Serif CJK JP"},       {"MS PMincho", "Noto Serif CJK JP"},
};

}  // namespace

void InstallFontSubstitutions() {
  for (const Substitution& s : kSubstitutions) {
    const QString family = QString::fromUtf8(s.family);
    QStringList fallbacks{family};
    // When the monospace CJK family is missing, the proportional one still has the glyphs.
    if (family.contains(QLatin1String("Mono"))) fallbacks << QStringLiteral("Noto Sans CJK JP");
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
