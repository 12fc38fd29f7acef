#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <vector>

#include "editor/chars/ColumnMap.h"
#include "editor/text/RowAttrStrings.h"
#include "editor/text/RowWrap.h"
#include "editor/text/SplitVector.h"
#include "editor/text/WrapOption.h"
#include "support/Exception.h"

namespace tesvarin {
namespace {

TEST(SplitVector, AgreesWithAPlainVectorUnderRandomEdits) {
  TSplitVector<int> Split;
  std::vector<int> Plain;
  std::mt19937 Rng(11);
  int Next = 0;
  for (int Step = 0; Step < 5000; ++Step) {
    int Size = static_cast<int>(Plain.size());
    int At = static_cast<int>(Rng() % static_cast<unsigned>(Size + 1));
    if (Rng() % 3 != 0 || Size == 0) {
      int Count = 1 + static_cast<int>(Rng() % 5);
      Split.InsertEmpty(At, Count);
      for (int I = 0; I < Count; ++I) Split[At + I] = Next;
      Plain.insert(Plain.begin() + At, static_cast<size_t>(Count), Next);
      ++Next;
    } else {
      int Count = std::min(1 + static_cast<int>(Rng() % 5), Size - std::min(At, Size - 1));
      At = std::min(At, Size - 1);
      Split.Delete(At, Count);
      Plain.erase(Plain.begin() + At, Plain.begin() + At + Count);
    }
    ASSERT_EQ(Split.Size(), static_cast<int>(Plain.size()));
    // A run from a random place is the elements that follow it, and stops at the gap or the end.
    if (!Plain.empty()) {
      const int From = static_cast<int>(Rng() % Plain.size());
      int Count = 0;
      const int* Run = Split.Run(From, Count);
      ASSERT_GE(Count, 1);
      ASSERT_LE(From + Count, Split.Size());
      for (int I = 0; I < Count; ++I) ASSERT_EQ(Run[I], Plain[static_cast<size_t>(From + I)]) << Step;
    }
  }
  for (int I = 0; I < Split.Size(); ++I) ASSERT_EQ(Split[I], Plain[static_cast<size_t>(I)]) << I;
  // The runs from the start cover every element: the part before the gap, then the rest.
  std::vector<int> Joined;
  for (int I = 0, Count = 0; I < Split.Size(); I += Count) {
    const int* Run = Split.Run(I, Count);
    Joined.insert(Joined.end(), Run, Run + Count);
  }
  ASSERT_EQ(Joined, Plain);
}

// A rebuild in place, front to back: each old element taken once in order, the new ones placed before
// those left. With the lead it needs the array keeps its room; a lead too small costs room, not order.
TEST(SplitVector, RestreamRebuildsInPlaceInOrder) {
  for (const int Lead : {4, 0}) {
    TSplitVector<int> Split;
    Split.InsertEmpty(0, 6);
    for (int I = 0; I < 6; ++I) Split[I] = I;
    Split.Delete(1, 1);  // the gap somewhere in the middle: 0 2 3 4 5
    const int Room = Split.Capacity();
    Split.BeginRestream(Lead);
    std::vector<int> Taken;
    // The first two old elements make three new ones each, the rest one each: four ahead at most.
    while (Split.HasNext()) {
      const int Old = Split.TakeNext();
      Taken.push_back(Old);
      const int Copies = Taken.size() <= 2 ? 3 : 1;
      for (int K = 0; K < Copies; ++K) Split.PutNext(Old * 10 + K);
    }
    EXPECT_EQ(Taken, (std::vector<int>{0, 2, 3, 4, 5}));
    std::vector<int> Got;
    for (int I = 0; I < Split.Size(); ++I) Got.push_back(Split[I]);
    EXPECT_EQ(Got, (std::vector<int>{0, 1, 2, 20, 21, 22, 30, 40, 50})) << Lead;
    if (Lead == 4) {
      EXPECT_LE(Split.Capacity(), std::max(Room, 5 + Lead));
    }
  }
}

TEST(RowAttributeStringList, PackedFieldsLeaveTheirNeighboursAlone) {
  TRowAttributeStringList Rows;
  Rows.Add("row");
  Rows.SetRowAttribute(0, raEof);
  Rows.SetBracketIndex(0, -2);
  Rows.SetElementState(0, 0x1AB);  // only the low byte survives
  Rows.SetWrappedBytes(0, 7);
  Rows.SetExtraState(0, 255);
  Rows.SetWrappedKind(0, 9);
  Rows.SetPrevToken(0, 200);
  Rows.SetRowMarks(0, 0x8001);
  EXPECT_EQ(Rows.RowAttribute(0), raEof);
  EXPECT_EQ(Rows.BracketIndex(0), -2);
  EXPECT_EQ(Rows.ElementState(0), 0xAB);
  EXPECT_EQ(Rows.WrappedBytes(0), 7);
  EXPECT_EQ(Rows.ExtraState(0), 255);
  EXPECT_EQ(Rows.WrappedKind(0), 9);
  EXPECT_EQ(Rows.PrevToken(0), 200);
  EXPECT_EQ(Rows.RowMarks(0), 0x8001);
  Rows.SetBracketIndex(0, 13);
  EXPECT_EQ(Rows.BracketIndex(0), 13);
  EXPECT_EQ(Rows.RowAttribute(0), raEof);
  EXPECT_EQ(Rows.RowMarks(0), 0x8001);
  EXPECT_EQ(Rows.Get(0), "row");
  EXPECT_THROW((void)Rows.Get(1), EListError);
  EXPECT_THROW(Rows.SetRowMarks(-1, 1), EListError);
}

// Only changes that can move a line start may invalidate remembered line starts: colouring
// states are stored on every repaint and must keep them.
TEST(RowAttributeStringList, LayoutVersionMovesOnlyWithTheLineLayout) {
  TRowAttributeStringList Rows;
  Rows.Add("a");
  Rows.Add("b");
  struct Case {
    const char* What;
    std::function<void()> Change;
    bool Moves;
  };
  const std::vector<Case> Cases = {
      {"row attribute to wrapped", [&] { Rows.SetRowAttribute(0, raWrapped); }, true},
      {"same row attribute again", [&] { Rows.SetRowAttribute(0, raWrapped); }, false},
      {"row attribute back", [&] { Rows.SetRowAttribute(0, raCrlf); }, true},
      {"colouring state", [&] { Rows.SetBracketIndex(0, 3); }, false},
      {"row marks", [&] { Rows.SetRowMarks(1, 4); }, false},
      {"row text", [&] { Rows.Put(1, "bb"); }, false},
      {"insertion", [&] { Rows.Insert(1, "c"); }, true},
      {"deletion", [&] { Rows.Delete(0); }, true},
      {"exchange", [&] { Rows.Exchange(0, 1); }, true},
      {"whole record", [&] { Rows.PutItem(0, TheStringItem{}); }, true},
      {"clear", [&] { Rows.Clear(); }, true},
  };
  for (const Case& C : Cases) {
    const uint64_t Before = Rows.LayoutVersion();
    C.Change();
    EXPECT_EQ(Rows.LayoutVersion() != Before, C.Moves) << C.What;
  }
}

TEST(ColumnMap, TabsAndDoubleByteCharacters) {
  TColumnSettings S;
  S.TabSpaceCount = 4;
  S.Delimiters = DefaultDelimiters();
  TColumnMap Map = ColumnMap("a\t\x82\xA0", S);
  ASSERT_GE(Map.size(), 6u);
  EXPECT_EQ(Map[0], ckSingle);
  EXPECT_EQ(Map[2], ckTabPad);
  EXPECT_EQ(Map[3], ckTabPad);
  EXPECT_EQ(Map[4], ckDbcs1);
  EXPECT_EQ(Map[5], ckDbcs2);
  EXPECT_EQ(ColumnToByte(Map, 4, 4), 2);
  EXPECT_EQ(ByteToColumn("a\t\x82\xA0", 2, S), 4);
  EXPECT_EQ(DisplayWidth("a\t\x82\xA0", S), 6);
}

TEST(WrapOption, ClampsAndNotifiesOnce) {
  TEditorWrapOption W;
  int Changes = 0;
  W.OnChange = TNotifyEvent::Lambda([&](TObject*) { ++Changes; });
  W.SetWrapByte(5);
  EXPECT_EQ(W.WrapByte(), 20);
  W.SetWrapByte(999);
  EXPECT_EQ(W.WrapByte(), 250);
  W.SetWrapByte(250);
  EXPECT_EQ(Changes, 2);
}

TEST(CutLine, AsciiAndADoubleByteCharacterAtTheEdge) {
  TEditorWrapOption W;
  W.SetWrapByte(80);
  W.SetLeading(false);
  W.SetWordBreak(false);
  W.SetFollowPunctuation(false);
  TColumnSettings S;
  S.WordWrap = true;
  S.WrapByte = 80;
  S.Delimiters = DefaultDelimiters();
  std::vector<int> Pieces;
  CutLine(std::string(100, 'a'), W, S, Pieces);
  EXPECT_EQ(Pieces, (std::vector<int>{80, 20}));
  CutLine(std::string(79, 'a') + "\x82\xA0" + "b", W, S, Pieces);
  ASSERT_GE(Pieces.size(), 2u);
  EXPECT_EQ(Pieces[0], 79);  // the character would straddle column 80
  EXPECT_EQ(Pieces[1], 3);
}

}  // namespace
}  // namespace tesvarin
