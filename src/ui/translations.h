#pragma once

class QCoreApplication;

namespace qf {

// Qt's own Japanese texts for its standard dialogs and buttons (file, colour, font and print
// dialogs, OK and Cancel), so they speak the program's language. False when they are not
// installed; the dialogs then stay in English.
bool InstallJapaneseTranslations(QCoreApplication& app);

}  // namespace qf
