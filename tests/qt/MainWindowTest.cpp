#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFontInfo>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QImage>
#include <QToolButton>
#include <QHeaderView>

#include "qt/FileListView.h"
#include "qt/StatusPanel.h"
#include "qt/MainWindow.h"
#include "QtApp.h"

namespace tesvarin {
namespace {

QString Q(const char* S) { return QString::fromUtf8(S); }

class MainWindowTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    EnsureQtApplication();
  }
  void SetUp() override {
    Window = std::make_unique<qt::MainWindow>(Controls);
    Window->show();
    QApplication::processEvents();
  }
  template <class W>
  W* Find(const char* Name) {
    W* Widget = Window->findChild<W*>(QString::fromLatin1(Name));
    EXPECT_NE(Widget, nullptr) << Name;
    return Widget;
  }

  TMainFormControls Controls;
  std::unique_ptr<qt::MainWindow> Window;
};

TEST_F(MainWindowTest, ShowsTheLayoutWithItsCaptionsAndHints) {
  EXPECT_EQ(Window->windowTitle(), "Tesvarin");
  EXPECT_EQ(Find<QWidget>("Panel1")->width(), 217);
  EXPECT_EQ(Find<QLabel>("Panel1Heading")->text(), Q("　ファイルの検索・一括置換 (R.6)"));
  EXPECT_EQ(Find<QLabel>("Label1")->text(), Q("ファイルの名前(&M):"));
  EXPECT_EQ(Find<QLabel>("Label1")->buddy(), Find<QComboBox>("cFileName"));
  EXPECT_EQ(Find<QComboBox>("cFileName")->toolTip(),
            Q("検索するファイルの名前全体か名前の一部を入力します。ワイルドカードが使用可"));
  EXPECT_EQ(Find<QComboBox>("cFindWord")->toolTip(), Q("検索する文字列を入力します。 "));
  EXPECT_EQ(Find<QLabel>("Label3")->text(), Q("探す場所(&L):"));
  EXPECT_EQ(Find<QToolButton>("SpeedButton2")->text(), "...");
  auto* Search = Find<QPushButton>("Button1");
  EXPECT_EQ(Search->text(), Q("検索(&S)"));
  EXPECT_TRUE(Search->isDefault());
  EXPECT_EQ(Search->toolTip(), Q("ファイルの検索を実行します。"));
  EXPECT_EQ(Find<QPushButton>("Button3")->text(), Q("置換(&R)▼"));
  EXPECT_FALSE(Find<QPushButton>("Button3")->isEnabled());
  EXPECT_EQ(Find<QPushButton>("Button2")->text(), Q("中断(&B)"));
  EXPECT_FALSE(Find<QPushButton>("Button2")->isEnabled());
  EXPECT_EQ(Find<QLabel>("Label4")->text(), Q("置換"));
  EXPECT_EQ(Find<QComboBox>("cReplaceWord")->toolTip(), Q("置換したい文字列を入力します。"));
  EXPECT_EQ(Find<QToolButton>("SpeedButton1")->toolTip(), Q("下へ検索"));
  EXPECT_EQ(Find<QToolButton>("SpeedButton3")->toolTip(), Q("上へ検索"));
  EXPECT_EQ(Find<QLabel>("Label8")->text(), Q("検索"));
  EXPECT_EQ(Find<qt::StatusPanel>("StatusPanel0")->width(), 100);
  ASSERT_EQ(Window->ReplaceMenu()->actions().size(), 4);
  EXPECT_EQ(Window->ReplaceMenu()->actions()[0]->text(), Q("このファイル内を一括置換"));
  EXPECT_EQ(Window->ReplaceMenu()->actions()[1]->text(), Q("リストのファイルを一括置換"));
  EXPECT_TRUE(Window->ReplaceMenu()->actions()[2]->isSeparator());
  EXPECT_EQ(Window->ReplaceMenu()->actions()[3]->text(), Q("置換を元に戻す..."));
}

