#include "app/EditorViewSettings.h"

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <system_error>

#include "app/EditorSettings.h"
#include "app/IniFile.h"
#include "app/IniPath.h"
#include "app/IniText.h"
#include "app/SafeSave.h"
#include "editor/Editor.h"
#include "editor/search/EditorExMarks.h"
#include "editor/text/WrapOption.h"
#include "support/Exception.h"
#include "support/SjisCodec.h"
#include "support/StringList.h"

namespace tesvarin {

namespace {

using TSettings = TEditorViewSettings;

std::string BoolText(bool V) { return V ? "1" : "0"; }
// Colours as the unsigned 32-bit numbers the shared file holds.
std::string ColorText(TColor C) { return std::to_string(static_cast<uint32_t>(C)); }

// The file holds code page 932; a name it cannot hold is refused rather than stored garbled.
std::string FontNameBytes(const std::string& Utf8) {
  TConvertResult R = TryUtf8ToCp932(Utf8);
  if (!R.Ok) throw EConvertError("フォント名「" + Utf8 + "」は設定ファイルに保存できません。");
  return R.Text;
}

struct TViewKey {
  const char* Section;
  const char* Key;
  std::string (*Text)(const TSettings&);  // UTF-8
  bool Cp932 = false;
};

template <TViewMark M>
std::string MarkVisibleText(const TSettings& S) {
  return BoolText(S.Marks[M].Visible);
}
template <TViewMark M>
std::string MarkColorText(const TSettings& S) {
  return ColorText(S.Marks[M].Color);
}

// Every value the user sets, by the key that stores it.
const TViewKey ViewKeys[] = {
    {IniFontSection, "Name", [](const TSettings& S) { return S.FontName; }, true},
    {IniFontSection, "size", [](const TSettings& S) { return std::to_string(S.FontSize); }},
    {IniEditorSection, "WordWrap", [](const TSettings& S) { return BoolText(S.WordWrap); }},
    {IniEditorSection, "WrapByte", [](const TSettings& S) { return std::to_string(S.WrapByte); }},
    {IniEditorSection, "Leading", [](const TSettings& S) { return BoolText(S.Leading); }},
    {IniEditorSection, "FollowPunctuation", [](const TSettings& S) { return BoolText(S.FollowPunctuation); }},
    {IniEditorSection, "WordBreak", [](const TSettings& S) { return BoolText(S.WordBreak); }},
    {IniEditorSection, "ShowLeftBar", [](const TSettings& S) { return BoolText(S.ShowLeftBar); }},
    {IniEditorSection, "LeftBarMode", [](const TSettings& S) { return BoolText(S.LeftBarByRow); }},
    {IniEditorSection, "ShowRuler", [](const TSettings& S) { return BoolText(S.ShowRuler); }},
    {IniEditorSection, "ShowImageBar", [](const TSettings& S) { return BoolText(S.ShowImageBar); }},
    {IniEditorSection, "TabSpaceCount", [](const TSettings& S) { return std::to_string(S.TabSpaceCount); }},
    {IniEditorSection, "RetMark", MarkVisibleText<vmRetMark>},
    {IniEditorSection, "RetMarkColor", MarkColorText<vmRetMark>},
    {IniEditorSection, "EofMark", MarkVisibleText<vmEofMark>},
    {IniEditorSection, "EofMarkColor", MarkColorText<vmEofMark>},
    {IniEditorSection, "TabMark", MarkVisibleText<vmTabMark>},
    {IniEditorSection, "TabMarkColor", MarkColorText<vmTabMark>},
    {IniEditorSection, "ZenSpace", MarkVisibleText<vmZenSpace>},
    {IniEditorSection, "ZenSpaceColor", MarkColorText<vmZenSpace>},
    {IniEditorSection, "Underline", MarkVisibleText<vmUnderline>},
    {IniEditorSection, "UnderlineColor", MarkColorText<vmUnderline>},
};

void RefuseSharedFile(const std::string& UserIniPath, const std::string& SharedIniPath) {
  namespace fs = std::filesystem;
  std::error_code Ec;
  if (!SharedIniPath.empty() && fs::equivalent(UserIniPath, SharedIniPath, Ec)) {
    throw EInOutError(UserIniPath + ": 共有の設定ファイル " + SharedIniPath + " と同じファイルなので書き込みません。",
                      EEXIST);
  }
}

// The file's text as it is now; a missing file is empty, an unreadable one raises rather than be lost.
std::string CurrentText(const std::string& Path) {
  std::error_code Ec;
  if (!std::filesystem::exists(Path, Ec) && !Ec) return {};
  return ReadFileBytes(Path);
}

}  // namespace

TEditorMark& MarkOf(TViewMark Mark, TEditor& Editor, TEditorExMarks& ExMarks) {
  switch (Mark) {
    case vmRetMark: return Editor.Marks().RetMark();
    case vmEofMark: return Editor.Marks().EofMark();
    case vmTabMark: return ExMarks.TabMark();
    case vmZenSpace: return ExMarks.DBSpaceMark();
    case vmUnderline: break;
  }
  return Editor.Marks().Underline();
}

TEditorViewSettings ReadViewSettings(TEditor& Editor, TEditorExMarks& ExMarks) {
  TEditorViewSettings S;
  S.FontName = Editor.Font().Name;
  S.FontSize = Editor.Font().Size;
  S.WordWrap = Editor.WordWrap();
  TEditorWrapOption& W = Editor.WrapOption();
  S.WrapByte = W.WrapByte();
  S.Leading = W.Leading();
  S.FollowPunctuation = W.FollowPunctuation();
  S.WordBreak = W.WordBreak();
  S.ShowLeftBar = Editor.Leftbar().Visible();
  S.LeftBarByRow = Editor.Leftbar().ShowNumberMode() == nmRow;
  S.ShowRuler = Editor.Ruler().Visible();
  S.ShowImageBar = Editor.Imagebar().Visible();
  S.TabSpaceCount = Editor.Caret().TabSpaceCount();
  for (int I = 0; I < ViewMarkCount; ++I) {
    const TEditorMark& M = MarkOf(static_cast<TViewMark>(I), Editor, ExMarks);
    S.Marks[static_cast<size_t>(I)] = TMarkSetting{M.Visible(), M.Color()};
  }
  return S;
}

void ApplyViewSettings(const TEditorViewSettings& S, TEditor& Editor, TEditorExMarks& ExMarks) {
  TFontSpec Font = Editor.Font();
  if (!S.FontName.empty()) Font.Name = S.FontName;
  if (S.FontSize > 0) Font.Size = S.FontSize;
  Editor.SetFont(Font);
  Editor.SetWordWrap(S.WordWrap);
  TEditorWrapOption& W = Editor.WrapOption();
  W.BeginUpdate();
  W.SetWrapByte(S.WrapByte);
  W.SetLeading(S.Leading);
  W.SetFollowPunctuation(S.FollowPunctuation);
  W.SetWordBreak(S.WordBreak);
  W.EndUpdate();
  Editor.Leftbar().SetVisible(S.ShowLeftBar);
  Editor.Leftbar().SetShowNumberMode(S.LeftBarByRow ? nmRow : nmLine);
  Editor.Ruler().SetVisible(S.ShowRuler);
  Editor.Imagebar().SetVisible(S.ShowImageBar);
  Editor.Caret().SetTabSpaceCount(S.TabSpaceCount);
  for (int I = 0; I < ViewMarkCount; ++I) {
    TEditorMark& M = MarkOf(static_cast<TViewMark>(I), Editor, ExMarks);
    M.SetVisible(S.Marks[static_cast<size_t>(I)].Visible);
    M.SetColor(S.Marks[static_cast<size_t>(I)].Color);
  }
}

std::string UserIniPath(const std::optional<std::string>& ConfigFolder) {
  if (!ConfigFolder || ConfigFolder->empty()) return {};
  return IncludeTrailingSlash(*ConfigFolder) + "Bramwhirl/" + UserIniFileName;
}

void LoadOwnViewKeys(const TIniFile& Ini, TEditor& Editor) {
  TEditorWrapOption& W = Editor.WrapOption();
  W.SetFollowPunctuation(Ini.ReadBool(IniEditorSection, "FollowPunctuation", W.FollowPunctuation()));
  W.SetWordBreak(Ini.ReadBool(IniEditorSection, "WordBreak", W.WordBreak()));
  Editor.Imagebar().SetVisible(Ini.ReadBool(IniEditorSection, "ShowImageBar", Editor.Imagebar().Visible()));
  int Tab = static_cast<int>(Ini.ReadInteger(IniEditorSection, "TabSpaceCount", Editor.Caret().TabSpaceCount()));
  Editor.Caret().SetTabSpaceCount(Tab);
}

void LoadEditorSettingsWithOverlay(const std::string& IniPath, const std::string& UserIniPath, TEditor& Editor,
                                   TEditorExMarks& ExMarks, THTMLHighlighter& HTMLHighlighter1) {
  TIniFile Ini(IniPath);
  if (!UserIniPath.empty()) Ini.Merge(TIniFile(UserIniPath));
  LoadEditorSettings(Ini, Editor, ExMarks, HTMLHighlighter1);
  LoadOwnViewKeys(Ini, Editor);
}

void SaveUserViewSettings(const std::string& UserIniPath, const std::string& SharedIniPath,
                          const TEditorViewSettings& Before, const TEditorViewSettings& After) {
  if (Before == After) return;
  if (UserIniPath.empty()) throw EInOutError("個人用の設定ファイルを置くフォルダがありません。", ENOENT);
  RefuseSharedFile(UserIniPath, SharedIniPath);
  TIniText Text(CurrentText(UserIniPath));
  for (const TViewKey& K : ViewKeys) {
    std::string Value = K.Text(After);
    if (Value == K.Text(Before)) continue;
    Text.SetValue(K.Section, K.Key, K.Cp932 ? FontNameBytes(Value) : Value);
  }
  std::error_code Ec;
  std::filesystem::create_directories(std::filesystem::path(UserIniPath).parent_path(), Ec);
  SaveFileSafely(UserIniPath, Text.Text(), false);
}

}  // namespace tesvarin
