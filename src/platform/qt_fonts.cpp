#include "qt_fonts.h"

#include <QString>
#include <QStringList>
#include <string_view>

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

bool IsMincho(const Substitution& s) {
  return std::string_view(s.family).find("Mincho") != std::string_view::npos;
}

// Every character the same width, as the MS faces without "P".
bool IsFixed(const Substitution& s) {
  return std::string_view(s.family).rfind("IPAP", 0) != 0;
}

const Substitution* Find(const QString& windowsName) {
  for (const Substitution& s : kSubstitutions) {
    if (windowsName == QString::fromUtf8(s.windowsName)) return &s;
  }
  return nullptr;
}

QStringList Fallbacks(const Substitution& s) {
  const QString family = QString::fromUtf8(s.family);
  QStringList fallbacks{family};
  if (IsMincho(s)) {
    fallbacks << QStringLiteral("Noto Serif CJK JP");
  } else if (IsFixed(s)) {
    fallbacks << QStringLiteral("Noto Sans Mono CJK JP") << QStringLiteral("Noto Sans CJK JP");
  } else {
    fallbacks << QStringLiteral("Noto Sans CJK JP");
  }
  return fallbacks;
}

// A family name as CSS reads it: quoted, with quotes and backslashes escaped.
QString CssName(const QString& name) {
  QString quoted = name;
  quoted.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
  quoted.replace(QLatin1Char('\''), QLatin1String("\\'"));
  return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

}  // namespace

void InstallFontSubstitutions() {
  for (const Substitution& s : kSubstitutions) {
    QFont::insertSubstitutions(QString::fromUtf8(s.windowsName), Fallbacks(s));
  }
}

QString CssFontFamily(const QString& name) {
  QStringList list{CssName(name)};
  const Substitution* s = Find(name);
  if (!s) return list.front();
  for (const QString& family : Fallbacks(*s)) list << CssName(family);
  list << QString::fromLatin1(IsMincho(*s) ? "serif" : IsFixed(*s) ? "monospace" : "sans-serif");
  return list.join(QStringLiteral(", "));
}

QFont UiFont(QFont platform) {
  // The family alone: a list of families, or substitutes for it, has every caption's font
  // engine look up fallbacks first, which is what the one face is there to spare.
  platform.setFamily(QString::fromUtf8(Find(QStringLiteral("MS UI Gothic"))->family));
  return platform;
}

QStringList TextLines(const QString& text) {
  QString normalized = text;
  normalized.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  normalized.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return normalized.split(QLatin1Char('\n'));
}

QFont MakeDesignFont(std::string_view name, double pointSize, bool bold, bool italic,
                     bool strikethrough, bool underline) {
  const QString windowsName = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
  QFont font;
  // A Windows name is not a family here: asked for by it, the font database first sorts every
  // installed face against it (several milliseconds per face at start-up) before it tries the
  // stand-ins, which give the same faces when asked for directly.
  const Substitution* s = Find(windowsName);
  font.setFamilies(s ? Fallbacks(*s) : QStringList{windowsName});
  if (pointSize > 0) font.setPointSizeF(pointSize);
  font.setBold(bold);
  font.setItalic(italic);
  font.setStrikeOut(strikethrough);
  font.setUnderline(underline);
  return font;
}

}  // namespace qf
