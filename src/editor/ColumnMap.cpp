#include "editor/ColumnMap.h"

#include "support/Sjis.h"

namespace tesvarin {

namespace {
TByteSet MakeDefaultDelimiters() {
  TByteSet S;
  S.IncludeRange(0x00, 0x2F).IncludeRange(0x3A, 0x40).IncludeRange(0x5B, 0x5E).Include(0x60);
  S.IncludeRange(0x7B, 0x80).IncludeRange(0xA0, 0xA5).IncludeRange(0xFD, 0xFF);
  return S;
}

// Fill columns after a tab standing at column Col (0-based).
int TabFill(int Col, const TColumnSettings& S) {
  int Tab = S.TabSpaceCount > 0 ? S.TabSpaceCount : 1;
  int Fill = Tab - (Col % Tab) - 1;
  if (S.WordWrap && S.WrapByte > 0) {
    int WrapFill = S.WrapByte - (Col % S.WrapByte) - 1;
    if (WrapFill < Fill) Fill = WrapFill;
  }
  return Fill;
}
}  // namespace

const TByteSet& DefaultDelimiters() {
  static const TByteSet Set = MakeDefaultDelimiters();
  return Set;
}

void BuildColumnMap(std::string_view Row, const TColumnSettings& Settings, TColumnMap& Map) {
  Map.clear();
  const size_t Limit = Settings.WordWrap ? static_cast<size_t>(Settings.WrapByte + 3) : 1000;
  size_t I = 0;
  while (I < Row.size() && Map.size() < Limit) {
    unsigned char B = static_cast<unsigned char>(Row[I]);
    if (IsLeadByte(B)) {
      Map.push_back(ckDbcs1);
      Map.push_back(ckDbcs2);
      I += 2;
      continue;
    }
    int Col = static_cast<int>(Map.size());
    Map.push_back(Settings.Delimiters.Contains(B) ? ckDelimiter : ckSingle);
    if (B == '\t') Map.append(static_cast<size_t>(TabFill(Col, Settings)), ckTabPad);
    ++I;
  }
}

TColumnMap ColumnMap(std::string_view Row, const TColumnSettings& Settings) {
  TColumnMap Map;
  BuildColumnMap(Row, Settings, Map);
  return Map;
}

int ColumnToByte(const TColumnMap& Map, int Col, int RowLength) {
  if (Col < 0) return 0;
  int Pads = 0;
  int Last = Col < static_cast<int>(Map.size()) ? Col : static_cast<int>(Map.size()) - 1;
  for (int C = 0; C <= Last; ++C)
    if (Map[static_cast<size_t>(C)] == ckTabPad) ++Pads;
  int Byte = Col - Pads;
  return Byte < RowLength ? Byte : RowLength;
}

int DisplayWidth(std::string_view Bytes, const TColumnSettings& Settings) {
  int Width = 0;
  size_t I = 0;
  while (I < Bytes.size()) {
    unsigned char B = static_cast<unsigned char>(Bytes[I]);
    if (IsLeadByte(B)) {
      Width += 2;
      I += 2;
      continue;
    }
    if (B == '\t') Width += TabFill(Width, Settings);
    ++Width;
    ++I;
  }
  return Width;
}

int ByteToColumn(std::string_view Row, int Index, const TColumnSettings& Settings) {
  if (Index <= 0) return 0;
  size_t End = static_cast<size_t>(Index) < Row.size() ? static_cast<size_t>(Index) : Row.size();
  return DisplayWidth(Row.substr(0, End), Settings);
}

}  // namespace tesvarin
