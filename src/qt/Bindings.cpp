#include "qt/Bindings.h"
#include "qt/QtText.h"

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
#include <QStatusBar>
#include <QTabWidget>
#include <QTreeWidget>

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
  QObject::connect(Button, &QAbstractButton::clicked, [&Model] { Model.Click(); });
}

void BindCheckBox(QCheckBox* Box, TCheckBoxModel& Model) {
  FollowCommon(Box, Model);
  Follow(Box, Model, [Box, &Model] {
    QSignalBlocker Block(Box);
    Box->setText(Q(Model.Caption()));
    Box->setChecked(Model.Checked());
  });
  QObject::connect(Box, &QCheckBox::toggled, [&Model](bool On) { Model.SetChecked(On); });
}

void BindComboBox(QComboBox* Box, TComboBoxModel& Model) {
  FollowCommon(Box, Model);
  Box->setEditable(!Model.ListOnly());
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

void BindStatusBar(QLabel* Panel0, QLabel* Panel1, TStatusBarModel& Model) {
  Panel0->setFixedWidth(TStatusBarModel::FirstPanelWidth);
  Follow(Panel0, Model, [Panel0, Panel1, &Model] {
    Panel0->setText(Q(Model.PanelText(0)));
    Panel1->setText(Q(Model.PanelText(1)));
  });
}

namespace {

QTreeWidgetItem* MakeRow(const TListItem& Item, const std::vector<TListColumn>& Columns) {
  auto* Row = new QTreeWidgetItem;
  Row->setText(0, Q(Item.Caption));
  for (size_t I = 0; I < Item.SubItems.size() && I + 1 < Columns.size(); ++I) {
    Row->setText(static_cast<int>(I + 1), Q(Item.SubItems[I]));
  }
  for (size_t C = 0; C < Columns.size(); ++C) {
    if (Columns[C].Alignment == taRightJustify) Row->setTextAlignment(static_cast<int>(C), Qt::AlignRight | Qt::AlignVCenter);
  }
  return Row;
}

void SyncListView(QTreeWidget* List, TListViewModel& Model) {
  QSignalBlocker Block(List);
  const auto& Columns = Model.Columns();
  QStringList Headers;
  for (const TListColumn& C : Columns) Headers << Q(C.Caption);
  List->setHeaderLabels(Headers);
  QHeaderView* Header = List->header();
  QSignalBlocker BlockHeader(Header);
  for (size_t C = 0; C < Columns.size(); ++C) {
    List->setColumnWidth(static_cast<int>(C), Columns[C].Width);
    List->headerItem()->setTextAlignment(static_cast<int>(C), Columns[C].Alignment == taRightJustify
                                                                  ? Qt::AlignRight | Qt::AlignVCenter
                                                                  : Qt::AlignLeft | Qt::AlignVCenter);
  }
  if (Model.UpdateCount() > 0) return;
  List->setUpdatesEnabled(false);
  List->clear();
  QList<QTreeWidgetItem*> Rows;
  Rows.reserve(Model.Count());
  for (const TListItem& Item : Model.Items()) Rows << MakeRow(Item, Columns);
  List->addTopLevelItems(Rows);
  if (Model.Selected() >= 0) List->setCurrentItem(List->topLevelItem(Model.Selected()));
  List->setUpdatesEnabled(true);
}

}  // namespace

void BindListView(QTreeWidget* List, TListViewModel& Model) {
  List->setRootIsDecorated(false);
  List->setSelectionMode(QAbstractItemView::SingleSelection);
  List->setSelectionBehavior(QAbstractItemView::SelectRows);
  List->setSortingEnabled(false);
  List->header()->setSectionsClickable(true);
  FollowCommon(List, Model);
  Follow(List, Model, [List, &Model] { SyncListView(List, Model); });
  QObject::connect(List, &QTreeWidget::itemSelectionChanged, [List, &Model] {
    QList<QTreeWidgetItem*> Sel = List->selectedItems();
    Model.SetSelected(Sel.isEmpty() ? -1 : List->indexOfTopLevelItem(Sel.first()));
  });
  QObject::connect(List, &QTreeWidget::itemClicked, [&Model] {
    if (Model.OnClick) Model.OnClick();
  });
  QObject::connect(List, &QTreeWidget::itemDoubleClicked, [&Model] {
    if (Model.OnDblClick) Model.OnDblClick();
  });
  QObject::connect(List->header(), &QHeaderView::sectionClicked, [&Model](int C) {
    if (Model.OnColumnClick) Model.OnColumnClick(C);
  });
  QObject::connect(List->header(), &QHeaderView::sectionResized,
                   [&Model](int C, int, int W) { Model.SetColumnWidth(C, W); });
}

void BindMenuItem(QAction* Action, TMenuItemModel& Model) {
  Follow(Action, Model, [Action, &Model] {
    Action->setText(Q(Model.Caption()));
    Action->setEnabled(Model.Enabled());
  });
  QObject::connect(Action, &QAction::triggered, [&Model] { Model.Click(); });
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
