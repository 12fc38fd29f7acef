// Double-byte-aware string helpers, the editor's process-wide resources (box clipboard format,
// cursors) and the cache of dotted-line images the painter draws underlines with.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"
#include "support/Sjis.h"
#include "support/StringList.h"

namespace tesvarin {

// The byte at I is the lead byte of a double-byte character (a lead byte at the very end counts).
[[nodiscard]] bool IsDBCS1(std::string_view S, int I);
// The byte at I is the trail byte of a double-byte character.
[[nodiscard]] bool IsDBCS2(std::string_view S, int I);
// The byte at I, or 0 outside S.
[[nodiscard]] unsigned char CharAt(std::string_view S, int I);
// How many bytes equal to C stand in the first min(N, size) bytes of S.
[[nodiscard]] int CountChar(std::string_view S, char C, int N);
// Needle (one character) occurs in Set at a character boundary of Set.
[[nodiscard]] bool ContainsChar(std::string_view Needle, std::string_view Set);
[[nodiscard]] constexpr int Max(int A, int B) { return A > B ? A : B; }
[[nodiscard]] constexpr int Min(int A, int B) { return A < B ? A : B; }
// Replaces the contents of Lines by the lines of Text; CR LF, lone CR and lone LF each end a line,
// and the first NUL ends the text.
void SplitLines(std::string_view Text, TStringList& Lines);

// The lowest slot 1 .. 32767 whose cursor is still the default one, or -1.
[[nodiscard]] int FindFreeCursorSlot(const ICursorTable& Cursors);

inline constexpr const char* BoxClipboardFormatName = "TEditor Box Type";

struct TDotLineItem {
  TColor Color;
  TColor BkColor;
  TImage Bitmap;  // one pixel high, as wide as the screen
};

// One entry per colour pair, created on first use and kept for the process.
class TDotLineCollection {
public:
  explicit TDotLineCollection(int ScreenWidth) : FScreenWidth(ScreenWidth > 0 ? ScreenWidth : 1) {}
  [[nodiscard]] const TDotLineItem& Find(TColor Color, TColor BkColor);
  [[nodiscard]] int Count() const { return static_cast<int>(FItems.size()); }

private:
  int FScreenWidth;
  std::vector<std::unique_ptr<TDotLineItem>> FItems;
};

// The unit's process-wide state. Init and Final nest; the first Init creates it, the last Final frees it.
void InitEditorUtils(const TPlatform& Platform);
void FinalEditorUtils();
[[nodiscard]] int BoxClipboardFormat();       // 0 when no clipboard was given
[[nodiscard]] int RightArrowCursorSlot();     // -1 when not loaded
[[nodiscard]] int DragSelCopyCursorSlot();    // -1 when not loaded
[[nodiscard]] TDotLineCollection& DotLineCollection();

// A dotted line on pixel row Y from X1 to X2 inclusive, a dot at X1 and every other pixel after it.
void DrawDotLine(ICanvas& Canvas, int X1, int Y, TColor BkColor, TColor Color, int X2);

}  // namespace tesvarin
