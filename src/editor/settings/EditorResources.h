// The editor's process-wide resources: the box clipboard format, the two pointer shapes it loads and
// the cache of dotted-line images the painter draws underlines with.
#pragma once

#include <memory>
#include <vector>

#include "platform/Platform.h"

namespace tesvarin {

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

// Init and Final nest; the first Init creates the resources, the last Final frees them.
void InitEditorResources(const TPlatform& Platform);
void FinalEditorResources();
[[nodiscard]] int BoxClipboardFormat();       // 0 when no clipboard was given
[[nodiscard]] int RightArrowCursorSlot();     // -1 when not loaded
[[nodiscard]] int DragSelCopyCursorSlot();    // -1 when not loaded
[[nodiscard]] TDotLineCollection& DotLineCollection();

}  // namespace tesvarin