TEST_F(MainWindowTest, OptionPagesHoldTheirControls) {
  auto* Tabs = Find<QTabWidget>("PageControl1");
  ASSERT_EQ(Tabs->count(), 3);
  EXPECT_EQ(Tabs->tabText(0), Q("日付・サイズ"));
  EXPECT_EQ(Tabs->tabText(1), Q("検索設定"));
  EXPECT_EQ(Tabs->tabText(2), Q("動作設定"));
  EXPECT_TRUE(Tabs->widget(0)->isAncestorOf(Find<QDateEdit>("DateTimePicker1")));
  EXPECT_EQ(Find<QLabel>("Label5")->text(), Q("から"));
  EXPECT_EQ(Find<QLabel>("Label6")->text(), Q("まで"));
  auto* Size = Find<QSpinBox>("Edit5");
  EXPECT_EQ(Size->minimum(), 0);
  EXPECT_EQ(Size->maximum(), 10000);
  EXPECT_EQ(Size->singleStep(), 100);
  EXPECT_EQ(Size->value(), 1000);
  EXPECT_EQ(Find<QLabel>("Label7")->text(), "KB");
  auto* Compare = Find<QComboBox>("ComboBox3");
  EXPECT_EQ(Compare->count(), 2);
  EXPECT_EQ(Compare->currentText(), Q("より小さい"));
  EXPECT_TRUE(Tabs->widget(1)->isAncestorOf(Find<QCheckBox>("CheckBox3")));
  EXPECT_EQ(Find<QCheckBox>("CheckBox2")->text(), Q("正規表現検索 "));
  EXPECT_EQ(Find<QCheckBox>("FindSubFolder")->text(), Q("サブフォルダも探す"));
  EXPECT_TRUE(Find<QCheckBox>("FindSubFolder")->isChecked());
  EXPECT_TRUE(Tabs->widget(1)->isAncestorOf(Find<QCheckBox>("OtherEncodings")));
  EXPECT_EQ(Find<QCheckBox>("OtherEncodings")->text(), Q("Shift-JIS 以外の文字コードも検索する"));
  EXPECT_TRUE(Find<QCheckBox>("OtherEncodings")->isChecked());
  EXPECT_TRUE(Tabs->widget(2)->isAncestorOf(Find<QCheckBox>("ConfirmSave")));
  EXPECT_EQ(Find<QCheckBox>("MakeBackFile")->text(), Q("保存時バックアップ作成"));
  EXPECT_TRUE(Tabs->widget(2)->isAncestorOf(Find<QCheckBox>("ReplacePreview")));
  EXPECT_EQ(Find<QCheckBox>("ReplacePreview")->text(), Q("一括置換の前にプレビュー"));
  EXPECT_TRUE(Find<QCheckBox>("ReplacePreview")->isChecked());
}

