// Column maps, display widths and the row columns the caret rules read, on random rows with and
// without tabs, against a plain walk by character.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "editor/chars/ColumnMap.h"
#include "support/Sjis.h"

namespace tesvarin {
namespace {

int TabFillOracle(int Col, const TColumnSettings& S) {
  const int Tab = S.TabSpaceCount > 0 ? S.TabSpaceCount : 1;
  int Fill = Tab - Col % Tab - 1;
  if (S.WordWrap && S.WrapByte > 0) Fill = std::min(Fill, S.WrapByte - Col % S.WrapByte - 1);
  return Fill;
}

// One kind per column, character by character, up to the limit.
TColumnMap MapOracle(std::string_view Row, const TColumnSettings& S) {
  const size_t Limit = S.WordWrap ? static_cast<size_t>(S.WrapByte + 3) : 1000;
  TColumnMap Map;
  for (size_t I = 0; I < Row.size() && Map.size() < Limit;) {
    const auto B = static_cast<unsigned char>(Row[I]);
    if (IsLeadByte(B)) {
      Map.push_back(ckDbcs1);
      Map.push_back(ckDbcs2);
      I += 2;
      continue;
    }
    const int Col = static_cast<int>(Map.size());
    Map.push_back(S.Delimiters.Contains(B) ? ckDelimiter : ckSingle);
    if (B == '\t') Map.append(static_cast<size_t>(TabFillOracle(Col, S)), ckTabPad);
    ++I;
  }
  return Map;
}

int WidthOracle(std::string_view Bytes, const TColumnSettings& S) {
  int Width = 0;
  for (size_t I = 0; I < Bytes.size();) {
    if (IsLeadByte(Bytes[I])) {
      Width += 2;
      I += 2;
      continue;
    }
    if (Bytes[I] == '\t') Width += TabFillOracle(Width, S);
    ++Width;
    ++I;
  }
  return Width;
}

struct TRandomRows {
  std::mt19937 Rng{17};
  TColumnSettings Settings() {
    TColumnSettings S;
    S.Delimiters = DefaultDelimiters();
    S.TabSpaceCount = static_cast<int>(Rng() % 9);
    S.WordWrap = Rng() % 2 == 0;
    S.WrapByte = 4 + static_cast<int>(Rng() % 30);
    return S;
  }
  // Lead bytes (also as trail bytes and at the very end), delimiters, half-width kana, and a tab
  // in some rows; long enough to reach the map's limit with wrap on.
  std::string Row() {
    static const std::string Plain = "ab \x81\x9f\xe0\x40\xa0\xb1.\\";
    const bool Tabs = Rng() % 3 == 0;
    std::string R(Rng() % 60, ' ');
    for (char& C : R) C = Tabs && Rng() % 6 == 0 ? '\t' : Plain[Rng() % Plain.size()];
    return R;
  }
};

TEST(ColumnMap, MapsAndWidthsAgreeWithTheWalkByCharacter) {
  TRandomRows Random;
  for (int Round = 0; Round < 3000; ++Round) {
    const TColumnSettings S = Random.Settings();
    const std::string Row = Random.Row();
    ASSERT_EQ(ColumnMap(Row, S), MapOracle(Row, S)) << Round;
    for (size_t N = 0; N <= Row.size(); ++N)
      ASSERT_EQ(DisplayWidth(std::string_view(Row).substr(0, N), S), WidthOracle(Row.substr(0, N), S)) << Round;
    // The settings are asked for exactly when a tab comes before the byte.
    for (int Index = -1; Index <= static_cast<int>(Row.size()) + 1; ++Index) {
      bool Asked = false;
      const int Col = ByteToColumnWith(Row, Index, [&] {
        Asked = true;
        return S;
      });
      ASSERT_EQ(Col, ByteToColumn(Row, Index, S)) << Round << " byte " << Index;
      const size_t End = static_cast<size_t>(std::clamp(Index, 0, static_cast<int>(Row.size())));
      ASSERT_EQ(Asked, Row.substr(0, End).find('\t') != std::string::npos) << Round << " byte " << Index;
    }
  }
}

// Width, kinds and bytes answered from the bytes must be the map's, on and past both ends.
TEST(ColumnMap, RowColumnsAnswerAsTheMap) {
  TRandomRows Random;
  TRowColumns Columns;
  for (int Round = 0; Round < 3000; ++Round) {
    const TColumnSettings S = Random.Settings();
    const std::string Row = Random.Row();
    Columns.Reset(Row, S);
    const TColumnMap Map = MapOracle(Row, S);
    ASSERT_EQ(Columns.Width(), static_cast<int>(Map.size())) << Round;
    for (int Col = -2; Col <= static_cast<int>(Map.size()) + 2; ++Col) {
      const uint8_t Kind = Col >= 0 && Col < static_cast<int>(Map.size()) ? Map[static_cast<size_t>(Col)] : static_cast<uint8_t>(ckEnd);
      ASSERT_EQ(Columns.KindAt(Col), Kind) << Round << " col " << Col;
      ASSERT_EQ(Columns.ByteOf(Col), ColumnToByte(Map, Col, static_cast<int>(Row.size()))) << Round << " col " << Col;
    }
    ASSERT_EQ(Columns.Map(), Map);
  }
}

}  // namespace
}  // namespace tesvarin
