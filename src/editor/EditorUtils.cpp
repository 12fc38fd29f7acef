#include "editor/EditorUtils.h"

namespace tesvarin {

namespace {

// Distance from I back to the nearest character boundary, found without walking from the start: the
// byte before a run of lead-byte values always ends a character, so the run's parity decides.
bool StartsCharacter(std::string_view S, size_t I) {
  size_t J = I;
  while (J > 0 && IsLeadByte(S[J - 1])) --J;
  return ((I - J) % 2) == 0;
}

struct TEditorUtilsState {
  int InitCount = 0;
  int BoxFormat = 0;
  int RightArrowSlot = -1;
  int DragSelCopySlot = -1;
  std::unique_ptr<TDotLineCollection> DotLines;
};

TEditorUtilsState& State() {
  static TEditorUtilsState S;
  return S;
}

int LoadCursorIntoFreeSlot(ICursorTable& Cursors, std::string_view Resource) {
  int Slot = FindFreeCursorSlot(Cursors);
  if (Slot > 0) Cursors.LoadCursor(Slot, Resource);
  return Slot;
}

}  // namespace

bool IsDBCS1(std::string_view S, int I) {
  if (I < 0 || static_cast<size_t>(I) >= S.size()) return false;
  return IsLeadByte(S[static_cast<size_t>(I)]) && StartsCharacter(S, static_cast<size_t>(I));
}

bool IsDBCS2(std::string_view S, int I) {
  if (I < 1 || static_cast<size_t>(I) >= S.size()) return false;
  return IsDBCS1(S, I - 1);
}

unsigned char CharAt(std::string_view S, int I) {
  if (I < 0 || static_cast<size_t>(I) >= S.size()) return 0;
  return static_cast<unsigned char>(S[static_cast<size_t>(I)]);
}

int CountChar(std::string_view S, char C, int N) {
  int Limit = Min(N, static_cast<int>(S.size()));
  int Count = 0;
  for (int I = 0; I < Limit; ++I) {
    if (S[static_cast<size_t>(I)] == C) ++Count;
  }
  return Count;
}

bool ContainsChar(std::string_view Needle, std::string_view Set) {
  if (Needle.empty() || Needle.size() > Set.size()) return false;
  for (size_t I = 0; I < Set.size(); I += CharLength(Set, I)) {
    if (Set.compare(I, Needle.size(), Needle) == 0) return true;
  }
  return false;
}

void SplitLines(std::string_view Text, TStringList& Lines) {
  Lines.BeginUpdate();
  Lines.Clear();
  if (!Text.empty()) {
    int Breaks = CountChar(Text, '\n', static_cast<int>(Text.size()));
    if (Text.back() == '\n') --Breaks;
    for (int K = 0; K <= Breaks; ++K) Lines.Add(std::string());
    size_t I = 0;
    int K = 0;
    while (I < Text.size() && Text[I] != '\0') {
      size_t Start = I;
      while (I < Text.size() && Text[I] != '\0' && Text[I] != '\r' && Text[I] != '\n') ++I;
      std::string Line(Text.substr(Start, I - Start));
      if (K < Lines.Count()) {
        Lines.Put(K, std::move(Line));
      } else {
        Lines.Add(std::move(Line));
      }
      ++K;
      if (I < Text.size() && Text[I] == '\r') ++I;
      if (I < Text.size() && Text[I] == '\n') ++I;
    }
  }
  Lines.EndUpdate();
}

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

void InitEditorUtils(const TPlatform& Platform) {
  TEditorUtilsState& S = State();
  if (S.InitCount++ > 0) return;
  S.DotLines = std::make_unique<TDotLineCollection>(Platform.ScreenWidth);
  if (Platform.Clipboard != nullptr) S.BoxFormat = Platform.Clipboard->RegisterFormat(BoxClipboardFormatName);
  if (Platform.Cursors != nullptr) {
    S.RightArrowSlot = LoadCursorIntoFreeSlot(*Platform.Cursors, "RightArrow");
    S.DragSelCopySlot = LoadCursorIntoFreeSlot(*Platform.Cursors, "DragSelCopy");
  }
}

void FinalEditorUtils() {
  TEditorUtilsState& S = State();
  if (S.InitCount == 0 || --S.InitCount > 0) return;
  S = TEditorUtilsState{};
}

int BoxClipboardFormat() { return State().BoxFormat; }
int RightArrowCursorSlot() { return State().RightArrowSlot; }
int DragSelCopyCursorSlot() { return State().DragSelCopySlot; }

TDotLineCollection& DotLineCollection() {
  TEditorUtilsState& S = State();
  // Drawing before the platform set the unit up still works, at a default screen width.
  if (!S.DotLines) S.DotLines = std::make_unique<TDotLineCollection>(TPlatform{}.ScreenWidth);
  return *S.DotLines;
}

void DrawDotLine(ICanvas& Canvas, int X1, int Y, TColor BkColor, TColor Color, int X2) {
  if (X2 < X1) return;
  const TDotLineItem& Item = DotLineCollection().Find(Color, BkColor);
  int Width = Min(X2 - X1 + 1, Item.Bitmap.Width());
  Canvas.DrawImage(X1, Y, Item.Bitmap, 0, Width);
}

}  // namespace tesvarin
