// The program's window as the user gets it: the Qt window over the control models, the one editor in
// its widget, the window's logic, the desktop services, and the window's life cycle routed to that
// logic (created, first shown, every close request, destroyed).
#pragma once

#include <QObject>

#include <functional>
#include <memory>
#include <vector>

#include "app/Controls.h"
#include "app/Form1.h"
#include "qt/QtPlatform.h"
#include "qt/QtUserStore.h"
#include "shell/QtShellServices.h"

class QCloseEvent;

namespace tesvarin {
class TEditorEx;
class TFormEditorEx;
class THTMLHighlighter;
}  // namespace tesvarin

namespace tesvarin::qt {

class EditorWidget;
class JournalDialog;
class MainWindow;
class ReplacePreviewDialog;

class MainForm : public QObject {
  Q_OBJECT

public:
  // Dialogs and UserStore left null are the desktop's own: message boxes and the settings file
  // "Bramwhirl/Vimbre.conf" in the environment's configuration folder.
  explicit MainForm(TFormEnvironment Environment, IDialogs* Dialogs = nullptr, IUserStore* UserStore = nullptr);
  ~MainForm() override;
  MainForm(const MainForm&) = delete;
  MainForm& operator=(const MainForm&) = delete;

  [[nodiscard]] MainWindow& Window() { return *FWindow; }
  [[nodiscard]] TMainFormControls& Controls() { return FControls; }
  [[nodiscard]] TForm1& Form() { return *FForm; }
  [[nodiscard]] TEditorEx& Editor() { return *FEditor; }
  [[nodiscard]] EditorWidget& EditorView() { return *FEditorView; }
  [[nodiscard]] THTMLHighlighter& HTMLHighlighter1() { return *FHTMLHighlighter1; }
  [[nodiscard]] QtShellServices& Shell() { return FShell; }
  // Opens the "表示設定" dialog over the window and waits until it closes.
  void ShowViewSettings();
  // Called with each preview or journal dialog just before it runs (tests drive them).
  std::function<void(ReplacePreviewDialog&)> PreviewShown;
  std::function<void(JournalDialog&)> JournalShown;

protected:
  bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
  void WireListGestures();
  void AddViewMenu();
  void CloseRequested(QCloseEvent* Event);
  void CloseWhenIdle();
  bool PreviewReplace(std::vector<TPlannedFile>& Files);
  void ShowPlannedHit(const TPlannedFile& File, const TPlannedHit& Hit);
  void ShowJournal();

  TMainFormControls FControls;
  std::unique_ptr<MainWindow> FWindow;
  EditorWidget* FEditorView;  // owned by the window
  QtClipboard FClipboard;
  QtDialogs FDialogs;
  QtEventPump FEventPump;
  QtUserStore FUserStore;
  QtCursorTable FCursors;
  QtShellServices FShell;
  TPlatform FPlatform;
  std::unique_ptr<TEditorEx> FEditor;
  std::unique_ptr<TFormEditorEx> FFormEditor;
  std::unique_ptr<THTMLHighlighter> FHTMLHighlighter1;
  std::unique_ptr<TForm1> FForm;
  std::string FUserIniPath;
  bool FShown = false;
  bool FCloseWhenIdle = false;
};

}  // namespace tesvarin::qt
