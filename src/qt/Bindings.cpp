#include "qt/Bindings.h"
#include "shell/QtText.h"
#include "qt/ErrorReport.h"
#include "qt/FileListView.h"
#include "qt/StatusPanel.h"
#include "qt/ListViewAdapter.h"

#include <algorithm>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QObject>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QResizeEvent>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>

namespace tesvarin::qt {

namespace {

// Runs Sync now and after every model change, until Widget is destroyed.
void Follow(QObject* Widget, TControlModel& Model, std::function<void()> Sync) {
  Sync();
  int Id = Model.Subscribe(Sync);
  QObject::connect(Widget, &QObject::destroyed, [&Model, Id] { Model.Unsubscribe(Id); });
}

// Enabled state, hint and focus: shared by every widget binding.
void FollowCommon(QWidget* Widget, TControlModel& Model) {
  Follow(Widget, Model, [Widget, &Model] {
    Widget->setEnabled(Model.Enabled());
    Widget->setToolTip(Q(Model.Hint()));
    if (Model.Focused()) {
      Widget->setFocus();
      Model.ClearFocus();
    }
  });
}

}  // namespace

void BindLabel(QLabel* Label, TLabelModel& Model) {
  FollowCommon(Label, Model);
  Follow(Label, Model, [Label, &Model] { Label->setText(Q(Model.Caption())); });
}

void BindButton(QAbstractButton* Button, TButtonModel& Model) {
  FollowCommon(Button, Model);
  Follow(Button, Model, [Button, &Model] { Button->setText(Q(Model.Caption())); });
  QObject::connect(Button, &QAbstractButton::clicked, [&Model] { Guarded([&Model] { Model.Click(); }); });
}

void BindCheckBox(QCheckBox* Box, TCheckBoxModel& Model) {
  FollowCommon(Box, Model);
  Follow(Box, Model, [Box, &Model] {
    QSignalBlocker Block(Box);
    Box->setText(Q(Model.Caption()));
    Box->setChecked(Model.Checked());
  });
  QObject::connect(Box, &QCheckBox::toggled, [&Model](bool On) { Guarded([&Model, On] { Model.SetChecked(On); }); });
}

void BindComboBox(QComboBox* Box, TComboBoxModel& Model) {
  FollowCommon(Box, Model);
  Box->setEditable(!Model.ListOnly());
  // What the user typed is what runs: no inline completion (which Enter accepts, and which matches
  // without regard to case) swaps it for a history entry; the entries stay in the drop-down.
  if (Box->isEditable()) Box->setCompleter(nullptr);
  Follow(Box, Model, [Box, &Model] {
    QSignalBlocker Block(Box);
    QStringList Items;
    for (const std::string& S : Model.Items()) Items << Q(S);
    QStringList Current;
    for (int I = 0; I < Box->count(); ++I) Current << Box->itemText(I);
    if (Current != Items) {
      Box->clear();
      Box->addItems(Items);
    }
    if (Box->isEditable()) {
      if (Box->currentText() != Q(Model.Text())) Box->setEditText(Q(Model.Text()));
    } else {
      Box->setCurrentIndex(Box->findText(Q(Model.Text())));
    }
  });
  QObject::connect(Box, &QComboBox::currentTextChanged, [&Model](const QString& T) { Model.SetText(U(T)); });
}

void BindDatePicker(QDateEdit* Edit, TDatePickerModel& Model) {
  FollowCommon(Edit, Model);
  Follow(Edit, Model, [Edit, &Model] {
    QSignalBlocker Block(Edit);
    Edit->setDate(QDate(Model.Date().Year, Model.Date().Month, Model.Date().Day));
  });
  QObject::connect(Edit, &QDateEdit::dateChanged,
                   [&Model](QDate D) { Model.SetDate(TDate{D.year(), D.month(), D.day()}); });
}

void BindUpDown(QSpinBox* Box, TUpDownModel& Model) {
  FollowCommon(Box, Model);
  Box->setRange(Model.Min(), Model.Max());
  Box->setSingleStep(Model.Increment());
  Follow(Box, Model, [Box, &Model] {
    QSignalBlocker Block(Box);
    Box->setValue(Model.Position());
  });
  QObject::connect(Box, &QSpinBox::valueChanged, [&Model](int V) { Model.SetPosition(V); });
}

void BindPageControl(QTabWidget* Tabs, TPageControlModel& Model) {
  FollowCommon(Tabs, Model);
  Follow(Tabs, Model, [Tabs, &Model] {
    QSignalBlocker Block(Tabs);
    for (int I = 0; I < Tabs->count() && I < static_cast<int>(Model.Pages().size()); ++I) {
      Tabs->setTabText(I, Q(Model.Pages()[static_cast<size_t>(I)]));
    }
    Tabs->setCurrentIndex(Model.ActivePage());
  });
  QObject::connect(Tabs, &QTabWidget::currentChanged, [&Model](int I) { Model.SetActivePage(I); });
}

void BindStatusBar(StatusPanel* Panel0, StatusPanel* Panel1, TStatusBarModel& Model) {
  Panel0->setFixedWidth(TStatusBarModel::FirstPanelWidth);
  Follow(Panel0, Model, [Panel0, Panel1, &Model] {
    Panel0->setText(Q(Model.PanelText(0)));
    Panel1->setText(Q(Model.PanelText(1)));
    // The count is shown whole: the first panel widens for a long one (only when its digits grow,
    // so the bar is not laid out again for every file of a run).
    const int Width = std::max(TStatusBarModel::FirstPanelWidth, Panel0->FittingWidth());
    if (Panel0->minimumWidth() != Width) Panel0->setFixedWidth(Width);
  });
}

namespace {

void SyncListView(FileListView* List, ListViewAdapter* Adapter, TListViewModel& Model) {
  QHeaderView* Header = List->header();
  {
    QSignalBlocker BlockHeader(Header);
    const auto& Columns = Model.Columns();
    for (size_t C = 0; C < Columns.size(); ++C) {
      int Column = static_cast<int>(C);
      if (Header->sectionSize(Column) != Columns[C].Width) List->setColumnWidth(Column, Columns[C].Width);
    }
    // The header's own flip on a click is overruled by what the sort really did.
    Header->setSortIndicatorShown(Model.SortColumn() >= 0);
    Header->setSortIndicator(Model.SortColumn(), Model.SortAscending() ? Qt::AscendingOrder : Qt::DescendingOrder);
  }
  Adapter->SyncRows();
  if (Model.UpdateCount() > 0) return;
  QItemSelectionModel* Selection = List->selectionModel();
  QSignalBlocker BlockSelection(Selection);
  int Row = Model.Selected();
  if (Row < 0) {
    Selection->clear();
  } else if (List->currentIndex().row() != Row || !Selection->isRowSelected(Row)) {
    QModelIndex Index = Adapter->index(Row, 0);
    Selection->setCurrentIndex(Index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    List->scrollTo(Index);
  }
  List->viewport()->update();
}

void RunListCommand(const std::function<void()>& Handler) {
  if (Handler) Guarded(Handler);
}

}  // namespace

ListViewAdapter* BindListView(FileListView* List, TListViewModel& Model) {
  auto* Adapter = new ListViewAdapter(Model, List);
  List->setModel(Adapter);
  List->header()->setSectionsClickable(true);
  List->header()->setStretchLastSection(false);
  FollowCommon(List, Model);
  Follow(List, Model, [List, Adapter, &Model] { SyncListView(List, Adapter, Model); });
  QObject::connect(List->selectionModel(), &QItemSelectionModel::currentRowChanged,
                   [&Model](const QModelIndex& Current) { Model.SetSelected(Current.isValid() ? Current.row() : -1); });
  QObject::connect(List, &QAbstractItemView::clicked, [&Model] { RunListCommand(Model.OnClick); });
  QObject::connect(List, &FileListView::KeyboardSelected, [&Model] { RunListCommand(Model.OnClick); });
  QObject::connect(List, &QAbstractItemView::doubleClicked, [&Model] { RunListCommand(Model.OnDblClick); });
  QObject::connect(List->header(), &QHeaderView::sectionClicked, [&Model](int C) {
    if (Model.OnColumnClick) Guarded([&Model, C] { Model.OnColumnClick(C); });
  });
  QObject::connect(List->header(), &QHeaderView::sectionResized,
                   [&Model](int C, int, int W) { Model.SetColumnWidth(C, W); });
  return Adapter;
}

void BindMenuItem(QAction* Action, TMenuItemModel& Model) {
  Follow(Action, Model, [Action, &Model] {
    Action->setText(Q(Model.Caption()));
    Action->setEnabled(Model.Enabled());
  });
  QObject::connect(Action, &QAction::triggered, [&Model] { Guarded([&Model] { Model.Click(); }); });
}

namespace {

// Sets the splitter's sizes from the model whenever the splitter is resized.
class SplitFollower : public QObject {
public:
  SplitFollower(QSplitter* Splitter, TSplitterModel& Model) : QObject(Splitter), FSplitter(Splitter), FModel(Model) {}

