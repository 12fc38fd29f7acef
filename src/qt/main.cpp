// Starts the program: the application object and its title, the main window with everything it
// holds, and the message loop.
#include <algorithm>

#include <QApplication>
#include <QDir>
#include <QLocale>
#include <QScreen>
#include <QStandardPaths>

#include "qt/ErrorReport.h"
#include "qt/MainForm.h"
#include "qt/MainWindow.h"
#include "qt/QtText.h"
#include "qt/Translations.h"

namespace {

// An error no command caught on its way out still reaches the error report instead of ending the
// program.
class TApplication : public QApplication {
public:
  using QApplication::QApplication;
  bool notify(QObject* Receiver, QEvent* Event) override {
    try {
      return QApplication::notify(Receiver, Event);
    } catch (const std::exception& E) {
      tesvarin::qt::ReportError(E);
    }
    return false;
  }
};

tesvarin::TFormEnvironment Environment() {
  using tesvarin::qt::U;
  tesvarin::TFormEnvironment Env;
  Env.ProgramFolder = U(QCoreApplication::applicationDirPath()) + "/";
  Env.ConfigFolder = U(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
  QString Data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/Bramwhirl/Vimbre";
  // The history files are written after every search; their folder must exist first.
  QDir().mkpath(Data);
  Env.DefaultDataFolder = U(Data) + "/";
  // The primary screen first: a first start opens there.
  QList<QScreen*> Screens = QGuiApplication::screens();
  std::stable_partition(Screens.begin(), Screens.end(), [](QScreen* S) { return S == QGuiApplication::primaryScreen(); });
  for (QScreen* S : Screens) {
    const QRect A = S->availableGeometry();
    Env.ScreenAreas.push_back(tesvarin::TBounds{A.x(), A.y(), A.width(), A.height()});
  }
  QStringList Arguments = QCoreApplication::arguments();
  for (qsizetype I = 1; I < Arguments.size(); ++I) Env.Arguments.push_back(U(Arguments[I]));
  return Env;
}

}  // namespace

int main(int argc, char** argv) {
  TApplication App(argc, argv);
  App.setApplicationName(QStringLiteral("Tesvarin"));
  App.setApplicationDisplayName(QStringLiteral("Tesvarin"));
  tesvarin::qt::InstallQtTranslation(App, QLocale::system());
  tesvarin::qt::MainForm Form(Environment());
  Form.Window().show();
  return App.exec();
}
