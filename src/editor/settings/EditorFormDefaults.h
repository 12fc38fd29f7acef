// The values the main window's form gives the editor's settings before its INI file is read.
#pragma once

#include <string_view>

#include "editor/settings/EditorCaret.h"
#include "editor/settings/EditorImagebar.h"
#include "editor/settings/EditorLeftbar.h"
#include "editor/settings/EditorMargin.h"
#include "editor/settings/EditorMarks.h"
#include "editor/settings/EditorRuler.h"
#include "editor/settings/EditorSpeed.h"
#include "editor/settings/EditorViewInfo.h"
#include "editor/settings/EditorViewTypes.h"
#include "support/Color.h"

namespace tesvarin {

// The form stores the two loaded cursors by slot number: the editor unit fills slots 1 and 2 of a
// fresh cursor table, the right arrow first.
inline constexpr TCursor FormLeftMarginCursor = 1;
inline constexpr TCursor FormDragSelCopyCursor = 2;

// The editor's plain properties on the form.
inline constexpr TEditorHitStyle FormHitStyle = hsSelect;
inline constexpr TScrollStyle FormScrollBars = ssVertical;
inline constexpr TColor FormColor = clWhite;
inline constexpr std::string_view FormFontName = "FixedSys";
inline constexpr int FormFontHeight = -12;  // 9 point at 96 dots per inch
inline constexpr int FormFontCharset = 128;  // Shift-JIS
inline constexpr TColor FormFontColor = clBlack;

// Each sets every published value of one settings object to the form's, inside one update bracket:
// one notification per object, the speed settings excepted, which notify nobody.
void ApplyFormDefaults(TEditorCursors& Cursors);
void ApplyFormDefaults(TEditorCaret& Caret);
void ApplyFormDefaults(TEditorMargin& Margin);
void ApplyFormDefaults(TEditorMark& Mark);
void ApplyFormDefaults(TEditorMarks& Marks);
void ApplyFormDefaults(TEditorRuler& Ruler);
void ApplyFormDefaults(TEditorLeftbar& Leftbar);
void ApplyFormDefaults(TEditorImagebar& Imagebar);
void ApplyFormDefaults(TEditorSpeed& Speed);
void ApplyFormDefaults(TEditorViewInfo& View);

}  // namespace tesvarin
