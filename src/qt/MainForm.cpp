#include "qt/MainForm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QScreen>
#include <QSessionManager>
#include <QTimer>
#include <QVBoxLayout>

#include "app/EditorSettings.h"
#include "app/EditorViewSettings.h"
#include "app/IniPath.h"
#include "app/FormEditorEx.h"
#include "editor/EditorEx.h"
#include "editor/settings/EditorResources.h"
#include "highlighter/HTMLHighlighter.h"
#include "qt/EditorWidget.h"
#include "qt/ErrorReport.h"
#include "qt/FileListView.h"
#include "qt/ListViewAdapter.h"
#include "qt/MainWindow.h"
#include "shell/QtText.h"
#include "qt/ViewSettingsDialog.h"

namespace tesvarin::qt {

namespace {

// How often a close asked for during a run looks whether the run has ended.
constexpr int CloseRetryMs = 20;

bool IsUserInput(QEvent::Type Type) {
  switch (Type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::InputMethod:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
      return true;
    default:
      return false;
  }
}

int ScreenWidth() {
  QScreen* Screen = QGuiApplication::primaryScreen();
  return Screen != nullptr ? Screen->geometry().width() : 1920;
}

}  // namespace

MainForm::MainForm(TFormEnvironment Environment, IDialogs* Dialogs, IUserStore* UserStore)
    : FWindow(std::make_unique<MainWindow>(FControls)),
      FEditorView(new EditorWidget),
      FDialogs(FWindow.get()),
      FUserStore(Environment.ConfigFolder ? Q(*Environment.ConfigFolder + "/Bramwhirl/Vimbre.conf") : QString()),
      FCursors(FEditorView),
      FShell(FWindow.get()) {
  FPlatform = TPlatform{&FClipboard, Dialogs != nullptr ? Dialogs : &FDialogs,
                        &FEventPump, UserStore != nullptr ? UserStore : &FUserStore,
                        &FCursors,   &FShell,
                        ScreenWidth()};
  InitEditorResources(FPlatform);
  FEditorView->setObjectName(QStringLiteral("EditorView"));
  FWindow->EditorFrame()->layout()->addWidget(FEditorView);
  FEditor = std::make_unique<TEditorEx>(FEditorView, FPlatform);
  ApplyEditorStartConfiguration(*FEditor, FEditor->ExMarks(), FEditor->Search());
  FEditorView->SetEditor(FEditor.get());
  FFormEditor = std::make_unique<TFormEditorEx>(*FEditor);
  FHTMLHighlighter1 = THighlighter::New<THTMLHighlighter>();
  FUserIniPath = UserIniPath(Environment.ConfigFolder);
  FForm = std::make_unique<TForm1>(FControls, FPlatform, *FFormEditor, std::move(Environment));
  FForm->PopupReplaceMenu = [this] { FWindow->PopupReplaceMenu(); };
  FForm->LoadEditorSettings = [this](const std::string& IniPath) {
    LoadEditorSettingsWithOverlay(IniPath, FUserIniPath, *FEditor, FEditor->ExMarks(), *FHTMLHighlighter1);
  };
  SetErrorReport([this](std::string_view Text) {
    FPlatform.Dialogs->WarningBox(Text, U(QApplication::applicationName()));
  });
  WireListGestures();
  AddViewMenu();
  FWindow->installEventFilter(this);
  FEditorView->installEventFilter(this);
  FEditorView->viewport()->installEventFilter(this);
  connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager& Manager) {
    if (!FWindow->close()) Manager.cancel();
  });
  FForm->FormCreate();
}

MainForm::~MainForm() {
  FWindow->removeEventFilter(this);
  FEditorView->removeEventFilter(this);
  FEditorView->viewport()->removeEventFilter(this);
  Guarded([this] { FForm->FormDestroy(); });
  SetErrorReport({});
  FEditorView->SetEditor(nullptr);
  FForm.reset();
  FFormEditor.reset();
  FEditor.reset();
  FWindow.reset();
  FinalEditorResources();
}

void MainForm::WireListGestures() {
  FileListView* List = FWindow->FileList();
  FWindow->FileListAdapter()->SetIconSource([this](int ImageIndex) { return FShell.Icon(ImageIndex); });
  connect(List, &FileListView::DragStarted, this, [this](QPoint At) {
    Guarded([this, At] { FForm->FileListMouseDown(mbLeft, TPoint{At.x(), At.y()}); });
  });
  // The shell services place their menu in the window's coordinates.
  connect(List, &FileListView::RightButtonReleased, this, [this, List](QPoint At) {
    QPoint InWindow = List->viewport()->mapTo(FWindow.get(), At);
    Guarded([this, InWindow] { FForm->FileListMouseUp(mbRight, TPoint{InWindow.x(), InWindow.y()}); });
  });
}

void MainForm::AddViewMenu() {
  QMenu* View = FWindow->menuBar()->addMenu(QString::fromUtf8("表示(&V)"));
  QAction* Settings = View->addAction(QString::fromUtf8("表示設定(&O)..."));
  Settings->setObjectName(QStringLiteral("ViewSettingsAction"));
  connect(Settings, &QAction::triggered, this, &MainForm::ShowViewSettings);
}

void MainForm::ShowViewSettings() {
  if (FForm->Running()) return;  // the editor is the run's scratch buffer
  ViewSettingsDialog Dialog(*FEditor, FEditor->ExMarks(), FUserIniPath, FForm->IniFolder() + IniFileName,
                            FWindow.get());
  Dialog.exec();
}

bool MainForm::eventFilter(QObject* Watched, QEvent* Event) {
  // While a run or a replace loop uses the editor as its scratch buffer, the user's input to it is dropped.
  if (Watched != FWindow.get()) return FForm->Running() && IsUserInput(Event->type());
  if (Event->type() == QEvent::Show && !FShown) {
    FShown = true;
    Guarded([this] { FForm->FormShow(); });
  } else if (Event->type() == QEvent::Close) {
    CloseRequested(static_cast<QCloseEvent*>(Event));
    return true;
  }
  return false;
}

// A close during a run or a replace loop stops it as Abort does; the window closes once the loop has
// returned and its closing message is answered, so no file is left half written.
void MainForm::CloseRequested(QCloseEvent* Event) {
  if (FForm->Running()) {
    FForm->Button2Click();
    Event->ignore();
    if (!FCloseWhenIdle) {
      FCloseWhenIdle = true;
      QTimer::singleShot(CloseRetryMs, this, &MainForm::CloseWhenIdle);
    }
    return;
  }
  bool Close = false;
  Guarded([this, &Close] { Close = FForm->FormCloseQuery(); });
  if (Close) {
    Event->accept();
  } else {
    Event->ignore();
  }
}

void MainForm::CloseWhenIdle() {
  if (FForm->Running() || QApplication::activeModalWidget() != nullptr) {
    QTimer::singleShot(CloseRetryMs, this, &MainForm::CloseWhenIdle);
    return;
  }
  FCloseWhenIdle = false;
  FWindow->close();
}

}  // namespace tesvarin::qt
