// Starts the program: the application object, its title, the main window and the message loop.
#include <QApplication>
#include <QMessageBox>
#include <QScreen>

#include <exception>

#include "app/Controls.h"
#include "editor/EditorUtils.h"
#include "qt/MainWindow.h"
#include "qt/QtPlatform.h"
#include "shell/QtShellServices.h"

namespace {

// An error that ends a command is shown in a message box, as the application's default error report.
class TApplication : public QApplication {
public:
  using QApplication::QApplication;
  bool notify(QObject* Receiver, QEvent* Event) override {
    try {
      return QApplication::notify(Receiver, Event);
    } catch (const std::exception& E) {
      QMessageBox::critical(activeWindow(), applicationName(), QString::fromUtf8(E.what()));
    }
    return false;
  }
};

}  // namespace

int main(int argc, char** argv) {
  TApplication App(argc, argv);
  App.setApplicationName(QStringLiteral("Tesvarin"));
  App.setApplicationDisplayName(QStringLiteral("Tesvarin"));
  tesvarin::TMainFormControls Controls;
  tesvarin::qt::MainWindow Window(Controls);

  tesvarin::qt::QtClipboard Clipboard;
  tesvarin::qt::QtDialogs Dialogs(&Window);
  tesvarin::qt::QtEventPump EventPump;
  tesvarin::qt::QtUserStore UserStore(QStringLiteral("Bramwhirl"), QStringLiteral("Vimbre"));
  tesvarin::qt::QtCursorTable Cursors;
  tesvarin::qt::QtShellServices Shell(&Window);
  QScreen* Screen = QGuiApplication::primaryScreen();
  tesvarin::TPlatform Platform{&Clipboard, &Dialogs,  &EventPump, &UserStore,
                               &Cursors,   &Shell,    Screen != nullptr ? Screen->geometry().width() : 1920};
  tesvarin::InitEditorUtils(Platform);

  Window.show();
  int Result = App.exec();
  tesvarin::FinalEditorUtils();
  return Result;
}
