#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "editor/FakeEditorView.h"
#include "editor/text/EditorScreenStrings.h"
#include "editor/text/EditorStrings.h"
#include "editor/text/EditorUndo.h"
#include "support/Exception.h"
#include "support/StringList.h"
#include "testsupport/TempFolder.h"

namespace tesvarin {
namespace {

std::string Bytes(const char* S, size_t N) { return std::string(S, N); }

struct LoadCase {
  const char* Name;
  std::string File;
  std::vector<std::string> Rows;
  TRowAttribute LastAttribute;
  std::string Saved;
};

std::vector<LoadCase> LoadCases() {
  std::string Long(8191, 'x');
  return {
      {"crlf no final break", "a\r\nb", {"a", "b"}, raEof, "a\r\nb"},
      {"final crlf adds no row", "a\r\n", {"a"}, raCrlf, "a\r\n"},
      {"empty file", "", {}, raCrlf, ""},
      {"only breaks", "\r\n\r\n", {"", ""}, raCrlf, "\r\n\r\n"},
      {"lone cr file saved with cr", "a\rb", {"a", "b"}, raEof, "a\rb"},
      {"lf file saved with lf", "a\nb\n", {"a", "b"}, raCrlf, "a\nb\n"},
      {"lf cr is two breaks", "a\n\rb", {"a", "", "b"}, raEof, "a\n\rb"},
      {"mixed breaks kept", "a\nb\r\nc", {"a", "b", "c"}, raEof, "a\nb\r\nc"},
      {"ctrl z ends the lines, the rest is written back", "a\r\nb\x1A junk\r\n", {"a", "b"}, raEof,
       "a\r\nb\x1A junk\r\n"},
      {"cr and lf mixed kept", "a\rb\nc", {"a", "b", "c"}, raEof, "a\rb\nc"},
      {"nul bytes kept", Bytes("a\0b\r\n\0\r\nc", 9), {Bytes("a\0b", 3), Bytes("\0", 1), "c"}, raEof,
       Bytes("a\0b\r\n\0\r\nc", 9)},
      {"crlf across the 8192 boundary", Long + "\r\ny", {Long, "y"}, raEof, Long + "\r\ny"},
      {"cr at the boundary then text", Long + "\ry\n", {Long, "y"}, raCrlf, Long + "\ry\n"},
  };
}

class LinesFile : public ::testing::Test {
protected:
  test::TempFolder Folder;
  std::string Path(const char* Name) { return Folder / Name; }
  TEditorScreenStrings Rows;
  FakeEditorView View;
  TEditorStrings Lines{Rows, &View};
  void SetUp() override { Rows.AttachEditor(View); }
};

TEST_F(LinesFile, LoadAndSaveRoundTrips) {
  for (const LoadCase& C : LoadCases()) {
    SCOPED_TRACE(C.Name);
    for (bool Wrap : {false, true}) {
      Rows.SetWordWrap(Wrap);
      std::string In = Path("in");
      std::string Out = Path("out");
      WriteFileBytes(In, C.File);
      Lines.LoadFromFile(In);
      if (!Wrap) {
        ASSERT_EQ(Rows.Count(), static_cast<int>(C.Rows.size()));
        for (int I = 0; I < Rows.Count(); ++I) EXPECT_EQ(Rows.Get(I), C.Rows[static_cast<size_t>(I)]) << I;
        if (Rows.Count() > 0) {
          EXPECT_EQ(Rows.RowAttribute(Rows.Count() - 1), C.LastAttribute);
        }
      }
      ASSERT_EQ(Lines.Count(), static_cast<int>(C.Rows.size()));
      for (int I = 0; I < Lines.Count(); ++I) EXPECT_EQ(Lines.Get(I), C.Rows[static_cast<size_t>(I)]) << I;
      Lines.SaveToFile(Out);
      EXPECT_EQ(ReadFileBytes(Out), C.Saved);
    }
    Rows.SetWordWrap(false);
  }
}

TEST_F(LinesFile, MissingFileRaisesAndLeavesTheStoreEmpty) {
  Lines.SetLinesText("old");
  EXPECT_THROW(Lines.LoadFromFile(Path("does-not-exist")), EInOutError);
  EXPECT_EQ(Rows.Count(), 0);
  EXPECT_EQ(Lines.UpdateCount(), 0);
}

TEST_F(LinesFile, AWholeTextKeepsTheBreaksItIsGiven) {
  WriteFileBytes(Path("lf"), "one\ntwo\n");
  Lines.LoadFromFile(Path("lf"));
  Lines.SetLinesText("uno\r\ndos\rtres\n");
  Lines.SaveToFile(Path("lf"));
  EXPECT_EQ(ReadFileBytes(Path("lf")), "uno\r\ndos\rtres\n");
}

TEST_F(LinesFile, LoadingAWideFileWithWrapOnCutsItsLines) {
  Rows.SetWordWrap(true);
  std::string Line(170, 'k');
  WriteFileBytes(Path("wide"), Line + "\r\nshort\r\n");
  Lines.LoadFromFile(Path("wide"));
  ASSERT_EQ(Rows.Count(), 4);  // 80 + 80 + 10, then "short"
  EXPECT_EQ(Rows.RowAttribute(0), raWrapped);
  EXPECT_EQ(Rows.RowAttribute(2), raCrlf);
  EXPECT_EQ(Lines.Count(), 2);
  EXPECT_EQ(Lines.Get(0), Line);
  EXPECT_EQ(Lines.Text(), Line + "\r\nshort\r\n");
}

// The pieces put back together with CR LF between them are the whole text, each at its offset and
// long enough but for the last; wrapped rows stay in one piece with the rest of their line.
TEST_F(LinesFile, TextPiecesMakeUpTheWholeText) {
  Rows.SetWordWrap(true);
  for (const LoadCase& K : LoadCases()) for (const bool Edited : {false, true}) {
    Lines.SetLinesText(K.File + std::string(200, 'w') + "\r\n\r\nend");
    // A line of its own bytes amid the loaded ones.
    if (Edited) Lines.Put(Lines.Count() / 2, "edited");
    const TBigString Whole = Lines.BigText();
    for (const size_t PieceBytes : {size_t{0}, size_t{3}, size_t{100}, size_t{1} << 20}) {
      std::vector<std::pair<std::string, size_t>> Pieces;
      Lines.ProduceTextPieces(PieceBytes, [&](std::string_view P, size_t Offset) { Pieces.emplace_back(P, Offset); });
      std::string Joined;
      for (size_t I = 0; I < Pieces.size(); ++I) {
        if (I > 0) Joined += "\r\n";
        EXPECT_EQ(Pieces[I].second, Joined.size()) << K.Name << " piece " << I;
        Joined += Pieces[I].first;
        if (I + 1 < Pieces.size()) {
          EXPECT_GE(Pieces[I].first.size(), PieceBytes) << K.Name << " piece " << I;
        }
      }
      EXPECT_EQ(Joined, std::string(Whole.data(), Whole.size())) << K.Name << " in pieces of " << PieceBytes;
    }
  }
}

// A text cut from one block with CR LF breaks only, and not changed since, is cut into pieces
// straight from the block's bytes; the pieces are the ones the walk over the rows gives.
TEST_F(LinesFile, TextPiecesFromTheBlockAreTheRowWalksPieces) {
  const auto PiecesOf = [](const TEditorStrings& L, size_t PieceBytes) {
    std::vector<std::pair<std::string, size_t>> Pieces;
    L.ProduceTextPieces(PieceBytes, [&](std::string_view P, size_t Offset) { Pieces.emplace_back(P, Offset); });
    return Pieces;
  };
  TEditorScreenStrings WalkedRows;
  TEditorStrings Walked(WalkedRows, nullptr);
  int FromBlock = 0;
  for (const bool Wrap : {false, true}) {
    Rows.SetWordWrap(Wrap);
    WalkedRows.SetWordWrap(Wrap);
    for (const LoadCase& K : LoadCases()) {
      for (const std::string& Tail : {std::string(), std::string(300, 'w') + "\r\n\r\nend\r\n"}) {
        const std::string Text = K.File + Tail;
        SCOPED_TRACE(std::string(K.Name) + (Wrap ? ", wrapped" : "") + (Tail.empty() ? "" : ", longer"));
        Lines.SetLinesText(Text);
        const std::string_view Cut = Rows.TextAsCut();
        if (!Cut.empty()) {
          ++FromBlock;
          EXPECT_EQ(Cut, std::string_view(Lines.BigText().data(), Lines.BigText().size()));
        }
        // The same text, its first line set again with its own bytes: only a walk over the rows gives it.
        Walked.SetLinesText(Text);
        if (Walked.Count() > 0) Walked.Put(0, Walked.Get(0));
        ASSERT_TRUE(WalkedRows.TextAsCut().empty());
        for (const size_t PieceBytes : {size_t{0}, size_t{1}, size_t{5}, size_t{64}, size_t{1} << 20})
          EXPECT_EQ(PiecesOf(Lines, PieceBytes), PiecesOf(Walked, PieceBytes)) << PieceBytes;
      }
    }
  }
  // Every text with CR LF breaks only took the block's way: 6 cases twice, the empty file once
  // made longer, each with and without wrap.
  EXPECT_EQ(FromBlock, 2 * 13);
}

// The block stands for the text only while nothing changed it, and only when its breaks are CR LF.
TEST_F(LinesFile, TheTextAsCutIsTheBlockOnlyWhileUnchanged) {
  WriteFileBytes(Path("crlf"), "one\r\ntwo\r\nthree");
  Lines.LoadFromFile(Path("crlf"));
  EXPECT_EQ(Rows.TextAsCut(), "one\r\ntwo\r\nthree");
  Rows.SetWordWrap(true);  // a new cut of the same rows may drop it, never change it
  EXPECT_TRUE(Rows.TextAsCut().empty() || Rows.TextAsCut() == "one\r\ntwo\r\nthree");
  Lines.Put(1, "TWO");
  EXPECT_TRUE(Rows.TextAsCut().empty());
  Lines.SetLinesText("a\nb\r\n");
  EXPECT_TRUE(Rows.TextAsCut().empty());
  Lines.SetLinesText("a\r\nb\r");
  EXPECT_TRUE(Rows.TextAsCut().empty());
  // A loaded file's text ends at its Ctrl+Z; the bytes after it are no line of the text.
  WriteFileBytes(Path("eof"), "one\r\ntwo\x1A tail\r\n");
  Lines.LoadFromFile(Path("eof"));
  EXPECT_EQ(Rows.TextAsCut(), "one\r\ntwo");
}

// A loaded text with CR LF breaks is handed over as views of its loaded bytes, copying nothing;
// only the piece that holds an edited line is a copy.
TEST_F(LinesFile, TextPiecesOfLoadedCrlfLinesAreViews) {
  Rows.SetWordWrap(true);
  std::string File;
  for (int I = 0; I < 400; ++I) File += "line " + std::to_string(I) + std::string(static_cast<size_t>(I % 170), 'x') + "\r\n";
  WriteFileBytes(Path("crlf"), File);
  Lines.LoadFromFile(Path("crlf"));
  Lines.Put(200, "edited");
  std::vector<std::string_view> Pieces;
  std::string Joined;
  Lines.ProduceTextPieces(4096, [&](std::string_view P, size_t) {
    Pieces.push_back(P);
    Joined.append(P).append("\r\n");
  });
  int Views = 0;
  for (const std::string_view P : Pieces) Views += Rows.BlockHolding(P.data()).empty() ? 0 : 1;
  EXPECT_GE(Pieces.size(), 5u);
  EXPECT_EQ(Views, static_cast<int>(Pieces.size()) - 1);
  EXPECT_EQ(Joined.substr(0, Joined.size() - 2), Lines.Text());
}

TEST_F(LinesFile, SetLinesTextKeepsNulBytesAndIsNotUndoable) {
  Rows.UpdateRows(0, 0, "typed");
  ASSERT_TRUE(Rows.UndoObj().CanUndo());
  Lines.SetLinesText(Bytes("a\0b\r\nc", 6));
  EXPECT_FALSE(Rows.UndoObj().CanUndo());
  EXPECT_EQ(Lines.Text(), Bytes("a\0b\r\nc", 6));
  EXPECT_EQ(Rows.RowAttribute(1), raEof);
}

struct LinesOp {
  const char* Name;
  const char* Start;
  void (*Apply)(TEditorStrings&);
  const char* Expected;
};

TEST_F(LinesFile, LineOperationsTable) {
  const LinesOp Ops[] = {
      {"add gives the last line a break", "a\r\nb", [](TEditorStrings& L) { L.Add("c"); }, "a\r\nb\r\nc"},
      {"add after a final break", "a\r\n", [](TEditorStrings& L) { L.Add("c"); }, "a\r\nc\r\n"},
      {"add to an empty text", "", [](TEditorStrings& L) { L.Add("c"); }, "c\r\n"},
      {"put keeps the break", "a\r\nb\r\n", [](TEditorStrings& L) { L.Put(0, "x"); }, "x\r\nb\r\n"},
      {"put on a last line without break", "a\r\nb", [](TEditorStrings& L) { L.Put(1, "x"); }, "a\r\nx"},
      {"insert before a line", "a\r\nb", [](TEditorStrings& L) { L.Insert(1, "x"); }, "a\r\nx\r\nb"},
      {"insert past the end adds", "a\r\nb", [](TEditorStrings& L) { L.Insert(2, "x"); }, "a\r\nb\r\nx"},
      {"delete a middle line", "a\r\nb\r\nc", [](TEditorStrings& L) { L.Delete(1); }, "a\r\nc"},
      {"delete the last line", "a\r\nb", [](TEditorStrings& L) { L.Delete(1); }, "a\r\n"},
      {"delete the only line", "a", [](TEditorStrings& L) { L.Delete(0); }, ""},
  };
  for (bool Wrap : {false, true}) {
    Rows.SetWordWrap(Wrap);
    for (const LinesOp& Op : Ops) {
      SCOPED_TRACE(Op.Name);
      Lines.SetLinesText(Op.Start);
      Op.Apply(Lines);
      EXPECT_EQ(Lines.Text(), Op.Expected);
    }
  }
}

TEST_F(LinesFile, BadLineIndexesRaiseAndChangeNothing) {
  Lines.SetLinesText("a\r\nb");
  EXPECT_THROW((void)Lines.Get(2), EListError);
  EXPECT_THROW((void)Lines.Get(-1), EListError);
  EXPECT_THROW(Lines.Put(2, "x"), EListError);
  EXPECT_THROW(Lines.Delete(5), EListError);
  EXPECT_THROW(Lines.Insert(-1, "x"), EListError);
  EXPECT_EQ(Lines.Text(), "a\r\nb");
  EXPECT_FALSE(Rows.UndoObj().CanUndo());
}

TEST_F(LinesFile, OutOfRangeUpdatesDoNothing) {
  Lines.SetLinesText("a\r\nb");
  Rows.UpdateRows(-1, 0, "x");
  Rows.UpdateRows(1, 2, "x");
  Rows.UpdateRows(3, 0, "x");
  Rows.UpdateRows(0, -1, "x");
  Rows.UpdateRows(2, 0, "x");  // the place after a last row without a break
  Rows.UpdateRows(0, 0, "");
  EXPECT_EQ(Lines.Text(), "a\r\nb");
  EXPECT_FALSE(Rows.UndoObj().CanUndo());
}

TEST_F(LinesFile, WrappedLinesCountAsLines) {
  Rows.SetWordWrap(true);
  Rows.WrapOption().SetWrapByte(20);
  std::string Wide(50, 'w');
  Lines.SetLinesText(Wide + "\r\nz");
  EXPECT_EQ(Rows.Count(), 4);
  EXPECT_EQ(Lines.Count(), 2);
  EXPECT_EQ(Lines.Get(0), Wide);
  EXPECT_EQ(Lines.Get(1), "z");
  EXPECT_EQ(Rows.RowToLine(3), 1);
  EXPECT_EQ(Rows.RowColToLinePos(1, 5), 25);
  EXPECT_EQ(Rows.RowColToLinePos(5, 0), -1);
  EXPECT_EQ(Rows.RowColToLinePos(0, -1), -1);
}

// A remembered line start must not outlive a change that moves the lines after it.
TEST_F(LinesFile, LineLookupsFollowChangesBeforeTheRememberedLine) {
  Rows.SetWordWrap(true);
  Rows.WrapOption().SetWrapByte(20);
  const std::string Wide(50, 'w');
  Lines.SetLinesText("a\r\nb\r\n" + Wide + "\r\nc\r\nd");
  ASSERT_EQ(Lines.Get(4), "d");
  ASSERT_EQ(Rows.LineToRow(4), 6);
  struct Step {
    const char* What;
    std::function<void()> Change;
    int Line;
    std::string Text;
    int FirstRow;
  };
  const std::vector<Step> Steps = {
      {"first line widened", [&] { Rows.UpdateRows(0, 1, Wide + "\r\n"); }, 4, "d", 8},
      {"line inserted at the top", [&] { Rows.UpdateRows(0, 0, "top\r\n"); }, 5, "d", 9},
      {"wide line narrowed", [&] { Rows.UpdateRows(5, 3, "n\r\n"); }, 4, "c", 6},
      {"line deleted", [&] { Rows.UpdateRows(1, 3, ""); }, 3, "c", 3},
      {"wrap width changed", [&] { Rows.WrapOption().SetWrapByte(40); }, 4, "d", 4},
      {"wrap off", [&] { Rows.SetWordWrap(false); }, 4, "d", 4},
  };
  for (const Step& S : Steps) {
    ASSERT_FALSE(Lines.Get(std::min(S.Line, Lines.Count() - 1)).empty()) << S.What;  // remembered
    S.Change();
    EXPECT_EQ(Lines.Get(S.Line), S.Text) << S.What;
    EXPECT_EQ(Rows.LineToRow(S.Line), S.FirstRow) << S.What;
    EXPECT_EQ(Rows.RowToLine(S.FirstRow), S.Line) << S.What;
  }
}

TEST_F(LinesFile, LoadingLeavesOnlyASmallGapInTheRowRecords) {
  std::string Text;
  for (int I = 0; I < 5000; ++I) Text += "row " + std::to_string(I) + "\r\n";
  WriteFileBytes(Path("many"), Text);
  Lines.LoadFromFile(Path("many"));
  ASSERT_EQ(Rows.Count(), 5000);
  EXPECT_LE(Rows.Capacity() - Rows.Count(), 64);
  Lines.Insert(2500, "new");
  EXPECT_EQ(Lines.Get(2500), "new");
  EXPECT_EQ(Lines.Get(2501), "row 2500");
}

// Offsets are walked a run of row records at a time: the runs on both sides of the gap an insert
// leaves must count alike, and a wrapped row's end belongs to the row after it.
TEST_F(LinesFile, OffsetsFindTheirRowOnBothSidesOfTheGapInTheRowRecords) {
  Rows.SetWordWrap(true);
  Rows.WrapOption().SetWrapByte(20);
  const std::string Wide(50, 'w');  // rows of 20, 20 and 10
  std::string Text;
  for (int I = 0; I < 3000; ++I) Text += (I % 2 == 0 ? Wide : "row " + std::to_string(I)) + "\r\n";
  WriteFileBytes(Path("many"), Text + "end");
  Lines.LoadFromFile(Path("many"));
  Lines.Insert(1500, Wide);
  // Where each row starts, as the text tells it: rows as the wrap cuts them, breaks two bytes.
  struct Row {
    int64_t Start;
    int Size;
    bool Wrapped;
  };
  std::vector<Row> Expected;
  int64_t At = 0;
  for (int L = 0; L < Lines.Count(); ++L) {
    const std::string Line = Lines.Get(L);
    for (size_t Cut = 0; Cut < Line.size() || Cut == 0; Cut += 20) {
      const int Size = static_cast<int>(std::min<size_t>(20, Line.size() - Cut));
      const bool Wrapped = Cut + 20 < Line.size();
      Expected.push_back({At, Size, Wrapped});
      At += Size;
      if (!Wrapped) break;
    }
    At += 2;
  }
  ASSERT_EQ(static_cast<int>(Expected.size()), Rows.Count());
  for (int R = 0; R < Rows.Count(); ++R) {
    const Row& E = Expected[static_cast<size_t>(R)];
    for (const int Col : {0, E.Size / 2, E.Size}) {
      int GotRow = -1, GotCol = -1;
      Rows.OffsetToRowCol(0, E.Start + Col, GotRow, GotCol);
      // A wrapped row's end is the next row's start.
      const bool Next = E.Wrapped && Col == E.Size;
      ASSERT_EQ(GotRow, Next ? R + 1 : R) << "row " << R << " column " << Col;
      ASSERT_EQ(GotCol, Next ? 0 : Col) << "row " << R << " column " << Col;
    }
  }
  int GotRow = -1, GotCol = -1;
  Rows.OffsetToRowCol(0, At + 100, GotRow, GotCol);  // beyond the text: its end
  EXPECT_EQ(GotRow, Rows.Count() - 1);
  EXPECT_EQ(GotCol, 3);
  // From a row past the gap.
  const int From = Rows.Count() - 8;
  const int64_t Ahead = Expected[static_cast<size_t>(From) + 3].Start - Expected[static_cast<size_t>(From)].Start;
  Rows.OffsetToRowCol(From, Ahead + 1, GotRow, GotCol);
  EXPECT_EQ(GotRow, From + 3);
  EXPECT_EQ(GotCol, 1);
}

// A pipe has no size to size the block from: its text is read on, block growing, to the end.
TEST_F(LinesFile, APipeIsReadToItsEnd) {
  const std::string Fifo = Path("fifo");
  ::unlink(Fifo.c_str());
  ASSERT_EQ(::mkfifo(Fifo.c_str(), 0600), 0);
  std::string Text;
  for (int I = 0; I < 30000; ++I) Text += "pipe line " + std::to_string(I) + "\n";
  std::thread Writer([&] {
    const int Fd = ::open(Fifo.c_str(), O_WRONLY);
    if (Fd < 0) return;
    size_t Done = 0;
    while (Done < Text.size()) {
      const ssize_t W = ::write(Fd, Text.data() + Done, Text.size() - Done);
      if (W <= 0) break;
      Done += static_cast<size_t>(W);
    }
    ::close(Fd);
  });
  Lines.LoadFromFile(Fifo);
  Writer.join();
  ::unlink(Fifo.c_str());
  ASSERT_EQ(Lines.Count(), 30000);
  EXPECT_EQ(Lines.Get(0), "pipe line 0");
  EXPECT_EQ(Lines.Get(29999), "pipe line 29999");
  Lines.SaveToFile(Path("fifo-saved"));
  EXPECT_EQ(ReadFileBytes(Path("fifo-saved")), Text);
}

TEST_F(LinesFile, AssignPutsTheCaretAfterTheText) {
  TStringList Source;
  Source.Add("one");
  Source.Add("two");
  View.Col = 7;
  Lines.Assign(Source);
  EXPECT_EQ(Lines.Text(), "one\r\ntwo\r\n");
  EXPECT_EQ(View.Row, 2);
  EXPECT_EQ(View.Col, 0);
}

TEST_F(LinesFile, PutMovesTheCaretAfterTheNewText) {
  Lines.SetLinesText("a\r\nb\r\n");
  Lines.Put(1, "xyz");
  EXPECT_EQ(View.Row, 1);
  EXPECT_EQ(View.Col, 3);
  Lines.Put(0, "\x82\xA0");
  EXPECT_EQ(View.Row, 0);
  EXPECT_EQ(View.Col, 2);
}

}  // namespace
}  // namespace tesvarin

