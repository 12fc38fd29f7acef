// The preview of a batch replace and the take-back of a journaled run, through the real window with
// real key and mouse events.
#include <QTreeView>
#include <QTreeWidget>

#include "MainFormFixture.h"
#include "qt/JournalDialog.h"
#include "qt/ReplacePreviewDialog.h"

namespace tesvarin {
namespace {

class ReplacePreviewFlow : public MainFormFlow {};

// Runs Act once the dialog's own event loop runs.
template <class D, class F>
void OnceShown(D& Dialog, F Act) {
  QTimer::singleShot(0, &Dialog, [&Dialog, Act] { Act(Dialog); });
}

void Press(QWidget* Parent, const char* Button) {
  auto* B = Parent->findChild<QPushButton*>(QString::fromLatin1(Button));
  ASSERT_NE(B, nullptr) << Button;
  QTest::mouseClick(B, Qt::LeftButton);
}

TEST_F(ReplacePreviewFlow, ThePreviewShowsEachHitAndReplacesOnlyTheTickedOnes) {
  C().ConfirmSave.SetChecked(false);
  SearchFor("*.txt", "日本語");
  Type("cReplaceWord", "英語");
  QStringList Seen;
  Form->PreviewShown = [&](qt::ReplacePreviewDialog& Dialog) {
    OnceShown(Dialog, [&](qt::ReplacePreviewDialog& D) {
      QTreeView* View = D.View();
      QAbstractItemModel* M = View->model();
      ASSERT_EQ(M->rowCount(), 2);
      const QModelIndex A = M->index(0, 0);
      ASSERT_EQ(M->rowCount(A), 2);
      Seen << M->index(0, 0).data().toString() << M->index(1, 1, A).data().toString()
           << M->index(1, 2, A).data().toString() << M->index(1, 0, A).data().toString();
      // Every box starts ticked; Space on the second hit of a.txt unticks it, and a.txt shows partly ticked.
      EXPECT_EQ(M->index(1, 0, A).data(Qt::CheckStateRole).toInt(), Qt::Checked);
      View->setFocus();
      View->setCurrentIndex(M->index(1, 0, A));
      QTest::keyClick(View->viewport(), Qt::Key_Space);
      EXPECT_EQ(M->index(1, 0, A).data(Qt::CheckStateRole).toInt(), Qt::Unchecked);
      EXPECT_EQ(A.data(Qt::CheckStateRole).toInt(), Qt::PartiallyChecked);
      EXPECT_EQ(M->index(1, 2, A).data().toString(), QStringLiteral("三行目 日本語"));  // left as it is
      Seen << D.findChild<QLabel*>(QStringLiteral("PreviewCounts"))->text();
      Press(&D, "PreviewReplace");
    });
  };
  Dialogs.Answers = {idYes};
  PickReplaceItem(1);
  ASSERT_EQ(Seen.size(), 5);
  EXPECT_TRUE(Seen[0].endsWith(QStringLiteral("a.txt  (2 件)"))) << Seen[0].toStdString();
  EXPECT_EQ(Seen[1], QStringLiteral("三行目 日本語"));
  EXPECT_EQ(Seen[2], QStringLiteral("三行目 英語"));
  EXPECT_EQ(Seen[3], QStringLiteral("3 行"));
  EXPECT_EQ(Seen[4], QStringLiteral("2 個のファイルの 2 個の置換 (チェックを外した箇所は置換しません)"));
  EXPECT_EQ(Tr.Read("a.txt"), Sjis("一行目\r\n英語の検索\r\n三行目 日本語\r\n"));
  EXPECT_EQ(Tr.Read("b.txt"), Sjis("ほかの英語\r\n"));
  EXPECT_EQ(Dialogs.Shown.back().Caption, "リストされたファイルの置換");
  EXPECT_EQ(Panel1(), "2 個の置換作業が終了しました。");
}

TEST_F(ReplacePreviewFlow, CancelInThePreviewChangesNothing) {
  SearchFor("*.txt", "日本語");
  Type("cReplaceWord", "英語");
  Form->PreviewShown = [&](qt::ReplacePreviewDialog& Dialog) {
    OnceShown(Dialog, [](qt::ReplacePreviewDialog& D) { Press(&D, "PreviewCancel"); });
  };
  Dialogs.Answers = {idYes};
  const size_t Before = Dialogs.Shown.size();
  PickReplaceItem(1);
  EXPECT_EQ(Tr.Read("a.txt"), Sjis("一行目\r\n日本語の検索\r\n三行目 日本語\r\n"));
  EXPECT_EQ(Tr.Read("b.txt"), Sjis("ほかの日本語\r\n"));
  EXPECT_EQ(Dialogs.Shown.size(), Before + 1);  // the batch question only
  EXPECT_FALSE(fs::exists(Tr.Root + "/data/journal") && !fs::is_empty(Tr.Root + "/data/journal"));
  EXPECT_TRUE(Find<QPushButton>("Button1")->isEnabled());
}

TEST_F(ReplacePreviewFlow, ARunIsTakenBackFromTheMenuAfterARestartLeavingAFileEditedSince) {
  C().ConfirmSave.SetChecked(false);
  C().ReplacePreview.SetChecked(false);
  SearchFor("*.txt", "日本語");
  Type("cReplaceWord", "英語");
  Dialogs.Answers = {idYes};
  PickReplaceItem(1);
  ASSERT_EQ(Tr.Read("b.txt"), Sjis("ほかの英語\r\n"));
  Tr.Write("b.txt", Sjis("ほかの英語、その後の編集\r\n"));

  Open();  // the next day
  SearchFor("*.txt", "");
  QStringList Rows;
  Form->JournalShown = [&](qt::JournalDialog& Dialog) {
    OnceShown(Dialog, [&](qt::JournalDialog& D) {
      QTreeWidget* List = D.List();
      ASSERT_EQ(List->topLevelItemCount(), 1);
      QTreeWidgetItem* Run = List->topLevelItem(0);
      Rows << Run->text(2) << Run->text(3) << Run->text(4);
      QTest::mouseClick(List->viewport(), Qt::LeftButton, {}, List->visualItemRect(Run).center());
      Press(&D, "TakeBackButton");
      Rows << List->topLevelItem(0)->text(4);
      Press(&D, "CloseButton");
    });
  };
  PickReplaceItem(2);
  ASSERT_EQ(Rows.size(), 4);
  EXPECT_EQ(Rows[0], QStringLiteral("日本語 → 英語"));
  EXPECT_EQ(Rows[1], QStringLiteral("2"));
  EXPECT_EQ(Rows[2], QStringLiteral("置換済み"));
  EXPECT_EQ(Rows[3], QStringLiteral("一部を元に戻し済み"));
  EXPECT_EQ(Tr.Read("a.txt"), Sjis("一行目\r\n日本語の検索\r\n三行目 日本語\r\n"));
  EXPECT_EQ(Tr.Read("b.txt"), Sjis("ほかの英語、その後の編集\r\n"));
  const std::string Told = Dialogs.Shown.back().Text;
  EXPECT_EQ(Told.rfind("1 個のファイルを元に戻しました。", 0), 0u) << Told;
  EXPECT_NE(Told.find(Tr.T() + "/b.txt (置換の後に変更されています)"), std::string::npos) << Told;
}

TEST_F(ReplacePreviewFlow, ReplaceInThisFileIsOneStepOfTheEditorsUndo) {
  SearchFor("*.txt", "日本語");
  Type("cReplaceWord", "英語");
  ClickRow(RowOf("a.txt"));
  PickReplaceItem(0);
  const std::string Before = Sjis("一行目\r\n日本語の検索\r\n三行目 日本語\r\n");
  const std::string After = Sjis("一行目\r\n英語の検索\r\n三行目 英語\r\n");
  ASSERT_EQ(Form->Editor().Lines().FileBytes(), After);
  QTest::keyClick(&Form->EditorView(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Form->Editor().Lines().FileBytes(), Before);
  QTest::keyClick(&Form->EditorView(), Qt::Key_A, Qt::ControlModifier);  // the editor's redo
  EXPECT_EQ(Form->Editor().Lines().FileBytes(), After);
}

}  // namespace
}  // namespace tesvarin
