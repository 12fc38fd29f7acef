#include "editor/settings/EditorResources.h"

namespace tesvarin {

namespace {

struct TEditorResources {
  int InitCount = 0;
  int BoxFormat = 0;
  int RightArrowSlot = -1;
  int DragSelCopySlot = -1;
  std::unique_ptr<TDotLineCollection> DotLines;
};

TEditorResources& State() {
  static TEditorResources S;
  return S;
}

int LoadCursorIntoFreeSlot(ICursorTable& Cursors, std::string_view Resource) {
  int Slot = FindFreeCursorSlot(Cursors);
  if (Slot > 0) Cursors.LoadCursor(Slot, Resource);
  return Slot;
}

}  // namespace

int FindFreeCursorSlot(const ICursorTable& Cursors) {
  for (int Slot = 1; Slot <= ICursorTable::MaxSlot; ++Slot) {
    if (Cursors.IsDefaultCursor(Slot)) return Slot;
  }
  return -1;
}

const TDotLineItem& TDotLineCollection::Find(TColor Color, TColor BkColor) {
  for (const auto& Item : FItems) {
    if (Item->Color == Color && Item->BkColor == BkColor) return *Item;
  }
  auto Item = std::make_unique<TDotLineItem>(TDotLineItem{Color, BkColor, TImage(FScreenWidth, 1, BkColor)});
  for (int X = 0; X < FScreenWidth; X += 2) Item->Bitmap.SetPixel(X, 0, Color);
  FItems.push_back(std::move(Item));
  return *FItems.back();
}

void InitEditorResources(const TPlatform& Platform) {
  TEditorResources& S = State();
  if (S.InitCount++ > 0) return;
  S.DotLines = std::make_unique<TDotLineCollection>(Platform.ScreenWidth);
  if (Platform.Clipboard != nullptr) S.BoxFormat = Platform.Clipboard->RegisterFormat(BoxClipboardFormatName);
  if (Platform.Cursors != nullptr) {
    S.RightArrowSlot = LoadCursorIntoFreeSlot(*Platform.Cursors, "RightArrow");
    S.DragSelCopySlot = LoadCursorIntoFreeSlot(*Platform.Cursors, "DragSelCopy");
  }
}

void FinalEditorResources() {
  TEditorResources& S = State();
  if (S.InitCount == 0 || --S.InitCount > 0) return;
  S = TEditorResources{};
}

int BoxClipboardFormat() { return State().BoxFormat; }
int RightArrowCursorSlot() { return State().RightArrowSlot; }
int DragSelCopyCursorSlot() { return State().DragSelCopySlot; }

TDotLineCollection& DotLineCollection() {
  TEditorResources& S = State();
  // Drawing before the platform set the resources up still works, at a default screen width.
  if (!S.DotLines) S.DotLines = std::make_unique<TDotLineCollection>(TPlatform{}.ScreenWidth);
  return *S.DotLines;
}

}  // namespace tesvarin
