// Whole flows through the real window, its editor widget and the window logic, as a person does them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "app/FileSystem.h"
#include "editor/EditorEx.h"
#include "qt/EditorWidget.h"
#include "qt/FileListView.h"
#include "qt/StatusPanel.h"
#include "qt/MainForm.h"
#include "qt/MainWindow.h"
#include "support/SjisCodec.h"
#include "testsupport/Fakes.h"
#include "QtApp.h"

namespace tesvarin {
namespace {

namespace fs = std::filesystem;

QString Q(const std::string& S) { return QString::fromUtf8(S.c_str()); }
std::string Sjis(const char* Utf8) { return Utf8ToCp932(Utf8); }

struct TempTree {
  TempTree() {
    std::string Template = (fs::temp_directory_path() / "tesvarin-window-XXXXXX").string();
    Root = mkdtemp(Template.data());
    fs::create_directories(Root + "/t");
    fs::create_directories(Root + "/data");
  }
  ~TempTree() {
    std::error_code Ec;
    fs::remove_all(Root, Ec);
  }
  void Write(const std::string& Name, const std::string& Bytes) const { WriteFileBytes(T() + "/" + Name, Bytes); }
  [[nodiscard]] std::string Read(const std::string& Name) const { return ReadFileBytes(T() + "/" + Name); }
  [[nodiscard]] std::string T() const { return Root + "/t"; }
  std::string Root;
};

class MainFormFlow : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    EnsureQtApplication();
  }
  void SetUp() override {
    Tr.Write("a.txt", Sjis("一行目\r\n日本語の検索\r\n三行目 日本語\r\n"));
    Tr.Write("b.txt", Sjis("ほかの日本語\r\n"));
    Tr.Write("c.txt", Sjis("関係なし\r\n"));
    Open();
  }
  void TearDown() override { Form.reset(); }

  // A new window over the same per-user store and data folder, as after a restart; null dialogs
  // give the real message boxes.
  void Open(bool RealDialogs = false) {
    Form.reset();
    TFormEnvironment Env;
    Env.ProgramFolder = Tr.Root + "/";
    Env.ConfigFolder = Tr.Root + "/config";
    Env.DefaultDataFolder = Tr.Root + "/data/";
    Env.ScreenAreas = Screens;
    Form = std::make_unique<qt::MainForm>(Env, RealDialogs ? nullptr : &Dialogs, &Store);
    Window().show();
    QApplication::processEvents();
  }
  qt::MainWindow& Window() { return Form->Window(); }
  TMainFormControls& C() { return Form->Controls(); }
  template <class W>
  W* Find(const char* Name) {
    W* Widget = Window().findChild<W*>(QString::fromLatin1(Name));
    EXPECT_NE(Widget, nullptr) << Name;
    return Widget;
  }
  void Type(const char* Combo, const char* Utf8) {
    auto* Box = Find<QComboBox>(Combo);
    Box->lineEdit()->clear();
    QString Text = QString::fromUtf8(Utf8);
    // Key events carry ASCII; other characters arrive as an input method's commit does.
    bool Ascii = std::all_of(Text.begin(), Text.end(), [](QChar Ch) { return Ch.unicode() < 0x80; });
    if (Ascii) {
      QTest::keyClicks(Box, Text);
    } else {
      Box->lineEdit()->insert(Text);
    }
  }
  // Types the inputs and presses Enter in the folder box.
  void SearchFor(const char* Pattern, const char* Word) {
    Type("cFileName", Pattern);
    Type("cFindWord", Word);
    Type("cFolderName", Tr.T().c_str());
    QTest::keyClick(Find<QComboBox>("cFolderName"), Qt::Key_Return);
  }
  qt::FileListView* List() { return Window().FileList(); }
  int RowOf(const std::string& Name) {
    for (int I = 0; I < C().FileList.Count(); ++I) {
      if (C().FileList.Item(I).Caption == Name) return I;
    }
    return -1;
  }
  void ClickRow(int Row) {
    QRect R = List()->visualRect(List()->model()->index(Row, 0));
    QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, R.center());
  }
  std::string Panel1() { return Find<qt::StatusPanel>("StatusPanel1")->text().toStdString(); }
  // Opens PopupMenu1 by Button3 and picks its item Index by keyboard.
  void PickReplaceItem(int Index) {
    QTimer::singleShot(0, [this, Index] {
      QMenu* Menu = Window().ReplaceMenu();
      for (int I = 0; I <= Index; ++I) QTest::keyClick(Menu, Qt::Key_Down);
      QTest::keyClick(Menu, Qt::Key_Return);
    });
    QTest::mouseClick(Find<QPushButton>("Button3"), Qt::LeftButton);
  }

  TempTree Tr;
  std::vector<TBounds> Screens;  // none: the window takes the bounds as read
  test::FakeDialogs Dialogs;
  test::FakeUserStore Store;
  std::unique_ptr<qt::MainForm> Form;
};

