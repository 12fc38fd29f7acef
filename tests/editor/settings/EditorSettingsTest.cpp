#include <gtest/gtest.h>

#include "testsupport/ChangeRecorder.h"

#include <functional>
#include <vector>

#include "editor/settings/EditorFormDefaults.h"

namespace tesvarin {
namespace {

using test::Recorder;

struct ClampCase {
  const char* Name;
  std::function<void(int)> Set;
  std::function<int()> Get;
  int Input;
  int Expected;
};

TEST(EditorSettings, ClampingTable) {
  TEditorCaret Caret;
  TEditorRuler Ruler;
  TEditorLeftbar Leftbar;
  TEditorMargin Margin;
  TEditorImagebar Imagebar;
  TEditorSpeed Speed;
  auto Tab = [&](int V) { Caret.SetTabSpaceCount(V); };
  auto TabGet = [&] { return Caret.TabSpaceCount(); };
  auto Gauge = [&](int V) { Ruler.SetGaugeRange(V); };
  auto GaugeGet = [&] { return Ruler.GaugeRange(); };
  auto Col = [&](int V) { Leftbar.SetColumn(V); };
  auto ColGet = [&] { return Leftbar.Column(); };
  const ClampCase Cases[] = {
      {"TabSpaceCount", Tab, TabGet, 7, 6},   {"TabSpaceCount", Tab, TabGet, 1, 2},
      {"TabSpaceCount", Tab, TabGet, 20, 8},  {"TabSpaceCount", Tab, TabGet, 3, 2},
      {"TabSpaceCount", Tab, TabGet, -5, 2},  {"TabSpaceCount", Tab, TabGet, 4, 4},
      {"GaugeRange", Gauge, GaugeGet, 9, 8},  {"GaugeRange", Gauge, GaugeGet, 12, 10},
      {"GaugeRange", Gauge, GaugeGet, 3, 8},  {"GaugeRange", Gauge, GaugeGet, 10, 10},
      {"Column", Col, ColGet, 0, 1},          {"Column", Col, ColGet, 12, 8},
      {"Column", Col, ColGet, 5, 5},
      {"Margin.Left", [&](int V) { Margin.SetLeft(V); }, [&] { return Margin.Left(); }, 101, 100},
      {"Margin.Top", [&](int V) { Margin.SetTop(V); }, [&] { return Margin.Top(); }, -1, 0},
      {"Margin.Line", [&](int V) { Margin.SetLine(V); }, [&] { return Margin.Line(); }, 500, 100},
      {"Margin.Character", [&](int V) { Margin.SetCharacter(V); }, [&] { return Margin.Character(); }, -9, 0},
      {"Leftbar.LeftMargin", [&](int V) { Leftbar.SetLeftMargin(V); }, [&] { return Leftbar.LeftMargin(); }, 200, 100},
      {"Leftbar.RightMargin", [&](int V) { Leftbar.SetRightMargin(V); }, [&] { return Leftbar.RightMargin(); }, -3, 0},
      {"Imagebar.DigitWidth", [&](int V) { Imagebar.SetDigitWidth(V); }, [&] { return Imagebar.DigitWidth(); }, 101, 100},
      {"Imagebar.MarkWidth", [&](int V) { Imagebar.SetMarkWidth(V); }, [&] { return Imagebar.MarkWidth(); }, -1, 0},
      {"Imagebar.LeftMargin", [&](int V) { Imagebar.SetLeftMargin(V); }, [&] { return Imagebar.LeftMargin(); }, 150, 100},
      {"Imagebar.RightMargin", [&](int V) { Imagebar.SetRightMargin(V); }, [&] { return Imagebar.RightMargin(); }, -7, 0},
      {"Speed.CaretVerticalAc", [&](int V) { Speed.SetCaretVerticalAc(V); }, [&] { return Speed.CaretVerticalAc(); }, 0, 1},
      {"Speed.PageVerticalRange", [&](int V) { Speed.SetPageVerticalRange(V); }, [&] { return Speed.PageVerticalRange(); }, 9, 4},
      {"Speed.PageVerticalRangeAc", [&](int V) { Speed.SetPageVerticalRangeAc(V); }, [&] { return Speed.PageVerticalRangeAc(); }, 3, 3},
      {"Margin.UnderlineAllowance", [&](int V) { Margin.SetUnderlineAllowance(V); }, [&] { return Margin.UnderlineAllowance(); }, 5, 1},
  };
  for (const ClampCase& C : Cases) {
    SCOPED_TRACE(testing::Message() << C.Name << " <- " << C.Input);
    C.Set(C.Input);
    EXPECT_EQ(C.Get(), C.Expected);
  }
}

TEST(EditorSettings, NotifiesOnlyOnRealChange) {
  TEditorRuler Ruler;
  Recorder R;
  Ruler.OnChange = R.Event();
  Ruler.SetGaugeRange(10);  // unchanged
  Ruler.SetGaugeRange(11);  // clamps back to 10: unchanged
  Ruler.SetVisible(false);
  EXPECT_TRUE(R.Senders.empty());
  Ruler.SetGaugeRange(8);
  Ruler.SetBkColor(clRed);
  ASSERT_EQ(R.Senders.size(), 2u);
  EXPECT_EQ(R.Senders[0], &Ruler);

  TEditorCaret Caret;
  Recorder C;
  Caret.OnChange = C.Event();
  Caret.SetAutoIndent(false);  // plain options notify nobody
  Caret.SetSelDragMode(dmManual);
  Caret.Cursors().SetDefaultCursor(crArrow);
  Caret.SetTabSpaceCount(9);  // clamps to 8: unchanged
  EXPECT_TRUE(C.Senders.empty());
  Caret.SetStyle(csBrief);
  Caret.SetTabSpaceCount(5);
  EXPECT_EQ(C.Senders.size(), 2u);
  TEditorMargin Margin;
  Recorder M;
  Margin.OnChange = M.Event();
  Margin.SetUnderlineAllowance(1);
  EXPECT_TRUE(M.Senders.empty());
}

TEST(EditorSettings, AssignCopiesEverythingWithOneNotification) {
  TEditorCaret Src;
  Src.SetNextLine(true);
  Src.SetStyle(csBrief);
  Src.SetTabSpaceCount(4);
  Src.Cursors().SetInSelCursor(crArrow);
  TEditorCaret Dst;
  Recorder R;
  Dst.OnChange = R.Event();
  Dst.Assign(Src);
  EXPECT_TRUE(Dst.NextLine());
  EXPECT_EQ(Dst.Style(), csBrief);
  EXPECT_EQ(Dst.TabSpaceCount(), 4);
  EXPECT_EQ(Dst.Cursors().InSelCursor(), crArrow);
  ASSERT_EQ(R.Senders.size(), 1u);
  EXPECT_EQ(R.Senders[0], &Dst);

  TEditorLeftbar L1, L2;
  L1.SetColumn(7);
  L1.SetShowNumberMode(nmLine);
  L1.SetZeroLead(true);
  Recorder RL;
  L2.OnChange = RL.Event();
  L2.Assign(L1);
  EXPECT_EQ(L2.Column(), 7);
  EXPECT_EQ(L2.ShowNumberMode(), nmLine);
  EXPECT_TRUE(L2.ZeroLead());
  EXPECT_EQ(RL.Senders.size(), 1u);

  TEditorMargin M1, M2;
  M1.SetUnderlineAllowance(1);
  M1.SetLine(3);
  M2.Assign(M1);
  EXPECT_EQ(M2.UnderlineAllowance(), 1);
  EXPECT_EQ(M2.Line(), 3);

  TEditorSpeed S1, S2;
  S1.SetInitBracketsFull(true);
  S1.SetPageVerticalRange(4);
  S2.Assign(S1);
  EXPECT_TRUE(S2.InitBracketsFull());
  EXPECT_EQ(S2.PageVerticalRange(), 4);
  EXPECT_THROW(S2.Assign(M1), EConvertAssign);
}

TEST(EditorSettings, MarksReportChildChangesOnceWithTheSetAsSender) {
  TEditorMarks Marks;
  Recorder R;
  Marks.OnChange = R.Event();
  Marks.Underline().SetVisible(true);
  Marks.Underline().SetVisible(true);
  ASSERT_EQ(R.Senders.size(), 1u);
  EXPECT_EQ(R.Senders[0], &Marks);
  TEditorMarks Other;
  Other.RetMark().SetColor(clNone);
  Other.EofMark().SetVisible(true);
  Marks.Assign(Other);
  EXPECT_EQ(R.Senders.size(), 2u);
  EXPECT_EQ(Marks.RetMark().Color(), clNone);
  EXPECT_TRUE(Marks.EofMark().Visible());
  EXPECT_FALSE(Marks.Underline().Visible());
  TEditorMark Single;
  Single.SetColor(clRed);
  Marks.SetHideMark(Single);
  EXPECT_EQ(R.Senders.size(), 3u);
  EXPECT_EQ(Marks.HideMark().Color(), clRed);
}

TEST(EditorSettings, ConstructorDefaults) {
  TEditorCaret Caret;
  EXPECT_TRUE(Caret.AutoCursor() && Caret.AutoIndent() && Caret.BackSpaceUnIndent() && Caret.FreeCaret());
  EXPECT_TRUE(Caret.RowSelect() && Caret.SelMove());
  EXPECT_FALSE(Caret.FreeRow() || Caret.InTab() || Caret.KeepCaret() || Caret.LockScroll() || Caret.NextLine() ||
               Caret.PrevSpaceIndent() || Caret.SoftTab() || Caret.TabIndent());
  EXPECT_EQ(Caret.SelDragMode(), dmAutomatic);
  EXPECT_EQ(Caret.Style(), csDefault);
  EXPECT_EQ(Caret.TabSpaceCount(), 8);
  // Without a cursor table the loaded shapes fall back to standard ones.
  EXPECT_EQ(Caret.Cursors().DragSelCopyCursor(), crDrag);
  EXPECT_EQ(Caret.Cursors().LeftMarginCursor(), crArrow);
  TEditorMargin Margin;
  EXPECT_EQ(Margin.Left(), 19);
  EXPECT_EQ(Margin.Top(), 2);
  TEditorRuler Ruler;
  EXPECT_TRUE(Ruler.Edge());
  EXPECT_FALSE(Ruler.Visible());
  TEditorLeftbar Leftbar;
  EXPECT_TRUE(Leftbar.Edge());
  EXPECT_EQ(Leftbar.Column(), 4);
  TEditorImagebar Imagebar;
  EXPECT_TRUE(Imagebar.Visible());
  EXPECT_EQ(Imagebar.Width(), 12);
  Imagebar.SetVisible(false);
  EXPECT_EQ(Imagebar.Width(), 0);
  TEditorMark Mark;
  EXPECT_EQ(Mark.Color(), clGray);
  EXPECT_FALSE(Mark.Visible());
}

TEST(EditorSettings, FormDefaultsGiveTheFormValuesWithOneNotificationEach) {
  TEditorCaret Caret;
  Caret.SetKeepCaret(true);
  Caret.SetTabSpaceCount(2);
  Recorder RC;
  Caret.OnChange = RC.Event();
  ApplyFormDefaults(Caret);
  EXPECT_FALSE(Caret.KeepCaret());
  EXPECT_EQ(Caret.TabSpaceCount(), 8);
  EXPECT_EQ(Caret.Cursors().DefaultCursor(), crIBeam);
  EXPECT_EQ(Caret.Cursors().DragSelCursor(), crDrag);
  EXPECT_EQ(Caret.Cursors().DragSelCopyCursor(), 2);
  EXPECT_EQ(Caret.Cursors().InSelCursor(), crDefault);
  EXPECT_EQ(Caret.Cursors().LeftMarginCursor(), 1);
  EXPECT_EQ(Caret.Cursors().TopMarginCursor(), crDefault);
  EXPECT_EQ(RC.Senders.size(), 1u);

  TEditorMargin Margin;
  ApplyFormDefaults(Margin);
  EXPECT_EQ(Margin.Left(), 4);
  EXPECT_EQ(Margin.Top(), 2);
  EXPECT_EQ(Margin.Character(), 0);
  EXPECT_EQ(Margin.Line(), 0);

  TEditorMarks Marks;
  Marks.WrapMark().SetVisible(true);
  Recorder RM;
  Marks.OnChange = RM.Event();
  ApplyFormDefaults(Marks);
  for (const TEditorMark* M : {&Marks.EofMark(), &Marks.RetMark(), &Marks.WrapMark(), &Marks.HideMark(), &Marks.Underline()}) {
    EXPECT_EQ(M->Color(), clGray);
    EXPECT_FALSE(M->Visible());
  }
  EXPECT_EQ(RM.Senders.size(), 1u);

  TEditorRuler Ruler;
  ApplyFormDefaults(Ruler);
  EXPECT_EQ(Ruler.BkColor(), clSilver);
  EXPECT_EQ(Ruler.Color(), clBlack);
  EXPECT_FALSE(Ruler.Edge());
  EXPECT_EQ(Ruler.GaugeRange(), 10);
  EXPECT_EQ(Ruler.MarkColor(), clBlack);
  EXPECT_FALSE(Ruler.Visible());

  TEditorLeftbar Leftbar;
  ApplyFormDefaults(Leftbar);
  EXPECT_FALSE(Leftbar.Edge());
  EXPECT_EQ(Leftbar.Column(), 4);
  EXPECT_EQ(Leftbar.LeftMargin(), 8);
  EXPECT_EQ(Leftbar.RightMargin(), 4);
  EXPECT_TRUE(Leftbar.ShowNumber());
  EXPECT_EQ(Leftbar.ShowNumberMode(), nmRow);
  EXPECT_FALSE(Leftbar.Visible() || Leftbar.ZeroBase() || Leftbar.ZeroLead());

  TEditorImagebar Imagebar;
  ApplyFormDefaults(Imagebar);
  EXPECT_FALSE(Imagebar.Visible());
  EXPECT_EQ(Imagebar.DigitWidth(), 8);
  EXPECT_EQ(Imagebar.LeftMargin(), 2);
  EXPECT_EQ(Imagebar.MarkWidth(), 0);
  EXPECT_EQ(Imagebar.RightMargin(), 2);

  TEditorSpeed Speed;
  Speed.SetCaretVerticalAc(4);
  ApplyFormDefaults(Speed);
  EXPECT_EQ(Speed.CaretVerticalAc(), 2);
  EXPECT_EQ(Speed.PageVerticalRange(), 2);
  EXPECT_EQ(Speed.PageVerticalRangeAc(), 2);
  EXPECT_FALSE(Speed.InitBracketsFull());
  EXPECT_EQ(FormScrollBars, ssVertical);
  EXPECT_EQ(FormHitStyle, hsSelect);
}

}  // namespace
}  // namespace tesvarin
