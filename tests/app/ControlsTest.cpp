#include <gtest/gtest.h>

#include "app/Controls.h"
#include "support/Exception.h"

namespace tesvarin {
namespace {

TEST(MainFormControls, StartsInTheIdleState) {
  TMainFormControls C;
  EXPECT_EQ(C.Form1.Caption(), "Tesvarin");
  EXPECT_EQ(C.Form1.Bounds(), (TBounds{197, 107, 603, 467}));
  EXPECT_TRUE(C.Button1.Enabled());
  EXPECT_TRUE(C.Button1.Default());
  EXPECT_FALSE(C.Button2.Enabled());
  EXPECT_FALSE(C.Button3.Enabled());
  EXPECT_TRUE(C.FindSubFolder.Checked());
  EXPECT_TRUE(C.MakeBackFile.Checked());
  EXPECT_TRUE(C.ConfirmSave.Checked());
  EXPECT_TRUE(C.SelectFirstSearch.Checked());
  for (const TCheckBoxModel* Box : {&C.CheckBox1, &C.CheckBox2, &C.CheckBox3, &C.CheckBox4, &C.CheckBox6,
                                    &C.DateCheckBox, &C.SizeCheckBox}) {
    EXPECT_FALSE(Box->Checked()) << Box->Caption();
  }
  EXPECT_EQ(C.UpDown3.Position(), 1000);
  EXPECT_EQ(C.ComboBox3.Text(), "より小さい");
  EXPECT_EQ(C.ComboBox3.Items(), (std::vector<std::string>{"より大きい", "より小さい"}));
  EXPECT_EQ(C.PageControl1.Pages(), (std::vector<std::string>{"日付・サイズ", "検索設定", "動作設定"}));
}

TEST(MainFormControls, ColumnsOfTheResultList) {
  TMainFormControls C;
  const auto& Cols = C.FileList.Columns();
  ASSERT_EQ(Cols.size(), 8u);
  const char* Captions[] = {"名前", "フォルダ名", "サイズ", "種類", "更新日時", "アクセス日時", "属性", "文字コード"};
  const int Widths[] = {120, 200, 70, 70, 150, 150, 50, 90};
  for (size_t I = 0; I < 8; ++I) {
    EXPECT_EQ(Cols[I].Caption, Captions[I]);
    EXPECT_EQ(Cols[I].Width, Widths[I]);
    EXPECT_EQ(Cols[I].Alignment, (I == 2 || I == 6) ? taRightJustify : taLeftJustify);
  }
}

TEST(ControlModels, ListenersSeeRealChangesOnly) {
  TComboBoxModel Box;
  int Calls = 0;
  int Id = Box.Subscribe([&] { ++Calls; });
  Box.SetText("a");
  Box.SetText("a");
  Box.SetItems({"a", "b"});
  EXPECT_EQ(Calls, 2);
  Box.Unsubscribe(Id);
  Box.SetText("b");
  EXPECT_EQ(Calls, 2);
}

TEST(ControlModels, CheckBoxRunsOnClickOnEveryRealChange) {
  TCheckBoxModel Box("x");
  int Clicks = 0;
  Box.OnClick = [&] { ++Clicks; };
  Box.SetChecked(true);
  Box.SetChecked(true);
  Box.SetChecked(false);
  EXPECT_EQ(Clicks, 2);
}

TEST(ControlModels, DisabledButtonIgnoresClicks) {
  TButtonModel B("b");
  int Clicks = 0;
  B.OnClick = [&] { ++Clicks; };
  B.SetEnabled(false);
  B.Click();
  B.SetEnabled(true);
  B.Click();
  EXPECT_EQ(Clicks, 1);
}

TEST(ControlModels, UpDownClampsAndPagesIgnoreBadIndices) {
  TUpDownModel U(0, 10000, 100, 1000);
  U.SetPosition(20000);
  EXPECT_EQ(U.Position(), 10000);
  U.SetPosition(-5);
  EXPECT_EQ(U.Position(), 0);
  TPageControlModel P({"a", "b"});
  P.SetActivePage(1);
  P.SetActivePage(5);
  EXPECT_EQ(P.ActivePage(), 1);
}

TEST(ControlModels, StatusBarHasTwoPanels) {
  TStatusBarModel S;
  S.SetPanelText(1, "x");
  EXPECT_EQ(S.PanelText(1), "x");
  EXPECT_THROW(S.SetPanelText(2, "y"), EListError);
}

TEST(ListViewModel, UpdateBracketDefersTheViewAndSortKeepsSelection) {
  TListViewModel L({{"a", 10, taLeftJustify}});
  int Calls = 0;
  L.Subscribe([&] { ++Calls; });
  L.BeginUpdate();
  L.Add({"b", {}, -1});
  L.Add({"c", {}, -1});
  L.Add({"a", {}, -1});
  EXPECT_EQ(Calls, 0);
  L.EndUpdate();
  EXPECT_EQ(Calls, 1);
  L.SetSelected(0);  // "b"
  L.CustomSort([](const TListItem& X, const TListItem& Y) { return X.Caption.compare(Y.Caption); });
  EXPECT_EQ(L.Item(0).Caption, "a");
  EXPECT_EQ(L.Selected(), 1);
  L.Delete(0);
  EXPECT_EQ(L.Selected(), 0);
  L.Delete(0);
  EXPECT_EQ(L.Selected(), -1);
  EXPECT_THROW(L.Delete(3), EListError);
  L.SetSelected(7);
  EXPECT_EQ(L.Selected(), -1);
}

}  // namespace
}  // namespace tesvarin