TEST_F(MainFormFlow, EnterSearchesAndARowClickShowsTheFirstHit) {
  SearchFor("*.txt", "日本語");
  ASSERT_EQ(List()->model()->rowCount(), 2);
  EXPECT_EQ(Dialogs.Shown.back().Text, "2 個のファイルが見つかりました。");
  EXPECT_EQ(Dialogs.Shown.back().Caption, "ファイルの検索");
  EXPECT_TRUE(Find<QPushButton>("Button3")->isEnabled());
  EXPECT_FALSE(Find<QPushButton>("Button2")->isEnabled());

  int A = RowOf("a.txt");
  ClickRow(A);
  std::string Path = Tr.T() + "/a.txt";
  EXPECT_EQ(Find<QLabel>("fName")->text(), Q(Path));
  EXPECT_EQ(Panel1(), "2件中1件目");  // the first search replaced the path by the hit's number
  EXPECT_EQ(Form->Editor().GetSelText(), Sjis("日本語"));
  EXPECT_EQ(Form->Editor().Row(), 1);

  // The buttons and F3 / Shift+F3 step through the hits.
  Window().activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
  QTest::keyClick(&Form->EditorView(), Qt::Key_F3);
  EXPECT_EQ(Form->Editor().Row(), 2);
  EXPECT_EQ(Panel1(), "2件中2件目");
  QTest::mouseClick(Find<QToolButton>("SpeedButton1"), Qt::LeftButton);
  EXPECT_EQ(Panel1(), "検索文字列  \"日本語\"は見つかりませんでした。");
  QTest::mouseClick(Find<QToolButton>("SpeedButton3"), Qt::LeftButton);
  QTest::keyClick(&Form->EditorView(), Qt::Key_F3, Qt::ShiftModifier);
  EXPECT_EQ(Form->Editor().Row(), 1);
  EXPECT_EQ(Panel1(), "2件中1件目");

  // The keyboard makes the next row current too.
  C().SelectFirstSearch.SetChecked(false);
  List()->setFocus();
  QTest::keyClick(List(), A == 0 ? Qt::Key_Down : Qt::Key_Up);
  EXPECT_EQ(Find<QLabel>("fName")->text(), Q(Tr.T() + "/b.txt"));
  EXPECT_EQ(Panel1(), Tr.T() + "/b.txt");
}

TEST_F(MainFormFlow, EditThenAnotherRowAsksToSaveWithEachAnswer) {
  SearchFor("*.txt", "");
  ASSERT_EQ(C().FileList.Count(), 3);
  C().SelectFirstSearch.SetChecked(false);
  struct Case {
    TMsgResult Answer;
    bool Saved;
  } Cases[] = {{idNo, false}, {idCancel, false}, {idYes, true}};
  for (const Case& K : Cases) {
    ClickRow(RowOf("c.txt"));
    QTest::keyClicks(&Form->EditorView(), "X");
    ASSERT_TRUE(Form->Editor().Modified());
    Dialogs.Answers = {K.Answer};
    ClickRow(RowOf("b.txt"));
    EXPECT_EQ(Dialogs.Shown.back().Text, Tr.T() + "/c.txt\r\n\r\nこのファイルは変更されています。\r\n保存しますか?");
    EXPECT_EQ(Tr.Read("c.txt") == Sjis("X関係なし\r\n"), K.Saved);
    EXPECT_EQ(fs::exists(Tr.T() + "/c.bak"), K.Saved);
    if (K.Answer == idCancel) {
      // Cancel stays on the edited file, its row selected; No then leaves it.
      EXPECT_EQ(Find<QLabel>("fName")->text(), Q(Tr.T() + "/c.txt"));
      EXPECT_TRUE(Form->Editor().Modified());
      EXPECT_EQ(List()->currentIndex().row(), RowOf("c.txt"));
      Dialogs.Answers = {idNo};
      ClickRow(RowOf("b.txt"));
    }
    EXPECT_EQ(Find<QLabel>("fName")->text(), Q(Tr.T() + "/b.txt"));
  }
}

