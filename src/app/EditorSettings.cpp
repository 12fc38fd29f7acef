#include "app/EditorSettings.h"

#include <cstdint>
#include <initializer_list>

#include "app/IniFile.h"
#include "editor/Editor.h"
#include "editor/search/EditorExMarks.h"
#include "editor/search/EditorExSearch.h"
#include "editor/settings/EditorFormDefaults.h"
#include "editor/settings/EditorViewInfo.h"
#include "editor/text/WrapOption.h"
#include "highlighter/HTMLHighlighter.h"
#include "support/SjisCodec.h"

namespace tesvarin {

namespace {

constexpr int FormUndoListMax = 64;

// INI defaults that are not the editor's current values.
constexpr TColor DefaultSelColor = clWhite;
constexpr TColor DefaultSelBackColor = clNavy;
constexpr TColor DefaultUrlColor = clAqua;
constexpr TColor DefaultReserveColor = clRed;
constexpr int DefaultWrapByte = 80;
constexpr int DefaultLineMargin = 1;
// The button face is barely visible on a white editor: marks take the editor's own mark grey.
constexpr TColor DefaultMarkColor = clGray;

// Colours are 32-bit values; a system colour's top bit makes the signed value negative.
TColor ReadColor(const TIniFile& Ini, const char* Section, const char* Key, TColor Default) {
  long long Value = Ini.ReadInteger(Section, Key, static_cast<uint32_t>(Default));
  return static_cast<TColor>(static_cast<uint32_t>(Value));
}

int ReadInt(const TIniFile& Ini, const char* Section, const char* Key, int Default) {
  return static_cast<int>(Ini.ReadInteger(Section, Key, Default));
}

void ApplyWrapForm(TEditorWrapOption& W) {
  W.BeginUpdate();
  W.SetFollowRetMark(false);
  W.SetFollowPunctuation(false);
  W.SetWordBreak(false);
  // The window's punctuation lists are the word wrap's own defaults.
  W.SetFollowStr(DefaultFollowStr);
  W.SetLeadStr(DefaultLeadStr);
  W.SetPunctuationStr(DefaultPunctuationStr);
  W.EndUpdate();
}

void ApplyViewForm(TEditorViewInfo& View) {
  TEditorHighlighter& H = View.Highlighter();
  H.SetControlCode(true);
  H.SetMail(true);
  H.SetUrl(true);
}

void ApplyExMarksForm(TEditorExMarks& ExMarks) {
  ExMarks.BeginUpdate();
  for (TEditorMark* Mark : {&ExMarks.DBSpaceMark(), &ExMarks.SpaceMark(), &ExMarks.TabMark(), &ExMarks.FindMark()}) {
    ApplyFormDefaults(*Mark);
  }
  ExMarks.FindMark().SetColor(clRed);
  ExMarks.FindMark().SetVisible(true);
  ExMarks.EndUpdate();
}

// Name, size, Color, BackColor, SelColor, SelBackColor, URL.
void ReadFontKeys(const TIniFile& Ini, TEditor& Editor, THTMLHighlighter& Html) {
  TFontSpec Font = Editor.Font();
  if (auto Name = Ini.Value(IniFontSection, "Name")) Font.Name = Cp932ToUtf8Lossy(*Name);
  Editor.SetFont(Font);
  // A font of no points has no metrics to lay text out with: such a value keeps the current size.
  int Size = ReadInt(Ini, IniFontSection, "size", Font.Size);
  if (Size > 0) Font.Size = Size;
  Editor.SetFont(Font);
  Font.Color = ReadColor(Ini, IniFontSection, "Color", clBlack);
  Editor.SetFont(Font);
  Editor.SetColor(ReadColor(Ini, IniFontSection, "BackColor", clWindow));
  TEditorColors& Colors = Editor.View().Highlighter().Colors();
  Colors.Select().SetColor(ReadColor(Ini, IniFontSection, "SelColor", DefaultSelColor));
  Colors.Select().SetBkColor(ReadColor(Ini, IniFontSection, "SelBackColor", DefaultSelBackColor));
  TColor Url = ReadColor(Ini, IniFontSection, "URL", DefaultUrlColor);
  Colors.Url().SetColor(Url);
  Colors.Mail().SetColor(Url);
  Html.Url().SetColor(Url);
  Html.Mail().SetColor(Url);
}

// Plain text takes the font colour on the background; links and reserved words only the background.
void TieColors(TEditor& Editor) {
  TEditorColors& Colors = Editor.View().Highlighter().Colors();
  TColor Fore = Editor.Font().Color;
  TColor Back = Editor.Color();
  for (THighlighterColor* Item : std::initializer_list<THighlighterColor*>{&Colors.Ank(), &Colors.DBCS(),
                                  &Colors.Symbol(), &Colors.Int()}) {
    Item->SetColor(Fore);
    Item->SetBkColor(Back);
  }
  for (THighlighterColor* Item : std::initializer_list<THighlighterColor*>{&Colors.Url(), &Colors.Mail(), &Colors.Reserve()}) {
    Item->SetBkColor(Back);
  }
}

// ReserveColor, then WordWrap to KeepCaret.
void ReadBehaviourKeys(const TIniFile& Ini, TEditor& Editor, THTMLHighlighter& Html) {
  TColor Reserve = ReadColor(Ini, IniEditorSection, "ReserveColor", DefaultReserveColor);
  Editor.View().Highlighter().Colors().Reserve().SetColor(Reserve);
  Html.Reserve().SetColor(Reserve);
  Editor.SetWordWrap(Ini.ReadBool(IniEditorSection, "WordWrap", true));
  Editor.WrapOption().SetLeading(Ini.ReadBool(IniEditorSection, "Leading", true));
  Editor.Caret().SetNextLine(Ini.ReadBool(IniEditorSection, "NextLine", true));
  Editor.Caret().SetLockScroll(Ini.ReadBool(IniEditorSection, "LockScroll", true));
  Editor.WrapOption().SetWrapByte(ReadInt(Ini, IniEditorSection, "WrapByte", DefaultWrapByte));
  Editor.Caret().SetAutoIndent(Ini.ReadBool(IniEditorSection, "AutoIndent", false));
  Editor.Caret().SetFreeCaret(Ini.ReadBool(IniEditorSection, "FreeCursor", false));
  Editor.Caret().SetKeepCaret(Ini.ReadBool(IniEditorSection, "KeepCaret", true));
}

// Each style key only adds its style.
void ReadStyleKeys(const TIniFile& Ini, TEditor& Editor) {
  static constexpr std::pair<const char*, TFontStyle> Keys[] = {
      {"StyleB", fsBold}, {"StyleU", fsUnderline}, {"StyleI", fsItalic}, {"StyleS", fsStrikeOut}};
  for (const auto& [Key, Style] : Keys) {
    if (!Ini.ReadBool(IniFontSection, Key, false)) continue;
    TFontSpec Font = Editor.Font();
    Font.Style.Include(Style);
    Editor.SetFont(Font);
  }
}

void ReadMark(const TIniFile& Ini, TEditorMark& Mark, const char* Key, bool Default) {
  Mark.SetVisible(Ini.ReadBool(IniEditorSection, Key, Default));
}

void ReadMarkColor(const TIniFile& Ini, TEditorMark& Mark, const char* Key) {
  Mark.SetColor(ReadColor(Ini, IniEditorSection, Key, DefaultMarkColor));
}

// RetMark to LeftBarMode.
void ReadMarkAndBarKeys(const TIniFile& Ini, TEditor& Editor, TEditorExMarks& ExMarks) {
  TEditorMarks& Marks = Editor.Marks();
  ReadMark(Ini, Marks.RetMark(), "RetMark", true);
  ReadMark(Ini, Marks.EofMark(), "EofMark", true);
  ReadMark(Ini, Marks.Underline(), "Underline", false);
  ReadMarkColor(Ini, Marks.RetMark(), "RetMarkColor");
  ReadMarkColor(Ini, Marks.EofMark(), "EofMarkColor");
  ReadMarkColor(Ini, Marks.Underline(), "UnderlineColor");
  Editor.Margin().SetLine(ReadInt(Ini, IniEditorSection, "LineMargin", DefaultLineMargin));
  Editor.SetWantTabs(Ini.ReadBool(IniEditorSection, "WantTabs", false));
  ReadMark(Ini, ExMarks.TabMark(), "TabMark", true);
  ReadMarkColor(Ini, ExMarks.TabMark(), "TabMarkColor");
  ReadMark(Ini, ExMarks.DBSpaceMark(), "ZenSpace", true);
  ReadMarkColor(Ini, ExMarks.DBSpaceMark(), "ZenSpaceColor");
  TColor RulerFont = ReadColor(Ini, IniEditorSection, "RulerFontColor", clWindowText);
  Editor.Ruler().SetColor(RulerFont);
  Editor.Ruler().SetMarkColor(RulerFont);
  Editor.Ruler().SetBkColor(ReadColor(Ini, IniEditorSection, "RulerColor", clBtnFace));
  Editor.Ruler().SetVisible(Ini.ReadBool(IniEditorSection, "ShowRuler", true));
  Editor.Leftbar().SetVisible(Ini.ReadBool(IniEditorSection, "ShowLeftBar", false));
  Editor.Leftbar().SetColor(ReadColor(Ini, IniEditorSection, "LeftBarFontColor", clWindowText));
  Editor.Leftbar().SetBkColor(ReadColor(Ini, IniEditorSection, "LeftBarColor", clBtnFace));
  Editor.Leftbar().SetShowNumberMode(Ini.ReadBool(IniEditorSection, "LeftBarMode", true) ? nmRow : nmLine);
}

}  // namespace

void ApplyEditorStartConfiguration(TEditor& Editor, TEditorExMarks& ExMarks, TEditorExSearch& Search) {
  Editor.SetFont(TFontSpec{std::string(FormFontName), 9, FormFontColor, {}});
  Editor.SetColor(FormColor);
  Editor.SetHitStyle(FormHitStyle);
  ApplyExMarksForm(ExMarks);
  Search.SetExSearchOptions({});
  ApplyFormDefaults(Editor.Caret());
  ApplyFormDefaults(Editor.Margin());
  ApplyFormDefaults(Editor.Marks());
  ApplyFormDefaults(Editor.Ruler());
  ApplyFormDefaults(Editor.Leftbar());
  ApplyFormDefaults(Editor.Imagebar());
  ApplyFormDefaults(Editor.Speed());
  ApplyViewForm(Editor.View());
  ApplyWrapForm(Editor.WrapOption());
  Editor.SetReadOnly(false);
  Editor.SetScrollBars(FormScrollBars);
  Editor.SetUndoListMax(FormUndoListMax);
  Editor.SetWantReturns(true);
}

void LoadEditorSettings(const TIniFile& Ini, TEditor& Editor, TEditorExMarks& ExMarks,
                        THTMLHighlighter& HTMLHighlighter1) {
  ReadFontKeys(Ini, Editor, HTMLHighlighter1);
  TieColors(Editor);
  ReadBehaviourKeys(Ini, Editor, HTMLHighlighter1);
  ReadStyleKeys(Ini, Editor);
  ReadMarkAndBarKeys(Ini, Editor, ExMarks);
}

void LoadEditorSettings(const std::string& IniPath, TEditor& Editor, TEditorExMarks& ExMarks,
                        THTMLHighlighter& HTMLHighlighter1) {
  LoadEditorSettings(TIniFile(IniPath), Editor, ExMarks, HTMLHighlighter1);
}

}  // namespace tesvarin
