#include "qt/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace tesvarin::qt {

QTranslator* InstallQtTranslation(QCoreApplication& App, const QLocale& Locale) {
  // The window's own texts are Japanese whatever the locale; other languages keep Qt's English.
  if (Locale.language() != QLocale::Japanese) return nullptr;
  auto* Translator = new QTranslator(&App);
  if (!Translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete Translator;
    return nullptr;
  }
  App.installTranslator(Translator);
  return Translator;
}

}  // namespace tesvarin::qt
