// A column cursor over a row and its column map, used to find where a line is cut into rows.
#pragma once

#include <string>
#include <string_view>

#include "editor/chars/ColumnMap.h"

namespace tesvarin {

class TEditorAttributeArray {
public:
  // Pos counts columns up to and including the current one (1 after Reset); Bytes counts the bytes
  // of Source up to and including the current column's byte (a tab fill column adds none).
  void Reset(std::string_view Source, const TColumnMap& Map);
  void Next();      // nothing at the end
  void Prior();     // nothing at Pos 1
  void PriorChar();  // Prior, and once more off a lead-byte column: a character is left whole
  void MoveTo(int P);

  [[nodiscard]] int Pos() const { return FPos; }
  [[nodiscard]] int Bytes() const { return FBytes; }
  [[nodiscard]] TColumnKind Current() const { return KindAt(FPos); }
  [[nodiscard]] int MapLength() const { return static_cast<int>(FMap->size()); }
  // The character whose last column is the cursor (empty at the end).
  [[nodiscard]] std::string_view CurrentChar() const;
  // The character one step further; the cursor stays.
  [[nodiscard]] std::string_view NextChar() const;

private:
  [[nodiscard]] TColumnKind KindAt(int P) const {
    return P >= 1 && P <= MapLength() ? static_cast<TColumnKind>((*FMap)[static_cast<size_t>(P - 1)]) : ckEnd;
  }
  [[nodiscard]] std::string_view Slice(int From, int Length) const;

  std::string_view FSource;
  const TColumnMap* FMap = nullptr;
  int FPos = 1;
  int FBytes = 0;
  bool FPadFree = true;  // no tab fill column: every column is a byte, so Bytes follows Pos
};

}  // namespace tesvarin
