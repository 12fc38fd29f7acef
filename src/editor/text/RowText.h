// The bytes of one display row: either its own heap copy or a view into a block of loaded file
// text that the row list keeps alive, so a loaded file costs no per-row allocation.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace tesvarin {

class TRowText {
public:
  TRowText() = default;
  TRowText(const TRowText& Other) { Assign(Other.View()); }
  TRowText(TRowText&& Other) noexcept { Steal(Other); }
  TRowText& operator=(const TRowText& Other) {
    if (this != &Other) Assign(Other.View());
    return *this;
  }
  TRowText& operator=(TRowText&& Other) noexcept {
    if (this != &Other) {
      Release();
      Steal(Other);
    }
    return *this;
  }
  ~TRowText() { Release(); }

  [[nodiscard]] std::string_view View() const { return {FData, FSize}; }
  [[nodiscard]] int Size() const { return static_cast<int>(FSize); }
  // A view into loaded text rather than a heap copy of its own.
  [[nodiscard]] bool IsView() const { return FData != nullptr && !FOwned; }

  // Copies the bytes (they may overlap this row's own).
  void Assign(std::string_view S) {
    char* Copy = nullptr;
    if (!S.empty()) {
      Copy = new char[S.size()];
      std::memcpy(Copy, S.data(), S.size());
    }
    Release();
    FData = Copy;
    FSize = static_cast<uint32_t>(S.size());
    FOwned = Copy != nullptr;
  }
  // Points at bytes that outlive the row.
  void SetView(const char* Data, size_t Size) {
    Release();
    FData = Size != 0 ? Data : nullptr;
    FSize = static_cast<uint32_t>(Size);
  }

private:
  void Release() {
    if (FOwned) delete[] FData;
    FData = nullptr;
    FSize = 0;
    FOwned = false;
  }
  void Steal(TRowText& Other) {
    FData = Other.FData;
    FSize = Other.FSize;
    FOwned = Other.FOwned;
    Other.FData = nullptr;
    Other.FSize = 0;
    Other.FOwned = false;
  }

  const char* FData = nullptr;
  uint32_t FSize = 0;
  bool FOwned = false;  /// FData came from new[] and is freed with the row
};

}  // namespace tesvarin
