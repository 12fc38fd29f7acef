#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "editor/FakeEditorView.h"
#include "editor/text/EditorScreenStrings.h"
#include "editor/text/EditorStrings.h"
#include "editor/text/LineScan.h"
#include "editor/text/RowText.h"
#include "editor/text/SplitVector.h"
#include "editor/text/TextBlock.h"
#include "support/Exception.h"

namespace tesvarin {
namespace {

void ExpectRow(const TRowText& T, std::string_view Bytes, TLineBreak Break, std::string_view State, bool View) {
  EXPECT_EQ(T.View(), Bytes);
  EXPECT_EQ(T.Size(), static_cast<int>(Bytes.size()));
  EXPECT_EQ(T.Break(), Break);
  EXPECT_EQ(T.State(), State);
  EXPECT_EQ(T.IsView(), View);
}

TEST(RowText, BytesBreakAndStateTextStayApartInBothForms) {
  const std::string Loaded = "loaded \x82\xA0 text";
  TRowText T;
  T.SetView(Loaded.data(), Loaded.size());
  T.SetBreak(lbLf);
  ExpectRow(T, Loaded, lbLf, "", true);
  // A state text boxes the row; the view and the break are untouched, and taking it away unboxes.
  T.SetState("<!--");
  ExpectRow(T, Loaded, lbLf, "<!--", true);
  EXPECT_EQ(T.View().data(), Loaded.data());
  T.SetState("/*");
  ExpectRow(T, Loaded, lbLf, "/*", true);
  // A copy owns its bytes and keeps everything else.
  TRowText Copy(T);
  ExpectRow(Copy, Loaded, lbLf, "/*", false);
  EXPECT_NE(Copy.View().data(), Loaded.data());
  T.SetState("");
  ExpectRow(T, Loaded, lbLf, "", true);
  // Own bytes from a piece of themselves, boxed and packed.
  Copy.Assign(Copy.View().substr(7));
  ExpectRow(Copy, "\x82\xA0 text", lbLf, "/*", false);
  Copy.SetState({});
  Copy.Assign(Copy.View().substr(0, 2));
  ExpectRow(Copy, "\x82\xA0", lbLf, "", false);
  Copy.SetBreak(lbCr);
  Copy.SetView(Loaded.data(), 6);
  ExpectRow(Copy, "loaded", lbCr, "", true);
  Copy.Assign({});
  ExpectRow(Copy, "", lbCr, "", false);
  // A move leaves an empty row behind.
  TRowText Moved(std::move(T));
  ExpectRow(Moved, Loaded, lbLf, "", true);
  ExpectRow(T, "", lbCrLf, "", false);  // NOLINT(bugprone-use-after-move): moved-from is empty by contract
  T = std::move(Moved);
  ExpectRow(T, Loaded, lbLf, "", true);
}

TEST(RowText, ARowTooLongForThePackedSizeKeepsItsLength) {
  // Mapped, never touched: the row only views it.
  const size_t Long = (size_t{1} << 29) + 3;
  TTextBlock Block = NewTextBlock(Long);
  TRowText T;
  T.SetBreak(lbCr);
  T.SetView(Block.get(), Long);
  EXPECT_EQ(T.View().size(), Long);
  EXPECT_EQ(T.View().data(), Block.get());
  EXPECT_TRUE(T.IsView());
  EXPECT_EQ(T.Break(), lbCr);
  T.SetState("s");
  EXPECT_EQ(T.View().size(), Long);
  T.SetState("");
  T.SetView(Block.get() + 5, 10);
  ExpectRow(T, std::string_view(Block.get() + 5, 10), lbCr, "", true);
}

// The lines a byte-by-byte walk finds: piece, kind, whether it holds a tab.
std::vector<std::tuple<std::string, int, bool>> ReferenceLines(std::string_view Text) {
  std::vector<std::tuple<std::string, int, bool>> Out;
  size_t Start = 0;
  for (size_t I = 0; I < Text.size(); ++I) {
    if (Text[I] != '\r' && Text[I] != '\n') continue;
    const int Kind = Text[I] == '\n' ? 2 : (I + 1 < Text.size() && Text[I + 1] == '\n' ? 0 : 1);
    const std::string_view Piece = Text.substr(Start, I - Start);
    Out.emplace_back(Piece, Kind, Piece.find('\t') != std::string_view::npos);
    if (Kind == 0) ++I;
    Start = I + 1;
  }
  const std::string_view Last = Text.substr(Start);
  Out.emplace_back(Last, -1, Last.find('\t') != std::string_view::npos);
  return Out;
}

// Read to its end, or to its first Ctrl+Z as a loaded file is (which End then gives).
template <bool Eof>
std::vector<std::tuple<std::string, int, bool>> ReadLines(std::string_view Text, size_t& Size) {
  std::vector<std::tuple<std::string, int, bool>> Got;
  TLineReader Reader(Text);
  std::string_view Line;
  int Kind = 0;
  bool Tab = false;
  while (Reader.Next<true, Eof>(Line, Kind, Tab)) Got.emplace_back(Line, Kind, Tab);
  Size = static_cast<size_t>(Reader.End() - Text.data());
  return Got;
}

TEST(LineReader, FindsTheBreaksAndTabsAByteWalkFinds) {
  std::mt19937 Rng(5);
  const char Bytes[] = {'a', '\r', '\n', '\t', '\0', '\x82', '\xA0', ' ', 'z', '\x1A'};
  for (int Round = 0; Round < 400; ++Round) {
    std::string Text;
    const int N = static_cast<int>(Rng() % 90);
    // Mostly long runs without breaks, so breaks fall on every place of a sixteen-byte block.
    for (int I = 0; I < N; ++I) Text.push_back(Bytes[Rng() % 4 == 0 ? Rng() % 10 : (Rng() % 2 ? 0 : 6)]);
    size_t Size = 0;
    const auto Got = ReadLines<false>(Text, Size);
    ASSERT_EQ(Got, ReferenceLines(Text)) << Round;
    ASSERT_EQ(Size, Text.size());
    const size_t Eof = std::min(Text.find('\x1A'), Text.size());
    ASSERT_EQ(ReadLines<true>(Text, Size), ReferenceLines(std::string_view(Text).substr(0, Eof))) << Round;
    ASSERT_EQ(Size, Eof) << Round;
    std::vector<std::tuple<std::string, int, bool>> Plain;
    ForEachLine(Text, [&](std::string_view Piece, int K) { Plain.emplace_back(Piece, K, false); });
    ASSERT_EQ(Plain.size(), Got.size());
    for (size_t I = 0; I < Got.size(); ++I) {
      EXPECT_EQ(std::get<0>(Plain[I]), std::get<0>(Got[I]));
      EXPECT_EQ(std::get<1>(Plain[I]), std::get<1>(Got[I]));
    }
  }
}

TEST(SplitVector, AppendBuildsInPlaceWhereverTheGapIs) {
  TSplitVector<int> Split;
  std::vector<int> Plain;
  std::mt19937 Rng(3);
  for (int Step = 0; Step < 300; ++Step) {
    const int Size = Split.Size();
    if (Rng() % 2 == 0 && Size > 0) {
      // Leaves the gap in the middle for the next append to move.
      const int At = static_cast<int>(Rng() % static_cast<unsigned>(Size));
      Split.InsertEmpty(At, 1);
      Split[At] = -Step;
      Plain.insert(Plain.begin() + At, -Step);
    }
    const int Count = static_cast<int>(Rng() % 40);
    const int Spare = static_cast<int>(Rng() % 8);
    Split.Append(Count, Spare, [&](int& Slot, int K) {
      EXPECT_EQ(Slot, 0);
      Slot = Step * 100 + K;
    });
    for (int K = 0; K < Count; ++K) Plain.push_back(Step * 100 + K);
    ASSERT_EQ(Split.Size(), static_cast<int>(Plain.size()));
    ASSERT_GE(Split.Capacity(), Split.Size());
  }
  for (int I = 0; I < Split.Size(); ++I) ASSERT_EQ(Split[I], Plain[static_cast<size_t>(I)]) << I;
}

struct TLoadCase {
  bool WordBreak;
  bool FollowRetMark;
  bool Leading;
  int WrapByte;
};

// Whole lines of characters, tabs and breaks of every kind; some lines far past the wrap width.
std::string RandomFileText(std::mt19937& Rng) {
  static const char* const Pieces[] = {"a",    "word ", "\t",       "\x82\xA0", "\x81\x42", "\x81\x75",
                                       "\xB1", ",",     "\x88\x9F", "xyz",      "\x81\x76"};
  static const char* const Breaks[] = {"\r\n", "\n", "\r"};
  std::string S;
  const int Lines = 1 + static_cast<int>(Rng() % 30);
  for (int L = 0; L < Lines; ++L) {
    const int Chars = Rng() % 4 == 0 ? static_cast<int>(Rng() % 160) : static_cast<int>(Rng() % 12);
    for (int I = 0; I < Chars; ++I) S += Pieces[Rng() % 11];
    if (L + 1 < Lines || Rng() % 2 == 0) S += Breaks[Rng() % 3];
  }
  return S;
}

// A row store as the editor holds it: rows, their lines and a view that hears of changes.
struct TRowStore {
  TEditorScreenStrings Rows;
  FakeEditorView View;
  TEditorStrings Lines{Rows, &View};
  explicit TRowStore(int WrapByte) {
    Rows.AttachEditor(View);
    Rows.WrapOption().SetWrapByte(WrapByte);
  }
};

// Two stores hold the same rows: bytes, attributes and the break of each row that ends a line.
::testing::AssertionResult SameRows(const TEditorScreenStrings& Got, const TEditorScreenStrings& Want) {
  if (Got.Count() != Want.Count()) {
    return ::testing::AssertionFailure() << Got.Count() << " rows, want " << Want.Count();
  }
  for (int I = 0; I < Got.Count(); ++I) {
    const bool Same = Got.RowView(I) == Want.RowView(I) && Got.Attribute(I) == Want.Attribute(I) &&
                      Got.Attribute2(I) == Want.Attribute2(I) &&
                      (Want.RowAttribute(I) != raCrlf || Got.LineBreak(I) == Want.LineBreak(I));
    if (!Same) return ::testing::AssertionFailure() << "row " << I << " differs";
  }
  return ::testing::AssertionSuccess();
}

// Loading with word wrap on makes the rows that loading without it and then wrapping makes.
TEST(RowStoreLoad, CutsRowsAsWrappingAfterwardsWould) {
  std::mt19937 Rng(17);
  const TLoadCase Cases[] = {{false, false, false, 20}, {true, false, true, 20}, {false, true, false, 24},
                             {true, true, true, 31}};
  for (const TLoadCase& Case : Cases) {
    for (int Round = 0; Round < 60; ++Round) {
      std::string Text = RandomFileText(Rng);
      if (Round % 7 == 0) Text += "\x1A tail";
      TRowStore Wrapped(Case.WrapByte);
      TRowStore Later(Case.WrapByte);
      for (TRowStore* S : {&Wrapped, &Later}) {
        S->Rows.WrapOption().SetWordBreak(Case.WordBreak);
        S->Rows.WrapOption().SetFollowRetMark(Case.FollowRetMark);
        S->Rows.WrapOption().SetLeading(Case.Leading);
      }
      Wrapped.Rows.SetWordWrap(true);
      Wrapped.Lines.LoadFromBytes(Text);
      Later.Lines.LoadFromBytes(Text);
      Later.Rows.SetWordWrap(true);
      ASSERT_TRUE(SameRows(Later.Rows, Wrapped.Rows)) << Round;
      // Saved unchanged, the file keeps every byte.
      ASSERT_EQ(Wrapped.Lines.FileBytes(), Text) << Round;
    }
  }
}

// A text big enough to be counted in two halves at once.
std::string BigText() {
  std::mt19937 Rng(23);
  std::string Text;
  while (Text.size() < (size_t{16} << 20)) Text += RandomFileText(Rng);
  // A line of more rows than a 16-bit count holds.
  Text += std::string(size_t{2} << 20, 'a') + "\r\n";
  while (Text.size() < (size_t{33} << 20)) Text += RandomFileText(Rng);
  return Text;
}

// Text loaded with word wrap on and loaded then wrapped makes the same rows, and keeps its bytes;
// gives how many rows the wrapped load cut.
int WrapsAsLoadedAsAfterwards(const std::string& Text, int WrapByte) {
  TRowStore Wrapped(WrapByte);
  Wrapped.Rows.SetWordWrap(true);
  Wrapped.Lines.LoadFromBytes(Text);
  TRowStore Later(WrapByte);
  Later.Lines.LoadFromBytes(Text);
  Later.Rows.SetWordWrap(true);
  EXPECT_TRUE(SameRows(Later.Rows, Wrapped.Rows));
  EXPECT_TRUE(Wrapped.Lines.FileBytes() == Text);
  return Wrapped.Rows.WrappedRowCount();
}

TEST(RowStoreLoad, ABigTextCountedInHalvesMakesTheSameRows) {
  EXPECT_GT(WrapsAsLoadedAsAfterwards(BigText(), 40), 0);
}

// Millions of short lines that each wrap, counted in halves: their cuts outgrow the heap and go back
// as the rows are made, and the rows must still be those that wrapping after loading makes.
TEST(RowStoreLoad, MillionsOfWrappedLinesMakeTheSameRows) {
  std::mt19937 Rng(31);
  std::string Text;
  while (Text.size() < (size_t{40} << 20)) {
    for (int Width = 20 + static_cast<int>(Rng() % 6); Width > 0; Width -= 2)
      Text += Rng() % 5 == 0 ? "\x82\xA0" : "ab";
    Text += Rng() % 3 == 0 ? "\r\n" : "\n";
  }
  const int Cut = WrapsAsLoadedAsAfterwards(Text, 20);
  // Three 16-bit cuts at least for each line that wraps: far more than a heap block holds.
  EXPECT_GT(static_cast<size_t>(Cut) * 3 * sizeof(uint16_t), HugeMappingFrom);
}

// The first Ctrl+Z ends a loaded text wherever it falls: in either half, on the first byte of the
// second, or cutting a CR LF or a double-byte character; the rows are those of the text before it.
TEST(RowStoreLoad, ABigTextEndsAtItsFirstCtrlZInEitherHalf) {
  const std::string Big = BigText();
  const size_t Second = Big.find('\n', Big.size() / 2) + 1;
  for (const size_t At : {size_t{5} << 20, Second - 1, Second, size_t{30} << 20}) {
    std::string Text = Big;
    Text[At] = '\x1A';
    Text[Text.size() - 3] = '\x1A';  // a later one changes nothing
    TRowStore Loaded(40);
    Loaded.Rows.SetWordWrap(true);
    Loaded.Lines.LoadFromBytes(Text);
    TRowStore Before(40);
    Before.Rows.SetWordWrap(true);
    Before.Lines.LoadFromBytes(Text.substr(0, At));
    ASSERT_TRUE(SameRows(Loaded.Rows, Before.Rows)) << At;
    ASSERT_TRUE(Loaded.Lines.TailAfterCtrlZ() == Text.substr(At)) << At;
    ASSERT_TRUE(Loaded.Lines.FileBytes() == Text) << At;
  }
}

// Wrapping, unwrapping and wrapping again at another width make the rows a fresh load at the last
// setting makes; rows of loaded text stay views into it (an unwrapped big text holds no copy of its
// lines), and an edited row keeps its own bytes.
TEST(RowStoreLoad, RewrapsInPlaceKeepingViewsOfTheLoadedText) {
  std::mt19937 Rng(29);
  for (int Round = 0; Round < 40; ++Round) {
    std::string Text = RandomFileText(Rng);
    TRowStore Store(20);
    TEditorScreenStrings& Rows = Store.Rows;
    TEditorStrings& Lines = Store.Lines;
    Rows.SetWordWrap(true);
    Lines.LoadFromBytes(Text);
    if (Round % 3 == 0) {
      // The first line becomes owned bytes, cut as the store cuts an edited line.
      Lines.Put(0, Lines.Get(0) + "edited");
      Text = Lines.FileBytes();
    }
    // Which lines are views of the loaded text (an edit may have copied a neighbour's rows too).
    std::vector<bool> LineIsView;
    for (int I = 0, Line = 0; I < Rows.Count(); ++I) {
      if (LineIsView.size() <= static_cast<size_t>(Line)) LineIsView.push_back(true);
      if (!Rows.RowView(I).empty() && !Rows.Item(I).Text.IsView()) LineIsView[static_cast<size_t>(Line)] = false;
      if (Rows.RowAttribute(I) != raWrapped) ++Line;
    }
    Rows.SetWordWrap(false);
    ASSERT_EQ(static_cast<size_t>(Rows.Count()), LineIsView.size()) << Round;
    for (int I = 0; I < Rows.Count(); ++I) {
      ASSERT_NE(Rows.RowAttribute(I), raWrapped) << Round;
      if (!Rows.RowView(I).empty() && LineIsView[static_cast<size_t>(I)]) {
        ASSERT_TRUE(Rows.Item(I).Text.IsView()) << Round << " row " << I;
      }
    }
    ASSERT_EQ(Lines.FileBytes(), Text) << Round;
    const int Unwrapped = Rows.Count();
    Rows.WrapOption().SetWrapByte(27);
    Rows.SetWordWrap(true);

    TRowStore Fresh(27);
    Fresh.Rows.SetWordWrap(true);
    Fresh.Lines.LoadFromBytes(Text);
    ASSERT_GE(Fresh.Rows.Count(), Unwrapped);
    ASSERT_TRUE(SameRows(Rows, Fresh.Rows)) << Round;
    ASSERT_EQ(Lines.FileBytes(), Text) << Round;
  }
}

// The row count reaches the caller before any record is made; a refusal leaves the rows as they were.
TEST(RowStoreLoad, HandsTheRowCountToTheCheckBeforeMakingRows) {
  TEditorScreenStrings Rows;
  Rows.WrapOption().SetWrapByte(20);
  Rows.SetWordWrap(true);
  const std::string Text = std::string(50, 'a') + "\r\nshort\r\n";
  auto Block = [&] {
    TTextBlock B = NewTextBlock(Text.size());
    std::memcpy(B.get(), Text.data(), Text.size());
    return B;
  };
  int64_t Heard = -1;
  Rows.SetRowsFromBlock(Block(), Text.size(), [&](int64_t N) { Heard = N; });
  EXPECT_EQ(Heard, Rows.Count());
  EXPECT_EQ(Heard, 4);  // 20 + 20 + 10, then "short"
  Rows.Put(3, "kept");
  EXPECT_THROW(Rows.SetRowsFromBlock(Block(), Text.size(), [](int64_t) { throw EInOutError("no room", 0); }),
               EInOutError);
  ASSERT_EQ(Rows.Count(), 4);
  EXPECT_EQ(Rows.RowView(3), "kept");
  Rows.SetRowsFromBlock(Block(), Text.size());
  ASSERT_EQ(Rows.Count(), 4);
  EXPECT_EQ(Rows.RowView(3), "short");
}

}  // namespace
}  // namespace tesvarin
