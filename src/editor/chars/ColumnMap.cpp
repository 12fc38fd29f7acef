#include "editor/chars/ColumnMap.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "support/Sjis.h"

namespace tesvarin {

namespace {
TByteSet MakeDefaultDelimiters() {
  TByteSet S;
  S.IncludeRange(0x00, 0x2F).IncludeRange(0x3A, 0x40).IncludeRange(0x5B, 0x5E).Include(0x60);
  S.IncludeRange(0x7B, 0x80).IncludeRange(0xA0, 0xA5).IncludeRange(0xFD, 0xFF);
  return S;
}

size_t MapLimit(const TColumnSettings& S) { return S.WordWrap ? static_cast<size_t>(S.WrapByte + 3) : 1000; }

// The kind of the column a byte starts, a lead byte's being ckDbcs1; kept for the last delimiter
// set asked for, which seldom changes.
const std::array<uint8_t, 256>& ByteKinds(const TByteSet& Delimiters) {
  thread_local TByteSet For;
  thread_local std::array<uint8_t, 256> Kinds{};
  thread_local bool Made = false;
  if (!Made || !(For == Delimiters)) {
    for (int B = 0; B < 256; ++B) {
      const auto C = static_cast<unsigned char>(B);
      Kinds[C] = IsLeadByte(C) ? ckDbcs1 : Delimiters.Contains(C) ? ckDelimiter : ckSingle;
    }
    For = Delimiters;
    Made = true;
  }
  return Kinds;
}

}  // namespace

int TabFill(int Col, const TColumnSettings& S) {
  int Tab = S.TabSpaceCount > 0 ? S.TabSpaceCount : 1;
  int Fill = Tab - (Col % Tab) - 1;
  if (S.WordWrap && S.WrapByte > 0) {
    int WrapFill = S.WrapByte - (Col % S.WrapByte) - 1;
    if (WrapFill < Fill) Fill = WrapFill;
  }
  return Fill;
}

bool ExpandTabs(std::string_view Row, const TColumnSettings& Settings, size_t Limit, std::string& Out) {
  Out.clear();
  // Every byte gives at least one column, so a long row is read no further than Limit bytes.
  const std::string_view Head = Row.substr(0, Limit);
  size_t I = 0;
  while (I < Head.size() && Out.size() < Limit) {
    const size_t Tab = Head.find('\t', I);
    const size_t End = std::min(Tab == std::string_view::npos ? Head.size() : Tab, I + (Limit - Out.size()));
    Out.append(Head.data() + I, End - I);
    I = End;
    if (I >= Head.size() || Head[I] != '\t' || Out.size() >= Limit) break;
    Out.append(static_cast<size_t>(1 + TabFill(static_cast<int>(Out.size()), Settings)), ' ');
    ++I;
  }
  if (Out.size() > Limit) Out.resize(Limit);
  return I < Row.size();
}

const TByteSet& DefaultDelimiters() {
  static const TByteSet Set = MakeDefaultDelimiters();
  return Set;
}

void BuildColumnMap(std::string_view Row, const TColumnSettings& Settings, TColumnMap& Map) {
  const size_t Limit = MapLimit(Settings);
  // Without a tab every byte is one column (a lead byte cut off by the row's end two), so the map
  // is written byte by byte without branching on the kind of character. Only the bytes the map can
  // reach are looked at: wrapping a long line maps what is left of it again for every row.
  const size_t N = std::min(Row.size(), Limit);
  if (N == 0 || std::memchr(Row.data(), '\t', N) == nullptr) {
    const std::array<uint8_t, 256>& Kinds = ByteKinds(Settings.Delimiters);
    Map.resize(N + 1);
    uint8_t* const Out = Map.data();
    // A character at a time: Japanese text is mostly two-byte characters.
    size_t I = 0;
    while (I < N) {
      const uint8_t Kind = Kinds[static_cast<unsigned char>(Row[I])];
      Out[I] = Kind;
      if (Kind == ckDbcs1) {
        Out[I + 1] = ckDbcs2;
        I += 2;
      } else {
        ++I;
      }
    }
    Map.resize(I);  // N + 1 when a lead byte at the limit starts a character
    return;
  }
  Map.clear();
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
  // Most rows have no tab: one library scan tells.
  if (Last >= 0 && std::memchr(Map.data(), ckTabPad, static_cast<size_t>(Last) + 1) != nullptr)
    for (int C = 0; C <= Last; ++C)
      if (Map[static_cast<size_t>(C)] == ckTabPad) ++Pads;
  int Byte = Col - Pads;
  return Byte < RowLength ? Byte : RowLength;
}

// Without a tab a byte is a column, but for a lead byte cut off at the end, which takes two.
int TabFreeWidth(std::string_view Bytes) {
  if (Bytes.empty()) return 0;
  const bool CutLead = IsLeadByte(Bytes.back()) && IsCharStartFrom(Bytes, 0, Bytes.size() - 1);
  return static_cast<int>(Bytes.size()) + (CutLead ? 1 : 0);
}

int DisplayWidth(std::string_view Bytes, const TColumnSettings& Settings) {
  if (Bytes.empty()) return 0;
  if (std::memchr(Bytes.data(), '\t', Bytes.size()) == nullptr) return TabFreeWidth(Bytes);
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

void TRowColumns::Reset(std::string_view Row, const TColumnSettings& Settings) {
  FRow = Row;
  FSettings = Settings;
  FMapBuilt = false;
  FHasTab = !Row.empty() && std::memchr(Row.data(), '\t', Row.size()) != nullptr;
  if (FHasTab) {
    FWidth = static_cast<int>(Map().size());
    return;
  }
  // As BuildColumnMap: the bytes up to the limit, and the second column of a character begun at
  // the last of them.
  const size_t N = std::min(Row.size(), MapLimit(Settings));
  const bool LeadLast = N > 0 && IsLeadByte(Row[N - 1]) && IsCharStartFrom(Row, 0, N - 1);
  FWidth = static_cast<int>(N) + (LeadLast ? 1 : 0);
}

uint8_t TRowColumns::KindAt(int Col) const {
  if (Col < 0 || Col >= FWidth) return ckEnd;
  if (FHasTab) return Map()[static_cast<size_t>(Col)];
  const auto I = static_cast<size_t>(Col);
  if (I >= FRow.size() || !IsCharStartFrom(FRow, 0, I)) return ckDbcs2;
  const auto B = static_cast<unsigned char>(FRow[I]);
  if (IsLeadByte(B)) return ckDbcs1;
  return FSettings.Delimiters.Contains(B) ? ckDelimiter : ckSingle;
}

int TRowColumns::ByteOf(int Col) const {
  const int Length = static_cast<int>(FRow.size());
  if (FHasTab) return ColumnToByte(Map(), Col, Length);
  return std::clamp(Col, 0, Length);
}

const TColumnMap& TRowColumns::Map() const {
  if (!FMapBuilt) {
    BuildColumnMap(FRow, FSettings, FMap);
    FMapBuilt = true;
  }
  return FMap;
}

int ByteToColumn(std::string_view Row, int Index, const TColumnSettings& Settings) {
  if (Index <= 0) return 0;
  size_t End = static_cast<size_t>(Index) < Row.size() ? static_cast<size_t>(Index) : Row.size();
  return DisplayWidth(Row.substr(0, End), Settings);
}

}  // namespace tesvarin
