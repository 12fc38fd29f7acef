#include "qt/MainWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "qt/Bindings.h"
#include "qt/ErrorReport.h"
#include "qt/FileListView.h"
#include "qt/StatusPanel.h"
#include "qt/Fonts.h"

namespace tesvarin::qt {

namespace {

QLabel* NewLabel(TLabelModel& Model, QWidget* Buddy = nullptr) {
  auto* Label = new QLabel;
  BindLabel(Label, Model);
  if (Buddy != nullptr) Label->setBuddy(Buddy);
  return Label;
}

QCheckBox* NewCheckBox(TCheckBoxModel& Model) {
  auto* Box = new QCheckBox;
  BindCheckBox(Box, Model);
  return Box;
}

QComboBox* NewComboBox(TComboBoxModel& Model) {
  auto* Box = new QComboBox;
  Box->setInsertPolicy(QComboBox::NoInsert);
  BindComboBox(Box, Model);
  return Box;
}

QDateEdit* NewDatePicker(TDatePickerModel& Model) {
  auto* Edit = new QDateEdit;
  Edit->setCalendarPopup(true);
  Edit->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
  BindDatePicker(Edit, Model);
  return Edit;
}

QHBoxLayout* Row(std::initializer_list<QWidget*> Widgets, int Indent = 0) {
  auto* Layout = new QHBoxLayout;
  Layout->setContentsMargins(Indent, 0, 0, 0);
  for (QWidget* W : Widgets) Layout->addWidget(W);
  return Layout;
}

}  // namespace

template <class W>
W* MainWindow::Named(W* Widget, const char* Name) {
  Widget->setObjectName(QString::fromLatin1(Name));
  return Widget;
}

MainWindow::MainWindow(TMainFormControls& Controls, QWidget* Parent) : QMainWindow(Parent), FControls(Controls) {
  setFont(JapaneseUiFont());
  auto* Central = new QWidget;
  auto* Layout = new QHBoxLayout(Central);
  Layout->setContentsMargins(0, 0, 0, 0);
  Layout->setSpacing(2);
  Layout->addWidget(BuildLeftPanel());
  Layout->addWidget(BuildRightArea(), 1);
  setCentralWidget(Central);
  BuildStatusBar();
  BindWindow(this, FControls.Form1);
  // F3 and Shift+F3 step through the viewer's hits as the buttons above the editor do.
  const std::pair<QKeySequence, TButtonModel*> Steps[] = {{QKeySequence(Qt::Key_F3), &FControls.SpeedButton1},
                                                          {QKeySequence(Qt::SHIFT | Qt::Key_F3), &FControls.SpeedButton3}};
  for (const auto& [Keys, Button] : Steps) {
    auto* Shortcut = new QShortcut(Keys, this);
    connect(Shortcut, &QShortcut::activated, this, [Button] { Guarded([Button] { Button->Click(); }); });
  }
}

QWidget* MainWindow::Control(const QString& Name) const { return findChild<QWidget*>(Name); }

QWidget* MainWindow::BuildLeftPanel() {
  auto* Panel = Named(new QFrame, "Panel1");
  Panel->setFixedWidth(TMainFormControls::LeftPanelWidth);
  auto* Layout = new QVBoxLayout(Panel);
  Layout->setContentsMargins(4, 4, 4, 4);
  auto* Heading = Named(NewLabel(FControls.Panel1Heading), "Panel1Heading");
  Heading->setFrameShape(QFrame::StyledPanel);
  Layout->addWidget(Heading);
  Layout->addWidget(BuildInputs());
  Layout->addWidget(BuildOptionTabs(), 1);
  return Panel;
}

QWidget* MainWindow::BuildInputs() {
  auto& C = FControls;
  auto* Inputs = new QWidget;
  auto* Layout = new QVBoxLayout(Inputs);
  Layout->setContentsMargins(0, 0, 0, 0);

  auto* FileName = Named(NewComboBox(C.cFileName), "cFileName");
  auto* FindWord = Named(NewComboBox(C.cFindWord), "cFindWord");
  auto* FolderName = Named(NewComboBox(C.cFolderName), "cFolderName");
  Layout->addWidget(Named(NewLabel(C.Label1, FileName), "Label1"));
  Layout->addWidget(FileName);
  Layout->addWidget(Named(NewLabel(C.Label2, FindWord), "Label2"));
  Layout->addWidget(FindWord);
  Layout->addWidget(Named(NewLabel(C.Label3, FolderName), "Label3"));
  auto* Browse = Named(new QToolButton, "SpeedButton2");
  BindButton(Browse, C.SpeedButton2);
  Layout->addLayout(Row({FolderName, Browse}));

  auto* Search = Named(new QPushButton, "Button1");
  BindButton(Search, C.Button1);
  Search->setDefault(C.Button1.Default());
  Search->setAutoDefault(true);
  auto* Replace = Named(new QPushButton, "Button3");
  BindButton(Replace, C.Button3);
  auto* Abort = Named(new QPushButton, "Button2");
  BindButton(Abort, C.Button2);
  Layout->addLayout(Row({Search, Replace, Abort}));

  FReplaceMenu = Named(new QMenu(this), "PopupMenu1");
  auto* N2 = FReplaceMenu->addAction(QString());
  N2->setObjectName(QStringLiteral("N2"));
  BindMenuItem(N2, C.N2);
  auto* N4 = FReplaceMenu->addAction(QString());
  N4->setObjectName(QStringLiteral("N4"));
  BindMenuItem(N4, C.N4);
  FReplaceMenu->addSeparator();
  auto* N5 = FReplaceMenu->addAction(QString());
  N5->setObjectName(QStringLiteral("N5"));
  BindMenuItem(N5, C.N5);

  auto* ReplaceWord = Named(NewComboBox(C.cReplaceWord), "cReplaceWord");
  auto* ReplaceLabel = Named(NewLabel(C.Label4, ReplaceWord), "Label4");
  auto* ReplaceRow = Row({ReplaceLabel, ReplaceWord});
  ReplaceRow->setStretch(1, 1);
  Layout->addLayout(ReplaceRow);
  return Inputs;
}

QWidget* MainWindow::BuildOptionTabs() {
  auto* Tabs = Named(new QTabWidget, "PageControl1");
  // Three Japanese captions must fit the narrow panel without scroll arrows.
  Tabs->setUsesScrollButtons(false);
  Tabs->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 3px 5px; }"));
  Tabs->addTab(BuildDateSizePage(), QString());
  Tabs->addTab(BuildSearchOptionsPage(), QString());
  Tabs->addTab(BuildActionOptionsPage(), QString());
  BindPageControl(Tabs, FControls.PageControl1);
  return Tabs;
}

