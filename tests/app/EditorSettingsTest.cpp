#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <initializer_list>

#include <unistd.h>

#include "app/EditorSettings.h"
#include "app/IniFile.h"
#include "editor/Editor.h"
#include "editor/search/EditorExMarks.h"
#include "editor/search/EditorExSearch.h"
#include "editor/settings/EditorViewInfo.h"
#include "highlighter/HTMLHighlighter.h"
#include "support/SjisCodec.h"
#include "support/StringList.h"

namespace tesvarin {
namespace {

class EditorSettings : public ::testing::Test {
public:  // the cases of a table reach the fixture through a reference
  EditorSettings() { ApplyEditorStartConfiguration(Editor, ExMarks, Search); }

  void Load(std::string_view IniText) { LoadEditorSettings(TIniFile::FromText(IniText), Editor, ExMarks, *Html); }
  [[nodiscard]] TEditorColors& Colors() { return Editor.View().Highlighter().Colors(); }

  TEditor Editor{nullptr, TPlatform{}};
  TEditorExMarks ExMarks;
  TEditorExSearch Search;
  std::unique_ptr<THTMLHighlighter> Html = THighlighter::New<THTMLHighlighter>();
};

TEST_F(EditorSettings, MissingFileReadsAsEveryDefault) {
  LoadEditorSettings("/nonexistent-tesvarin-folder/Vimbre.ini", Editor, ExMarks, *Html);
  TEditorColors& C = Colors();
  EXPECT_EQ(Editor.Font(), (TFontSpec{"FixedSys", 9, clBlack, {}}));
  EXPECT_EQ(Editor.Color(), clWindow);
  EXPECT_EQ(C.Select().Color(), clWhite);
  EXPECT_EQ(C.Select().BkColor(), clNavy);
  for (THighlighterColor* Link : std::initializer_list<THighlighterColor*>{&C.Url(), &C.Mail(), &Html->Url(), &Html->Mail()}) {
    EXPECT_EQ(Link->Color(), clAqua);
  }
  EXPECT_EQ(C.Reserve().Color(), clRed);
  EXPECT_EQ(Html->Reserve().Color(), clRed);
  EXPECT_TRUE(Editor.WordWrap());
  EXPECT_TRUE(Editor.WrapOption().Leading());
  EXPECT_EQ(Editor.WrapOption().WrapByte(), 80);
  const TEditorCaret& Caret = Editor.Caret();
  EXPECT_TRUE(Caret.NextLine());
  EXPECT_TRUE(Caret.LockScroll());
  EXPECT_FALSE(Caret.AutoIndent());
  EXPECT_FALSE(Caret.FreeCaret());
  EXPECT_TRUE(Caret.KeepCaret());
  struct MarkCase {
    const char* Name;
    const TEditorMark& Mark;
    bool Visible;
  } Marks[] = {{"RetMark", Editor.Marks().RetMark(), true},     {"EofMark", Editor.Marks().EofMark(), true},
               {"Underline", Editor.Marks().Underline(), false}, {"TabMark", ExMarks.TabMark(), true},
               {"ZenSpace", ExMarks.DBSpaceMark(), true}};
  for (const MarkCase& M : Marks) {
    SCOPED_TRACE(M.Name);
    EXPECT_EQ(M.Mark.Visible(), M.Visible);
    EXPECT_EQ(M.Mark.Color(), clGray);
  }
  EXPECT_EQ(Editor.Margin().Line(), 1);
  EXPECT_FALSE(Editor.WantTabs());
  EXPECT_EQ(Editor.Ruler().Color(), clWindowText);
  EXPECT_EQ(Editor.Ruler().MarkColor(), clWindowText);
  EXPECT_EQ(Editor.Ruler().BkColor(), clBtnFace);
  EXPECT_TRUE(Editor.Ruler().Visible());
  EXPECT_FALSE(Editor.Leftbar().Visible());
  EXPECT_EQ(Editor.Leftbar().Color(), clWindowText);
  EXPECT_EQ(Editor.Leftbar().BkColor(), clBtnFace);
  EXPECT_EQ(Editor.Leftbar().ShowNumberMode(), nmRow);
}

TEST_F(EditorSettings, EachKeyReachesItsProperty) {
  struct Case {
    const char* Ini;
    std::function<bool(EditorSettings&)> Holds;
  } Cases[] = {
      {"[Editor]\nWrapByte=0x40", [](EditorSettings& T) { return T.Editor.WrapOption().WrapByte() == 64; }},
      {"[Editor]\nWrapByte=$64", [](EditorSettings& T) { return T.Editor.WrapOption().WrapByte() == 100; }},
      {"[Editor]\nShowRuler=0", [](EditorSettings& T) { return !T.Editor.Ruler().Visible(); }},
      {"[Font]\nStyleB=1", [](EditorSettings& T) { return T.Editor.Font().Style == TFontStyles{fsBold}; }},
      {"[Font]\nStyleU=1\nStyleS=2",
       [](EditorSettings& T) { return T.Editor.Font().Style == TFontStyles{fsUnderline, fsStrikeOut}; }},
      {"[Font]\nStyleI=1", [](EditorSettings& T) { return T.Editor.Font().Style == TFontStyles{fsItalic}; }},
      {"[Font]\nName=Sans\nsize=12",
       [](EditorSettings& T) { return T.Editor.Font().Name == "Sans" && T.Editor.Font().Size == 12; }},
      {"[Font]\nSelColor=$FF\nSelBackColor=0x80000005",
       [](EditorSettings& T) { return T.Colors().Select().Color() == clRed && T.Colors().Select().BkColor() == clWindow; }},
      {"[Editor]\nLeftBarMode=0\nShowLeftBar=1",
       [](EditorSettings& T) { return T.Editor.Leftbar().ShowNumberMode() == nmLine && T.Editor.Leftbar().Visible(); }},
      {"[Editor]\nWordWrap=0\nLeading=0",
       [](EditorSettings& T) { return !T.Editor.WordWrap() && !T.Editor.WrapOption().Leading(); }},
      {"[Editor]\nFreeCursor=1\nAutoIndent=1\nKeepCaret=0", [](EditorSettings& T) {
         return T.Editor.Caret().FreeCaret() && T.Editor.Caret().AutoIndent() && !T.Editor.Caret().KeepCaret();
       }},
      {"[Editor]\nLineMargin=3\nWantTabs=1",
       [](EditorSettings& T) { return T.Editor.Margin().Line() == 3 && T.Editor.WantTabs(); }},
      {"[Editor]\nZenSpace=0\nZenSpaceColor=255\nTabMark=0",
       [](EditorSettings& T) {
         return !T.ExMarks.DBSpaceMark().Visible() && T.ExMarks.DBSpaceMark().Color() == clRed &&
                !T.ExMarks.TabMark().Visible();
       }},
      // A stored mark colour is kept, the button face of older files too.
      {"[Editor]\nRetMarkColor=-2147483633\nEofMarkColor=0x800000",
       [](EditorSettings& T) {
         return T.Editor.Marks().RetMark().Color() == clBtnFace && T.Editor.Marks().EofMark().Color() == clNavy;
       }},
      {"[Editor]\nRulerFontColor=$FF0000\nRulerColor=0",
       [](EditorSettings& T) {
         return T.Editor.Ruler().Color() == clBlue && T.Editor.Ruler().MarkColor() == clBlue &&
                T.Editor.Ruler().BkColor() == clBlack;
       }},
      // Keys are read from their own section only.
      {"[Font]\nWrapByte=0x40", [](EditorSettings& T) { return T.Editor.WrapOption().WrapByte() == 80; }},
      // A value that is no number takes the default.
      {"[Editor]\nWrapByte=wide", [](EditorSettings& T) { return T.Editor.WrapOption().WrapByte() == 80; }},
  };
  for (const Case& K : Cases) {
    SCOPED_TRACE(K.Ini);
    // Each case starts from the window's configuration again.
    ApplyEditorStartConfiguration(Editor, ExMarks, Search);
    Editor.SetFont(TFontSpec{"FixedSys", 9, clBlack, {}});
    Load(K.Ini);
    EXPECT_TRUE(K.Holds(*this));
  }
}

TEST_F(EditorSettings, PlainTextColoursAreTiedToTheFontAndBackground) {
  Colors().Str().SetColor(clGreen);
  Load("[Font]\nColor=0x123456\nBackColor=0xABCDEF\nURL=0x00FF00\n[Editor]\nReserveColor=0x808000");
  const TColor Fore = 0x123456;
  const TColor Back = 0xABCDEF;
  EXPECT_EQ(Editor.Font().Color, Fore);
  EXPECT_EQ(Editor.Color(), Back);
  for (THighlighterColor* Plain : std::initializer_list<THighlighterColor*>{&Colors().Ank(), &Colors().DBCS(),
                                   &Colors().Symbol(), &Colors().Int()}) {
    EXPECT_EQ(Plain->Color(), Fore);
    EXPECT_EQ(Plain->BkColor(), Back);
  }
  // Links and reserved words keep their own colour on the tied background.
  EXPECT_EQ(Colors().Url().Color(), clLime);
  EXPECT_EQ(Colors().Mail().Color(), clLime);
  EXPECT_EQ(Colors().Reserve().Color(), clTeal);
  for (THighlighterColor* Own : std::initializer_list<THighlighterColor*>{&Colors().Url(), &Colors().Mail(), &Colors().Reserve()}) {
    EXPECT_EQ(Own->BkColor(), Back);
  }
  // The HTML scheme takes the link and reserved-word colours, not the background.
  EXPECT_EQ(Html->Url().Color(), clLime);
  EXPECT_EQ(Html->Reserve().Color(), clTeal);
  EXPECT_NE(Html->Url().BkColor(), Back);
  // Items outside the tie keep what they had; the selection has its own keys.
  EXPECT_EQ(Colors().Str().Color(), clGreen);
  EXPECT_EQ(Colors().Select().BkColor(), clNavy);
}

TEST_F(EditorSettings, TieUsesTheColoursJustReadNotTheEarlierOnes) {
  Editor.SetColor(clYellow);
  Editor.SetFont(TFontSpec{"FixedSys", 9, clPurple, {}});
  Load("");
  EXPECT_EQ(Colors().Ank().Color(), clBlack);
  EXPECT_EQ(Colors().Ank().BkColor(), clWindow);
}

TEST_F(EditorSettings, StyleKeysOnlyAddToTheFontsStyle) {
  Editor.SetFont(TFontSpec{"FixedSys", 9, clBlack, {fsItalic}});
  Load("[Font]\nStyleB=1\nStyleI=0");
  EXPECT_EQ(Editor.Font().Style, (TFontStyles{fsBold, fsItalic}));
}

TEST_F(EditorSettings, FontNameAndSizeDefaultToTheCurrentFont) {
  Editor.SetFont(TFontSpec{"Mono", 14, clBlack, {}});
  Load("[Font]\nColor=255");
  EXPECT_EQ(Editor.Font().Name, "Mono");
  EXPECT_EQ(Editor.Font().Size, 14);
  EXPECT_EQ(Editor.Font().Color, clRed);
}

TEST_F(EditorSettings, FontNameIsCodePage932AndASizeBelowOneIsRefused) {
  // "ＭＳ ゴシック" as stored in the INI file.
  Load("[Font]\nName=\x82\x6c\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4e\nsize=0");
  EXPECT_EQ(Editor.Font().Name, "ＭＳ ゴシック");
  EXPECT_EQ(Editor.Font().Size, 9);
  Load("[Font]\nsize=-3");
  EXPECT_EQ(Editor.Font().Size, 9);
}

TEST_F(EditorSettings, ReadsTheFileAtThePath) {
  std::string Path = (std::filesystem::temp_directory_path() /
                      (std::string("tesvarin-ini-") + std::to_string(::getpid()) + ".ini"))
                         .string();
  WriteFileBytes(Path, "[Editor]\r\nWrapByte=0x40\r\nShowRuler=0\r\n[Font]\r\nStyleB=1\r\n");
  LoadEditorSettings(Path, Editor, ExMarks, *Html);
  std::filesystem::remove(Path);
  EXPECT_EQ(Editor.WrapOption().WrapByte(), 64);
  EXPECT_FALSE(Editor.Ruler().Visible());
  EXPECT_TRUE(Editor.Font().Style.Contains(fsBold));
}

TEST_F(EditorSettings, StartConfigurationOfTheWindow) {
  EXPECT_EQ(Editor.Font(), (TFontSpec{"FixedSys", 9, clBlack, {}}));
  EXPECT_EQ(Editor.HitStyle(), hsSelect);
  EXPECT_TRUE(ExMarks.FindMark().Visible());
  EXPECT_EQ(ExMarks.FindMark().Color(), clRed);
  EXPECT_FALSE(ExMarks.TabMark().Visible());
  EXPECT_FALSE(ExMarks.SpaceMark().Visible());
  EXPECT_FALSE(ExMarks.DBSpaceMark().Visible());
  const TEditorCaret& Caret = Editor.Caret();
  EXPECT_TRUE(Caret.AutoCursor() && Caret.BackSpaceUnIndent() && Caret.RowSelect() && Caret.SelMove());
  EXPECT_FALSE(Caret.FreeRow() || Caret.InTab() || Caret.PrevSpaceIndent() || Caret.SoftTab() || Caret.TabIndent());
  EXPECT_EQ(Caret.TabSpaceCount(), 8);
  EXPECT_EQ(Caret.SelDragMode(), dmAutomatic);
  EXPECT_EQ(Caret.Style(), csDefault);
  EXPECT_EQ(Editor.Margin().Left(), 4);
  EXPECT_EQ(Editor.Margin().Top(), 2);
  EXPECT_EQ(Editor.Margin().Character(), 0);
  const TEditorLeftbar& Bar = Editor.Leftbar();
  EXPECT_EQ(Bar.Column(), 4);
  EXPECT_EQ(Bar.LeftMargin(), 8);
  EXPECT_EQ(Bar.RightMargin(), 4);
  EXPECT_TRUE(Bar.ShowNumber());
  EXPECT_FALSE(Bar.Edge() || Bar.ZeroBase() || Bar.ZeroLead());
  EXPECT_EQ(Editor.Ruler().GaugeRange(), 10);
  EXPECT_FALSE(Editor.Ruler().Edge());
  EXPECT_FALSE(Editor.Imagebar().Visible());
  EXPECT_FALSE(Editor.ReadOnly());
  EXPECT_EQ(Editor.ScrollBars(), ssVertical);
  EXPECT_EQ(Editor.UndoListMax(), 64);
  const TEditorHighlighter& View = Editor.View().Highlighter();
  EXPECT_TRUE(View.ControlCode() && View.Mail() && View.Url());
  EXPECT_TRUE(Editor.WantReturns());
  const TEditorSpeed& Speed = Editor.Speed();
  EXPECT_EQ(Speed.CaretVerticalAc(), 2);
  EXPECT_EQ(Speed.PageVerticalRange(), 2);
  EXPECT_EQ(Speed.PageVerticalRangeAc(), 2);
  EXPECT_FALSE(Speed.InitBracketsFull());
}

TEST_F(EditorSettings, StartConfigurationResetsEarlierChanges) {
  Search.SetExSearchOptions({soRegexp});
  Editor.WrapOption().SetWordBreak(true);
  Editor.WrapOption().SetFollowRetMark(true);
  Editor.WrapOption().SetFollowStr("x");
  Editor.SetReadOnly(true);
  Editor.SetWantReturns(false);
  ExMarks.SpaceMark().SetVisible(true);
  ApplyEditorStartConfiguration(Editor, ExMarks, Search);
  EXPECT_TRUE(Search.ExSearchOptions().Empty());
  const TEditorWrapOption& Wrap = Editor.WrapOption();
  EXPECT_FALSE(Wrap.WordBreak() || Wrap.FollowRetMark() || Wrap.FollowPunctuation());
  EXPECT_FALSE(Editor.ReadOnly());
  EXPECT_TRUE(Editor.WantReturns());
  EXPECT_FALSE(ExMarks.SpaceMark().Visible());
}

TEST_F(EditorSettings, WrapListsAreTheWindowsCodePage932Bytes) {
  const TEditorWrapOption& Wrap = Editor.WrapOption();
  EXPECT_EQ(Wrap.FollowStr(), Utf8ToCp932("、。，．・？！゛゜ヽヾゝゞ々ー）］｝」』!),.:;?]}｡｣､･ｰﾞﾟ"));
  EXPECT_EQ(Wrap.LeadStr(), Utf8ToCp932("（［｛「『([{｢"));
  EXPECT_EQ(Wrap.PunctuationStr(), Utf8ToCp932("、。，．,.｡､"));
  EXPECT_EQ(Wrap.LeadStr().substr(0, 2), "\x81\x69");
}

}  // namespace
}  // namespace tesvarin