TEST_F(MainFormFlow, AFileChangedOnDiskIsNotOverwrittenUnasked) {
  SearchFor("*.txt", "");
  C().SelectFirstSearch.SetChecked(false);
  C().ConfirmSave.SetChecked(false);
  ClickRow(RowOf("c.txt"));
  QTest::keyClicks(&Form->EditorView(), "X");
  Tr.Write("c.txt", "changed by someone else, longer than before");
  ClickRow(RowOf("b.txt"));  // unanswered: as if Enter was pressed
  ASSERT_EQ(Dialogs.Asked.size(), 1u);
  EXPECT_EQ(Dialogs.Asked.back().Text, Tr.T() + "/c.txt\r\n\r\nこのファイルは読み込んだ後に他で変更されています。\r\n"
                                                "上書き保存すると、その変更は失われます。");
  EXPECT_EQ(Tr.Read("c.txt"), "changed by someone else, longer than before");
  EXPECT_EQ(Find<QLabel>("fName")->text(), Q(Tr.T() + "/c.txt"));  // the edits stay on screen
  EXPECT_TRUE(Form->Editor().Modified());
  Dialogs.AskAnswers = {1};  // read the newer text instead, then go on to the row clicked
  ClickRow(RowOf("b.txt"));
  EXPECT_EQ(Find<QLabel>("fName")->text(), Q(Tr.T() + "/b.txt"));
  // Overwriting is a choice the user makes; further edits of that text are then saved unasked.
  ClickRow(RowOf("c.txt"));
  QTest::keyClicks(&Form->EditorView(), "Y");
  Tr.Write("c.txt", "changed once more");
  Dialogs.AskAnswers = {0};
  ClickRow(RowOf("b.txt"));
  EXPECT_EQ(Tr.Read("c.txt"), "Ychanged by someone else, longer than before");
  EXPECT_EQ(Tr.Read("c.bak"), "changed once more");
  EXPECT_EQ(Dialogs.Asked.size(), 3u);
}

// Presses Key in the next modal box once it is open; Seen gets its text.
void AnswerNextBox(Qt::Key Key, QString* Seen) {
  auto* Timer = new QTimer;
  Timer->setInterval(5);
  auto Ticks = std::make_shared<int>(0);
  QObject::connect(Timer, &QTimer::timeout, [Timer, Key, Seen, Ticks] {
    QWidget* Box = QApplication::activeModalWidget();
    if (Box == nullptr && ++*Ticks < 2000) return;
    Timer->stop();
    Timer->deleteLater();
    if (Box == nullptr) return;
    if (auto* M = qobject_cast<QMessageBox*>(Box)) *Seen = M->text();
    QTest::keyClick(Box, Key);
  });
  Timer->start();
}

// The real question: Enter keeps the newer file, Escape too; the window stays open with the edits.
TEST_F(MainFormFlow, EnterAtTheChangedOnDiskQuestionKeepsTheNewerFile) {
  Open(true);
  QString Seen;
  AnswerNextBox(Qt::Key_Return, &Seen);  // the count of files found
  SearchFor("c.txt", "");
  ASSERT_EQ(C().FileList.Count(), 1);
  C().SelectFirstSearch.SetChecked(false);
  C().ConfirmSave.SetChecked(false);
  ClickRow(0);
  QTest::keyClicks(&Form->EditorView(), "X");
  for (Qt::Key Key : {Qt::Key_Return, Qt::Key_Escape}) {
    Tr.Write("c.txt", "newer");
    AnswerNextBox(Key, &Seen);
    EXPECT_FALSE(Form->Form().FormCloseQuery());
    EXPECT_TRUE(Seen.contains(QStringLiteral("他で変更されています"))) << Seen.toStdString();
    EXPECT_EQ(Tr.Read("c.txt"), "newer");
    EXPECT_TRUE(Form->Editor().Modified());
  }
  Form->Editor().SetModified(false);  // closing asks nothing more
}

