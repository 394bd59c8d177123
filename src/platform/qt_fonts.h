#pragma once

#include <QFont>
#include <QStringList>
#include <string_view>

namespace qf {

// Maps the Windows font names designs carry ("ＭＳ ゴシック", "ＭＳ 明朝" ...) to installed
// Japanese families, so texts keep their look. Call once after the application object exists.
void InstallFontSubstitutions();

// The lines of a text: CR LF, CR and LF each end one.
QStringList TextLines(const QString& text);

// The font of a text object at a point size; a size of 0 or less keeps the default size.
QFont MakeDesignFont(std::string_view name, double pointSize, bool bold, bool italic,
                     bool strikethrough, bool underline);

}  // namespace qf
