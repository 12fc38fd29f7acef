#include "qt/JournalDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/LocalTime.h"
#include "app/ReplaceJournal.h"
#include "shell/QtText.h"

namespace tesvarin::qt {

namespace {

constexpr int NumberRole = Qt::UserRole + 1;
constexpr int PathRole = Qt::UserRole + 2;

QString FileState(TJournalFileState S) {
  switch (S) {
    case TJournalFileState::TakenBack: return QStringLiteral("元に戻し済み");
    case TJournalFileState::Dropped: return QStringLiteral("置換していません");
    default: return QStringLiteral("置換済み");
  }
}

}  // namespace

JournalDialog::JournalDialog(std::string Folder, std::function<void(int, const std::string&)> TakeBack, QWidget* Parent)
    : QDialog(Parent), FFolder(std::move(Folder)), FTakeBack(std::move(TakeBack)), FList(new QTreeWidget) {
  setObjectName(QStringLiteral("JournalDialog"));
  setWindowTitle(QStringLiteral("置換を元に戻す"));
  FList->setObjectName(QStringLiteral("JournalList"));
  FList->setHeaderLabels({QStringLiteral("日時"), QStringLiteral("フォルダ"), QStringLiteral("検索文字列 → 置換文字列"),
                          QStringLiteral("ファイル"), QStringLiteral("状態")});
  FList->setAllColumnsShowFocus(true);
  FList->header()->resizeSection(0, 150);
  FList->header()->resizeSection(1, 260);
  FList->header()->resizeSection(2, 220);
  FList->header()->resizeSection(3, 60);
  connect(FList, &QTreeWidget::itemSelectionChanged, this, &JournalDialog::SelectionChanged);

  auto* Note = new QLabel(QStringLiteral(
      "置換の後に変更されたファイルはそのままにします。ファイルを選ぶと、そのファイルだけを元に戻します。"));
  Note->setWordWrap(true);
  auto* Buttons = new QDialogButtonBox;
  FTakeBackButton = Buttons->addButton(QStringLiteral("元に戻す"), QDialogButtonBox::ActionRole);
  FTakeBackButton->setObjectName(QStringLiteral("TakeBackButton"));
  QPushButton* Close = Buttons->addButton(QStringLiteral("閉じる"), QDialogButtonBox::RejectRole);
  Close->setObjectName(QStringLiteral("CloseButton"));
  Close->setDefault(true);  // a stray Enter must not write files back
  connect(FTakeBackButton, &QPushButton::clicked, this, &JournalDialog::TakeBackSelected);
  connect(Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* Layout = new QVBoxLayout(this);
  Layout->addWidget(FList, 1);
  Layout->addWidget(Note);
  Layout->addWidget(Buttons);
  resize(860, 420);
  Refresh();
}

void JournalDialog::Refresh() {
  FList->clear();
  for (const TJournalRun& Run : TReplaceJournal(FFolder).Runs()) {
    auto* Item = new QTreeWidgetItem(FList);
    Item->setText(0, Q(FormatLocalTime(Run.Info.Time)));
    Item->setText(1, Q(Run.Info.Folder));
    Item->setText(2, Q(Run.Info.Needle) + QStringLiteral(" → ") + Q(Run.Info.Replacement));
    Item->setText(3, QString::number(Run.FileCount()));
    Item->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
    Item->setText(4, Q(Run.StateText()));
    Item->setData(0, NumberRole, Run.Number);
    for (const TJournalEntry& E : Run.Files) {
      if (E.State == TJournalFileState::Dropped) continue;
      auto* File = new QTreeWidgetItem(Item);
      File->setText(1, Q(E.Path));
      File->setText(4, FileState(E.State));
      File->setData(0, NumberRole, Run.Number);
      File->setData(0, PathRole, Q(E.Path));
    }
  }
  if (FList->topLevelItemCount() > 0) FList->setCurrentItem(FList->topLevelItem(0));
  SelectionChanged();
}

void JournalDialog::SelectionChanged() {
  QTreeWidgetItem* Item = FList->currentItem();
  const bool Selected = Item != nullptr && !FList->selectedItems().isEmpty();
  FTakeBackButton->setEnabled(Selected && !Item->text(4).startsWith(QStringLiteral("元に戻し済み")));
}

void JournalDialog::TakeBackSelected() {
  QTreeWidgetItem* Item = FList->currentItem();
  if (!Item) return;
  const int Number = Item->data(0, NumberRole).toInt();
  const QString Path = Item->data(0, PathRole).toString();
  FTakeBack(Number, U(Path));
  Refresh();
}

}  // namespace tesvarin::qt