TEST_F(MainFormFlow, ReplaceThroughTheButton3MenuInThisFileAndInTheList) {
  SearchFor("*.txt", "日本語");
  Type("cReplaceWord", "英語");
  ClickRow(RowOf("b.txt"));
  PickReplaceItem(0);
  EXPECT_EQ(Dialogs.Shown.back().Text, "1 個の置換作業が終了しました。");
  EXPECT_EQ(Dialogs.Shown.back().Caption, "ファイル内の置換");
  EXPECT_TRUE(Form->Editor().Modified());
  EXPECT_EQ(Tr.Read("b.txt"), Sjis("ほかの日本語\r\n"));

  Dialogs.Answers = {idYes, idYes, idYes, idYes};  // the batch question, then each save question
  PickReplaceItem(1);
  EXPECT_EQ(Dialogs.Shown[Dialogs.Shown.size() - 4].Text, "\"日本語\" を\r\n\"英語\" に\r\n置き換えますか？");
  EXPECT_EQ(Dialogs.Shown.back().Caption, "リストされたファイルの置換");
  EXPECT_EQ(Tr.Read("a.txt"), Sjis("一行目\r\n英語の検索\r\n三行目 英語\r\n"));
  EXPECT_EQ(Tr.Read("b.txt"), Sjis("ほかの英語\r\n"));
  EXPECT_EQ(Tr.Read("a.bak"), Sjis("一行目\r\n日本語の検索\r\n三行目 日本語\r\n"));
  EXPECT_FALSE(fs::exists(Tr.T() + "/c.bak"));
  EXPECT_EQ(Find<QLabel>("fName")->text(), "");
  EXPECT_EQ(C().cReplaceWord.Items(), std::vector<std::string>{"英語"});
}

TEST_F(MainFormFlow, HeaderClicksSortEachWayAndWidthsSurviveARestart) {
  Tr.Write("big.txt", std::string(5000, 'x'));
  SearchFor("*.txt", "");
  QHeaderView* Header = List()->header();
  auto Names = [this] {
    std::vector<std::string> N;
    for (int I = 0; I < List()->model()->rowCount(); ++I) N.push_back(List()->model()->index(I, 0).data().toString().toStdString());
    return N;
  };
  auto ClickHeader = [&](int Section) {
    QTest::mouseClick(Header->viewport(), Qt::LeftButton, {}, QPoint(Header->sectionViewportPosition(Section) + 5, 5));
  };
  ClickHeader(0);
  EXPECT_EQ(Names(), (std::vector<std::string>{"a.txt", "b.txt", "big.txt", "c.txt"}));
  ClickHeader(0);
  EXPECT_EQ(Names(), (std::vector<std::string>{"c.txt", "big.txt", "b.txt", "a.txt"}));
  ClickHeader(2);
  EXPECT_EQ(Names().back(), "big.txt");

  Header->resizeSection(1, 321);
  Window().close();
  EXPECT_FALSE(Window().isVisible());
  Open();
  EXPECT_EQ(List()->columnWidth(1), 321);
}

TEST_F(MainFormFlow, ARightClickShowsTheFileMenuThenDropsRowsOfVanishedFiles) {
  SearchFor("*.txt", "");
  ASSERT_EQ(C().FileList.Count(), 3);
  fs::remove(Tr.T() + "/c.txt");
  bool MenuShown = false;
  QTimer::singleShot(0, [&MenuShown] {
    QWidget* Popup = QApplication::activePopupWidget();
    MenuShown = qobject_cast<QMenu*>(Popup) != nullptr;
    if (Popup != nullptr) Popup->close();
  });
  QRect R = List()->visualRect(List()->model()->index(RowOf("a.txt"), 0));
  QTest::mouseClick(List()->viewport(), Qt::RightButton, {}, R.center());
  EXPECT_TRUE(MenuShown);
  EXPECT_EQ(C().FileList.Count(), 2);
  EXPECT_EQ(List()->model()->rowCount(), 2);
  EXPECT_EQ(RowOf("c.txt"), -1);
}

TEST_F(MainFormFlow, ValuesAndTheFourHistoriesComeBackAfterARestart) {
  C().CheckBox4.SetChecked(true);
  C().MakeBackFile.SetChecked(false);
  SearchFor("a", "日本語");
  Type("cReplaceWord", "英語");
  ClickRow(0);
  PickReplaceItem(0);  // records the replace text
  Dialogs.Answers = {idNo};
  Window().close();
  Open();
  EXPECT_EQ(Find<QComboBox>("cFileName")->currentText(), "a");
  EXPECT_EQ(Find<QComboBox>("cFindWord")->currentText(), Q("日本語"));
  EXPECT_EQ(Find<QComboBox>("cFolderName")->currentText(), Q(Tr.T()));
  EXPECT_EQ(Find<QComboBox>("cReplaceWord")->currentText(), Q("英語"));
  for (const char* Name : {"cFileName", "cFindWord", "cFolderName", "cReplaceWord"}) {
    EXPECT_EQ(Find<QComboBox>(Name)->count(), 1) << Name;
  }
  EXPECT_TRUE(C().CheckBox4.Checked());
  EXPECT_FALSE(C().MakeBackFile.Checked());
  EXPECT_EQ(Window().geometry().size(), QSize(603, 467));
}