QWidget* MainWindow::BuildDateSizePage() {
  auto& C = FControls;
  auto* Page = Named(new QWidget, "TabSheet1");
  auto* Layout = new QVBoxLayout(Page);
  Layout->addWidget(Named(NewCheckBox(C.DateCheckBox), "DateCheckBox"));
  Layout->addLayout(Row({Named(NewDatePicker(C.DateTimePicker1), "DateTimePicker1"),
                         Named(NewLabel(C.Label5), "Label5")}, 16));
  Layout->addLayout(Row({Named(NewDatePicker(C.DateTimePicker2), "DateTimePicker2"),
                         Named(NewLabel(C.Label6), "Label6")}, 16));
  Layout->addWidget(Named(NewCheckBox(C.SizeCheckBox), "SizeCheckBox"));
  auto* Size = Named(new QSpinBox, "Edit5");
  BindUpDown(Size, C.UpDown3);
  Size->setMaximumWidth(56);  // five digits; the comparison box beside it needs the room
  Layout->addLayout(Row({Size, Named(NewLabel(C.Label7), "Label7"), Named(NewComboBox(C.ComboBox3), "ComboBox3")}, 16));
  Layout->addStretch(1);
  return Page;
}

QWidget* MainWindow::BuildSearchOptionsPage() {
  auto& C = FControls;
  auto* Page = Named(new QWidget, "TabSheet2");
  auto* Layout = new QVBoxLayout(Page);
  // Seven rows in the height the window's smallest size leaves the pages.
  Layout->setSpacing(2);
  Layout->addWidget(Named(NewCheckBox(C.FindSubFolder), "FindSubFolder"));
  Layout->addWidget(Named(NewCheckBox(C.CheckBox6), "CheckBox6"));
  Layout->addWidget(Named(NewCheckBox(C.CheckBox1), "CheckBox1"));
  Layout->addWidget(Named(NewCheckBox(C.CheckBox2), "CheckBox2"));
  Layout->addLayout(Row({Named(NewCheckBox(C.CheckBox3), "CheckBox3")}, 16));
  Layout->addWidget(Named(NewCheckBox(C.CheckBox4), "CheckBox4"));
  Layout->addWidget(Named(NewCheckBox(C.OtherEncodings), "OtherEncodings"));
  Layout->addStretch(1);
  return Page;
}

