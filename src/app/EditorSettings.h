// The editor's look and behaviour on the main window: its starting configuration there and the
// shared INI file that overrides part of it.
#pragma once

#include <string>

namespace tesvarin {

class TEditor;
class TEditorExMarks;
class TEditorExSearch;
class THTMLHighlighter;
class TIniFile;

// Section and key names of the shared INI file.
inline constexpr const char* IniFontSection = "Font";
inline constexpr const char* IniEditorSection = "Editor";

// The window's own values for the editor, before the INI file is read.
void ApplyEditorStartConfiguration(TEditor& Editor, TEditorExMarks& ExMarks, TEditorExSearch& Search);

// Reads the INI file at IniPath (a missing file reads as all defaults) into the editor, its marks and
// the window's HTML colouring scheme, setting each property right after reading its key.
void LoadEditorSettings(const std::string& IniPath, TEditor& Editor, TEditorExMarks& ExMarks,
                        THTMLHighlighter& HTMLHighlighter1);
void LoadEditorSettings(const TIniFile& Ini, TEditor& Editor, TEditorExMarks& ExMarks,
                        THTMLHighlighter& HTMLHighlighter1);

}  // namespace tesvarin
