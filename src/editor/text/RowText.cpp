#include "editor/text/RowText.h"

#include <utility>

namespace tesvarin {

struct TRowText::TBox {
  const char* Data = nullptr;
  size_t Size = 0;
  bool Owned = false;  /// Data came from new[]
  std::string State;

  TBox(const char* D, size_t S, bool O, std::string St) : Data(D), Size(S), Owned(O), State(std::move(St)) {}
  TBox(const TBox&) = delete;
  TBox& operator=(const TBox&) = delete;
  ~TBox() {
    if (Owned) delete[] Data;
  }
};

std::string_view TRowText::BoxView() const {
  const auto* B = reinterpret_cast<const TBox*>(FData);
  return {B->Data, B->Size};
}

std::string_view TRowText::BoxState() const { return reinterpret_cast<const TBox*>(FData)->State; }

bool TRowText::IsView() const {
  if (Boxed()) {
    const auto* B = reinterpret_cast<const TBox*>(FData);
    return B->Data != nullptr && !B->Owned;
  }
  return FData != nullptr && (FWord & OwnedBit) == 0;
}

void TRowText::Assign(std::string_view S) {
  char* Copy = nullptr;
  if (!S.empty()) {
    Copy = new char[S.size()];
    std::memcpy(Copy, S.data(), S.size());
  }
  if (S.size() < BoxMark && !Boxed()) {
    Release();
    FData = Copy;
    FWord |= static_cast<uint32_t>(S.size()) | (Copy != nullptr ? OwnedBit : 0);
    return;
  }
  Rebuild(Copy, S.size(), Copy != nullptr, std::string(State()));
}

void TRowText::SetState(std::string_view S) {
  if (!Boxed()) {
    if (!S.empty()) Rebuild(FData, FWord & SizeMask, (FWord & OwnedBit) != 0, std::string(S));
    return;
  }
  auto* B = reinterpret_cast<TBox*>(const_cast<char*>(FData));
  if (!S.empty())
    B->State.assign(S);
  else
    Rebuild(B->Data, B->Size, B->Owned, {});
}

void TRowText::Rebuild(const char* Data, size_t Size, bool Owned, std::string State) {
  // The old form is freed but for the bytes carried over into the new one.
  if (Boxed()) {
    auto* Old = reinterpret_cast<TBox*>(const_cast<char*>(FData));
    if (Old->Data == Data) Old->Owned = false;
    delete Old;
  } else if ((FWord & OwnedBit) != 0 && FData != Data) {
    delete[] FData;
  }
  const uint32_t Break = FWord & BreakMask;
  if (State.empty() && Size < BoxMark) {
    FData = Size != 0 ? Data : nullptr;
    FWord = Break | static_cast<uint32_t>(Size) | (Owned && FData != nullptr ? OwnedBit : 0);
    if (Owned && FData == nullptr) delete[] Data;
    return;
  }
  FData = reinterpret_cast<const char*>(new TBox(Data, Size, Owned, std::move(State)));
  FWord = Break | BoxMark;
}

void TRowText::Release() {
  if (Boxed())
    delete reinterpret_cast<TBox*>(const_cast<char*>(FData));
  else if ((FWord & OwnedBit) != 0)
    delete[] FData;
  FData = nullptr;
  FWord &= BreakMask;
}

}  // namespace tesvarin