namespace tesvarin {
namespace {

// Form data holds whole lines, however the rows are wrapped, and reads back to the same text.
TEST(StoredStrings, WholeLinesOutAndBackAndStoredOnlyWhenDifferent) {
  TEditorScreenStrings Rows;
  TEditorStrings Lines(Rows, nullptr);
  EXPECT_FALSE(Lines.ShouldStoreStrings(nullptr));
  Rows.WrapOption().SetWrapByte(20);
  Rows.SetWordWrap(true);
  const std::string Wide(45, 'w');
  Lines.SetLinesText("a\r\n" + Wide + "\r\n\x82\xa0");
  ASSERT_GT(Rows.Count(), 3);
  EXPECT_EQ(Lines.StoredStrings(), (std::vector<std::string>{"a", Wide, "\x82\xa0"}));
  EXPECT_TRUE(Lines.ShouldStoreStrings(nullptr));

  TEditorScreenStrings Rows2;
  TEditorStrings Copy(Rows2, nullptr);
  Copy.ReadStoredStrings(Lines.StoredStrings());
  EXPECT_EQ(Copy.StoredStrings(), Lines.StoredStrings());
  EXPECT_FALSE(Lines.ShouldStoreStrings(&Copy));
  Copy.Put(0, "b");
  EXPECT_TRUE(Lines.ShouldStoreStrings(&Copy));
}

}  // namespace
// A text big enough to be told in two halves: a fault in either half, a character cut by the
// line end where the halves meet, or a lead byte left before the Ctrl+Z tail makes it ill formed.
TEST(EditorStringsWellFormed, BothHalvesOfABigTextAreTold) {
  const int Lines = TEditorStrings::SplitWellFormedFrom + 10;
  std::string Good;
  for (int I = 0; I < Lines; ++I) Good += I % 3 == 0 ? "\x93\xfa\r\n" : "ab\r\n";  // 日
  const size_t Middle = Good.size() / 2 - Good.size() / 2 % 4;
  struct {
    const char* Name;
    size_t At;
    std::string Put;
    bool WellFormed;
  } Cases[] = {
      {"all good", 0, "", true},
      {"a bad byte early", 8, "\xff", false},
      {"a bad byte late", Good.size() - 8, "\xff", false},
      {"a lead byte at a line end by the middle", Middle - 2, "\x93", false},
      {"a lead byte before the tail", Good.size() - 2, "\x93\x1a", false},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    std::string Text = Good;
    Text.insert(C.At, C.Put);
    TEditorScreenStrings Rows;
    TEditorStrings L(Rows, nullptr);
    L.LoadFromBytes(Text);
    ASSERT_GE(Rows.Count(), TEditorStrings::SplitWellFormedFrom);
    EXPECT_EQ(L.WellFormed(), C.WellFormed);
  }
}

}  // namespace tesvarin
