#include <gtest/gtest.h>

#include "FormTestWindow.h"
#include "app/FormEditorEx.h"
#include "support/Exception.h"

namespace tesvarin::test {

// The real editor control, headless, with the window's adapter over it.
struct RealEditor {
  TEditorEx Ed{nullptr, TPlatform{}};
  TFormEditorEx Adapter{Ed};
};
inline IFormEditor& FormEditorOf(RealEditor& E) { return E.Adapter; }

namespace {

using RealWindow = BasicWindow<RealEditor>;
using Names = std::vector<std::string>;

void OpenFirstRow(RealWindow& W) {
  W.C.FileList.SetSelected(0);
  W.C.FileList.OnClick();
}

TEST(FormEditorEx, LoadPutsTheCaretAtTheTopUnmodified) {
  Tree Tr;
  Tr.Write("a.txt", "one\r\ntwo\r\n");
  RealEditor E;
  E.Ed.Lines().SetLinesText("old\r\ntext");
  E.Ed.SetRowCol(1, 2);
  E.Ed.SetModified(true);
  E.Adapter.LoadFromFile(Tr.T() + "/a.txt");
  EXPECT_EQ(E.Ed.Row(), 0);
  EXPECT_EQ(E.Ed.Col(), 0);
  EXPECT_FALSE(E.Ed.Selected());
  EXPECT_FALSE(E.Adapter.Modified());
  EXPECT_EQ(E.Adapter.SaveText(), "one\r\ntwo\r\n");
  EXPECT_THROW(E.Adapter.LoadFromFile(Tr.T() + "/missing.txt"), EInOutError);
  EXPECT_EQ(E.Adapter.SaveText(), "");  // never the previous file's text
}

TEST(FormEditorEx, RemoveDelimitersKeepsTheOthers) {
  RealEditor E;
  TByteSet D;
  D.Include('-').Include('_').Include(' ');
  E.Ed.SetDelimiters(D);
  E.Adapter.RemoveDelimiters("_-");
  EXPECT_FALSE(E.Ed.Delimiters().Contains('-'));
  EXPECT_FALSE(E.Ed.Delimiters().Contains('_'));
  EXPECT_TRUE(E.Ed.Delimiters().Contains(' '));
}

TEST(FormEditorExWindow, RowClickSelectsTheFirstHit) {
  Tree Tr;
  Tr.Write("a.txt", "zero\r\none abc\r\ntwo abc\r\n");
  RealWindow W(Tr);
  W.Search(Tr.T(), "*.txt", "abc");
  ASSERT_EQ(W.Names(), Names{"a.txt"});
  W.C.SelectFirstSearch.SetChecked(true);
  OpenFirstRow(W);
  EXPECT_EQ(W.C.fName.Caption(), Tr.T() + "/a.txt");
  EXPECT_EQ(W.E.Ed.GetSelStart(), 10);
  EXPECT_EQ(W.E.Ed.GetSelLength(), 3);
  EXPECT_EQ(W.C.StatusBar1.PanelText(1), "2件中1件目");
  EXPECT_FALSE(W.E.Ed.Modified());
  W.C.SpeedButton1.Click();  // the next step goes on from the hit the row click showed
  EXPECT_EQ(W.E.Ed.GetSelStart(), 19);
  EXPECT_EQ(W.C.StatusBar1.PanelText(1), "2件中2件目");
  // The file lost its hits since it was listed.
  Tr.Write("a.txt", "zero\r\none\r\n");
  OpenFirstRow(W);
  EXPECT_EQ(W.E.Ed.GetSelLength(), 0);
  EXPECT_EQ(W.E.Ed.Row(), 0);
  EXPECT_EQ(W.C.StatusBar1.PanelText(1), "検索文字列  \"abc\"は見つかりませんでした。");
}

TEST(FormEditorExWindow, SearchDownAndUpWithTheMissMessage) {
  Tree Tr;
  Tr.Write("a.txt", "one abc\r\ntwo abc\r\n");
  RealWindow W(Tr);
  W.Search(Tr.T(), "*.txt");
  W.C.cFindWord.SetText("abc");
  W.C.SelectFirstSearch.SetChecked(false);
  OpenFirstRow(W);
  EXPECT_EQ(W.E.Ed.GetSelLength(), 0);
  W.C.SpeedButton1.Click();
  EXPECT_EQ(W.E.Ed.GetSelStart(), 4);
  W.C.SpeedButton1.Click();
  EXPECT_EQ(W.E.Ed.GetSelStart(), 13);
  W.C.SpeedButton1.Click();
  EXPECT_EQ(W.C.StatusBar1.PanelText(1), "検索文字列  \"abc\"は見つかりませんでした。");
  W.C.SpeedButton3.Click();  // a miss leaves the caret after the last hit
  EXPECT_EQ(W.C.StatusBar1.PanelText(1), "2件中2件目");
  EXPECT_EQ(W.E.Ed.GetSelStart(), 13);
  W.C.SpeedButton3.Click();
  EXPECT_EQ(W.E.Ed.GetSelStart(), 4);
  EXPECT_EQ(W.E.Ed.GetSelLength(), 3);
  EXPECT_EQ(W.C.StatusBar1.PanelText(1), "2件中1件目");
}

TEST(FormEditorExWindow, ReplaceInThisFileSaveWithBackupAndCloseQuery) {
  Tree Tr;
  Tr.Write("memo.txt", "a-b\r\nc-d");
  RealWindow W(Tr);
  W.C.MakeBackFile.SetChecked(true);
  W.Search(Tr.T(), "memo");
  W.C.cFindWord.SetText("-");
  W.C.cReplaceWord.SetText("\\R\\n");
  OpenFirstRow(W);
  W.C.N2.Click();
  EXPECT_EQ(W.P.Dialogs.Shown.back().Text, "2 個の置換作業が終了しました。");
  EXPECT_TRUE(W.E.Ed.Modified());
  W.P.Dialogs.Answers = {idYes};
  EXPECT_TRUE(W.Form->FormCloseQuery());
  EXPECT_EQ(W.P.Dialogs.Shown.back().Text, Tr.T() + "/memo.txt\r\n\r\nこのファイルは変更されています。\r\n保存しますか?");
  EXPECT_EQ(Tr.Read("memo.txt"), "a\r\nb\r\nc\r\nd");  // the last line still has no break
  EXPECT_EQ(Tr.Read("memo.bak"), "a-b\r\nc-d");
  EXPECT_FALSE(W.E.Ed.Modified());
}

TEST(FormEditorExWindow, CloseQueryNoKeepsTheFile) {
  Tree Tr;
  Tr.Write("memo.txt", "a-b");
  RealWindow W(Tr);
  W.Search(Tr.T(), "memo");
  W.C.cFindWord.SetText("-");
  W.C.cReplaceWord.SetText("+");
  OpenFirstRow(W);
  W.C.N2.Click();
  W.P.Dialogs.Answers = {idNo};
  EXPECT_TRUE(W.Form->FormCloseQuery());
  EXPECT_EQ(Tr.Read("memo.txt"), "a-b");
  EXPECT_FALSE(fs::exists(Tr.T() + "/memo.bak"));
}

}  // namespace
}  // namespace tesvarin::test
