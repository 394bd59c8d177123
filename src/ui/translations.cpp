#include "translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace qf {

bool InstallJapaneseTranslations(QCoreApplication& app) {
  const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  bool any = false;
  for (const char* catalogue : {"qtbase_ja", "qt_ja"}) {
    auto* translator = new QTranslator(&app);  // lives as long as the application
    if (translator->load(QString::fromLatin1(catalogue), folder)) {
      QCoreApplication::installTranslator(translator);
      any = true;
    } else {
      delete translator;
    }
  }
  return any;
}

}  // namespace qf