  void Apply() {
    const QList<int> Sizes = FSplitter->sizes();
    if (Sizes.size() == 2) Split(Sizes[0] + Sizes[1]);
  }

protected:
  // Before the splitter's own handling, which then finds the sizes already filling it.
  bool eventFilter(QObject* Watched, QEvent* Event) override {
    if (Watched == FSplitter && Event->type() == QEvent::Resize && FSplitter->count() == 2) {
      const QSize Now = static_cast<QResizeEvent*>(Event)->size();
      Split((FSplitter->orientation() == Qt::Vertical ? Now.height() : Now.width()) - FSplitter->handleWidth());
    }
    return false;
  }

private:
  // Total is the room of the two widgets.
  void Split(int Total) {
    if (Total <= 0) return;
    const int Wanted = FModel.Position() >= 0 ? FModel.Position() : Total * TSplitterModel::FirstStartListPercent / 100;
    const int First = std::clamp(Wanted, 0, Total);
    if (FSplitter->sizes() != QList<int>{First, Total - First}) FSplitter->setSizes({First, Total - First});
  }

  QSplitter* FSplitter;
  TSplitterModel& FModel;
};

}  // namespace

void BindSplitter(QSplitter* Splitter, TSplitterModel& Model) {
  auto* Follower = new SplitFollower(Splitter, Model);
  Splitter->installEventFilter(Follower);
  Follow(Splitter, Model, [Follower] { Follower->Apply(); });
  QObject::connect(Splitter, &QSplitter::splitterMoved, [Splitter, &Model] { Model.SetPosition(Splitter->sizes().value(0)); });
}

void BindWindow(QWidget* Window, TWindowModel& Model) {
  Follow(Window, Model, [Window, &Model] {
    Window->setWindowTitle(Q(Model.Caption()));
    const TBounds& B = Model.Bounds();
    Qt::WindowStates State = Qt::WindowNoState;
    if (Model.WindowState() == wsMaximized) State = Qt::WindowMaximized;
    if (Model.WindowState() == wsMinimized) State = Qt::WindowMinimized;
    if (State == Qt::WindowNoState && Window->geometry() != QRect(B.Left, B.Top, B.Width, B.Height)) {
      Window->setGeometry(B.Left, B.Top, B.Width, B.Height);
    }
    if (Window->windowState() != State) Window->setWindowState(State);
  });
}

}  // namespace tesvarin::qt
