// Qt's own catalogue for a Japanese user: the standard dialogs and buttons (the save question, the
// folder browser) then speak Japanese like the window's own texts.
#pragma once

class QCoreApplication;
class QLocale;
class QTranslator;

namespace tesvarin::qt {

// Loads "qtbase_ja" from Qt's translations folder when Locale is Japanese and installs it in App,
// which owns it. Null when the locale is not Japanese or the catalogue is not installed.
QTranslator* InstallQtTranslation(QCoreApplication& App, const QLocale& Locale);

}  // namespace tesvarin::qt
