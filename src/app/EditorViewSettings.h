// The part of the editor's view a user changes from the window, and the per-user INI file that keeps
// it: read over the shared INI file at start, so its keys win, and written instead of the shared one.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "support/Color.h"

namespace tesvarin {

class TEditor;
class TEditorExMarks;
class TEditorMark;
class THTMLHighlighter;
class TIniFile;

inline constexpr const char* UserIniFileName = "Vimbre.user.ini";

// Font sizes a user can pick; a size outside came from a hand-edited file and is kept as it is.
inline constexpr int MinFontSize = 4;
inline constexpr int MaxFontSize = 96;

// The marks whose visibility and colour the user sets, in the order the window lists them.
enum TViewMark : uint8_t { vmRetMark, vmEofMark, vmTabMark, vmZenSpace, vmUnderline };
inline constexpr int ViewMarkCount = 5;

struct TMarkSetting {
  bool Visible = false;
  TColor Color = 0;
  friend bool operator==(const TMarkSetting&, const TMarkSetting&) = default;
};

struct TEditorViewSettings {
  std::string FontName;  // UTF-8
  int FontSize = 9;
  bool WordWrap = true;
  int WrapByte = 80;
  bool Leading = true;
  bool FollowPunctuation = false;
  bool WordBreak = false;
  bool ShowLeftBar = false;
  bool LeftBarByRow = true;  // numbers count display rows, else lines
  bool ShowRuler = true;
  bool ShowImageBar = false;
  int TabSpaceCount = 8;
  std::array<TMarkSetting, ViewMarkCount> Marks{};
  friend bool operator==(const TEditorViewSettings&, const TEditorViewSettings&) = default;
};

// The editor's mark that a TViewMark stands for.
[[nodiscard]] TEditorMark& MarkOf(TViewMark Mark, TEditor& Editor, TEditorExMarks& ExMarks);

// What the editor shows now.
[[nodiscard]] TEditorViewSettings ReadViewSettings(TEditor& Editor, TEditorExMarks& ExMarks);
// Sets every value on the editor; each setter clamps and notifies only on a real change, so applying
// what ReadViewSettings gave restores the view exactly. A size of no points keeps the current size.
void ApplyViewSettings(const TEditorViewSettings& Settings, TEditor& Editor, TEditorExMarks& ExMarks);

// ConfigFolder/Bramwhirl/Vimbre.user.ini; empty when there is no configuration folder.
[[nodiscard]] std::string UserIniPath(const std::optional<std::string>& ConfigFolder);

// Reads the shared INI file with the per-user one over it (either may be missing): the keys of the
// shared file's tables, then this program's own view keys (FollowPunctuation, WordBreak,
// ShowImageBar, TabSpaceCount; missing ones leave the editor as it is).
void LoadEditorSettingsWithOverlay(const std::string& IniPath, const std::string& UserIniPath, TEditor& Editor,
                                   TEditorExMarks& ExMarks, THTMLHighlighter& HTMLHighlighter1);
void LoadOwnViewKeys(const TIniFile& Ini, TEditor& Editor);

// Writes the keys whose values differ between Before and After into the per-user file, keeping
// every other line of it; creates its folder when missing; writes nothing when nothing changed.
// Raises EInOutError when the file cannot be read or written, and refuses to write when that path
// is the shared file itself (through a link). Raises EConvertError for a font name that code
// page 932 cannot hold.
void SaveUserViewSettings(const std::string& UserIniPath, const std::string& SharedIniPath,
                          const TEditorViewSettings& Before, const TEditorViewSettings& After);

}  // namespace tesvarin
