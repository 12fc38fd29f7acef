// The row list with the bit fields of its two packed attribute words, and the scratch row list
// new rows are built in before they replace old ones.
#pragma once

#include <cstdint>

#include "highlighter/RowState.h"
#include "editor/text/RowStringList.h"

namespace tesvarin {

class TRowAttributeStringList : public TRowStringList, public IRowSource {
public:
  // Word 1: bits 0-1 RowAttribute, 2-3 PrevRowAttribute, 4-7 BracketIndex + 2, 8-15 ElementState,
  // 16-23 WrappedBytes, 24-31 ExtraState. Word 2: 0-7 WrappedKind, 8-15 PrevToken, 16-31 RowMarks.
  // Each setter leaves every other bit unchanged; bad indexes raise the list error.
  // The RowAttribute of a record already at hand, as a walk over many rows reads them.
  [[nodiscard]] static TRowAttribute RowAttributeOf(const TheStringItem& Item) {
    return static_cast<TRowAttribute>(Item.Attribute & 3);
  }
  [[nodiscard]] TRowAttribute RowAttribute(int Index) const { return RowAttributeOf(Item(Index)); }
  void SetRowAttribute(int Index, TRowAttribute Value);
  [[nodiscard]] TRowAttribute PrevRowAttribute(int Index) const;
  void SetPrevRowAttribute(int Index, TRowAttribute Value);
  [[nodiscard]] int BracketIndex(int Index) const;  // -2 .. 13; -2: state not computed
  void SetBracketIndex(int Index, int Value);
  [[nodiscard]] int ElementState(int Index) const;
  void SetElementState(int Index, int Value);
  [[nodiscard]] int WrappedBytes(int Index) const;
  void SetWrappedBytes(int Index, int Value);
  [[nodiscard]] int ExtraState(int Index) const;
  void SetExtraState(int Index, int Value);
  [[nodiscard]] int WrappedKind(int Index) const;
  void SetWrappedKind(int Index, int Value);
  [[nodiscard]] int PrevToken(int Index) const;
  void SetPrevToken(int Index, int Value);
  [[nodiscard]] uint16_t RowMarks(int Index) const;
  void SetRowMarks(int Index, uint16_t Value);

  // The unpacked state of a row (RowAttribute included), and storing one (RowAttribute untouched).
  [[nodiscard]] TRowAttributeData RowState(int Index) const;
  void SetRowState(int Index, const TRowAttributeData& Data);
  // Marks a row's state not computed: BracketIndex -2, the state bytes 0, StateText empty.
  void ClearRowState(int Index);

  // IRowSource
  [[nodiscard]] int RowCount() const override { return Count(); }
  [[nodiscard]] std::string_view RowText(int Row) const override { return RowView(Row); }
  [[nodiscard]] TRowAttribute RowAttributeOf(int Row) const override { return RowAttribute(Row); }

  // The words a state takes in a row, RowAttribute and RowMarks 0; used to compare states as stored.
  static void PackState(const TRowAttributeData& Data, uint32_t& Word1, uint32_t& Word2);

private:
  [[nodiscard]] uint32_t Field(int Index, bool Second, int Shift, uint32_t Mask) const;
  void SetField(int Index, bool Second, int Shift, uint32_t Mask, uint32_t Value);
};

// Scratch rows; the editing commands keep a byte position per row in Data.
class TEditorStringList : public TRowAttributeStringList {};

}  // namespace tesvarin
