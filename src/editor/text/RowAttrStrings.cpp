#include "editor/text/RowAttrStrings.h"

namespace tesvarin {

namespace {
constexpr uint32_t StateMask1 = 0xFFFFFFFCu;  // everything but RowAttribute
constexpr uint32_t StateMask2 = 0x0000FFFFu;  // everything but RowMarks
}  // namespace

uint32_t TRowAttributeStringList::Field(int Index, bool Second, int Shift, uint32_t Mask) const {
  uint32_t W = Second ? Attribute2(Index) : Attribute(Index);
  return (W >> Shift) & Mask;
}

void TRowAttributeStringList::SetField(int Index, bool Second, int Shift, uint32_t Mask, uint32_t Value) {
  uint32_t W = Second ? Attribute2(Index) : Attribute(Index);
  W = (W & ~(Mask << Shift)) | ((Value & Mask) << Shift);
  if (Second)
    SetAttribute2(Index, W);
  else
    SetAttribute(Index, W);
}

void TRowAttributeStringList::SetRowAttribute(int Index, TRowAttribute Value) { SetField(Index, false, 0, 3, Value); }
TRowAttribute TRowAttributeStringList::PrevRowAttribute(int Index) const {
  return static_cast<TRowAttribute>(Field(Index, false, 2, 3));
}
void TRowAttributeStringList::SetPrevRowAttribute(int Index, TRowAttribute Value) {
  SetField(Index, false, 2, 3, Value);
}
int TRowAttributeStringList::BracketIndex(int Index) const {
  return static_cast<int>(Field(Index, false, 4, 0xF)) - 2;
}
void TRowAttributeStringList::SetBracketIndex(int Index, int Value) {
  SetField(Index, false, 4, 0xF, static_cast<uint32_t>(Value + 2));
}
int TRowAttributeStringList::ElementState(int Index) const { return static_cast<int>(Field(Index, false, 8, 0xFF)); }
void TRowAttributeStringList::SetElementState(int Index, int Value) {
  SetField(Index, false, 8, 0xFF, static_cast<uint32_t>(Value));
}
int TRowAttributeStringList::WrappedBytes(int Index) const { return static_cast<int>(Field(Index, false, 16, 0xFF)); }
void TRowAttributeStringList::SetWrappedBytes(int Index, int Value) {
  SetField(Index, false, 16, 0xFF, static_cast<uint32_t>(Value));
}
int TRowAttributeStringList::ExtraState(int Index) const { return static_cast<int>(Field(Index, false, 24, 0xFF)); }
void TRowAttributeStringList::SetExtraState(int Index, int Value) {
  SetField(Index, false, 24, 0xFF, static_cast<uint32_t>(Value));
}
int TRowAttributeStringList::WrappedKind(int Index) const { return static_cast<int>(Field(Index, true, 0, 0xFF)); }
void TRowAttributeStringList::SetWrappedKind(int Index, int Value) {
  SetField(Index, true, 0, 0xFF, static_cast<uint32_t>(Value));
}
int TRowAttributeStringList::PrevToken(int Index) const { return static_cast<int>(Field(Index, true, 8, 0xFF)); }
void TRowAttributeStringList::SetPrevToken(int Index, int Value) {
  SetField(Index, true, 8, 0xFF, static_cast<uint32_t>(Value));
}
uint16_t TRowAttributeStringList::RowMarks(int Index) const {
  return static_cast<uint16_t>(Field(Index, true, 16, 0xFFFF));
}
void TRowAttributeStringList::SetRowMarks(int Index, uint16_t Value) { SetField(Index, true, 16, 0xFFFF, Value); }

void TRowAttributeStringList::PackState(const TRowAttributeData& Data, uint32_t& Word1, uint32_t& Word2) {
  Word1 = ((Data.PrevRowAttribute & 3u) << 2) | ((static_cast<uint32_t>(Data.BracketIndex + 2) & 0xFu) << 4) |
          ((static_cast<uint32_t>(Data.ElementState) & 0xFFu) << 8) |
          ((static_cast<uint32_t>(Data.WrappedBytes) & 0xFFu) << 16) |
          ((static_cast<uint32_t>(Data.ExtraState) & 0xFFu) << 24);
  Word2 = static_cast<uint32_t>(Data.WrappedKind) | (static_cast<uint32_t>(Data.PrevToken) << 8);
}

TRowAttributeData TRowAttributeStringList::RowState(int Index) const {
  TRowAttributeData D;
  D.RowAttribute = RowAttribute(Index);
  D.PrevRowAttribute = PrevRowAttribute(Index);
  D.BracketIndex = BracketIndex(Index);
  D.ElementState = ElementState(Index);
  D.WrappedBytes = WrappedBytes(Index);
  D.ExtraState = ExtraState(Index);
  D.WrappedKind = static_cast<uint8_t>(WrappedKind(Index));
  D.PrevToken = static_cast<uint8_t>(PrevToken(Index));
  D.StateText = StateText(Index);
  return D;
}

void TRowAttributeStringList::SetRowState(int Index, const TRowAttributeData& Data) {
  uint32_t W1 = 0;
  uint32_t W2 = 0;
  PackState(Data, W1, W2);
  SetAttribute(Index, (Attribute(Index) & ~StateMask1) | W1);
  SetAttribute2(Index, (Attribute2(Index) & ~StateMask2) | W2);
  SetStateText(Index, Data.StateText);
}

void TRowAttributeStringList::ClearRowState(int Index) {
  // PrevRowAttribute stays: it is what the row before says, not a computed state.
  SetAttribute(Index, Attribute(Index) & 0xFu);
  SetAttribute2(Index, Attribute2(Index) & ~StateMask2);
  SetStateText(Index, {});
}

}  // namespace tesvarin
