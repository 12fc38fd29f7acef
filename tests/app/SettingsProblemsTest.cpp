// Histories and settings that cannot be read or written: the window says so once and every search
// still runs and lists its files.
#include <gtest/gtest.h>

#include <filesystem>

#include "FakeFormEditor.h"
#include "FormTestWindow.h"
#include "app/UserFolders.h"
#include "support/StringList.h"

namespace tesvarin {
namespace {

namespace fs = std::filesystem;
using test::Tree;
using Window = test::BasicWindow<test::FakeFormEditor>;

// The messages shown so far that mention Text.
int Told(const Window& W, const std::string& Text) {
  int N = 0;
  for (const test::MessageRecord& M : W.P.Dialogs.Shown) N += M.Text.find(Text) != std::string::npos ? 1 : 0;
  return N;
}

TEST(SettingsProblems, AHistoryThatIsAFolderIsToldOnceAndSearchesGoOn) {
  Tree Tr;
  Tr.Write("a.txt", "needle");
  fs::create_directories(Tr.Root + "/data/FindWord.dat/inside");
  WriteFileBytes(Tr.Root + "/data/FindFolder.dat", "/old\r\n");
  Window W(Tr);
  EXPECT_EQ(Told(W, "FindWord.dat"), 1);  // at start, reading it
  EXPECT_EQ(W.C.cFolderName.Items(), std::vector<std::string>{"/old"});
  for (int Run = 0; Run < 2; ++Run) {
    W.Search(Tr.T(), "*.txt", "needle");
    EXPECT_EQ(W.Names(), std::vector<std::string>{"a.txt"}) << "run " << Run;
  }
  EXPECT_EQ(Told(W, "FindWord.dat"), 1);
  EXPECT_EQ(W.C.cFindWord.Items(), std::vector<std::string>{"needle"});  // kept for this session
  EXPECT_TRUE(fs::is_directory(Tr.Root + "/data/FindWord.dat/inside"));
  EXPECT_EQ(ReadFileBytes(Tr.Root + "/data/FindFolder.dat"), Tr.T() + "\r\n/old\r\n");
}

TEST(SettingsProblems, AHistoryFolderThatCannotBeWrittenIsToldInOneMessage) {
  Tree Tr;
  Tr.Write("a.txt", "needle");
  // A folder that is gone reads as empty histories and fails every write, root's too.
  Window W(Tr);
  W.P.UserStore.Values[{"Directory", "DataFolder"}] = Tr.Root + "/gone/";
  W.Form->FormShow();
  EXPECT_TRUE(W.P.Dialogs.Shown.empty());
  W.Search(Tr.T(), "*.txt", "needle");
  EXPECT_EQ(W.Names(), std::vector<std::string>{"a.txt"});
  ASSERT_EQ(W.P.Dialogs.Shown.size(), 2u);  // the problem, then the count of the search
  const std::string& Text = W.P.Dialogs.Shown[0].Text;
  for (const char* Name : {"FindFile.dat", "FindFolder.dat", "FindWord.dat"}) {
    EXPECT_NE(Text.find(Name), std::string::npos) << Name;
  }
  W.P.Dialogs.Shown.clear();
  W.Search(Tr.T(), "*.txt", "needle");
  EXPECT_EQ(W.P.Dialogs.Shown.size(), 1u);  // only the count: told already
  W.C.cReplaceWord.SetText("x");
  W.C.Button3.SetEnabled(true);
  W.C.Button3.Click();
  EXPECT_EQ(Told(W, "ReplaceWord.dat"), 1);
}

TEST(SettingsProblems, SettingsAreStoredOnceAtCloseAndAFailureIsTold) {
  Tree Tr;
  Window W(Tr);
  EXPECT_EQ(W.P.UserStore.Flushes, 0);
  W.P.UserStore.FlushError = "cannot store: read-only";
  EXPECT_TRUE(W.Form->FormCloseQuery());  // the window still closes
  EXPECT_EQ(W.P.UserStore.Flushes, 1);
  EXPECT_EQ(Told(W, "cannot store: read-only"), 1);
  W.P.UserStore.FlushError.clear();
  W.P.Dialogs.Shown.clear();
  EXPECT_TRUE(W.Form->FormCloseQuery());
  EXPECT_TRUE(W.P.Dialogs.Shown.empty());
}

TEST(SettingsProblems, WhatTheStoreOrTheEnvironmentMetIsToldWhenTheWindowIsShown) {
  Tree Tr;
  Window W(Tr);
  W.P.UserStore.LoadProblem = "set aside as Vimbre.conf.unreadable-1";
  W.Form->FormShow();
  EXPECT_EQ(Told(W, "Vimbre.conf.unreadable-1"), 1);
  // A file set aside at start is no reason to keep quiet when the new one cannot be written.
  W.P.UserStore.FlushError = "read-only folder";
  EXPECT_TRUE(W.Form->FormCloseQuery());
  EXPECT_EQ(Told(W, "read-only folder"), 1);

  TMainFormControls C;
  test::FakePlatform P;
  test::FakeFormEditor E;
  TFormEnvironment Env;
  Env.Persistent = false;
  Env.SettingsWarning = NoUserFolderWarning;
  Env.DefaultDataFolder = Tr.Root + "/data/";
  TForm1 Form(C, P.Platform(), E, Env);
  Form.FormCreate();
  Form.FormShow();
  ASSERT_EQ(P.Dialogs.Shown.size(), 1u);
  EXPECT_EQ(P.Dialogs.Shown[0].Text, NoUserFolderWarning);
  Tr.Write("a.txt", "needle");
  C.cFolderName.SetText(Tr.T());
  C.Button1.Click();
  EXPECT_EQ(C.FileList.Count(), 1);
  EXPECT_FALSE(fs::exists(Tr.Root + "/data/FindFile.dat"));
  EXPECT_TRUE(Form.FormCloseQuery());
  EXPECT_EQ(P.UserStore.Flushes, 0);
}

}  // namespace
}  // namespace tesvarin
