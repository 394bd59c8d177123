#include "translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace qf {

bool InstallJapaneseTranslations(QCoreApplication& app) {
  // qtbase holds every standard dialog and button this program shows; the meta catalogue
  // qt_ja would load it again with modules the program does not use.
  auto* translator = new QTranslator(&app);  // lives as long as the application
  if (!translator->load(QStringLiteral("qtbase_ja"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  QCoreApplication::installTranslator(translator);
  return true;
}

}  // namespace qf
