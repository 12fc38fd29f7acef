// The Qt main window: the layout of every control, each bound to its model.
#pragma once

#include <QMainWindow>

#include "app/Controls.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;
class QSpinBox;
class QSplitter;
class QTabWidget;
class QToolButton;

namespace tesvarin::qt {

class FileListView;
class ListViewAdapter;

class MainWindow : public QMainWindow {
  Q_OBJECT

public:
  explicit MainWindow(TMainFormControls& Controls, QWidget* Parent = nullptr);

  // Widgets by form name, for the bindings of later layers and for tests.
  [[nodiscard]] QWidget* Control(const QString& Name) const;
  [[nodiscard]] QMenu* ReplaceMenu() const { return FReplaceMenu; }
  // The area the editor widget goes into.
  [[nodiscard]] QFrame* EditorFrame() const { return FEditorFrame; }
  [[nodiscard]] FileListView* FileList() const { return FFileList; }
  [[nodiscard]] ListViewAdapter* FileListAdapter() const { return FFileListAdapter; }
  // Opens PopupMenu1 under Button3, as the replace button does.
  void PopupReplaceMenu();

protected:
  void moveEvent(QMoveEvent* Event) override;
  void resizeEvent(QResizeEvent* Event) override;
  void changeEvent(QEvent* Event) override;
  // Enter that no focused control took presses the default button.
  void keyPressEvent(QKeyEvent* Event) override;

private:
  QWidget* BuildLeftPanel();
  QWidget* BuildInputs();
  QWidget* BuildOptionTabs();
  QWidget* BuildDateSizePage();
  QWidget* BuildSearchOptionsPage();
  QWidget* BuildActionOptionsPage();
  QWidget* BuildRightArea();
  void BuildStatusBar();
  void RememberNormalBounds();
  template <class W>
  W* Named(W* Widget, const char* Name);

  TMainFormControls& FControls;
  QMenu* FReplaceMenu = nullptr;
  QFrame* FEditorFrame = nullptr;
  FileListView* FFileList = nullptr;
  ListViewAdapter* FFileListAdapter = nullptr;
};

}  // namespace tesvarin::qt