TEST_F(MainFormFlow, ClosingWithUnsavedChangesAsksAndCancelKeepsTheWindow) {
  SearchFor("*.txt", "");
  ClickRow(RowOf("c.txt"));
  QTest::keyClicks(&Form->EditorView(), "X");
  Dialogs.Answers = {idCancel};
  EXPECT_FALSE(Window().close());
  EXPECT_TRUE(Window().isVisible());
  EXPECT_TRUE(Form->Editor().Modified());
  Dialogs.Answers = {idYes};
  EXPECT_TRUE(Window().close());
  EXPECT_EQ(Tr.Read("c.txt"), Sjis("X関係なし\r\n"));
  EXPECT_EQ(Store.Values.at({"Tesvarin", "FileName"}), "*.txt");
}

TEST_F(MainFormFlow, CloseDuringARunStopsItFirstAndEnterDoesNotNest) {
  fs::create_directories(Tr.T() + "/many");
  for (int I = 0; I < 300; ++I) Tr.Write("many/f" + std::to_string(I) + ".txt", "x");
  // All land at the run's first turn of the event loop.
  bool TypedIntoTheRun = true;
  QTimer::singleShot(0, [this, &TypedIntoTheRun] {
    QTest::keyClicks(&Form->EditorView(), "Z");
    TypedIntoTheRun = Form->Editor().Modified();
  });
  QTimer::singleShot(0, [this] { QTest::keyClick(Find<QComboBox>("cFolderName"), Qt::Key_Return); });
  QTimer::singleShot(0, [this] { Window().close(); });
  SearchFor("*.txt", "");
  EXPECT_LT(C().FileList.Count(), 303);
  EXPECT_FALSE(TypedIntoTheRun);
  long Counts = std::count_if(Dialogs.Shown.begin(), Dialogs.Shown.end(),
                              [](const test::MessageRecord& M) { return M.Caption == "ファイルの検索"; });
  EXPECT_EQ(Counts, 1);
  EXPECT_TRUE(Window().isVisible());
  EXPECT_TRUE(QTest::qWaitFor([this] { return !Window().isVisible(); }, 2000));
  EXPECT_TRUE(Store.Values.count({"Tesvarin", "FolderName"}));
}

TEST_F(MainFormFlow, AnErrorEndsTheCommandAndTheWindowStaysUsable) {
  C().CheckBox2.SetChecked(true);
  SearchFor("*.txt", "(");
  ASSERT_FALSE(Dialogs.Shown.empty());
  EXPECT_EQ(Dialogs.Shown.back().Caption, "qt_tests");
  EXPECT_FALSE(Dialogs.Shown.back().Text.empty());
  EXPECT_FALSE(Form->Form().Running());
  EXPECT_FALSE(Find<QPushButton>("Button2")->isEnabled());
  C().CheckBox2.SetChecked(false);
  SearchFor("*.txt", "日本語");
  EXPECT_EQ(Dialogs.Shown.back().Text, "2 個のファイルが見つかりました。");
}

TEST_F(MainFormFlow, TheCountComesInARealMessageBox) {
  Open(true);
  QString Seen;
  QTimer Answer;
  QObject::connect(&Answer, &QTimer::timeout, [&Seen] {
    auto* Box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (Box == nullptr) return;
    Seen = Box->text();
    Box->accept();
  });
  Answer.start(10);
  SearchFor("*.txt", "日本語");
  EXPECT_EQ(Seen, Q("2 個のファイルが見つかりました。"));
  EXPECT_EQ(C().FileList.Count(), 2);
}

