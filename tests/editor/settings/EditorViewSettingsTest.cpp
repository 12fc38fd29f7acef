// The view scheme's settings, the editor's view properties and how their changes reach the editor:
// notification only on change, one notification per copy, colouring states and repaints.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "editor/FakeEditorWindow.h"
#include "editor/Editor.h"
#include "editor/settings/EditorFormDefaults.h"
#include "editor/view/EditorScroll.h"
#include "editor/settings/EditorViewInfo.h"
#include "highlighter/HTMLHighlighter.h"
#include "testsupport/ChangeRecorder.h"

namespace tesvarin {
namespace {

using test::Recorder;

TEST(EditorViewInfo, QuotationKeepsItsFirstCharacter) {
  const struct {
    std::string Input;
    std::string Stored;
  } Cases[] = {
      {"\"'", "\""},
      {"'", "'"},
      {"", ""},
      {"\x81\x67x", "\x81\x67"},  // a double-byte quote stays whole
      {"\x81", "\x81"},           // a lone lead byte is one character
  };
  for (const auto& C : Cases) {
    TEditorViewInfo View;
    View.SetQuotation(C.Input);
    EXPECT_EQ(View.Quotation(), C.Stored) << C.Input;
    EXPECT_EQ(View.Highlighter().Quotation(), C.Stored);
  }
}

struct SetterCase {
  const char* Name;
  std::function<void(TEditorViewInfo&)> Set;
};

TEST(EditorViewInfo, EverySetterNotifiesOnceOnChangeAndNeverOnTheSameValue) {
  const SetterCase Cases[] = {
      {"Commenter", [](TEditorViewInfo& V) { V.SetCommenter("//"); }},
      {"ControlCode", [](TEditorViewInfo& V) { V.SetControlCode(true); }},
      {"HexPrefix", [](TEditorViewInfo& V) { V.SetHexPrefix("0x"); }},
      {"Mail", [](TEditorViewInfo& V) { V.SetMail(true); }},
      {"Quotation", [](TEditorViewInfo& V) { V.SetQuotation("'x"); }},
      {"Url", [](TEditorViewInfo& V) { V.SetUrl(true); }},
      {"Colors",
       [](TEditorViewInfo& V) {
         TEditorColors Colors(nullptr);
         Colors.Assign(V.Colors());
         Colors.Ank().SetColor(clRed);
         V.SetColors(Colors);
       }},
      {"Brackets",
       [](TEditorViewInfo& V) {
         TEditorViewInfo Other;
         auto& B = Other.Brackets().AddItem();
         B.SetLeftBracket("(*");
         B.SetRightBracket("*)");
         V.SetBrackets(Other.Brackets());
       }},
  };
  for (const SetterCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TEditorViewInfo View;
    Recorder Rec;
    View.OnChange = Rec.Event();
    C.Set(View);
    ASSERT_EQ(Rec.Senders.size(), 1u);
    EXPECT_EQ(Rec.Senders[0], &View);
    C.Set(View);
    EXPECT_EQ(Rec.Senders.size(), 1u) << "the same value again";
  }
}

TEST(EditorViewInfo, AChangeInsideTheSchemeReachesTheViewOnce) {
  TEditorViewInfo View;
  Recorder Rec;
  View.OnChange = Rec.Event();
  View.Colors().Comment().SetColor(clRed);
  View.Highlighter().Reserve().SetBkColor(clSilver);
  TStringList Words;
  Words.Add("begin");
  View.Highlighter().SetReserveWordList(Words);
  EXPECT_EQ(Rec.Senders.size(), 3u);
}

TEST(EditorViewInfo, AssignCopiesAllEightInOneNotification) {
  TEditorViewInfo Source;
  auto& B = Source.Brackets().AddItem();
  B.SetLeftBracket("{");
  B.SetRightBracket("}");
  Source.Colors().Str().SetColor(clRed);
  Source.SetCommenter(";");
  Source.SetControlCode(true);
  Source.SetHexPrefix("$");
  Source.SetMail(true);
  Source.SetQuotation("'");
  Source.SetUrl(true);

  TEditorViewInfo Target;
  Recorder Rec;
  Target.OnChange = Rec.Event();
  Target.Assign(Source);
  EXPECT_EQ(Rec.Senders.size(), 1u);
  ASSERT_EQ(Target.Brackets().Count(), 1);
  EXPECT_EQ(Target.Brackets().Items(0).LeftBracket(), "{");
  EXPECT_EQ(Target.Colors().Str().Color(), clRed);
  EXPECT_EQ(Target.Commenter(), ";");
  EXPECT_TRUE(Target.ControlCode());
  EXPECT_EQ(Target.HexPrefix(), "$");
  EXPECT_TRUE(Target.Mail());
  EXPECT_EQ(Target.Quotation(), "'");
  EXPECT_TRUE(Target.Url());
}

TEST(EditorViewInfo, FormDefaults) {
  TEditorViewInfo View;
  View.Colors().Ank().SetColor(clRed);
  View.Brackets().AddItem().SetLeftBracket("(");
  Recorder Rec;
  View.OnChange = Rec.Event();
  ApplyFormDefaults(View);
  EXPECT_EQ(Rec.Senders.size(), 1u);
  EXPECT_EQ(View.Brackets().Count(), 0);
  EXPECT_TRUE(View.ControlCode());
  EXPECT_TRUE(View.Mail());
  EXPECT_TRUE(View.Url());
  EXPECT_EQ(View.Commenter(), "");
  EXPECT_EQ(View.HexPrefix(), "");
  EXPECT_EQ(View.Quotation(), "");
  EXPECT_EQ(View.Colors().Select().BkColor(), clNavy);
  EXPECT_EQ(View.Colors().Select().Color(), clWhite);
  int Others = 0;
  View.Colors().EnumPublished([&](std::string_view Name, TPersistent& Item) {
    if (Name == "Select") return;
    const auto& C = dynamic_cast<THighlighterColor&>(Item);
    EXPECT_EQ(C.BkColor(), clNone) << Name;
    EXPECT_EQ(C.Color(), clNone) << Name;
    EXPECT_TRUE(C.Style().Empty()) << Name;
    ++Others;
  });
  EXPECT_EQ(Others, 10);
}

struct EditorFixture : testing::Test {
  FakeEditorWindow Window;
  TEditor Editor{&Window, TPlatform{}};
  void SetUp() override { Window.Invalidated.clear(); }
  [[nodiscard]] bool RepaintedWhole(const FakeEditorWindow& W) const {
    for (const TRect& R : W.Invalidated) {
      if (R == TRect{0, 0, W.Width, W.Height}) return true;
    }
    return false;
  }
};

TEST_F(EditorFixture, ClampingThroughTheEditorAndTheMetricsThatFollow) {
  Editor.Caret().SetTabSpaceCount(7);
  EXPECT_EQ(Editor.Caret().TabSpaceCount(), 6);
  EXPECT_EQ(Editor.TabSpaceCount(), 6);
  EXPECT_EQ(Editor.ColumnSettings().TabSpaceCount, 6);
  Editor.Caret().SetTabSpaceCount(1);
  EXPECT_EQ(Editor.TabSpaceCount(), 2);
  Editor.Caret().SetTabSpaceCount(20);
  EXPECT_EQ(Editor.TabSpaceCount(), 8);

  Editor.Ruler().SetVisible(true);
  for (auto [In, Out] : {std::pair{9, 8}, {12, 10}, {3, 8}}) {
    Editor.Ruler().SetGaugeRange(In);
    EXPECT_EQ(Editor.Ruler().GaugeRange(), Out) << In;
  }

  Editor.Leftbar().SetVisible(true);
  Editor.Leftbar().SetColumn(0);
  EXPECT_EQ(Editor.Leftbar().Column(), 1);
  EXPECT_EQ(Editor.Scroll().LeftbarWidth(), 8 + 1 * 6 + 4 + 2);
  Editor.Leftbar().SetColumn(12);
  EXPECT_EQ(Editor.Leftbar().Column(), 8);
  EXPECT_EQ(Editor.Scroll().LeftbarWidth(), 8 + 8 * 6 + 4 + 2);
  EXPECT_TRUE(RepaintedWhole(Window));
}

TEST_F(EditorFixture, AViewChangeRecomputesStatesAndRepaints) {
  Editor.Lines().SetLinesText("// note\r\nx");
  Window.Invalidated.clear();
  Editor.View().SetCommenter("//");
  EXPECT_TRUE(RepaintedWhole(Window));
  EXPECT_NE(Editor.ListRows().BracketIndex(0), -2) << "states were computed again";
}

TEST_F(EditorFixture, AnExternalSchemesColourChangeRepaintsEveryEditorUsingIt) {
  FakeEditorWindow OtherWindow;
  TEditor Other(&OtherWindow, TPlatform{});
  Other.ShareRowsWith(Editor);
  auto Scheme = THighlighter::New<THTMLHighlighter>();
  Editor.SetHighlighter(Scheme.get());
  Other.SetHighlighter(Scheme.get());
  Window.Invalidated.clear();
  OtherWindow.Invalidated.clear();
  Scheme->Reserve().SetColor(clRed);
  EXPECT_TRUE(RepaintedWhole(Window));
  EXPECT_TRUE(RepaintedWhole(OtherWindow));

  // Unregistered: only the editor still using it hears.
  Other.SetHighlighter(nullptr);
  EXPECT_EQ(&Other.ActiveHighlighter(), &Other.View().Highlighter());
  Window.Invalidated.clear();
  OtherWindow.Invalidated.clear();
  Scheme->Reserve().SetColor(clNavy);
  EXPECT_TRUE(RepaintedWhole(Window));
  EXPECT_TRUE(OtherWindow.Invalidated.empty());

  // Destroyed: the property empties and the editor repaints with its own scheme.
  Window.Invalidated.clear();
  Scheme.reset();
  EXPECT_EQ(Editor.Highlighter(), nullptr);
  EXPECT_TRUE(RepaintedWhole(Window));
}

TEST_F(EditorFixture, SettingTheSameHighlighterAgainDoesNothing) {
  auto Scheme = THighlighter::New<THTMLHighlighter>();
  Editor.SetHighlighter(Scheme.get());
  Window.Invalidated.clear();
  Editor.SetHighlighter(Scheme.get());
  EXPECT_TRUE(Window.Invalidated.empty());
  Window.Invalidated.clear();
  Scheme->Reserve().SetColor(clRed);
  // Registered once: one repaint of the whole window per change.
  int Whole = 0;
  for (const TRect& R : Window.Invalidated) Whole += R == TRect{0, 0, 400, 200} ? 1 : 0;
  EXPECT_EQ(Whole, 1);
}

TEST_F(EditorFixture, ReserveWordListCopiesOnlyDifferentContents) {
  TStringList Words;
  Words.Add("begin");
  Words.Add("end");
  Editor.SetReserveWordList(Words);
  EXPECT_EQ(Editor.ReserveWordList().Text(), Words.Text());
  EXPECT_TRUE(RepaintedWhole(Window));
  Window.Invalidated.clear();
  Editor.SetReserveWordList(Words);
  EXPECT_TRUE(Window.Invalidated.empty());
}

TEST_F(EditorFixture, HitStyleWithoutASelectionOnlyStores) {
  Editor.SetHitStyle(hsCaret);
  EXPECT_EQ(Editor.HitStyle(), hsCaret);
  EXPECT_TRUE(Window.Invalidated.empty());
}

TEST_F(EditorFixture, ScrollBarsShowAndChangeTheGrid) {
  Editor.SetScrollBars(ssVertical);
  EXPECT_TRUE(Window.VertBarShown);
  EXPECT_FALSE(Window.HorzBarShown);
  EXPECT_EQ(Editor.Scroll().VisibleCols(), 58);
  Editor.SetScrollBars(ssNone);
  EXPECT_FALSE(Window.VertBarShown);
  EXPECT_EQ(Editor.Scroll().VisibleCols(), 61);
}

TEST_F(EditorFixture, ColorChangeRepaintsOnlyOnChange) {
  Editor.SetColor(clWhite);
  EXPECT_TRUE(Window.Invalidated.empty());
  Editor.SetColor(clSilver);
  EXPECT_EQ(Editor.Color(), clSilver);
  EXPECT_TRUE(RepaintedWhole(Window));
}

TEST_F(EditorFixture, FontChangeScrollsBackToTheLeftEdgeAndRebuildsTheCaret) {
  Editor.SetRowCol(0, 150);
  Editor.MakeCaretVisible();
  ASSERT_GT(Editor.LeftCol(), 0);
  Window.Metrics.AveCharWidth = 8;
  Window.CaretHeight = 0;
  TFontSpec Font = Editor.Font();
  Font.Size = 12;
  Editor.SetFont(Font);
  EXPECT_EQ(Editor.Col(), 0);
  EXPECT_EQ(Editor.LeftCol(), 0);
  EXPECT_EQ(Editor.Scroll().ColWidth(), 8);
  EXPECT_EQ(Window.CaretHeight, 12);
  EXPECT_EQ(Editor.Font(), Font);
}

TEST_F(EditorFixture, SetViewCopiesAndKeepsTheCaretInView) {
  TEditorViewInfo Source;
  Source.SetUrl(true);
  Editor.SetView(Source);
  EXPECT_TRUE(Editor.View().Url());
  EXPECT_TRUE(RepaintedWhole(Window));
}

TEST(EditorViewSettingsHeadless, ChangesWithoutAWindowOnlyStore) {
  TEditor Editor(nullptr, TPlatform{});
  Editor.Marks().Underline().SetVisible(true);
  EXPECT_EQ(Editor.Margin().UnderlineAllowance(), 1);
  Editor.SetScrollBars(ssBoth);
  EXPECT_EQ(Editor.ScrollBars(), ssBoth);
  Editor.SetFont(TFontSpec{"Other", 10, clBlack, {}});
  EXPECT_EQ(Editor.Font().Name, "Other");
  Editor.View().SetMail(true);
  EXPECT_TRUE(Editor.View().Highlighter().Mail());
}

}  // namespace
}  // namespace tesvarin
