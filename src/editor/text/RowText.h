// The bytes of one display row, the line break after them and the row's colouring-state text.
// The bytes are either a heap copy of the row's own or a view into a block of loaded file text that
// the row list keeps alive, so a loaded file costs no per-row allocation. A loaded big text holds
// tens of millions of rows, so the common row (shorter than half a gigabyte, no state text) packs
// all of it into a pointer and one word; a rare row keeps its bytes and state text in a box.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "highlighter/RowState.h"

namespace tesvarin {

class TRowText {
public:
  TRowText() = default;
  // A copy owns its bytes, keeps the break and the state text.
  TRowText(const TRowText& Other) : FWord(Other.FWord & BreakMask) {
    Assign(Other.View());
    SetState(Other.State());
  }
  TRowText(TRowText&& Other) noexcept : FData(Other.FData), FWord(Other.FWord) {
    Other.FData = nullptr;
    Other.FWord = 0;
  }
  TRowText& operator=(const TRowText& Other) {
    if (this != &Other) *this = TRowText(Other);
    return *this;
  }
  TRowText& operator=(TRowText&& Other) noexcept {
    if (this != &Other) {
      Release();
      FData = Other.FData;
      FWord = Other.FWord;
      Other.FData = nullptr;
      Other.FWord = 0;
    }
    return *this;
  }
  ~TRowText() { Release(); }

  [[nodiscard]] std::string_view View() const {
    if (!Boxed()) return {FData, FWord & SizeMask};
    return BoxView();
  }
  [[nodiscard]] int Size() const { return static_cast<int>(View().size()); }
  // A view into loaded text rather than a heap copy of its own.
  [[nodiscard]] bool IsView() const;

  // Copies the bytes (they may overlap this row's own); the break and the state text stay.
  void Assign(std::string_view S);
  // Points at bytes that outlive the row; the break and the state text stay.
  void SetView(const char* Data, size_t Size) {
    if (Size < BoxMark && !Boxed() && (FWord & OwnedBit) == 0) {
      FData = Size != 0 ? Data : nullptr;
      FWord = (FWord & BreakMask) | static_cast<uint32_t>(Size);
      return;
    }
    Rebuild(Data, Size, false, std::string(State()));
  }

  [[nodiscard]] TLineBreak Break() const { return static_cast<TLineBreak>((FWord & BreakMask) >> BreakShift); }
  void SetBreak(TLineBreak Value) { FWord = (FWord & ~BreakMask) | (static_cast<uint32_t>(Value) << BreakShift); }

  [[nodiscard]] std::string_view State() const { return Boxed() ? BoxState() : std::string_view(); }
  void SetState(std::string_view S);

private:
  struct TBox;
  static constexpr uint32_t SizeMask = (uint32_t{1} << 29) - 1;
  static constexpr uint32_t BoxMark = SizeMask;  // the size field of a boxed row
  static constexpr int BreakShift = 29;
  static constexpr uint32_t BreakMask = uint32_t{3} << BreakShift;
  static constexpr uint32_t OwnedBit = uint32_t{1} << 31;

  [[nodiscard]] bool Boxed() const { return (FWord & SizeMask) == BoxMark; }
  [[nodiscard]] std::string_view BoxView() const;
  [[nodiscard]] std::string_view BoxState() const;
  // Takes Data (a new[] block when Owned) and State, packed when they fit, boxed when not.
  void Rebuild(const char* Data, size_t Size, bool Owned, std::string State);
  void Release();

  const char* FData = nullptr;  /// the bytes, or the TBox of a boxed row
  uint32_t FWord = 0;           /// bits 0-28 size (BoxMark: boxed), 29-30 break, 31 FData is new[]
};

}  // namespace tesvarin
