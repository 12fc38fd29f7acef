#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "FakeFormEditor.h"
#include "FormTestWindow.h"
#include "app/Form1.h"
#include "app/LocalTime.h"
#include "support/Exception.h"
#include "support/StringList.h"
#include "testsupport/Fakes.h"

namespace tesvarin {
namespace {

namespace fs = std::filesystem;

using Window = test::BasicWindow<test::FakeFormEditor>;
using test::Tree;

using Names = std::vector<std::string>;

TEST(Form1Search, NamePatternsAndFilters) {
  Tree Tr;
  Tr.Write("memo.txt", "hello\r\n");
  Tr.Write("my memo", "x");
  Tr.Write("MEMO.LOG", "hello");
  Tr.Write("a;b.txt", "z");
  Tr.Write("ab.txt", "z");
  Tr.Write(".dot.txt", "hello");
  Tr.Write("sub/deep.txt", "hello");
  Tr.Write(".hid/inner.txt", "hello");
  Tr.Write("pic.XL", "hello");
  Tr.Write("bin.dat", std::string("\0\0\0abc", 6));
  Tr.Write("two.dat", std::string("\0\0abc", 5));
  struct Case {
    const char* Name;
    const char* Word;
    bool Sub, Hidden;
    Names Expected;
  } Cases[] = {
      {"memo", "", true, false, {"MEMO.LOG", "memo.txt", "my memo"}},
      {"a;b", "", true, false, {"a;b.txt"}},
      {"*.txt", "", false, false, {"a;b.txt", "ab.txt", "memo.txt"}},
      {"*.txt", "", true, false, {"a;b.txt", "ab.txt", "deep.txt", "memo.txt"}},
      {"*.txt", "", true, true, {".dot.txt", "a;b.txt", "ab.txt", "deep.txt", "inner.txt", "memo.txt"}},
      {"", "hello", true, false, {"MEMO.LOG", "deep.txt", "memo.txt"}},
      {"*.dat", "", true, false, {"two.dat"}},
  };
  for (const Case& K : Cases) {
    SCOPED_TRACE(K.Name);
    Window W(Tr);
    W.C.FindSubFolder.SetChecked(K.Sub);
    W.C.CheckBox6.SetChecked(K.Hidden);
    W.Search(Tr.T(), K.Name, K.Word);
    EXPECT_EQ(W.Names(), K.Expected);
    ASSERT_FALSE(W.P.Dialogs.Shown.empty());
    EXPECT_EQ(W.P.Dialogs.Shown.back().Text, std::to_string(K.Expected.size()) + " 個のファイルが見つかりました。");
    EXPECT_EQ(W.P.Dialogs.Shown.back().Caption, "ファイルの検索");
    EXPECT_EQ(W.E.Loads, 0);  // the content test never loads a candidate into the viewer
    EXPECT_TRUE(W.E.Lines.empty());
    EXPECT_EQ(W.E.UpdateCount, 0);
    EXPECT_EQ(W.C.Button3.Enabled(), !K.Expected.empty());
    EXPECT_FALSE(W.C.Button2.Enabled());
    EXPECT_EQ(W.C.StatusBar1.PanelText(1), "");
  }
}

TEST(Form1Search, EmptyNameBoxAndFolderBox) {
  Tree Tr;
  Tr.Write("a.txt", "x");
  Window W(Tr);
  W.Search("", "", "");
  EXPECT_EQ(W.C.cFileName.Text(), "*.*");
  EXPECT_EQ(W.Form->FileNameHistory().Items(), Names{""});
  // No run without a folder, and a word on why.
  ASSERT_EQ(W.P.Dialogs.Shown.size(), 1u);
  EXPECT_EQ(W.P.Dialogs.Shown[0].Text, "探す場所を指定してください。");
  EXPECT_TRUE(W.P.Dialogs.Shown[0].Warning);
  EXPECT_TRUE(W.C.cFolderName.Focused());
  W.Search(Tr.T() + "/missing", "", "");
  ASSERT_EQ(W.P.Dialogs.Shown.size(), 2u);
  EXPECT_EQ(W.P.Dialogs.Shown[1].Text, "探す場所のフォルダが見つかりません。\r\n" + Tr.T() + "/missing");
  EXPECT_TRUE(W.P.Dialogs.Shown[1].Warning);
  EXPECT_TRUE(W.Form->FolderHistory().Empty());
  W.Search(Tr.T() + "/", "", "");
  EXPECT_EQ(W.Names(), Names{"a.txt"});
  EXPECT_EQ(W.C.cFileName.Text(), "*.*");
  EXPECT_EQ(ReadFileBytes(Tr.Root + "/data/FindFolder.dat"), Tr.T() + "/\r\n");
  EXPECT_EQ(W.C.StatusBar1.PanelText(0), "1 個のファイル");
}

TEST(Form1Search, SizeAndDateBounds) {
  Tree Tr;
  Tr.Write("k1023", std::string(1023, 'a'));
  Tr.Write("k1024", std::string(1024, 'a'));
  Tr.Write("k1025", std::string(1025, 'a'));
  struct Case {
    const char* Rule;
    Names Expected;
  } Cases[] = {{"より大きい", {"k1024", "k1025"}}, {"より小さい", {"k1023", "k1024"}}, {"other", {"k1023", "k1024", "k1025"}}};
  for (const Case& K : Cases) {
    Window W(Tr);
    W.C.SizeCheckBox.SetChecked(true);
    W.C.UpDown3.SetPosition(1);
    W.C.ComboBox3.SetText(K.Rule);
    W.Search(Tr.T(), "k");
    EXPECT_EQ(W.Names(), K.Expected) << K.Rule;
  }
  Window W(Tr);
  W.Search(Tr.T(), "k1025");
  EXPECT_EQ(W.C.FileList.Item(0).SubItems[1], "2KB");
  // The pickers' days, each taken whole: files written at noon on three days, by a fixed clock.
  const char* Noon[] = {"k1023", "k1024", "k1025"};
  for (int I = 0; I < 3; ++I) {
    const std::time_t T = static_cast<std::time_t>(LocalMidnight(2024, 3, 14 + I) + 12 * 3600);
    const timespec Times[2] = {{T, 0}, {T, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, (Tr.T() + "/" + Noon[I]).c_str(), Times, 0), 0);
  }
  struct Range {
    TDate From, To;
    Names Expected;
  } Ranges[] = {{{2024, 3, 15}, {2024, 3, 15}, {"k1024"}},
                {{2024, 3, 14}, {2024, 3, 15}, {"k1023", "k1024"}},
                {{2024, 3, 15}, {2024, 3, 16}, {"k1024", "k1025"}},
                {{2001, 1, 1}, {2001, 1, 1}, {}}};
  W.C.DateCheckBox.SetChecked(true);
  for (const Range& R : Ranges) {
    W.C.DateTimePicker1.SetDate(R.From);
    W.C.DateTimePicker2.SetDate(R.To);
    W.Search(Tr.T(), "k");
    EXPECT_EQ(W.Names(), R.Expected) << R.From.Day << ".." << R.To.Day;
  }
}

TEST(Form1Search, AbortInDeepTreeAndRefusedNestedRun) {
  Tree Tr;
  std::string Path;
  for (int I = 0; I < 30; ++I) {
    Path += "d" + std::to_string(I) + "/";
    Tr.Write(Path + "f.txt", "x");
  }
  Window W(Tr);
  int Pumps = 0;
  bool CommandsOffDuringTheRun = true;
  W.P.EventPump.OnPump = [&] {
    if (Pumps < 20) {
      for (const TButtonModel* B : {&W.C.Button1, &W.C.Button3, &W.C.SpeedButton1, &W.C.SpeedButton3})
        CommandsOffDuringTheRun = CommandsOffDuringTheRun && !B->Enabled();
    }
    W.C.Button1.Click();  // refused while running
    W.C.FileList.SetSelected(0);
    W.C.FileList.OnClick();  // so is making a file current
    if (++Pumps == 20) W.C.Button2.Click();
  };
  W.Search(Tr.T());
  EXPECT_TRUE(W.Form->AbortRequested());
  int Found = W.C.FileList.Count();
  EXPECT_GT(Found, 0);
  EXPECT_LT(Found, 30);
  EXPECT_TRUE(CommandsOffDuringTheRun);
  // An aborted run does not pass for a finished one.
  EXPECT_EQ(W.P.Dialogs.Shown.size(), 1u);
  EXPECT_EQ(W.P.Dialogs.Shown.back().Text, "中断しました。" + std::to_string(Found) + " 個のファイルが見つかりました。");
  EXPECT_EQ(W.C.StatusBar1.PanelText(0), std::to_string(Found) + " 個のファイル");
  EXPECT_EQ(W.C.StatusBar1.PanelText(1), "中断しました。");
  for (const TButtonModel* B : {&W.C.Button1, &W.C.Button3, &W.C.SpeedButton1, &W.C.SpeedButton3}) EXPECT_TRUE(B->Enabled());
  EXPECT_EQ(W.C.fName.Caption(), "");
}

TEST(Form1Search, FaultsInTheTree) {
  Tree Tr;
  Tr.Write("a/ok.txt", "x");
  fs::create_directory_symlink("..", Tr.T() + "/a/loop");
  ASSERT_EQ(mkfifo((Tr.T() + "/fifo.txt").c_str(), 0600), 0);
  Window W(Tr);
  W.Search(Tr.T(), "*.txt", "x");
  EXPECT_EQ(W.Names(), Names{"ok.txt"});
  if (geteuid() != 0) {
    Tr.Write("locked.txt", "x");
    fs::permissions(Tr.T() + "/locked.txt", fs::perms::none);
    W.Search(Tr.T(), "*.txt", "x");  // the unreadable file is skipped and reported, the run goes on
    EXPECT_EQ(W.Names(), Names{"ok.txt"});
    EXPECT_EQ(W.Form->SkippedCount(), 1);
    EXPECT_EQ(W.P.Dialogs.Shown.back().Caption, "ファイルの検索");
    EXPECT_NE(W.P.Dialogs.Shown.back().Text.find("locked.txt"), std::string::npos);
    EXPECT_NE(W.C.StatusBar1.PanelText(1).find("1 個のファイル・フォルダを処理できませんでした。"), std::string::npos);
    EXPECT_FALSE(W.C.Button2.Enabled());
    EXPECT_EQ(W.E.UpdateCount, 0);
    EXPECT_EQ(W.C.FileList.UpdateCount(), 0);
    EXPECT_FALSE(W.Form->Running());
  }
}

TEST(Form1Search, UnrepresentableSearchTextIsRefusedBeforeTheRun) {
  Tree Tr;
  Tr.Write("a.txt", "x");
  Window W(Tr);
  W.Search(Tr.T(), "*.txt", "x");
  ASSERT_EQ(W.C.FileList.Count(), 1);
  EXPECT_THROW(W.Search(Tr.T(), "*.txt", "\xF0\x9F\x98\x80"), EConvertError);
  EXPECT_EQ(W.C.FileList.Count(), 1);  // never searched as "?"
  EXPECT_FALSE(W.C.Button2.Enabled());
  EXPECT_FALSE(W.Form->Running());
}

TEST(Form1List, SortingAlternatesPerColumn) {
  Tree Tr;
  Tr.Write("b", std::string(10 * 1024, 'a'));
  Tr.Write("a", std::string(2 * 1024, 'a'));
  Tr.Write("c", std::string(3 * 1024, 'a'));
  Window W(Tr);
  W.Search(Tr.T(), "*.*");
  auto Order = [&] {
    std::string S;
    for (const TListItem& I : W.C.FileList.Items()) S += I.Caption;
    return S;
  };
  W.C.FileList.OnColumnClick(2);
  EXPECT_EQ(Order(), "acb");  // 2KB before 10KB
  W.C.FileList.OnColumnClick(2);
  EXPECT_EQ(Order(), "bca");
  W.C.FileList.OnColumnClick(0);
  EXPECT_EQ(Order(), "abc");
  W.C.FileList.OnColumnClick(2);
  W.C.FileList.OnColumnClick(0);
  EXPECT_EQ(Order(), "cba");
  TListItem X{"x", {"/", "zzKB"}}, Y{"y", {"/", "0KB"}};
  EXPECT_LT(W.Form->CompareRows(X, Y, 2) * W.Form->SortDirection(2), 0);  // not a number counts as -1
}

// A new run's rows come by folder, then by name, numbers by their value; the header shows it and
// the next click on the folder column sorts the other way.
TEST(Form1List, NewRunsComeByFolderThenNameInNaturalOrder) {
  Tree Tr;
  for (const char* Name : {"file10.txt", "sub/a10.txt", "file2.txt", "sub/b.txt", "z.txt", "sub/a9.txt", "sub2/a.txt"})
    Tr.Write(Name, "x");
  Window W(Tr);
  W.Search(Tr.T(), "*.txt");
  auto Paths = [&] {
    Names P;
    for (const TListItem& I : W.C.FileList.Items()) P.push_back(TForm1::RowPath(I).substr(Tr.T().size() + 1));
    return P;
  };
  EXPECT_EQ(Paths(), (Names{"file2.txt", "file10.txt", "z.txt", "sub/a9.txt", "sub/a10.txt", "sub/b.txt", "sub2/a.txt"}));
  EXPECT_EQ(W.C.FileList.SortColumn(), 1);
  EXPECT_TRUE(W.C.FileList.SortAscending());
  W.C.FileList.OnColumnClick(1);
  EXPECT_EQ(Paths().front(), "sub2/a.txt");
  EXPECT_FALSE(W.C.FileList.SortAscending());
  W.C.FileList.OnColumnClick(0);
  EXPECT_EQ(W.C.FileList.SortColumn(), 0);
  EXPECT_EQ(Paths(), (Names{"sub2/a.txt", "sub/a9.txt", "sub/a10.txt", "sub/b.txt", "file2.txt", "file10.txt", "z.txt"}));
}

TEST(Form1List, PurgeStartAndBrowse) {
  Tree Tr;
  Tr.Write("a.txt", "x");
  Tr.Write("b.txt", "x");
  Window W(Tr);
  W.Search(Tr.T(), "*.txt");
  W.C.FileList.SetSelected(0);
  std::string First = TForm1::RowPath(W.C.FileList.Item(0));
  W.P.Shell.OnMenuOrDrag = [](const std::vector<std::string>& Paths) { fs::remove(Paths[0]); };
  W.Form->FileListMouseUp(mbRight, {3, 4});
  EXPECT_EQ(W.P.Shell.MenuPaths, Names{First});
  EXPECT_EQ(W.C.FileList.Count(), 1);
  EXPECT_EQ(W.C.StatusBar1.PanelText(0), "1 個のファイル");  // the count follows the removal
  W.C.FileList.SetSelected(-1);
  W.Form->FileListMouseDown(mbLeft, {});
  EXPECT_TRUE(W.P.Shell.DragPaths.empty());
  W.C.FileList.SetSelected(0);
  W.P.Shell.StartSucceeds = false;
  W.C.FileList.OnDblClick();
  ASSERT_EQ(W.P.Dialogs.Shown.back().Text, "起動に失敗しました。");
  EXPECT_TRUE(W.P.Dialogs.Shown.back().Warning);
  EXPECT_EQ(W.P.Dialogs.Shown.back().Caption, TForm1::RowPath(W.C.FileList.Item(0)));
  W.P.Shell.BrowseAnswer = "/usr/";
  W.C.SpeedButton2.Click();
  EXPECT_EQ(W.C.cFolderName.Text(), "/usr");
  W.P.Shell.BrowseAnswer = std::nullopt;
  W.C.SpeedButton2.Click();
  EXPECT_EQ(W.C.cFolderName.Text(), "/usr");
}

TEST(Form1Viewer, ClickSearchDownUpAndMiss) {
  Tree Tr;
  Tr.Write("a.txt", "one abc\r\ntwo abc\r\n");
  Window W(Tr);
  W.Search(Tr.T(), "*.txt");
  // Without a search text a click shows the file and its path, and no miss.
  W.C.FileList.SetSelected(0);
  W.C.FileList.OnClick();
  EXPECT_EQ(W.C.StatusBar1.PanelText(1), Tr.T() + "/a.txt");
  W.C.SpeedButton1.Click();
  EXPECT_EQ(W.C.StatusBar1.PanelText(1), "");
  W.C.cFindWord.SetText("abc");
  W.C.SelectFirstSearch.SetChecked(false);
  W.C.FileList.SetSelected(0);
  W.C.FileList.OnClick();
  EXPECT_EQ(W.C.fName.Caption(), Tr.T() + "/a.txt");
  EXPECT_EQ(W.E.SelLength, 0);
  W.C.SpeedButton1.Click();
  EXPECT_EQ(W.E.Line, 0);
  EXPECT_EQ(W.C.StatusBar1.PanelText(1), "2件中1件目");
  W.C.SpeedButton1.Click();
  EXPECT_EQ(W.E.Line, 1);
  EXPECT_EQ(W.C.StatusBar1.PanelText(1), "2件中2件目");
  W.C.SpeedButton1.Click();
  EXPECT_EQ(W.C.StatusBar1.PanelText(1), "検索文字列  \"abc\"は見つかりませんでした。");
  W.C.SpeedButton3.Click();
  EXPECT_EQ(W.C.StatusBar1.PanelText(1), "2件中1件目");
  EXPECT_EQ(W.E.Line, 0);
  // An edit counts again.
  W.E.Lines[1] += " abc";
  W.C.SpeedButton1.Click();
  EXPECT_EQ(W.C.StatusBar1.PanelText(1), "3件中2件目");
}

TEST(Form1Viewer, OptionCheckBoxRules) {
  Tree Tr;
  Window W(Tr);
  W.C.CheckBox2.SetChecked(true);
  EXPECT_FALSE(W.C.CheckBox1.Enabled());
  EXPECT_TRUE(W.C.CheckBox3.Enabled());
  W.C.CheckBox2.SetChecked(false);
  W.C.CheckBox1.SetChecked(true);
  EXPECT_FALSE(W.C.CheckBox2.Checked());
  EXPECT_FALSE(W.C.CheckBox2.Enabled());
  EXPECT_FALSE(W.C.CheckBox3.Enabled());
  W.C.CheckBox1.SetChecked(false);
  EXPECT_TRUE(W.C.CheckBox2.Enabled());
  EXPECT_FALSE(W.C.CheckBox2.Checked());
  // Options go to the editor one at a time; its rules decide what survives.
  W.C.CheckBox3.SetChecked(true);
  W.C.CheckBox4.SetChecked(true);
  W.C.cFindWord.SetText("x");
  W.C.SpeedButton1.Click();
  EXPECT_EQ(W.E.ExSearchOptions(), (TExSearchOptions{soWholeWord}));
}

TEST(Form1Replace, ListWithBackupsAndAnswers) {
  struct Case {
    bool Confirm;
    std::vector<TMsgResult> Answers;  // after the batch question
    std::string A, B;                 // contents afterwards
    bool BackupA;
  } Cases[] = {
      {false, {}, "x NEW", "y NEW", true},
      {true, {idYes, idNo}, "x NEW", "y old", true},
      {true, {idCancel}, "x old", "y old", false},
  };
  for (const Case& K : Cases) {
    Tree Tr;
    Tr.Write("a.txt", "x old");
    Tr.Write("b.txt", "y old");
    Tr.Write("c.txt", "none");
    Window W(Tr);
    W.C.ConfirmSave.SetChecked(K.Confirm);
    W.Search(Tr.T(), "*.txt");
    W.C.FileList.OnColumnClick(0);
    W.C.cFindWord.SetText("old");
    W.C.cReplaceWord.SetText("NEW");
    W.P.Dialogs.Answers = {idYes};
    for (TMsgResult R : K.Answers) W.P.Dialogs.Answers.push_back(R);
    W.C.N4.Click();
    EXPECT_EQ(Tr.Read("a.txt"), K.A);
    EXPECT_EQ(Tr.Read("b.txt"), K.B);
    EXPECT_EQ(fs::exists(Tr.T() + "/a.bak"), K.BackupA);
    EXPECT_FALSE(fs::exists(Tr.T() + "/c.bak"));
    EXPECT_EQ(W.P.Dialogs.Shown[1].Text, "\"old\" を\r\n\"NEW\" に\r\n置き換えますか？");
    EXPECT_EQ(W.P.Dialogs.Shown.back().Caption, "リストされたファイルの置換");
    EXPECT_TRUE(W.C.Button1.Enabled());
    EXPECT_TRUE(W.C.Button3.Enabled());
    EXPECT_EQ(W.C.fName.Caption(), "");
  }
}

TEST(Form1Replace, ThisFileEscapeAndCloseQuery) {
  Tree Tr;
  Tr.Write("memo.txt", "a-b");
  Window W(Tr);
  W.C.MakeBackFile.SetChecked(true);
  W.Search(Tr.T(), "memo");
  W.C.cFindWord.SetText("-");
  W.C.cReplaceWord.SetText("\\R\\n");
  W.C.FileList.SetSelected(0);
  W.C.FileList.OnClick();
  W.C.N2.Click();
  EXPECT_EQ(W.P.Dialogs.Shown.back().Text, "1 個の置換作業が終了しました。");
  EXPECT_EQ(W.P.Dialogs.Shown.back().Caption, "ファイル内の置換");
  EXPECT_TRUE(W.E.Modified());
  W.P.Dialogs.Answers = {idYes};
  EXPECT_TRUE(W.Form->FormCloseQuery());
  EXPECT_EQ(W.P.Dialogs.Shown.back().Text, Tr.T() + "/memo.txt\r\n\r\nこのファイルは変更されています。\r\n保存しますか?");
  EXPECT_EQ(Tr.Read("memo.txt"), "a\r\nb\r\n");
  EXPECT_EQ(Tr.Read("memo.bak"), "a-b");
  EXPECT_EQ(W.P.UserStore.Values.at({"Tesvarin", "FindWord"}), "-");
}

TEST(Form1Replace, SaveFailuresKeepTheFileAndTheEdits) {
  if (geteuid() == 0) GTEST_SKIP() << "root ignores permissions";
  Tree Tr;
  Tr.Write("ro/a.txt", "old");
  Window W(Tr);
  W.C.ConfirmSave.SetChecked(false);
  W.Search(Tr.T() + "/ro", "*.txt");
  fs::permissions(Tr.T() + "/ro", fs::perms::owner_read | fs::perms::owner_exec);
  W.C.cFindWord.SetText("old");
  W.C.cReplaceWord.SetText("new");
  W.P.Dialogs.Answers = {idYes};
  W.C.N4.Click();  // the failed save is reported at the end; the batch does not stop for it
  EXPECT_EQ(W.Form->SkippedCount(), 1);
  EXPECT_EQ(W.P.Dialogs.Shown.back().Caption, "リストされたファイルの置換");
  EXPECT_EQ(W.P.Dialogs.Shown.back().Text.rfind("1 個のファイル・フォルダを処理できませんでした。", 0), 0u);
  EXPECT_EQ(Tr.Read("ro/a.txt"), "old");
  EXPECT_TRUE(W.C.Button1.Enabled());
  EXPECT_FALSE(W.C.Button2.Enabled());
  EXPECT_EQ(W.E.UpdateCount, 0);
  EXPECT_FALSE(W.Form->Running());
  // A failed save on closing keeps the window open with the edits.
  W.C.FileList.SetSelected(0);
  W.C.SelectFirstSearch.SetChecked(false);
  W.C.FileList.OnClick();
  W.C.N2.Click();
  EXPECT_THROW(W.Form->FormCloseQuery(), EInOutError);
  EXPECT_TRUE(W.E.Modified());
}

TEST(Form1Replace, FullDiskInAChildProcess) {
  Tree Tr;
  Tr.Write("big.txt", std::string(3000, 'a'));
  Window W(Tr);
  W.C.ConfirmSave.SetChecked(false);
  W.Search(Tr.T(), "big");
  W.C.cFindWord.SetText("a");
  W.C.cReplaceWord.SetText("bb");
  pid_t Child = fork();
  ASSERT_GE(Child, 0);
  if (Child == 0) {
    signal(SIGXFSZ, SIG_IGN);
    rlimit Limit{4096, 4096};
    setrlimit(RLIMIT_FSIZE, &Limit);
    W.P.Dialogs.Answers = {idYes};
    try {
      W.C.N4.Click();
    } catch (...) {
      _exit(5);
    }
    _exit(W.Form->SkippedCount() == 1 && W.C.Button1.Enabled() ? 3 : 4);
  }
  int Status = 0;
  waitpid(Child, &Status, 0);
  ASSERT_TRUE(WIFEXITED(Status));
  EXPECT_EQ(WEXITSTATUS(Status), 3);
  EXPECT_EQ(Tr.Read("big.txt"), std::string(3000, 'a'));
  // The new content never reached the disk, so no backup was needed either.
  EXPECT_FALSE(fs::exists(Tr.T() + "/big.bak"));
  EXPECT_EQ(fs::directory_iterator(Tr.T())->path().filename(), "big.txt");  // no temporary left
}

TEST(Form1Settings, DefaultsRoundTripAndArguments) {
  Tree Tr;
  {
    Window W(Tr);
    EXPECT_EQ(W.C.Form1.Bounds(), (TBounds{197, 107, 603, 467}));
    EXPECT_EQ(W.C.Form1.WindowState(), wsNormal);
    EXPECT_TRUE(W.C.FindSubFolder.Checked() && W.C.MakeBackFile.Checked() && W.C.ConfirmSave.Checked() &&
                W.C.SelectFirstSearch.Checked());
    EXPECT_FALSE(W.C.CheckBox1.Checked() || W.C.CheckBox2.Checked() || W.C.DateCheckBox.Checked());
    EXPECT_EQ(W.C.DateTimePicker1.Date(), (TDate{2024, 2, 14}));
    EXPECT_EQ(W.C.DateTimePicker2.Date(), (TDate{2024, 3, 15}));
    EXPECT_EQ(W.E.Removed, "#%-./:=?_~");
    EXPECT_EQ(W.Form->IniFolder(), Tr.Root + "/config/Bramwhirl/Vimbre/");
    EXPECT_TRUE(fs::is_directory(Tr.Root + "/config/Bramwhirl/Vimbre"));
    W.C.Form1.SetBounds({1, 2, 300, 400});
    W.C.FileList.SetColumnWidth(3, 99);
    W.C.cFindWord.SetText("語");
    W.C.CheckBox2.SetChecked(true);
    W.Form->FormCloseQuery();
    auto& V = W.P.UserStore.Values;
    EXPECT_EQ(V.at({"Tesvarin", "Column3 Width"}), "99");
    EXPECT_EQ(V.at({"Tesvarin", "Regexp"}), "1");
    W.C.Form1.SetWindowState(wsMaximized);
    W.C.Form1.SetBounds({9, 9, 9, 9});
    W.C.Splitter1.SetPosition(123);
    W.Form->FormCloseQuery();
    EXPECT_EQ(V.at({"Tesvarin", "WindowState"}), "1");
    EXPECT_EQ(V.at({"Tesvarin", "Left"}), "1");  // bounds of the earlier normal close
    Window W2(Tr);
    W2.P.UserStore.Values = V;
    W2.P.UserStore.Values[{"Tesvarin", "Top"}] = "junk";
    W2.Form->FormShow();
    EXPECT_EQ(W2.C.Form1.Bounds(), (TBounds{1, 107, 300, 400}));
    EXPECT_EQ(W2.C.Form1.WindowState(), wsMaximized);
    EXPECT_EQ(W2.C.FileList.ColumnWidth(3), 99);
    EXPECT_EQ(W2.C.Splitter1.Position(), 123);
    EXPECT_EQ(W2.C.cFindWord.Text(), "語");
    EXPECT_TRUE(W2.C.CheckBox2.Checked());
    EXPECT_FALSE(W2.C.CheckBox1.Enabled());
  }
  Window Arg(Tr, {Tr.Root + "/data"});
  EXPECT_EQ(Arg.C.cFolderName.Text(), Tr.Root + "/data");
  Window NoArg(Tr, {Tr.Root + "/missing"});
  EXPECT_EQ(NoArg.C.cFolderName.Text(), "");
  WriteFileBytes(Tr.Root + "/prog/Vimbre.ini", "");
  Window Ini(Tr);
  EXPECT_EQ(Ini.Form->IniFolder(), Tr.Root + "/prog/");
}

// Where the window opens: centred at first, and saved bounds that no screen holds pulled back.
TEST(Form1Settings, BoundsFitTheScreen) {
  Tree Tr;
  const std::vector<TBounds> Screen{{0, 0, 1280, 800}};
  Window First(Tr, {}, Screen);
  EXPECT_EQ(First.C.Form1.Bounds(), (TBounds{90, 25, 1100, 750}));
  EXPECT_EQ(First.C.Splitter1.Position(), -1);
  Window Absurd(Tr, {}, Screen);
  auto& V = Absurd.P.UserStore.Values;
  V[{"Tesvarin", "Left"}] = "-2147483648";
  V[{"Tesvarin", "Top"}] = "900";
  V[{"Tesvarin", "Width"}] = "2147483647";
  V[{"Tesvarin", "WindowState"}] = "7";
  Absurd.Form->FormShow();
  // Left, Top and Width given; the height a first start would take.
  EXPECT_EQ(Absurd.C.Form1.Bounds(), (TBounds{0, 50, 1280, 750}));
  EXPECT_EQ(Absurd.C.Form1.WindowState(), wsMaximized);
}

TEST(Form1Settings, HistoryFilesSkipEmptyAndCap) {
  Tree Tr;
  std::string Text = "\r\n";
  for (int I = 0; I < 119; ++I) Text += "w" + std::to_string(I) + "\r\n";
  WriteFileBytes(Tr.Root + "/data/FindWord.dat", Text);
  WriteFileBytes(Tr.Root + "/data/ReplaceWord.dat", "\x8c\xea\r\n");  // 語 in code page 932
  Window W(Tr);
  EXPECT_EQ(W.C.cFindWord.Items().size(), 99u);  // the first 100 lines, less the empty one
  EXPECT_EQ(W.C.cReplaceWord.Items(), Names{"語"});
  W.Search(Tr.Root + "/data", "x", "new");
  TStringList L;
  L.LoadFromFile(Tr.Root + "/data/FindWord.dat");
  EXPECT_EQ(L.Count(), 100);
  EXPECT_EQ(L[0], "new");
  W.C.cReplaceWord.SetText("語");
  W.C.Button3.SetEnabled(true);
  W.C.Button3.Click();
  EXPECT_EQ(ReadFileBytes(Tr.Root + "/data/ReplaceWord.dat"), "\x8c\xea\r\n");
}

TEST(Form1Edits, ASearchRunAsksForTheEditedFileFirstAndCancelKeepsIt) {
  Tree Tr;
  Tr.Write("a.txt", "old");
  Window W(Tr);
  W.C.SelectFirstSearch.SetChecked(false);
  W.Search(Tr.T(), "*.txt");
  W.C.FileList.SetSelected(0);
  W.C.FileList.OnClick();
  W.E.SetModified(true);
  W.P.Dialogs.Answers = {idCancel};
  size_t Before = W.P.Dialogs.Shown.size();
  W.C.Button1.Click();
  ASSERT_EQ(W.P.Dialogs.Shown.size(), Before + 1);  // the save question, and no run
  EXPECT_EQ(W.P.Dialogs.Shown.back().Caption, "保存確認");
  EXPECT_EQ(W.C.fName.Caption(), Tr.T() + "/a.txt");
  EXPECT_TRUE(W.E.Modified());
  W.P.Dialogs.Answers = {idNo};
  W.C.Button1.Click();
  EXPECT_EQ(W.P.Dialogs.Shown.back().Text, "1 個のファイルが見つかりました。");
  EXPECT_EQ(Tr.Read("a.txt"), "old");
}

// Cancel at the question a row click asks keeps the edited file current, edits and row included.
TEST(Form1Edits, CancelAtARowClickKeepsTheEditedFile) {
  Tree Tr;
  Tr.Write("a.txt", "old");
  Tr.Write("b.txt", "other");
  Window W(Tr);
  W.C.SelectFirstSearch.SetChecked(false);
  W.Search(Tr.T(), "*.txt");
  ASSERT_EQ(W.C.FileList.Count(), 2);
  const int A = W.C.FileList.Item(0).Caption == "a.txt" ? 0 : 1;
  W.C.FileList.SetSelected(A);
  W.C.FileList.OnClick();
  W.E.SetModified(true);
  W.P.Dialogs.Answers = {idCancel};
  W.C.FileList.SetSelected(1 - A);
  W.C.FileList.OnClick();
  EXPECT_EQ(W.P.Dialogs.Shown.back().Caption, "保存確認");
  EXPECT_EQ(W.C.fName.Caption(), Tr.T() + "/a.txt");
  EXPECT_TRUE(W.E.Modified());
  EXPECT_EQ(W.C.FileList.Selected(), A);
  EXPECT_EQ(Tr.Read("a.txt"), "old");
  W.P.Dialogs.Answers = {idNo};
  W.C.FileList.SetSelected(1 - A);
  W.C.FileList.OnClick();
  EXPECT_EQ(W.C.fName.Caption(), Tr.T() + "/b.txt");
  EXPECT_FALSE(W.E.Modified());
}

// The list's replace takes over the viewer: edits of the current file are asked about first, and
// Cancel there replaces nothing and keeps them.
TEST(Form1Edits, TheListReplaceAsksAboutEditsOfTheCurrentFileFirst) {
  Tree Tr;
  Tr.Write("a.txt", "hit old");
  Tr.Write("b.txt", "hit");
  Window W(Tr);
  W.C.SelectFirstSearch.SetChecked(false);
  W.Search(Tr.T(), "*.txt", "hit");
  ASSERT_EQ(W.C.FileList.Count(), 2);
  W.C.FileList.SetSelected(0);
  W.C.FileList.OnClick();
  const std::string Current = W.C.fName.Caption();
  W.E.SetModified(true);
  W.C.cReplaceWord.SetText("HIT");
  W.P.Dialogs.Answers = {idYes, idCancel};
  W.C.N4.Click();
  EXPECT_EQ(W.P.Dialogs.Shown.back().Caption, "保存確認");
  EXPECT_EQ(W.P.Dialogs.Shown.back().Text, Current + "\r\n\r\nこのファイルは変更されています。\r\n保存しますか?");
  EXPECT_EQ(Tr.Read("a.txt"), "hit old");
  EXPECT_EQ(Tr.Read("b.txt"), "hit");
  EXPECT_TRUE(W.E.Modified());
  EXPECT_EQ(W.C.fName.Caption(), Current);
}

TEST(Form1Edits, CancelAtTheClosingQuestionKeepsTheWindowAndWritesNothing) {
  Tree Tr;
  Tr.Write("a.txt", "old");
  Window W(Tr);
  W.Search(Tr.T(), "*.txt");
  W.C.FileList.SetSelected(0);
  W.C.FileList.OnClick();
  W.E.SetModified(true);
  W.P.UserStore.Values.clear();
  W.P.Dialogs.Answers = {idCancel};
  EXPECT_FALSE(W.Form->FormCloseQuery());
  EXPECT_TRUE(W.P.UserStore.Values.empty());
  W.P.Dialogs.Answers = {idNo};
  EXPECT_TRUE(W.Form->FormCloseQuery());
  EXPECT_FALSE(W.P.UserStore.Values.empty());
}

}  // namespace
}  // namespace tesvarin