// What is typed into a box is what runs and what its history records: a history entry that
// starts like it, or differs only in case, never takes its place.
TEST_F(MainFormFlow, TypedTextIsNeverSwappedForAHistoryEntry) {
  struct TCase {
    const char* Box;
    TComboBoxModel TMainFormControls::*Model;
    const char* Entry;
    const char* Typed;
  };
  const TCase Cases[] = {{"cFileName", &TMainFormControls::cFileName, "Memo.txt", "memo"},
                         {"cFindWord", &TMainFormControls::cFindWord, "Hello", "hello"},
                         {"cFolderName", &TMainFormControls::cFolderName, "/tmp/Data", "/tmp/data"},
                         {"cReplaceWord", &TMainFormControls::cReplaceWord, "A\\r\\nB", "a\\r\\nb"}};
  Window().activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
  for (const TCase& K : Cases) {
    SCOPED_TRACE(K.Box);
    auto* Box = Find<QComboBox>(K.Box);
    (C().*K.Model).SetItems({K.Entry});
    Box->setFocus();
    Box->lineEdit()->clear();
    QTest::keyClicks(Box, QString::fromUtf8(K.Typed));
    QTest::keyClick(Box, Qt::Key_Return);
    EXPECT_EQ(Box->currentText(), QString::fromUtf8(K.Typed));
  }
  EXPECT_EQ(C().cFindWord.Text(), "hello");
  EXPECT_EQ(C().cReplaceWord.Text(), "a\\r\\nb");

  // The run searches the typed text, with case, and records it.
  Tr.Write("d.txt", "Hello\r\n");
  Tr.Write("e.txt", "hello\r\n");
  SearchFor("*.txt", "Hello");
  C().CheckBox1.SetChecked(true);
  SearchFor("*.txt", "hello");
  ASSERT_EQ(C().FileList.Count(), 1);
  EXPECT_EQ(C().FileList.Item(0).Caption, "e.txt");
  EXPECT_EQ(Form->Form().FindWordHistory()[0], "hello");

  // Japanese comes from the input method's commit, which completed inline before.
  Type("cFindWord", "さようなら");
  QTest::keyClick(Find<QComboBox>("cFolderName"), Qt::Key_Return);
  auto* Word = Find<QComboBox>("cFindWord");
  Word->setFocus();
  Word->lineEdit()->clear();
  QInputMethodEvent Commit;
  Commit.setCommitString(QString::fromUtf8("さよう"));
  QApplication::sendEvent(Word->lineEdit(), &Commit);
  QTest::keyClick(Word, Qt::Key_Return);
  EXPECT_EQ(Form->Form().FindWordHistory()[0], Sjis("さよう"));
}

// A first start opens centred at a comfortable size within the screen, with the editor below the
// larger part; the splitter comes back where the user left it; absurd saved bounds are pulled back.
TEST_F(MainFormFlow, TheWindowOpensOnTheScreenAndKeepsItsSplit) {
  const QRect Area = QGuiApplication::primaryScreen()->availableGeometry();
  Screens = {TBounds{Area.x(), Area.y(), Area.width(), Area.height()}};
  Open();
  const QRect G = Window().geometry();
  EXPECT_EQ(G.size(), QSize(std::min(1100, Area.width()), std::min(750, Area.height())));
  // The bounds are the window's inside; the platform may put a frame around them.
  const QMargins Frame(4, 4, 4, 4);
  EXPECT_LE((G.center() - Area.center()).manhattanLength(), 4);
  auto* Split = Find<QSplitter>("Splitter1");
  ASSERT_EQ(Split->sizes().size(), 2);
  EXPECT_LT(Split->sizes()[0], Split->sizes()[1]);

  // The user moves the handle down by 30 pixels.
  QSplitterHandle* Handle = Split->handle(1);
  const int Before = Split->sizes()[0];
  QTest::mousePress(Handle, Qt::LeftButton, {}, QPoint(10, 1));
  QMouseEvent Move(QEvent::MouseMove, QPointF(10, 31), Handle->mapToGlobal(QPointF(10, 31)), Qt::NoButton,
                   Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(Handle, &Move);
  QTest::mouseRelease(Handle, Qt::LeftButton, {}, QPoint(10, 31));
  const int Moved = Split->sizes()[0];
  EXPECT_EQ(Moved, Before + 30);
  EXPECT_EQ(C().Splitter1.Position(), Moved);
  Window().close();
  EXPECT_EQ(Store.Values.at({"Tesvarin", "ListHeight"}), std::to_string(Moved));

  Store.Values[{"Tesvarin", "Left"}] = "-2147483648";
  Store.Values[{"Tesvarin", "Width"}] = "2147483647";
  Store.Values[{"Tesvarin", "Top"}] = "99999";
  Open();
  EXPECT_TRUE(Area.marginsAdded(Frame).contains(Window().geometry()));
  EXPECT_EQ(Find<QSplitter>("Splitter1")->sizes()[0], Moved);
}

}  // namespace
}  // namespace tesvarin