TEST_F(MainWindowTest, ResultListHasEightColumns) {
  auto* List = Find<qt::FileListView>("FileList");
  QAbstractItemModel* Rows = List->model();
  ASSERT_EQ(Rows->columnCount(), 8);
  const char* Captions[] = {"名前", "フォルダ名", "サイズ", "種類", "更新日時", "アクセス日時", "属性", "文字コード"};
  const int Widths[] = {120, 200, 70, 70, 150, 150, 50, 90};
  for (int I = 0; I < 8; ++I) {
    EXPECT_EQ(Rows->headerData(I, Qt::Horizontal).toString(), Q(Captions[I]));
    EXPECT_EQ(List->columnWidth(I), Widths[I]);
  }
  EXPECT_TRUE(Rows->headerData(2, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight);
}

TEST_F(MainWindowTest, WidgetsFollowTheModelsAndBack) {
  auto* Regexp = Find<QCheckBox>("CheckBox2");
  Controls.CheckBox2.SetChecked(true);
  EXPECT_TRUE(Regexp->isChecked());
  Regexp->click();
  EXPECT_FALSE(Controls.CheckBox2.Checked());

  auto* FindWord = Find<QComboBox>("cFindWord");
  Controls.cFindWord.SetItems({"a", "b"});
  Controls.cFindWord.SetText("検索語");
  EXPECT_EQ(FindWord->count(), 2);
  EXPECT_EQ(FindWord->currentText(), Q("検索語"));
  FindWord->setEditText(Q("別の語"));
  EXPECT_EQ(Controls.cFindWord.Text(), "別の語");

  Controls.Button3.SetEnabled(true);
  EXPECT_TRUE(Find<QPushButton>("Button3")->isEnabled());
  int Clicks = 0;
  Controls.Button1.OnClick = [&] { ++Clicks; };
  Find<QPushButton>("Button1")->click();
  EXPECT_EQ(Clicks, 1);

  Controls.StatusBar1.SetPanelText(1, "C:/data/を検索中...");
  EXPECT_EQ(Find<qt::StatusPanel>("StatusPanel1")->text(), Q("C:/data/を検索中..."));

  auto* List = Find<qt::FileListView>("FileList");
  QAbstractItemModel* Rows = List->model();
  Controls.FileList.BeginUpdate();
  Controls.FileList.Add({"memo.txt", {"/tmp/", "1KB", "text", "", "", ""}, -1});
  EXPECT_EQ(Rows->rowCount(), 0);
  Controls.FileList.EndUpdate();
  ASSERT_EQ(Rows->rowCount(), 1);
  EXPECT_EQ(Rows->index(0, 1).data().toString(), "/tmp/");
  List->setCurrentIndex(Rows->index(0, 0));
  EXPECT_EQ(Controls.FileList.Selected(), 0);
  Controls.FileList.SetColumnWidth(1, 123);
  EXPECT_EQ(List->columnWidth(1), 123);
  List->header()->resizeSection(3, 99);
  EXPECT_EQ(Controls.FileList.ColumnWidth(3), 99);

  Controls.UpDown3.SetPosition(300);
  EXPECT_EQ(Find<QSpinBox>("Edit5")->value(), 300);
  Find<QSpinBox>("Edit5")->setValue(500);
  EXPECT_EQ(Controls.UpDown3.Position(), 500);

  Controls.PageControl1.SetActivePage(2);
  EXPECT_EQ(Find<QTabWidget>("PageControl1")->currentIndex(), 2);
  Find<QTabWidget>("PageControl1")->setCurrentIndex(1);
  EXPECT_EQ(Controls.PageControl1.ActivePage(), 1);

  Controls.DateTimePicker1.SetDate({2024, 3, 1});
  EXPECT_EQ(Find<QDateEdit>("DateTimePicker1")->date(), QDate(2024, 3, 1));
}

// The saved picture is the whole window with the search page open: each control named below is
// in it where the window lays it out, drawn (not blank) as the control draws itself, and the
// controls of a hidden page are not shown.
TEST_F(MainWindowTest, SavesAPictureOfTheWindow) {
  Controls.PageControl1.SetActivePage(1);
  Controls.StatusBar1.SetPanelText(0, "3 個のファイル");
  QApplication::processEvents();
  const QString Path = QStringLiteral(TESVARIN_BUILD_DIR "/main-window.png");
  ASSERT_TRUE(Window->grab().save(Path));
  QImage Saved(Path);
  ASSERT_FALSE(Saved.isNull());
  const qreal Ratio = Window->devicePixelRatioF();
  ASSERT_EQ(Saved.size(), Window->size() * Ratio);
  Saved = Saved.convertToFormat(QImage::Format_RGB32);
  auto Flat = [](const QImage& I) {
    for (int Y = 0; Y < I.height(); ++Y) {
      for (int X = 0; X < I.width(); ++X) {
        if (I.pixel(X, Y) != I.pixel(0, 0)) return false;
      }
    }
    return true;
  };
  auto Shows = [&](QWidget* W) {
    const QImage Own = W->grab().toImage().convertToFormat(QImage::Format_RGB32);
    if (Flat(Own)) return false;
    const QRect Area(W->mapTo(Window.get(), QPoint(0, 0)) * Ratio, Own.size());
    return Saved.rect().contains(Area) && Saved.copy(Area) == Own;
  };
  for (const char* Name : {"Panel1Heading", "Label1", "cFileName", "Button1", "PageControl1", "FileList", "SpeedButton1",
                           "StatusPanel0"}) {
    QWidget* W = Find<QWidget>(Name);
    ASSERT_NE(W, nullptr);
    EXPECT_TRUE(W->isVisible()) << Name;
    EXPECT_TRUE(Shows(W)) << Name;
  }
  EXPECT_TRUE(Find<QWidget>("CheckBox2")->isVisible());
  EXPECT_FALSE(Find<QWidget>("DateTimePicker1")->isVisible());
}

// A long status text is cut at the panel's edge: the bar keeps its layout and the text is drawn.
// The activity panel is cut rather than grown; the count is shown whole, however long.
TEST_F(MainWindowTest, StatusPanelsShowTheWholeCountAndCutTheActivity) {
  auto* Panel0 = Find<qt::StatusPanel>("StatusPanel0");
  auto* Panel1 = Find<qt::StatusPanel>("StatusPanel1");
  const QImage Blank = Panel1->grab().toImage();
  const QSize Size1 = Panel1->size();
  Controls.StatusBar1.SetPanelText(1, std::string(500, 'W'));
  QApplication::processEvents();
  EXPECT_EQ(Panel1->size(), Size1);
  EXPECT_NE(Panel1->grab().toImage(), Blank);
  Controls.StatusBar1.SetPanelText(1, {});
  EXPECT_EQ(Panel1->grab().toImage(), Blank);

  Controls.StatusBar1.SetPanelText(0, "12 個のファイル");
  QApplication::processEvents();
  EXPECT_EQ(Panel0->width(), 100);
  Controls.StatusBar1.SetPanelText(0, "123456789 個のファイル");
  QApplication::processEvents();
  const int Text = Panel0->fontMetrics().horizontalAdvance(Panel0->text());
  EXPECT_GT(Text, 100 - 8);  // the fixed panel would have cut it
  EXPECT_GE(Panel0->contentsRect().width() - 4, Text);
}

}  // namespace
}  // namespace tesvarin
