#include "editor/text/AttributeArray.h"

#include <algorithm>
#include <cstring>

namespace tesvarin {

void TEditorAttributeArray::Reset(std::string_view Source, const TColumnMap& Map) {
  FSource = Source;
  FMap = &Map;
  FPos = 1;
  FBytes = (Current() == ckEnd || Current() == ckTabPad) ? 0 : 1;
  FPadFree = Map.empty() || std::memchr(Map.data(), ckTabPad, Map.size()) == nullptr;
}

void TEditorAttributeArray::Next() {
  if (Current() == ckEnd) return;
  ++FPos;
  TColumnKind K = Current();
  if (K != ckEnd && K != ckTabPad) ++FBytes;
}

void TEditorAttributeArray::Prior() {
  if (FPos <= 1) return;
  TColumnKind K = Current();
  if (K != ckEnd && K != ckTabPad) --FBytes;
  --FPos;
}

void TEditorAttributeArray::PriorChar() {
  Prior();
  if (Current() == ckDbcs1) Prior();
}

void TEditorAttributeArray::MoveTo(int P) {
  // Cutting a line moves a whole row width at a time: without tab fill it is one step.
  if (FPadFree) {
    const int Length = MapLength();
    FPos = P > FPos ? std::min(P, Length + 1) : std::max(P, 1);
    FBytes = std::min(FPos, Length);
    return;
  }
  while (FPos < P && Current() != ckEnd) Next();
  while (FPos > P && FPos > 1) Prior();
}

std::string_view TEditorAttributeArray::Slice(int From, int Length) const {
  if (From < 0 || static_cast<size_t>(From) >= FSource.size()) return {};
  return FSource.substr(static_cast<size_t>(From), static_cast<size_t>(Length));
}

std::string_view TEditorAttributeArray::CurrentChar() const {
  switch (Current()) {
    case ckEnd: return {};
    case ckDbcs2: return Slice(FBytes - 2, 2);
    case ckDbcs1: return Slice(FBytes - 1, 2);
    default: return Slice(FBytes - 1, 1);
  }
}

std::string_view TEditorAttributeArray::NextChar() const {
  TEditorAttributeArray Copy = *this;
  Copy.Next();
  return Copy.CurrentChar();
}

}  // namespace tesvarin
