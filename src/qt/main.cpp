// Starts the program: the application object and its title, the main window with everything it
// holds, and the message loop.
#include <algorithm>

#include <QApplication>
#include <QDir>
#include <QLocale>
#include <QScreen>

#include "app/UserFolders.h"
#include "qt/ErrorReport.h"
#include "qt/MainForm.h"
#include "qt/MainWindow.h"
#include "shell/QtText.h"
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

tesvarin::TFormEnvironment Environment(const tesvarin::TUserFolders& Folders) {
  using tesvarin::qt::U;
  tesvarin::TFormEnvironment Env;
  Env.ProgramFolder = U(QCoreApplication::applicationDirPath()) + "/";
  // The primary screen first: a first start opens there.
  QList<QScreen*> Screens = QGuiApplication::screens();
  std::stable_partition(Screens.begin(), Screens.end(), [](QScreen* S) { return S == QGuiApplication::primaryScreen(); });
  for (QScreen* S : Screens) {
    const QRect A = S->availableGeometry();
    Env.ScreenAreas.push_back(tesvarin::TBounds{A.x(), A.y(), A.width(), A.height()});
  }
  QStringList Arguments = QCoreApplication::arguments();
  for (qsizetype I = 1; I < Arguments.size(); ++I) Env.Arguments.push_back(U(Arguments[I]));
  if (!Folders.Config || !Folders.Data) {
    // Never the current folder or the root in place of a home folder.
    Env.Persistent = false;
    Env.SettingsWarning = tesvarin::NoUserFolderWarning;
    return Env;
  }
  Env.ConfigFolder = *Folders.Config;
  QString Data = QString::fromUtf8(*Folders.Data + "/Bramwhirl/Vimbre");
  // The history files are written after every search; their folder must exist first.
  QDir().mkpath(Data);
  Env.DefaultDataFolder = U(Data) + "/";
  return Env;
}

}  // namespace

int main(int argc, char** argv) {
  // Before the toolkit starts: it looks for its own folders in HOME alone.
  tesvarin::ProvideHomeVariable();
  const tesvarin::TUserFolders Folders = tesvarin::UserFolders();
  TApplication App(argc, argv);
  App.setApplicationName(QStringLiteral("Tesvarin"));
  App.setApplicationDisplayName(QStringLiteral("Tesvarin"));
  tesvarin::qt::InstallQtTranslation(App, QLocale::system());
  tesvarin::qt::MainForm Form(Environment(Folders));
  Form.Window().show();
  return App.exec();
}
