#pragma once

#include <QFont>
#include <QStringList>
#include <string_view>

namespace qf {

// Maps the Windows font names designs carry ("ＭＳ ゴシック", "ＭＳ 明朝" ...) to installed
// Japanese families, so texts keep their look. Call once after the application object exists.
void InstallFontSubstitutions();

// The font-family list of CSS and SVG for a design's font name: the name itself, the families
// that stand in for it here, and a generic family last, so a viewer without the Windows font
// draws the text as this program does. A name with no stand-ins is given alone.
QString CssFontFamily(const QString& name);

// The font of the program's own windows: the platform's, in the face that stands in for the
// Japanese Windows UI font (ＭＳ ＵＩ Gothic). One face then draws the Latin, kana and kanji of
// every caption, as on Windows, and no other face has to be found to fill in at start-up.
QFont UiFont(QFont platform);

// The lines of a text: CR LF, CR and LF each end one.
QStringList TextLines(const QString& text);

// The font of a text object at a point size; a size of 0 or less keeps the default size.
QFont MakeDesignFont(std::string_view name, double pointSize, bool bold, bool italic,
                     bool strikethrough, bool underline);

}  // namespace qf