QWidget* MainWindow::BuildActionOptionsPage() {
  auto& C = FControls;
  auto* Page = Named(new QWidget, "TabSheet3");
  auto* Layout = new QVBoxLayout(Page);
  Layout->addWidget(Named(NewCheckBox(C.MakeBackFile), "MakeBackFile"));
  Layout->addWidget(Named(NewCheckBox(C.ReplacePreview), "ReplacePreview"));
  Layout->addWidget(Named(NewCheckBox(C.ConfirmSave), "ConfirmSave"));
  Layout->addWidget(Named(NewCheckBox(C.SelectFirstSearch), "SelectFirstSearch"));
  Layout->addStretch(1);
  return Page;
}

QWidget* MainWindow::BuildRightArea() {
  auto& C = FControls;
  auto* Splitter = Named(new QSplitter(Qt::Vertical), "Splitter1");
  FFileList = Named(new FileListView, "FileList");
  FFileListAdapter = BindListView(FFileList, C.FileList);
  Splitter->addWidget(FFileList);

  auto* Lower = new QWidget;
  auto* LowerLayout = new QVBoxLayout(Lower);
  LowerLayout->setContentsMargins(0, 0, 0, 0);
  LowerLayout->setSpacing(0);
  auto* Bar = Named(new QFrame, "Panel2");
  Bar->setFrameShape(QFrame::StyledPanel);
  auto* Down = Named(new QToolButton, "SpeedButton1");
  Down->setArrowType(Qt::DownArrow);
  BindButton(Down, C.SpeedButton1);
  auto* Up = Named(new QToolButton, "SpeedButton3");
  Up->setArrowType(Qt::UpArrow);
  BindButton(Up, C.SpeedButton3);
  auto* BarLayout = Row({Named(NewLabel(C.Label8), "Label8"), Down, Up, Named(NewLabel(C.fName), "fName"),
                        Named(NewLabel(C.fEncoding), "fEncoding")});
  BarLayout->setContentsMargins(4, 1, 4, 1);
  BarLayout->addStretch(1);
  Bar->setLayout(BarLayout);
  LowerLayout->addWidget(Bar);
  FEditorFrame = Named(new QFrame, "Editor");
  FEditorFrame->setFrameShape(QFrame::StyledPanel);
  FEditorFrame->setLayout(new QVBoxLayout);
  FEditorFrame->layout()->setContentsMargins(0, 0, 0, 0);
  LowerLayout->addWidget(FEditorFrame, 1);
  Splitter->addWidget(Lower);
  // The list keeps its height as the window grows; the editor takes the rest.
  Splitter->setStretchFactor(0, 0);
  Splitter->setStretchFactor(1, 1);
  Splitter->setChildrenCollapsible(false);
  BindSplitter(Splitter, C.Splitter1);
  return Splitter;
}

void MainWindow::BuildStatusBar() {
  auto* Bar = Named(new QStatusBar, "StatusBar1");
  auto* Panel0 = Named(new StatusPanel, "StatusPanel0");
  auto* Panel1 = Named(new StatusPanel, "StatusPanel1");
  Bar->addWidget(Panel0);
  Bar->addWidget(Panel1, 1);
  BindStatusBar(Panel0, Panel1, FControls.StatusBar1);
  setStatusBar(Bar);
}

void MainWindow::PopupReplaceMenu() {
  auto* Button = findChild<QPushButton*>(QStringLiteral("Button3"));
  FReplaceMenu->exec(Button->mapToGlobal(QPoint(0, Button->height())));
}

void MainWindow::keyPressEvent(QKeyEvent* Event) {
  bool Enter = Event->key() == Qt::Key_Return || Event->key() == Qt::Key_Enter;
  if (Enter && (Event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && FControls.Button1.Default()) {
    Guarded([this] { FControls.Button1.Click(); });
    return;
  }
  QMainWindow::keyPressEvent(Event);
}

void MainWindow::RememberNormalBounds() {
  if (windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen)) return;
  if (!isVisible()) return;
  QRect G = geometry();
  FControls.Form1.SetBounds(TBounds{G.x(), G.y(), G.width(), G.height()});
}

void MainWindow::moveEvent(QMoveEvent* Event) {
  QMainWindow::moveEvent(Event);
  RememberNormalBounds();
}

void MainWindow::resizeEvent(QResizeEvent* Event) {
  QMainWindow::resizeEvent(Event);
  RememberNormalBounds();
}

void MainWindow::changeEvent(QEvent* Event) {
  QMainWindow::changeEvent(Event);
  if (Event->type() != QEvent::WindowStateChange) return;
  Qt::WindowStates S = windowState();
  FControls.Form1.SetWindowState(S & Qt::WindowMinimized   ? wsMinimized
                                 : S & Qt::WindowMaximized ? wsMaximized
                                                           : wsNormal);
}

}  // namespace tesvarin::qt
