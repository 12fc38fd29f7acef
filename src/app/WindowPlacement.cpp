#include "app/WindowPlacement.h"

#include <algorithm>
#include <cstdint>

namespace tesvarin {

namespace {

// Saved values may be anything an int holds: the arithmetic is 64-bit.
int64_t Overlap(int64_t Start1, int64_t Length1, int64_t Start2, int64_t Length2) {
  const int64_t Low = std::max(Start1, Start2);
  const int64_t High = std::min(Start1 + std::max<int64_t>(Length1, 0), Start2 + std::max<int64_t>(Length2, 0));
  return std::max<int64_t>(High - Low, 0);
}

int64_t OverlapArea(const TBounds& A, const TBounds& B) {
  return Overlap(A.Left, A.Width, B.Left, B.Width) * Overlap(A.Top, A.Height, B.Top, B.Height);
}

// One axis: the length clamped to the room, then the start moved into it.
void FitAxis(int& Start, int& Length, int AreaStart, int AreaLength, int MinLength) {
  const int64_t Room = std::max(AreaLength, 0);
  const int64_t Len = std::clamp<int64_t>(Length, std::min<int64_t>(MinLength, Room), Room);
  const int64_t At = std::clamp<int64_t>(Start, AreaStart, AreaStart + Room - Len);
  Start = static_cast<int>(At);
  Length = static_cast<int>(Len);
}

}  // namespace

TBounds FirstStartBounds(const TBounds& Area) {
  TBounds B{0, 0, std::min(FirstStartWidth, Area.Width), std::min(FirstStartHeight, Area.Height)};
  B.Left = static_cast<int>(Area.Left + (static_cast<int64_t>(Area.Width) - B.Width) / 2);
  B.Top = static_cast<int>(Area.Top + (static_cast<int64_t>(Area.Height) - B.Height) / 2);
  return B;
}

TBounds FitInArea(const TBounds& Bounds, const TBounds& Area) {
  TBounds B = Bounds;
  FitAxis(B.Left, B.Width, Area.Left, Area.Width, MinWindowWidth);
  FitAxis(B.Top, B.Height, Area.Top, Area.Height, MinWindowHeight);
  return B;
}

TBounds FitOnScreens(const TBounds& Bounds, const std::vector<TBounds>& Areas) {
  if (Areas.empty()) return Bounds;
  const TBounds* Best = &Areas.front();
  int64_t BestOverlap = 0;
  for (const TBounds& A : Areas) {
    const int64_t O = OverlapArea(Bounds, A);
    if (O > BestOverlap) {
      BestOverlap = O;
      Best = &A;
    }
  }
  return FitInArea(Bounds, *Best);
}

}  // namespace tesvarin
