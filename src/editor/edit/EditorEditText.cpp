#include "editor/edit/EditorEditText.h"

#include <algorithm>

#include "support/Sjis.h"

namespace tesvarin {

std::string InsertAt(std::string_view Row, int Byte, std::string_view S) {
  const size_t At = Byte > 0 ? static_cast<size_t>(Byte) : 0;
  std::string Text;
  Text.reserve(std::max(At, Row.size()) + S.size());
  if (At >= Row.size()) {
    Text.append(Row).append(At - Row.size(), ' ').append(S);
    return Text;
  }
  Text.append(Row.substr(0, At)).append(S).append(Row.substr(At));
  return Text;
}

int LeadingWhiteWidth(std::string_view Row, const TColumnSettings& Settings) {
  if (Row.empty()) return -1;
  size_t I = 0;
  while (I < Row.size()) {
    if (Row[I] == ' ' || Row[I] == '\t') {
      ++I;
    } else if (I + 1 < Row.size() && static_cast<unsigned char>(Row[I]) == 0x81 && Row[I + 1] == 0x40) {
      I += 2;
    } else {
      break;
    }
  }
  return DisplayWidth(Row.substr(0, I), Settings);
}

int LastCharStart(std::string_view Row) {
  size_t I = 0;
  size_t Last = 0;
  while (I < Row.size()) {
    Last = I;
    I += CharLength(Row, I);
  }
  return static_cast<int>(Last);
}

int CharWidthAt(const TColumnMap& Map, int Col) {
  const size_t Size = Map.size();
  size_t C = static_cast<size_t>(Col);
  if (C >= Size) return 1;
  if (Map[C] == ckDbcs1) return 2;
  size_t End = C + 1;
  while (End < Size && Map[End] == ckTabPad) ++End;
  return static_cast<int>(End - C);
}

TUnindentCut CutColumns(std::string_view Row, int Target, int Caret, const TColumnSettings& Settings) {
  const TColumnMap Map = ColumnMap(Row, Settings);
  TUnindentCut Cut;
  size_t I = 0;
  int Col = 0;
  while (I < Row.size()) {
    const int W = CharWidthAt(Map, Col);
    if (Col + W > Target) {
      Cut.Text.append(static_cast<size_t>(Target - Col), ' ');
      break;
    }
    const size_t Len = CharLength(Row, I);
    Cut.Text.append(Row.substr(I, Len));
    Col += W;
    I += Len;
  }
  Cut.CaretByte = static_cast<int>(Cut.Text.size());
  while (I < Row.size() && Col < Caret) {
    const int W = CharWidthAt(Map, Col);
    I += CharLength(Row, I);
    if (Col + W > Caret) Cut.Text.append(static_cast<size_t>(Col + W - Caret), ' ');
    Col += W;
  }
  Cut.Text.append(Row.substr(I));
  return Cut;
}

}  // namespace tesvarin

namespace tesvarin {

int64_t StoredLength(std::string_view S) {
  int64_t N = static_cast<int64_t>(S.size());
  for (size_t I = 0; I < S.size(); ++I) {
    if (S[I] == '\r' && (I + 1 >= S.size() || S[I + 1] != '\n')) ++N;
    else if (S[I] == '\n' && (I == 0 || S[I - 1] != '\r')) ++N;
  }
  return N;
}

}  // namespace tesvarin
